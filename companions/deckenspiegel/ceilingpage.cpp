// Lays out the ceiling plan's page in device pixels: plan, dimension chains, legend, findings and
// title block. Core layer of the ceiling-plan tool (fylceiling).
#include "companions/deckenspiegel/ceilingpage.h"

#include "drawing/millimetrepage.h"
#include "frame/filetext.h"
#include "frame/numbers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace fyl::ceiling {

namespace {

using namespace pagecolours;
constexpr Rgb kBlack = picturecolours::kBlack;
constexpr Rgb kWhite = picturecolours::kWhite;
constexpr Rgb kDimension{60, 60, 60};
constexpr Rgb kAxis{150, 170, 205};

constexpr double kMmPerInch = 25.4;
constexpr double kPanelWidth = 82;  // legend, findings and title block [mm]
constexpr double kChainStep = 6.5;  // between the room and a chain, and between two chains [mm]
constexpr double kLeftReserve = 38; // two chains with their labels written beside them [mm]
constexpr double kTopReserve = 2 * kChainStep + 4;
constexpr double kBottomReserve = kChainStep + 5;
constexpr int kLabelPoints = 7;
constexpr double kOvershoot = 1.0; // extension lines and ticks past the dimension line [mm]
constexpr int kTextPoints = 8;
constexpr double kRowHeight = 5.2; // title block row [mm]

// Standard drawing scales, 1:n.
constexpr std::array<int, 23> kScales{10,   20,   25,   50,    75,    100,   125,  150,
                                      200,  250,  500,  750,   1000,  1250,  1500, 2000,
                                      2500, 5000, 7500, 10000, 20000, 25000, 50000};

Rgb strokeOf(Breach b) {
    return b == Breach::Limit ? kLimit : b == Breach::Seated ? kSeated : kDimension;
}

Rgb fillOf(Breach b) {
    return b == Breach::Limit ? kLimitFill : b == Breach::Seated ? kSeatedFill : kOutlet;
}

// Height of a text cell and width of a label, both in mm; the drawing layer measures exactly,
// this only has to keep labels apart.
double cellHeight(int points) {
    return points * 1.17 * kMmPerInch / 72.0;
}
double textWidth(const QString& text, int points) {
    return text.size() * points * 0.6 * kMmPerInch / 72.0;
}

QString elided(const QString& text, double widthMm, int points) {
    const int fits = std::max(4, static_cast<int>(widthMm / textWidth(QStringLiteral("x"), points)));
    return text.size() <= fits ? text : text.left(fits - 1) + QChar(0x2026);
}

QString limitPair(const std::optional<double>& spacing, const std::optional<double>& wall) {
    const auto one = [](const std::optional<double>& v) { return v ? metres(*v) : QStringLiteral("--"); };
    return QStringLiteral("%1 / %2 m").arg(one(spacing), one(wall));
}

class PageBuilder : private MillimetrePage {
public:
    PageBuilder(const CeilingExchange& x, const CeilingLayout& layout, const PageGeometry& geometry)
        : MillimetrePage(static_cast<int>(geometry.dpi)), x_(x), layout_(layout), g_(geometry) {}

    CeilingPage build(const QDate& date) {
        drawInto(page_.primitives);
        const double pageWidth = g_.width * kMmPerInch / g_.dpi;
        const double pageHeight = g_.height * kMmPerInch / g_.dpi;
        margin_ = g_.paper ? 10 : 4;
        panelLeft_ = pageWidth - margin_ - kPanelWidth;
        bottom_ = pageHeight - margin_;
        if (x_.roomWidth > 0 && x_.roomLength > 0) {
            placeRoom();
            drawRoom();
            drawAxes();
            drawGaps();
            drawOutlets();
            drawChains();
        }
        if (!layout_.problem.isEmpty())
            drawProblem();
        drawPanel(date);
        return std::move(page_);
    }

private:
    double planX(double metresX) const { return roomLeft_ + metresX * scale_; }
    double planY(double metresY) const { return roomTop_ + metresY * scale_; }

