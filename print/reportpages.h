// The printed report as display lists in printer device pixels: the data page with the letterhead,
// the project header, the room and outlet tables and the outlet's layout with its checks, and the
// picture page with the flow picture.
// Core layer (fylcore, QtCore only).
#pragma once

#include "catalogue/catalogue.h"
#include "flowsim/flowpicture.h"
#include "frame/record.h"
#include "frame/texttable.h"
#include "print/printchoices.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace fyl {

// The print window's three check boxes.
using ReportChoices = PrintChoices;

struct ReportInputs {
    const CalculationRecord& record;
    const TextTable& texts;
    const Catalogue& catalogue; // the outlet's layout is judged with it, as the calculation window does
    QString designation;        // the outlet heading the calculation window shows
    QString programDir;         // where image4.bmp lies
    QDate today;
    int dpi = 600; // the printer's vertical resolution
    ReportChoices choices;
    bool proportional = false;               // the flow picture was last drawn proportionally
    QChar targetCategory = QLatin1Char('B'); // the draught category the room must reach
};

using ReportPage = std::vector<PicturePrimitive>;

// The resolutions a report can be laid out at: printer coordinates travel as 16-bit values, so the
// A4 page (297 mm high) must span at most 65535 device pixels.
inline constexpr int kLeastReportDpi = 1;
inline constexpr int kGreatestReportDpi = static_cast<int>(65535 * 25.4 / 297);

// The unit u = dpi / 300 as an exact ratio: n units in device pixels, rounded to the nearest.
int reportPixels(int dpi, long n);

// The data page's primitives in drawing order (whatever CheckBox1 says; the caller decides), with
// the block "Anordnung und Prüfungen" under the outlet table where it fits.
ReportPage reportDataPage(const ReportInputs& in);
// The block's own page, following the data page, where the block does not fit under the table.
std::optional<ReportPage> reportChecksPage(const ReportInputs& in);

// What the picture page draws from: the flow picture's inputs of the record.
FlowPictureInputs reportPictureInputs(const ReportInputs& in);
// The picture page; `zones` holds the contour routine's result per drawn outlet, computed from
// pictureContourInputs(reportPictureInputs(in), record). A failed outlet draws no zone.
ReportPage reportPicturePage(const ReportInputs& in, const std::vector<OutletContour>& zones);

// The pages to print, in order: the data page (and the checks' page) if chosen, then the picture
// page if chosen. The picture page alone is the first page; nothing chosen gives no page.
std::vector<ReportPage> reportPages(const ReportInputs& in, const std::vector<OutletContour>& zones);

} // namespace fyl
