// Lays out a type's data sheet on A4 and computes its charts with the evaluation's formulas.
// Core layer (fylcore).
#include "print/datasheet.h"

#include "calc/formulas.h"
#include "drawing/millimetrepage.h"
#include "frame/jetkind.h"
#include "frame/numbers.h"

#include <QtMath>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace fyl {

namespace {

// One slot and 1 m of it: the sheet rates slot outlets per metre, like the catalogue's flows.
constexpr int kOneSlot = 1;
constexpr double kOneMetreOfSlot = 1000.0; // mm

} // namespace

std::optional<double> sheetValue(SheetQuantity quantity, const OutletRecord& o, double V) {
    double value = 0.0;
    int status = 2;
    switch (quantity) {
    case SheetQuantity::PressureDrop:
        status = PressureDrop(o.pressureM, o.pressureK, V, value);
        break;
    case SheetQuantity::SoundPower:
        status = SoundPowerLevel(kOneSlot, o.soundA, o.soundB, kOneMetreOfSlot, V, value);
        break;
    case SheetQuantity::Throw:
        // Along the ceiling (no vertical run), where the evaluation takes K without the free-jet factor.
        status = DistanceForVelocity(kOneSlot, o.decayA, o.decayB, o.decayK, kSheetTerminalVelocity, 0.0, V,
                                     value);
        break;
    case SheetQuantity::Detachment:
        status = DetachmentDistance(kOneSlot, o.detachFlowExp, o.detachTempExp, o.detachC,
                                    kSheetCoolingDifference, V, value);
        break;
    case SheetQuantity::Penetration:
        status = VerticalPenetration(kOneSlot, o.penFlowExp, o.penTempExp, o.penCoef, kSheetHeatingDifference,
                                     V, value);
        break;
    }
    if (status != 0 || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

// The coefficients a chart reads: two jet forms of a size with the same ones give the same curve.
std::vector<double> coefficientsOf(SheetQuantity quantity, const OutletRecord& o) {
    switch (quantity) {
    case SheetQuantity::PressureDrop:
        return {o.pressureM, o.pressureK};
    case SheetQuantity::SoundPower:
        return {o.soundA, o.soundB};
    case SheetQuantity::Throw:
        return {o.decayA, o.decayB, o.decayK};
    case SheetQuantity::Detachment:
        return {o.detachFlowExp, o.detachTempExp, o.detachC};
    case SheetQuantity::Penetration:
        return {o.penFlowExp, o.penTempExp, o.penCoef};
    }
    return {};
}

bool appliesTo(SheetQuantity quantity, const DocumentedSize& size, const DocumentedJetForm& form) {
    const JetKind kind = jetFormOf(size.design, form.record.jetFormCodeText()).kind;
    switch (quantity) {
    case SheetQuantity::PressureDrop:
    case SheetQuantity::SoundPower:
        return kind != JetKind::None;
    case SheetQuantity::Throw:
    case SheetQuantity::Detachment:
        return kind == JetKind::Horizontal;
    case SheetQuantity::Penetration:
        return kind == JetKind::Vertical;
    }
    return false;
}

SheetChart chartOf(SheetQuantity quantity, const DocumentedType& type, int pointsPerCurve) {
    SheetChart chart;
    chart.quantity = quantity;
    // Line styles tell jet forms apart where a chart is about the jet; the pressure and sound
    // curves of a size differ by jet form only when the catalogue says so.
    const bool perForm = quantity != SheetQuantity::PressureDrop && quantity != SheetQuantity::SoundPower;
    bool formsDiffer = false;
    for (std::size_t s = 0; s < type.sizes.size(); ++s) {
        const DocumentedSize& size = type.sizes[s];
        std::vector<std::vector<double>> drawn;
        for (const DocumentedJetForm& form : size.jetForms) {
            if (!appliesTo(quantity, size, form))
                continue;
            const std::vector<double> coefficients = coefficientsOf(quantity, form.record);
            if (std::find(drawn.begin(), drawn.end(), coefficients) != drawn.end())
                continue;
            drawn.push_back(coefficients);
            formsDiffer = formsDiffer || drawn.size() > 1;
            if (!chart.jetForms.contains(form.name))
                chart.jetForms << form.name;
            ChartCurve curve{static_cast<int>(s), static_cast<int>(chart.jetForms.indexOf(form.name)), {}};
            const int steps = std::max(1, pointsPerCurve - 1);
            for (int i = 0; i <= steps; ++i) {
                const double V =
                    size.flowMin + (size.flowMax - size.flowMin) * static_cast<double>(i) / steps;
                if (const std::optional<double> value = sheetValue(quantity, form.record, V))
                    curve.points.push_back({V, *value});
            }
            if (curve.points.size() > 1)
                chart.curves.push_back(curve);
        }
    }
    if (!perForm && !formsDiffer) {
        chart.jetForms.clear();
        for (ChartCurve& curve : chart.curves)
            curve.style = 0;
    }
    return chart;
}

} // namespace

std::vector<SheetChart> sheetCharts(const DocumentedType& type, int pointsPerCurve) {
    std::vector<SheetChart> charts;
    if (!type.calculable)
        return charts;
    for (SheetQuantity quantity :
         {SheetQuantity::PressureDrop, SheetQuantity::SoundPower, SheetQuantity::Throw,
          SheetQuantity::Detachment, SheetQuantity::Penetration}) {
        SheetChart chart = chartOf(quantity, type, pointsPerCurve);
        if (!chart.curves.empty())
            charts.push_back(chart);
    }
    return charts;
}

namespace {

// Page geometry in millimetres.
constexpr double kLeft = 18.0, kRight = 192.0, kTop = 26.0, kBottom = 281.0;
constexpr double kWidth = kRight - kLeft;
constexpr double kChartWidth = 84.0, kChartHeight = 76.0, kChartGap = 6.0;
constexpr double kPointMm = 25.4 / 72.0;

const Rgb kInk{40, 56, 72};
const Rgb kGrey{105, 112, 120};
const Rgb kRule{190, 197, 204};
const Rgb kGrid{226, 230, 234};
const Rgb kShade{234, 239, 244};
const Rgb kPalette[] = {{31, 119, 180},  {214, 39, 40}, {44, 160, 44},  {255, 127, 14},
                        {148, 103, 189}, {140, 86, 75}, {23, 190, 207}, {127, 127, 127}};

Rgb sizeColour(int size) {
    return kPalette[static_cast<std::size_t>(size) % std::size(kPalette)];
}

// The core has no font metrics: widths are estimated from an average glyph of the sans-serif
// face the drawing layer uses, generously, so that wrapped text stays inside its column.
double textWidth(const QString& text, int points, bool bold = false) {
    return text.size() * points * kPointMm * (bold ? 0.6 : 0.55);
}

double lineHeight(int points) {
    return points * kPointMm * 1.4;
}

QStringList wrapped(const QString& text, double width, int points) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && textWidth(longer, points) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

struct Axis {
    double low = 0.0, high = 1.0, step = 1.0;
};

// Round limits and a step of 1, 2, 2.5 or 5 times a power of ten, about five steps in all.
Axis niceAxis(double low, double high, bool fromZero) {
    if (fromZero)
        low = std::min(0.0, low);
    if (!(high > low))
        high = low + 1.0;
    const double raw = (high - low) / 5.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / magnitude;
    const double step = (f <= 1.0   ? 1.0
                         : f <= 2.0 ? 2.0
                         : f <= 2.5 ? 2.5
                         : f <= 5.0 ? 5.0
                                    : 10.0) *
                        magnitude;
    return {std::floor(low / step + 1e-9) * step, std::ceil(high / step - 1e-9) * step, step};
}

struct ChartText {
    QString title;
    QString condition;
    bool fromZero = true;
};

ChartText chartText(SheetQuantity quantity, bool perMetre) {
    switch (quantity) {
    case SheetQuantity::PressureDrop:
        return {QStringLiteral("Druckverlust Δp [Pa]"),
                perMetre ? QStringLiteral("bei V je Meter Schlitzlänge") : QString(), true};
    case SheetQuantity::SoundPower:
        return {QStringLiteral("Schallleistungspegel LWA [dB(A)]"),
                perMetre ? QStringLiteral("ein Schlitz von 1 m Länge, ohne Raumdämpfung")
                         : QStringLiteral("je Durchlass, ohne Raumdämpfung"),
                false};
    case SheetQuantity::Throw:
        return {QStringLiteral("Wurfweite L0,2 [m]"),
                QStringLiteral("isotherm, an der Decke, bis 0,2 m/s Strahlgeschwindigkeit"), true};
    case SheetQuantity::Detachment:
        return {QStringLiteral("Ablöseabstand x-krit [m]"),
                QStringLiteral("Kühlen mit Zuluft 6 K unter Raumtemperatur, Einbau an der Decke"), true};
    case SheetQuantity::Penetration:
        return {QStringLiteral("Eindringtiefe y max [m]"),
                QStringLiteral("Heizen mit Zuluft 10 K über Raumtemperatur"), true};
    }
    return {};
}

class SheetLayout : private MillimetrePage {
public:
    explicit SheetLayout(const DataSheetInputs& in) : MillimetrePage(in.dpi), in_(in), type_(in.type) {}

    std::vector<ReportPage> pages() {
        newPage();
        titleBlock();
        texts();
        sizeTable();
        if (type_.calculable)
            charts();
        else
            sheetOnlyNote();
        footers();
        return pages_;
    }

private:
    // Paragraph lines from the cursor down; returns where they end.
    double paragraph(double x, double y, double width, const QString& s, int points, bool bold = false,
                     Rgb colour = kInk) {
        for (const QString& l : wrapped(s, width, points)) {
            text(x, y, l, points, colour, TextAlign::Left, bold);
            y += lineHeight(points);
        }
        return y;
    }

    void newPage() {
        pages_.emplace_back();
        drawInto(pages_.back());
        text(kLeft, 9.0, QStringLiteral("ZELK"), 20, kInk, TextAlign::Left, true);
        text(kRight, 9.5, QStringLiteral("Datenblatt ") + type_.name, 12, kInk, TextAlign::Right, true);
        text(kRight, 15.5, type_.documents.name, 8, kGrey, TextAlign::Right);
        line(kLeft, 21.0, kRight, 21.0, kInk, 0.6);
        y_ = kTop;
    }
    // Starts a new page unless `height` fits below the cursor.
    bool ensure(double height) {
        if (y_ + height <= kBottom)
            return false;
        newPage();
        return true;
    }

    void titleBlock() {
        text(kLeft, y_, type_.name + QStringLiteral(" – ") + type_.documents.name, 15, kInk, TextAlign::Left,
             true);
        y_ += 8.0;
        text(kLeft, y_, type_.kinds.join(QStringLiteral(" · ")), 9, kGrey);
        y_ += 7.0;

        const double pictureWidth = 64.0, pictureHeight = 48.0;
        image(in_.picture, kLeft, y_, pictureWidth, pictureHeight);
        line(kLeft, y_, kLeft + pictureWidth, y_, kRule, 0.2);
        line(kLeft, y_ + pictureHeight, kLeft + pictureWidth, y_ + pictureHeight, kRule, 0.2);
        line(kLeft, y_, kLeft, y_ + pictureHeight, kRule, 0.2);
        line(kLeft + pictureWidth, y_, kLeft + pictureWidth, y_ + pictureHeight, kRule, 0.2);

        const double x = kLeft + pictureWidth + 6.0, width = kRight - x;
        double y = paragraph(x, y_, width, type_.documents.description, 9) + 2.0;
        const std::pair<QString, QStringList> attributes[] = {
            {QStringLiteral("Anbringungsort"), type_.attributes.mounting},
            {QStringLiteral("Verstellung"), type_.attributes.adjustment},
            {QStringLiteral("Einsatzbereich"), type_.attributes.use},
        };
        for (const auto& [label, names] : attributes) {
            if (names.isEmpty())
                continue;
            text(x, y, label, 8, kInk, TextAlign::Left, true);
            y = paragraph(x + 26.0, y, width - 26.0, names.join(QStringLiteral(", ")), 8);
        }
        y_ = std::max(y_ + pictureHeight, y) + 5.0;
    }

    void texts() {
        const TypeDocuments& d = type_.documents;
        const std::pair<QString, QString> rows[] = {
            {QStringLiteral("Material"), d.material},
            {QStringLiteral("Oberfläche"), d.surface},
            {QStringLiteral("Einbau"), d.installation},
            {QStringLiteral("Anschluss"), d.connection},
            {QStringLiteral("Zubehör"), d.accessories.join(QStringLiteral("; "))},
        };
        const double labelWidth = 24.0;
        for (const auto& [label, value] : rows) {
            if (value.isEmpty())
                continue;
            ensure(lineHeight(8) * 2);
            text(kLeft, y_, label, 8, kInk, TextAlign::Left, true);
            y_ = paragraph(kLeft + labelWidth, y_, kWidth - labelWidth, value, 8) + 1.0;
        }
        y_ += 4.0;
    }

    struct Column {
        QString heading;
        double width;
    };

    void sizeTable() {
        const bool calculable = type_.calculable;
        const QString unit = QStringLiteral("Volumenstrom [%1]").arg(flowUnit(type_));
        const std::vector<Column> columns =
            calculable ? std::vector<Column>{{QStringLiteral("Größe"), 26.0},
                                             {QStringLiteral("Strahlformen"), 66.0},
                                             {unit, 46.0},
                                             {QStringLiteral("Artikelnummer"), 36.0}}
                       : std::vector<Column>{{QStringLiteral("Größe"), 40.0}, {unit, 50.0}};
        const int points = 8;
        const double rowLine = lineHeight(points);
        const auto heading = [&] {
            double tableWidth = 0.0;
            for (const Column& c : columns)
                tableWidth += c.width;
            rect(kLeft, y_, kLeft + tableWidth, y_ + rowLine + 2.0, kShade);
            double x = kLeft;
            for (const Column& c : columns) {
                text(x + 1.5, y_ + 1.0, c.heading, points, kInk, TextAlign::Left, true);
                x += c.width;
            }
            y_ += rowLine + 2.0;
            line(kLeft, y_, kLeft + tableWidth, y_, kRule, 0.2);
            return tableWidth;
        };
        ensure(14.0 + 2 * rowLine);
        text(kLeft, y_, QStringLiteral("Größen"), 10, kInk, TextAlign::Left, true);
        y_ += 6.0;
        double tableWidth = heading();
        for (const DocumentedSize& size : type_.sizes) {
            QStringList forms;
            QString article;
            for (const DocumentedJetForm& form : size.jetForms) {
                forms << form.name;
                if (article.isEmpty())
                    article = form.record.articleNumberText();
            }
            const QStringList configuration = sizeConfiguration(size);
            QStringList configurationLines;
            for (const QString& c : configuration)
                configurationLines << wrapped(c, tableWidth - columns[0].width - 3.0, 7);
            const double height = std::max<qsizetype>(1, forms.size()) * rowLine +
                                  configurationLines.size() * lineHeight(7) + 1.5;
            if (ensure(height + 1.0))
                tableWidth = heading();
            double y = y_ + 1.0;
            text(kLeft + 1.5, y, size.name, points, kInk, TextAlign::Left, true);
            if (calculable) {
                double x = kLeft + columns[0].width;
                for (qsizetype k = 0; k < forms.size(); ++k)
                    text(x + 1.5, y + k * rowLine, forms[k], points, kInk);
                x += columns[1].width;
                text(x + 1.5, y, flowRangeText(size.flowMin, size.flowMax), points, kInk);
                x += columns[2].width;
                text(x + 1.5, y, article, points, kInk);
                y += std::max<qsizetype>(1, forms.size()) * rowLine;
                for (const QString& c : configurationLines) {
                    text(kLeft + columns[0].width + 1.5, y, c, 7, kGrey);
                    y += lineHeight(7);
                }
            } else {
                text(kLeft + columns[0].width + 1.5, y, flowRangeText(size.flowMin, size.flowMax), points,
                     kInk);
                y += rowLine;
            }
            y_ = y + 0.5;
            line(kLeft, y_, kLeft + tableWidth, y_, kRule, 0.2);
        }
        y_ += 6.0;
    }

    void sheetOnlyNote() {
        const QString note = QStringLiteral("Für diesen Typ enthält ZELK FYL keine Berechnungsdaten: Die "
                                            "Auswahl zeigt nur dieses Datenblatt. "
                                            "Bemessen wird er nach dem Volumenstrombereich der Tabelle.");
        const QStringList lines = wrapped(note, kWidth - 8.0, 9);
        const double height = lines.size() * lineHeight(9) + 6.0;
        ensure(height);
        rect(kLeft, y_, kLeft + kWidth, y_ + height, kShade);
        line(kLeft, y_, kLeft, y_ + height, kInk, 0.8);
        paragraph(kLeft + 4.0, y_ + 3.0, kWidth - 8.0, note, 9);
        y_ += height + 4.0;
    }

    // The heading of the charts and the colour of each size; repeated on every page with charts.
    void chartHeading(bool continued) {
        text(kLeft, y_, continued ? QStringLiteral("Kennlinien (Fortsetzung)") : QStringLiteral("Kennlinien"),
             10, kInk, TextAlign::Left, true);
        y_ += 5.5;
        const QString basis =
            type_.perMetre()
                ? QStringLiteral(
                      "Berechnet mit den Formeln von ZELK FYL aus den Katalogbeiwerten; Volumenstrom "
                      "V je Meter Schlitzlänge.")
                : QStringLiteral(
                      "Berechnet mit den Formeln von ZELK FYL aus den Katalogbeiwerten; Volumenstrom "
                      "V je Durchlass.");
        y_ = paragraph(kLeft, y_, kWidth, basis, 7, false, kGrey) + 1.0;
        double x = kLeft;
        for (std::size_t s = 0; s < type_.sizes.size(); ++s) {
            const QString& name = type_.sizes[s].name;
            const double itemWidth = 9.0 + textWidth(name, 8) + 6.0;
            if (x + itemWidth > kRight) {
                x = kLeft;
                y_ += lineHeight(8);
            }
            line(x, y_ + 1.6, x + 7.0, y_ + 1.6, sizeColour(static_cast<int>(s)), 0.7);
            text(x + 9.0, y_, name, 8, kInk);
            x += itemWidth;
        }
        y_ += lineHeight(8) + 3.0;
    }

    void charts() {
        const std::vector<SheetChart> all = sheetCharts(type_);
        // The charts have a page of their own, the product and its sizes stay together before it.
        newPage();
        chartHeading(false);
        for (std::size_t i = 0; i < all.size(); i += 2) {
            if (ensure(kChartHeight))
                chartHeading(true);
            chart(all[i], kLeft, y_);
            if (i + 1 < all.size())
                chart(all[i + 1], kLeft + kChartWidth + kChartGap, y_);
            y_ += kChartHeight;
        }
    }

    void chart(const SheetChart& c, double x0, double y0) {
        const ChartText words = chartText(c.quantity, type_.perMetre());
        const double left = x0 + 11.0, right = x0 + kChartWidth - 2.0;
        const double top = y0 + 6.0, bottom = y0 + kChartHeight - 22.0;
        text(x0, y0, words.title, 9, kInk, TextAlign::Left, true);

        double xLow = 1e300, xHigh = -1e300, yLow = 1e300, yHigh = -1e300;
        for (const ChartCurve& curve : c.curves)
            for (const ChartPoint& p : curve.points) {
                xLow = std::min(xLow, p.flow);
                xHigh = std::max(xHigh, p.flow);
                yLow = std::min(yLow, p.value);
                yHigh = std::max(yHigh, p.value);
            }
        const Axis xAxis = niceAxis(xLow, xHigh, false);
        const Axis yAxis = niceAxis(yLow, yHigh, words.fromZero);
        const auto mapX = [&](double v) {
            return left + (v - xAxis.low) / (xAxis.high - xAxis.low) * (right - left);
        };
        const auto mapY = [&](double v) {
            return bottom - (v - yAxis.low) / (yAxis.high - yAxis.low) * (bottom - top);
        };

        const int tickPoints = 7;
        const double tickHeight = lineHeight(tickPoints);
        for (int i = 0; xAxis.low + i * xAxis.step <= xAxis.high + 1e-9 * xAxis.step; ++i) {
            const double v = xAxis.low + i * xAxis.step;
            const double x = mapX(v);
            line(x, top, x, bottom, kGrid, 0.2);
            text(x, bottom + 1.0, numbers::formatGeneral(v), tickPoints, kGrey, TextAlign::Centre);
        }
        for (int i = 0; yAxis.low + i * yAxis.step <= yAxis.high + 1e-9 * yAxis.step; ++i) {
            const double v = yAxis.low + i * yAxis.step;
            const double y = mapY(v);
            line(left, y, right, y, kGrid, 0.2);
            text(left - 1.5, y - tickHeight / 2.0 + 0.3, numbers::formatGeneral(v), tickPoints, kGrey,
                 TextAlign::Right);
        }
        line(left, top, left, bottom, kInk, 0.2);
        line(left, bottom, right, bottom, kInk, 0.2);
        line(right, top, right, bottom, kRule, 0.2);
        line(left, top, right, top, kRule, 0.2);

        for (const ChartCurve& curve : c.curves) {
            const PenStyle style = curve.style == 0 ? PenStyle::Solid : PenStyle::Dot;
            for (std::size_t k = 1; k < curve.points.size(); ++k)
                line(mapX(curve.points[k - 1].flow), mapY(curve.points[k - 1].value),
                     mapX(curve.points[k].flow), mapY(curve.points[k].value), sizeColour(curve.size), 0.45,
                     style);
        }

        const QString axis = type_.perMetre() ? QStringLiteral("V [m³/(h·m)]") : QStringLiteral("V [m³/h]");
        text(right, bottom + 1.0 + tickHeight, axis, tickPoints, kInk, TextAlign::Right);
        double y = bottom + 2.0 + 2 * tickHeight;
        text(x0, y, words.condition, 7, kGrey);
        y += tickHeight;
        // One jet form is named; several get the line style that tells them apart, a line each.
        for (qsizetype k = 0; k < c.jetForms.size(); ++k) {
            if (c.jetForms.size() == 1) {
                text(x0, y, QStringLiteral("Strahlform ") + c.jetForms[k], 7, kGrey);
                break;
            }
            line(x0, y + 1.4, x0 + 7.0, y + 1.4, kInk, 0.45, k == 0 ? PenStyle::Solid : PenStyle::Dot);
            text(x0 + 8.5, y, c.jetForms[k], 7, kGrey);
            y += tickHeight;
        }
    }

    void footers() {
        const int count = static_cast<int>(pages_.size());
        for (int i = 0; i < count; ++i) {
            drawInto(pages_[static_cast<std::size_t>(i)]);
            line(kLeft, 286.0, kRight, 286.0, kRule, 0.2);
            text(kLeft, 288.0,
                 QStringLiteral("ZELK · Datenblatt %1 · technische Änderungen vorbehalten").arg(type_.name),
                 7, kGrey);
            text(kRight, 288.0, QStringLiteral("Seite %1 von %2").arg(i + 1).arg(count), 7, kGrey,
                 TextAlign::Right);
        }
    }

    const DataSheetInputs& in_;
    const DocumentedType& type_;
    std::vector<ReportPage> pages_;
    double y_ = kTop;
};

} // namespace

std::vector<ReportPage> dataSheetPages(const DataSheetInputs& in) {
    return SheetLayout(in).pages();
}

} // namespace fyl