    // The scale and the room's place: the plan area left of the panel, less the room the
    // dimension chains need.
    void placeRoom() {
        const bool partialRow =
            layout_.problem.isEmpty() && layout_.rows > 1 && layout_.lastRowCount != layout_.columns;
        const double areaLeft = margin_ + kLeftReserve;
        const double areaTop = margin_ + kTopReserve;
        const double areaWidth = panelLeft_ - 8 - 4 - areaLeft;
        const double areaHeight = bottom_ - (partialRow ? kBottomReserve : 4) - areaTop;
        const double fit = std::max(0.0, std::min(areaWidth / x_.roomWidth, areaHeight / x_.roomLength));
        scale_ = fit;
        if (g_.paper) {
            const auto n =
                std::find_if(kScales.begin(), kScales.end(), [&](int s) { return 1000.0 / s <= fit; });
            if (n != kScales.end()) {
                scale_ = 1000.0 / *n;
                page_.scale = *n;
            }
        }
        roomLeft_ = areaLeft + (areaWidth - x_.roomWidth * scale_) / 2;
        roomTop_ = areaTop;
    }

    void drawRoom() {
        const double right = planX(x_.roomWidth), bottom = planY(x_.roomLength);
        rect(roomLeft_, roomTop_, right, bottom, kWhite, std::nullopt);
        // A grid of 1 m, coarser where its lines would crowd.
        static constexpr std::array<double, 7> kSteps{1, 2, 5, 10, 20, 50, 100};
        grid_ = *std::find_if(kSteps.begin(), kSteps.end() - 1, [&](double s) { return s * scale_ >= 3.0; });
        // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter): whole metres add up exactly
        for (double v = grid_; v < x_.roomWidth - 1e-9; v += grid_)
            line(planX(v), roomTop_, planX(v), bottom, kGrid, 0.1);
        // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter): whole metres add up exactly
        for (double v = grid_; v < x_.roomLength - 1e-9; v += grid_)
            line(roomLeft_, planY(v), right, planY(v), kGrid, 0.1);
        line(roomLeft_, roomTop_, right, roomTop_, kBlack, 0.6);
        line(right, roomTop_, right, bottom, kBlack, 0.6);
        line(right, bottom, roomLeft_, bottom, kBlack, 0.6);
        line(roomLeft_, bottom, roomLeft_, roomTop_, kBlack, 0.6);
    }

    // The axes of the outlet rows and columns, thin, across the whole room.
    // A shorter last row has columns of its own; the axes of the full rows end half a spacing
    // before it.
    void drawAxes() {
        if (!layout_.problem.isEmpty())
            return;
        if (layout_.judged && layout_.judged->layout.kind == LayoutKind::WallRow)
            return;
        if (layout_.judged && layout_.judged->layout.kind == LayoutKind::SlotRows) {
            // The centre line of each row, wall to wall.
            for (const PlanOutlet& o : layout_.outlets) {
                if (o.column != 0)
                    continue;
                if (o.alongLength)
                    line(planX(o.x), roomTop_, planX(o.x), planY(x_.roomLength), kAxis, 0.15, PenStyle::Dot);
                else
                    line(roomLeft_, planY(o.y), planX(x_.roomWidth), planY(o.y), kAxis, 0.15, PenStyle::Dot);
            }
            return;
        }
        const bool partial = layout_.lastRowCount != layout_.columns;
        const double split =
            partial ? layout_.wallY + (layout_.rows - 1.5) * layout_.spacingY : x_.roomLength;
        for (const PlanOutlet& o : layout_.outlets) {
            if (o.column == 0)
                line(roomLeft_, planY(o.y), planX(x_.roomWidth), planY(o.y), kAxis, 0.15, PenStyle::Dot);
            if (o.row == 0)
                line(planX(o.x), roomTop_, planX(o.x), planY(split), kAxis, 0.15, PenStyle::Dot);
            if (partial && o.row == layout_.rows - 1)
                line(planX(o.x), planY(split), planX(o.x), planY(x_.roomLength), kAxis, 0.15, PenStyle::Dot);
        }
    }

