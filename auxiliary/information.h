// The information window without widgets: its texts and what a double-click on the e-mail or web
// address does. Core layer (fylcore, QtCore only).
#pragma once

#include "frame/texttable.h"

#include <QString>

namespace fyl {

// The window colour as the form stores it: blue, green, red from the high byte down (0x00BBGGRR).
inline constexpr unsigned kInformationColour = 13686749;

struct InformationTexts {
    QString Label1; // the maker (bold)
    QString Label3; // its address (bold)
    QString Label2; // e-mail address, without a scheme
    QString Label4; // web address, without a scheme
    QString Label5; // the version line
};
InformationTexts informationTexts(const TextTable& texts);

// The two addresses. The table holds them without a scheme; the link adds it.
enum class InformationLink { Mail, Web };

// A double-click on an address: the label shows and the shell opens `target`, then the label gets
// `labelAfterwards` and the window closes.
struct LinkOpening {
    QString target;
    QString labelAfterwards;
};
LinkOpening linkOpening(InformationLink link, const QString& labelText, const TextTable& texts);

} // namespace fyl
