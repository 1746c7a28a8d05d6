// The data sheet of an outlet type as display lists on A4: title, sketch, texts, the table of
// sizes and the charts against the volume flow, whose values come from the evaluation's own
// formulas and the catalogue's coefficients. Core layer (fylcore); fyldraw writes the PDF.
#pragma once

#include "drawing/displaylist.h"
#include "frame/record.h"
#include "print/cataloguedocuments.h"
#include "print/reportpages.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace fyl {

// What a chart shows against the flow of one outlet, or of one metre of one slot for slot outlets.
enum class SheetQuantity {
    PressureDrop, // dp [Pa]
    SoundPower,   // LWA [dB(A)]
    Throw,        // isothermal run along the ceiling until the jet has slowed to 0,2 m/s [m]
    Detachment,   // where a jet 6 K cooler than the room leaves the ceiling [m]
    Penetration,  // how deep a vertical jet 10 K warmer than the room reaches [m]
};

inline constexpr double kSheetTerminalVelocity = 0.2;  // m/s
inline constexpr double kSheetCoolingDifference = 6.0; // room minus supply [K]
inline constexpr double kSheetHeatingDifference = -10.0;

// The quantity at flow V with the formula and coefficients the evaluation uses (one slot, 1 m of
// slot length); nothing where that formula reports no valid result.
std::optional<double> sheetValue(SheetQuantity quantity, const OutletRecord& outlet, double V);

struct ChartPoint {
    double flow = 0.0;
    double value = 0.0;
};

struct ChartCurve {
    int size = 0;                   // index into the type's sizes: the curve's colour
    int style = 0;                  // index into SheetChart::jetForms: 0 a solid line, the others dotted
    std::vector<ChartPoint> points; // from the size's least to its greatest flow
};

struct SheetChart {
    SheetQuantity quantity = SheetQuantity::PressureDrop;
    // The jet forms of the curves where the chart is about the jet, or where a size's jet forms
    // differ in the chart's coefficients; empty when the curves hold for every jet form.
    QStringList jetForms;
    std::vector<ChartCurve> curves;
};

// The charts of a calculable type: pressure drop and sound power level, then throw and detachment
// when a size has a horizontal jet form, and penetration when one has a vertical jet form. One
// curve per size, and one more per jet form whose coefficients for that chart differ.
std::vector<SheetChart> sheetCharts(const DocumentedType& type, int pointsPerCurve = 25);

struct DataSheetInputs {
    const DocumentedType& type;
    QString picture; // the type's sketch
    int dpi = 300;
};

// The sheet's A4 pages in device pixels at `dpi`; the footer names page and page count.
std::vector<ReportPage> dataSheetPages(const DataSheetInputs& in);

} // namespace fyl
