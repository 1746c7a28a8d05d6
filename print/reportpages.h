// The printed report as display lists in printer device pixels: the data page with the letterhead,
// the project header and the room and outlet tables. Core layer (fylcore, QtCore only).
#pragma once

#include "flowsim/flowpicture.h"
#include "frame/record.h"
#include "frame/texttable.h"

#include <QDate>
#include <QString>

#include <vector>

namespace fyl {

// The print window's three check boxes.
struct ReportChoices {
    bool dataPage = true;      // CheckBox1
    bool picturePage = true;   // CheckBox2
    bool noLetterhead = false; // CheckBox3
};

struct ReportInputs {
    const CalculationRecord& record;
    const TextTable& texts;
    QString designation; // the outlet heading the calculation window shows
    QString programDir;  // where image4.bmp lies
    QDate today;
    int dpi = 600; // the printer's vertical resolution
    ReportChoices choices;
};

using ReportPage = std::vector<PicturePrimitive>;

// The unit u = dpi / 300 as an exact ratio: n units in device pixels, rounded to the nearest.
int reportPixels(int dpi, long n);

// The data page's primitives in drawing order (whatever CheckBox1 says; the caller decides).
ReportPage reportDataPage(const ReportInputs& in);

} // namespace fyl