    double outletDiameter() const {
        // About the size of a diffuser face, big enough to see, and never touching its neighbour.
        if (layout_.outlets.size() <= 1)
            return std::clamp(0.6 * scale_, 2.5, 16.0);
        const double spacing = std::min(layout_.spacingX, layout_.spacingY);
        const double d = std::clamp(std::min(0.6, 0.45 * spacing) * scale_, 2.5, 16.0);
        return std::max(0.8, std::min(d, 0.8 * spacing * scale_));
    }

    void drawGaps() {
        // Gaps join slot pieces side by side, or point outlets.
        const bool pieces = !layout_.outlets.empty() && layout_.outlets.front().length > 0;
        const double r = pieces ? slotThickness() / 2 : outletDiameter() / 2;
        for (const PlanGap& gap : layout_.gaps) {
            if (gap.breach == Breach::None)
                continue;
            const PlanOutlet& p = layout_.outlets[gap.from];
            const PlanOutlet& q = layout_.outlets[gap.to];
            const double dx = planX(q.x) - planX(p.x), dy = planY(q.y) - planY(p.y);
            const double length = std::hypot(dx, dy);
            if (length <= 2 * r)
                continue;
            const double ux = dx / length, uy = dy / length;
            line(planX(p.x) + ux * r, planY(p.y) + uy * r, planX(q.x) - ux * r, planY(q.y) - uy * r,
                 strokeOf(gap.breach), 0.6);
        }
    }

    void outletSymbol(double cx, double cy, double d, Breach breach) {
        const Rgb stroke = breach == Breach::None ? kBlack : strokeOf(breach);
        circle(cx, cy, d, fillOf(breach), stroke, 0.3);
        if (x_.horizontal) {
            // A round ceiling diffuser: the ring of its vanes.
            circle(cx, cy, d * 0.45, kWhite, stroke, 0.2);
        } else {
            // A jet straight down: a cross in the circle.
            const double k = d / 2 * 0.7071;
            line(cx - k, cy - k, cx + k, cy + k, stroke, 0.2);
            line(cx - k, cy + k, cx + k, cy - k, stroke, 0.2);
        }
    }

    // A slot across its opening on paper: thin enough to read as a slot, thick enough to see.
    double slotThickness() const { return std::clamp(0.12 * scale_, 1.2, 3.0); }

    struct Box {
        double left = 0, top = 0, right = 0, bottom = 0;
    };
    // The rectangle of a piece of slot or of an outlet at a wall, on the page: a slot as long as the
    // piece (a hair shorter, so that pieces end to end stay apart), a wall outlet a bar `d` long
    // against its wall.
    Box boxOf(const PlanOutlet& o, double d) const {
        double length = d, thickness = d / 3;
        if (o.length > 0) {
            length = o.length * scale_;
            length -= std::min(0.6, 0.1 * length);
            thickness = slotThickness();
        }
        const double cx = planX(o.x), cy = planY(o.y);
        if (o.alongLength) {
            const double left = o.atWall ? cx : cx - thickness / 2;
            return {left, cy - length / 2, left + thickness, cy + length / 2};
        }
        const double top = o.atWall ? cy : cy - thickness / 2;
        return {cx - length / 2, top, cx + length / 2, top + thickness};
    }

    void barSymbol(const Box& b, bool alongLength, bool slot, Breach breach) {
        const Rgb stroke = breach == Breach::None ? kBlack : strokeOf(breach);
        rect(b.left, b.top, b.right, b.bottom, fillOf(breach), Pen{stroke, width(0.3)});
        if (!slot)
            return;
        // The slot's opening along its middle.
        if (alongLength)
            line((b.left + b.right) / 2, b.top, (b.left + b.right) / 2, b.bottom, stroke, 0.2);
        else
            line(b.left, (b.top + b.bottom) / 2, b.right, (b.top + b.bottom) / 2, stroke, 0.2);
    }

