// The fixed texts of the selection window TForm2: which control shows which text-table entry,
// addressed by typed identifiers spelled as the controls. Core layer (fylcore).
#pragma once

#include "frame/texttable.h"
#include "results/resultsview.h"

namespace fyl {

// Each control with the text-table entry it shows from creation on. The enumerator is the name.
#define FYL_FORM2_TEXTS(X)                                                                                   \
    X(GroupBox4, 208)                                                                                        \
    X(Label1, 205)                                                                                           \
    X(Label2, 203)                                                                                           \
    X(Label3, 206)                                                                                           \
    X(Label4, 204)                                                                                           \
    X(groupbox1, 59)                                                                                         \
    X(Label16, 123)                                                                                          \
    X(Label18, 62)                                                                                           \
    X(Label19, 61)                                                                                           \
    X(Label37, 156)                                                                                          \
    X(zurueck, 58)                                                                                           \
    X(weiter, 40)                                                                                            \
    X(CheckBox1, 183)                                                                                        \
    X(Label12, 55)                                                                                           \
    X(Label13, 56)                                                                                           \
    X(Label10, 54)                                                                                           \
    X(BitBtn1, 58)                                                                                           \
    X(GroupBox2, 74)                                                                                         \
    X(GroupBox3, 63)                                                                                         \
    X(Info1, 51)                                                                                             \
    X(Label14, 72)                                                                                           \
    X(Label15, 69)                                                                                           \
    X(Label20, 57)                                                                                           \
    X(Label21, 64)                                                                                           \
    X(Label23, 67)                                                                                           \
    X(Label25, 68)                                                                                           \
    X(Label27, 71)                                                                                           \
    X(Button2, 58)                                                                                           \
    X(Button3, 40)                                                                                           \
    X(Label29, 64)                                                                                           \
    X(Label31, 67)                                                                                           \
    X(Label33, 68)                                                                                           \
    X(Label35, 69)                                                                                           \
    X(Label36, 70)                                                                                           \
    X(Button4, 58)                                                                                           \
    X(Button5, 40)

#define FYL_FORM2_ENUMERATOR(name, entry) name,
#define FYL_FORM2_NAME(name, entry) #name,
#define FYL_FORM2_ENTRY(name, entry) entry,
namespace form2 {
enum Text : int { FYL_FORM2_TEXTS(FYL_FORM2_ENUMERATOR) };
inline constexpr std::array kControlNames = {FYL_FORM2_TEXTS(FYL_FORM2_NAME)};
inline constexpr std::array kEntries = {FYL_FORM2_TEXTS(FYL_FORM2_ENTRY)};
// In the identifiers' own namespace, so that the control table finds it.
inline const char* controlName(Text id) {
    return kControlNames[static_cast<std::size_t>(id)];
}
} // namespace form2
#undef FYL_FORM2_ENUMERATOR
#undef FYL_FORM2_NAME
#undef FYL_FORM2_ENTRY

using Form2View = FormView<form2::Text, form2::kControlNames.size()>;

// The window title (entry 50) and the texts of the table; the two count headings read entry 68,
// two blanks and entry 65.
struct Form2Texts {
    QString title;
    Form2View controls;
};
Form2Texts form2CreationTexts(const TextTable& texts);

// The title of a slot configuration group for the chosen type: the group's text (entry 74 or 63)
// up to the types it names in brackets, then the chosen type in brackets, so that the group of an
// LSA does not read "LPA/LPB".
QString slotGroupTitle(const QString& groupText, const QString& type);

} // namespace fyl