    void drawOutlets() {
        const double d = outletDiameter();
        const bool numbered = layout_.outlets.size() <= 100 && d >= 3.0;
        for (std::size_t i = 0; i < layout_.outlets.size(); ++i) {
            const PlanOutlet& o = layout_.outlets[i];
            double labelX = planX(o.x) + d * 0.4, labelTop = planY(o.y) - d * 0.4 - cellHeight(6);
            TextAlign align = TextAlign::Left;
            if (o.length > 0 || o.atWall) {
                // A bar's number beside its middle, on the side away from its wall.
                const Box b = boxOf(o, d);
                barSymbol(b, o.alongLength, o.length > 0, o.breach);
                if (o.alongLength) {
                    labelX = b.right + 0.6;
                    labelTop = (b.top + b.bottom) / 2 - cellHeight(6) / 2;
                } else {
                    labelX = (b.left + b.right) / 2;
                    labelTop = o.atWall ? b.bottom + 0.3 : b.top - cellHeight(6) - 0.3;
                    align = TextAlign::Centre;
                }
            } else {
                outletSymbol(planX(o.x), planY(o.y), d, o.breach);
            }
            if (numbered)
                text(labelX, labelTop, numbers::formatGeneral(static_cast<double>(i + 1)), 6,
                     o.breach == Breach::None ? kDimension : strokeOf(o.breach), align);
        }
    }

    using Segment = PlanSpan; // metres along the chain

    // A dimension chain along x (at page height `level`) or along y (at page position `level`),
    // with ticks, extension lines from the room's edge and a label per segment. Labels that do
    // not fit between the ticks: a run of equal inner segments is labelled once ("3 × 2,00"), a
    // short end segment beside the chain's end.
    void chain(bool alongX, double level, double edge, const std::vector<Segment>& segments,
               bool labelsAfter) {
        if (segments.empty())
            return;
        const auto pos = [&](double m) { return alongX ? planX(m) : planY(m); };
        const auto drawLine = [&](double a1, double a2, Rgb colour, double w) {
            if (alongX)
                line(a1, level, a2, level, colour, w);
            else
                line(level, a1, level, a2, colour, w);
        };
        // Extension lines from just off the room's edge to just past the chain, short of its labels.
        const double direction = level < edge ? -1 : 1;
        std::vector<double> ticks{segments.front().from};
        for (const Segment& s : segments)
            ticks.push_back(s.to);
        for (double t : ticks) {
            const double p = pos(t);
            if (alongX)
                line(p, edge + direction * 1.5, p, level + direction * kOvershoot, kDimension, 0.1);
            else
                line(edge + direction * 1.5, p, level + direction * kOvershoot, p, kDimension, 0.1);
        }
        for (const Segment& s : segments)
            drawLine(pos(s.from), pos(s.to), strokeOf(s.breach), s.breach == Breach::None ? 0.15 : 0.45);
        for (double t : ticks) {
            const double p = pos(t);
            if (alongX)
                line(p - kOvershoot, level + kOvershoot, p + kOvershoot, level - kOvershoot, kDimension,
                     0.35);
            else
                line(level - kOvershoot, p + kOvershoot, level + kOvershoot, p - kOvershoot, kDimension,
                     0.35);
        }

        const auto room = [&](const Segment& s) { return pos(s.to) - pos(s.from); };
        const auto fits = [&](const Segment& s, const QString& label) {
            return room(s) >= (alongX ? textWidth(label, kLabelPoints) : cellHeight(kLabelPoints)) + 1.0;
        };
        const auto label = [&](double from, double to, const QString& s, Rgb colour, int side) {
            // side 0: centred on the span; -1: before its start; +1: after its end.
            const double along = side == 0 ? (from + to) / 2 : side < 0 ? from - 1.5 : to + 1.5;
            if (alongX) {
                const double top = labelsAfter ? level + kOvershoot + 0.3
                                               : level - kOvershoot - 0.3 - cellHeight(kLabelPoints);
                text(along, top, s, kLabelPoints, colour,
                     side == 0  ? TextAlign::Centre
                     : side < 0 ? TextAlign::Right
                                : TextAlign::Left);
            } else {
                const double top = side == 0  ? along - cellHeight(kLabelPoints) / 2
                                   : side < 0 ? along - cellHeight(kLabelPoints)
                                              : along;
                text(level - 1.2, top, s, kLabelPoints, colour, TextAlign::Right);
            }
        };
        const auto labelColour = [](Breach b) { return b == Breach::None ? kBlack : strokeOf(b); };

        const std::size_t n = segments.size();
        const auto own = [&](std::size_t i) {
            const Segment& s = segments[i];
            const QString value = metres(s.to - s.from);
            const bool inner = i != 0 && i != n - 1;
            label(pos(s.from), pos(s.to), value, labelColour(s.breach),
                  fits(s, value) || inner || n == 1 ? 0 : (i == 0 ? -1 : 1));
        };
        bool allFit = true;
        for (const Segment& s : segments)
            allFit = allFit && fits(s, metres(s.to - s.from));
        if (allFit || n <= 3) {
            for (std::size_t i = 0; i < n; ++i)
                own(i);
            return;
        }
        own(0);
        own(n - 1);
        // The inner segments are the equal spacings: one label for the run.
        const Segment run{segments[1].from, segments[n - 2].to, segments[1].breach};
        const QString k = numbers::formatGeneral(static_cast<double>(n - 2));
        const QString value = metres(segments[1].to - segments[1].from);
        QString runLabel = QStringLiteral("%1 × %2 = %3").arg(k, value, metres(run.to - run.from));
        if (!fits(run, runLabel))
            runLabel = QStringLiteral("%1 × %2").arg(k, value);
        label(pos(run.from), pos(run.to), runLabel, labelColour(run.breach), 0);
    }

    // Segments from wall to wall through the given positions: the ends checked against the wall
    // limits, the spacings between them against the spacing limits.
    std::vector<Segment> segmentsThrough(const std::vector<double>& positions, double length) const {
        std::vector<Segment> out;
        const Limits& l = layout_.limits;
        double from = 0;
        for (std::size_t i = 0; i < positions.size(); ++i) {
            const double to = positions[i];
            const Breach b = i == 0 ? breachOf(to - from, l.wall, l.wallSeated)
                                    : breachOf(to - from, l.spacing, l.spacingSeated);
            out.push_back({from, to, b});
            from = to;
        }
        out.push_back({from, length, breachOf(length - from, l.wall, l.wallSeated)});
        return out;
    }

    void drawChains() {
        const double bottom = planY(x_.roomLength);
        // Overall dimensions outside, the outlets' inside.
        chain(true, roomTop_ - 2 * kChainStep, roomTop_, {{0, x_.roomWidth, Breach::None}}, false);
        chain(false, roomLeft_ - 4 * kChainStep, roomLeft_, {{0, x_.roomLength, Breach::None}}, false);
        if (!layout_.problem.isEmpty())
            return;
        if (layout_.judged) {
            chain(true, roomTop_ - kChainStep, roomTop_, layout_.judged->across, false);
            chain(false, roomLeft_ - 2 * kChainStep, roomLeft_, layout_.judged->along, false);
            return;
        }
        std::vector<double> columns, rows, lastRow;
        for (const PlanOutlet& o : layout_.outlets) {
            if (o.row == 0)
                columns.push_back(o.x);
            if (o.column == 0)
                rows.push_back(o.y);
            if (o.row == layout_.rows - 1)
                lastRow.push_back(o.x);
        }
        chain(true, roomTop_ - kChainStep, roomTop_, segmentsThrough(columns, x_.roomWidth), false);
        chain(false, roomLeft_ - 2 * kChainStep, roomLeft_, segmentsThrough(rows, x_.roomLength), false);
        if (layout_.rows > 1 && layout_.lastRowCount != layout_.columns)
            chain(true, bottom + kChainStep, bottom, segmentsThrough(lastRow, x_.roomWidth), true);
    }

    // The message in a box across the plan area, over the empty room.
    void drawProblem() {
        const double left = margin_ + 4;
        const double right = panelLeft_ - 8;
        double top = x_.roomWidth > 0 && x_.roomLength > 0 ? roomTop_ + 6 : margin_ + 20;
        const int chars = static_cast<int>((right - left - 8) / textWidth(QStringLiteral("x"), 10));
        const QStringList lines = wordWrapped(layout_.problem, std::max(20, chars));
        rect(left, top, right, top + lines.size() * cellHeight(10) + 8, kWhite, Pen{kLimit, width(0.5)});
        top += 4;
        for (const QString& l : lines) {
            text(left + 4, top, l, 10, kLimit);
            top += cellHeight(10);
        }
    }

    void legendRow(double top, const QString& label) { text(panelLeft_ + 12, top, label, kTextPoints); }

    void drawPanel(const QDate& date) {
        const double left = panelLeft_;
        const double right = left + kPanelWidth;
        double y = margin_;
        text(left, y, QStringLiteral("Deckenspiegel"), 16, kBlack, TextAlign::Left, true);
        y += cellHeight(16) + 1;
        text(left, y, elided(x_.outletName, kPanelWidth, 10), 10);
        y += cellHeight(10) + 4;

        text(left, y, QStringLiteral("Legende"), 9, kBlack, TextAlign::Left, true);
        y += cellHeight(9) + 1.5;
        const double rowStep = 5.5;
        const PlanOutlet* first = layout_.outlets.empty() ? nullptr : &layout_.outlets.front();
        if (first != nullptr && first->length > 0) {
            barSymbol({left + 1, y + 1.4, left + 7, y + 2.6}, false, true, Breach::None);
            legendRow(y, QStringLiteral("Schlitzdurchlass, Stück %1 m (Nr.)").arg(metres(first->length)));
        } else if (first != nullptr && first->atWall) {
            barSymbol({left + 2.2, y + 1.4, left + 5.8, y + 2.6}, false, false, Breach::None);
            legendRow(y, QStringLiteral("Durchlass an der Wand (Nr.)"));
        } else {
            outletSymbol(left + 4, y + 2, 3.6, Breach::None);
            legendRow(y, x_.horizontal ? QStringLiteral("Durchlass, horizontaler Strahl (Nr.)")
                                       : QStringLiteral("Durchlass, vertikaler Strahl (Nr.)"));
        }
        y += rowStep;
        if (layout_.judged) {
            if (layout_.judged->spacingFailed || layout_.judged->wallFailed) {
                line(left + 1, y + 2, left + 7, y + 2, kLimit, 0.6);
                legendRow(y, QStringLiteral("Abstand bzw. Wandabstand nicht erfüllt"));
                y += rowStep;
            }
        } else if (layout_.limits.spacing || layout_.limits.wall) {
            line(left + 1, y + 2, left + 7, y + 2, kLimit, 0.6);
            legendRow(y, QStringLiteral("unter a_min bzw. Rand_min"));
            y += rowStep;
        }
        if (!layout_.judged && (layout_.limits.spacingSeated || layout_.limits.wallSeated)) {
            line(left + 1, y + 2, left + 7, y + 2, kSeated, 0.6);
            legendRow(y, QStringLiteral("unter dem Wert für Sitzhöhe 1,3 m"));
            y += rowStep;
        }
        line(left + 1, y + 2, left + 7, y + 2, kGrid, 0.3);
        legendRow(y,
                  QStringLiteral("Raster %1 m, Maße in m").arg(numbers::formatGeneral(std::max(grid_, 1.0))));
        y += rowStep + 2;

        const auto entries = titleEntries(date);
        const double titleHeight = (static_cast<double>(entries.size()) + 1) * kRowHeight;
        // The findings' heading and first line stay above the title block: on a page too low for
        // the whole panel the title block gives way downwards and is cut off at the bottom.
        const double findingsLeast = cellHeight(9) + 1.5 + cellHeight(kTextPoints) + 0.3 + 3;
        page_.leastHeight = y + findingsLeast + titleHeight + margin_;
        const double titleTop = std::max(bottom_ - titleHeight, y + findingsLeast);
        drawFindings(y, titleTop - 3);
        drawTitleBlock(titleTop, right, entries);
    }

    void drawFindings(double y, double limit) {
        text(panelLeft_, y, QStringLiteral("Prüfung"), 9, kBlack, TextAlign::Left, true);
        y += cellHeight(9) + 1.5;
        struct Line {
            QString text;
            Rgb colour;
        };
        std::vector<Line> lines;
        const int chars = static_cast<int>(kPanelWidth / textWidth(QStringLiteral("x"), kTextPoints));
        const auto add = [&](const QString& s, Rgb colour) {
            for (const QString& l : wordWrapped(s, chars))
                lines.push_back({l, colour});
        };
        if (layout_.judged) {
            // The layout and the verdict of the judgement, as the calculation window shows them.
            if (layout_.problem.isEmpty())
                add(QStringLiteral("Anordnung: %1").arg(layoutText(layout_.judged->layout)), kBlack);
            for (const QString& l : layout_.judged->verdict)
                add(l, layout_.judged->met ? kGood : kLimit);
        } else if (!layout_.problem.isEmpty())
            add(QStringLiteral("Kein Raster: siehe Meldung im Plan."), kLimit);
        else if (!layout_.limits.any())
            add(QStringLiteral("Vertikalstrahl: ohne Grenzen für Abstand und Wandabstand."), kBlack);
        else if (layout_.findings.empty())
            add(QStringLiteral("Alle Abstände und Wandabstände halten die Grenzen ein."), kGood);
        if (!layout_.judged)
            for (const Finding& f : layout_.findings)
                add(f.count > 1 ? QStringLiteral("%1 (%2\u00a0×)").arg(f.text).arg(f.count) : f.text,
                    strokeOf(f.breach));
        if (!layout_.judged && layout_.problem.isEmpty() && !layout_.keepsWallDistance)
            add(QStringLiteral("Der Wandabstand %1 m ist nicht überall einzuhalten; der kleinste ist %2 m.")
                    .arg(metres(x_.wallDistance), metres(layout_.leastWallDistance)),
                kBlack);
        const double step = cellHeight(kTextPoints) + 0.3;
        const auto room = static_cast<std::size_t>(std::max(1.0, std::floor((limit - y) / step)));
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i + 1 == room && lines.size() > room) {
                text(panelLeft_, y, QStringLiteral("… und %1 weitere Zeilen").arg(lines.size() - i),
                     kTextPoints);
                break;
            }
            text(panelLeft_, y, lines[i].text, kTextPoints, lines[i].colour);
            y += step;
        }
    }

    std::vector<std::pair<QString, QString>> titleEntries(const QDate& date) const {
        const Limits& l = layout_.limits;
        QString count = numbers::formatGeneral(x_.outletCount);
        if (layout_.judged) {
            // The layout has a row of its own.
            if (layout_.judged->pieceLength > 0)
                count += QStringLiteral(" Stück à %1 m").arg(metres(layout_.judged->pieceLength));
        } else if (layout_.problem.isEmpty() && layout_.rows == 1 && x_.outletCount > 1)
            count += QStringLiteral(" (eine Reihe)");
        else if (layout_.problem.isEmpty() && layout_.columns == 1 && layout_.rows > 1)
            count += QStringLiteral(" (eine Reihe längs)");
        else if (layout_.problem.isEmpty() && layout_.rows > 1)
            count += layout_.lastRowCount == layout_.columns
                         ? QStringLiteral(" (%1 Reihen zu %2)").arg(layout_.rows).arg(layout_.columns)
                         : QStringLiteral(" (%1 Reihen zu %2, letzte %3)")
                               .arg(layout_.rows)
                               .arg(layout_.columns)
                               .arg(layout_.lastRowCount);
        std::vector<std::pair<QString, QString>> rows{
            {QStringLiteral("Projekt"), x_.project},
            {QStringLiteral("Bearbeiter"), x_.editor},
            {QStringLiteral("Durchlass"), x_.outletName},
            {QStringLiteral("Anzahl"), count},
            {QStringLiteral("Strahl"),
             x_.horizontal ? QStringLiteral("horizontal") : QStringLiteral("vertikal")},
            {QStringLiteral("Raum B × L × H"),
             QStringLiteral("%1 × %2 × %3 m")
                 .arg(metres(x_.roomWidth), metres(x_.roomLength), metres(x_.roomHeight))},
            {QStringLiteral("Kopfhöhe, v"),
             QStringLiteral("%1 m, %2 m/s").arg(metres(x_.headHeight), metres(x_.velocityLimit))},
            {QStringLiteral("Abstand, Wand"),
             QStringLiteral("%1 m, %2 m").arg(metres(x_.spacing), metres(x_.wallDistance))},
            {QStringLiteral("a_min / Rand_min"),
             l.any() ? limitPair(l.spacing, l.wall) : QStringLiteral("--")},
            {QStringLiteral("Sitzhöhe 1,3 m"),
             l.any() ? limitPair(l.spacingSeated, l.wallSeated) : QStringLiteral("--")},
            {QStringLiteral("Maßstab"), page_.scale > 0 ? QStringLiteral("1:%1 (A4)").arg(page_.scale)
                                                        : QStringLiteral("an das Fenster angepasst")},
            {QStringLiteral("Datum"), date.toString(QStringLiteral("dd.MM.yyyy"))},
        };
        const auto given = std::find_if(rows.begin(), rows.end(), [](const auto& row) {
            return row.first == QLatin1String("Abstand, Wand");
        });
        if (layout_.judged) {
            // The layout the judgement used stands for the flow picture's spacing and wall distance.
            *given = {QStringLiteral("Anordnung"), layout_.problem.isEmpty()
                                                       ? layoutText(layout_.judged->layout)
                                                       : QStringLiteral("keine")};
        } else if (layout_.evenGrid) {
            // The grid's own figures in both directions: the file gives only one of them. A
            // direction with one outlet has no spacing.
            const auto spacing = [](int outlets, double pitch) {
                return outlets > 1 ? metres(pitch) : QStringLiteral("--");
            };
            *given = {QStringLiteral("Abstand quer/längs"),
                      QStringLiteral("%1 / %2 m")
                          .arg(spacing(layout_.columns, layout_.spacingX),
                               spacing(layout_.rows, layout_.spacingY))};
            rows.insert(given + 1,
                        {QStringLiteral("Wand quer/längs"),
                         QStringLiteral("%1 / %2 m").arg(metres(layout_.wallX), metres(layout_.wallY))});
        }
        return rows;
    }
    void drawTitleBlock(double top, double right, const std::vector<std::pair<QString, QString>>& rows) {
        const double left = panelLeft_;
        const double bottom = top + (static_cast<double>(rows.size()) + 1) * kRowHeight;
        rect(left, top, right, bottom, kWhite, Pen{kBlack, width(0.5)});
        const double labelWidth = 31;
        const double inset = (kRowHeight - cellHeight(kTextPoints)) / 2;
        text(left + 2, top + inset, QStringLiteral("ZELK FYL – Deckenspiegel"), kTextPoints + 1, kBlack,
             TextAlign::Left, true);
        double y = top + kRowHeight;
        for (const auto& [label, value] : rows) {
            line(left, y, right, y, kBlack, 0.15);
            text(left + 2, y + inset, label, kTextPoints);
            text(left + labelWidth + 2, y + inset, elided(value, right - left - labelWidth - 4, kTextPoints),
                 kTextPoints);
            y += kRowHeight;
        }
        line(left + labelWidth, top + kRowHeight, left + labelWidth, bottom, kBlack, 0.15);
    }

    const CeilingExchange& x_;
    const CeilingLayout& layout_;
    PageGeometry g_;
    CeilingPage page_;
    double margin_ = 10, panelLeft_ = 0, bottom_ = 0;
    double scale_ = 1; // mm on the page per metre of the room
    double roomLeft_ = 0, roomTop_ = 0;
    double grid_ = 0;
};

} // namespace

PageGeometry a4Landscape(double dpi) {
    return {static_cast<int>(std::lround(297.0 / kMmPerInch * dpi)),
            static_cast<int>(std::lround(210.0 / kMmPerInch * dpi)), dpi, true};
}

CeilingPage ceilingPage(const CeilingExchange& x, const CeilingLayout& layout, const PageGeometry& geometry,
                        const QDate& date) {
    return PageBuilder(x, layout, geometry).build(date);
}

} // namespace fyl::ceiling
