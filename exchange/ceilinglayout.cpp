// Laying out the outlets of the ceiling plan on their grid and checking spacing and wall
// distances. Core layer (fylcore).
#include "exchange/ceilinglayout.h"

#include "calc/outletlayout.h"
#include "frame/numbers.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace fyl::ceiling {

namespace {

// The file gives lengths to the centimetre; a distance that prints as its limit is not below it.
constexpr double kTolerance = 1e-6;
// How far the file's spacing and wall distance may lie from an even grid's, which it rounds to
// the centimetre.
constexpr double kGridMatch = 0.01 + kTolerance;

bool below(double length, const std::optional<double>& limit) {
    return limit && length < *limit - kTolerance;
}

void check(double length, const std::optional<double>& limit, const std::optional<double>& seated,
           const QString& what, const QString& limitName, Breach& breach, std::vector<Reason>& reasons) {
    if (below(length, limit)) {
        breach = std::max(breach, Breach::Limit);
        reasons.push_back(
            {Breach::Limit,
             QStringLiteral("%1 %2 m < %3 %4 m").arg(what, metres(length), limitName, metres(*limit))});
    }
    if (below(length, seated)) {
        breach = std::max(breach, Breach::Seated);
        reasons.push_back(
            {Breach::Seated,
             QStringLiteral("%1 %2 m < %3 m (Sitzhöhe 1,3 m)").arg(what, metres(length), metres(*seated))});
    }
}

struct Arrangement {
    int columns = 0, rows = 0, empty = 0;
    double wallX = 0, wallY = 0;
    bool keeps = false;

    double least() const { return std::min(wallX, wallY); }
    // Smaller is better: the order of the rule in the header.
    auto rank() const {
        return std::make_tuple(keeps ? 0 : 1, keeps ? 0.0 : -least(), empty, std::abs(wallX - wallY),
                               columns);
    }
};

// One direction of an even grid: its pitch (twice the wall distance where it has one outlet) and
// wall distance.
struct Direction {
    double spacing = 0, wall = 0;

    // How far the file's spacing and wall distance lie from this direction's.
    double miss(const CeilingExchange& x) const {
        return std::max(std::abs(spacing - x.spacing), std::abs(wall - x.wallDistance));
    }
};

Direction directionOf(const std::optional<double>& spacing, const std::optional<double>& wall) {
    const double w = wall.value_or(0.0);
    return {spacing.value_or(2.0 * w), w};
}

// The even grid the file's spacing and wall distance belong to, if one does: the order of the
// rule in the header.
std::optional<OutletLayout> matchingEvenGrid(const CeilingExchange& x) {
    std::optional<OutletLayout> best;
    std::tuple<double, double, int> bestRank;
    for (const OutletLayout& grid :
         outletLayouts(LayoutKind::Grid, x.roomWidth, x.roomLength, x.outletCount)) {
        const Direction across = directionOf(grid.spacingWidth, grid.wallWidth);
        const Direction along = directionOf(grid.spacingLength, grid.wallLength);
        const double missAcross = across.miss(x), missAlong = along.miss(x);
        if (std::min(missAcross, missAlong) > kGridMatch)
            continue;
        // A direction that matches too counts as a perfect match: rounding must not decide.
        const double other = std::max(missAcross, missAlong);
        const auto rank = std::make_tuple(other > kGridMatch ? other : 0.0,
                                          std::abs(std::log(across.spacing / along.spacing)), grid.columns);
        if (!best || rank < bestRank) {
            best = grid;
            bestRank = rank;
        }
    }
    return best;
}

void takeEvenGrid(const OutletLayout& grid, CeilingLayout& out) {
    const Direction across = directionOf(grid.spacingWidth, grid.wallWidth);
    const Direction along = directionOf(grid.spacingLength, grid.wallLength);
    out.evenGrid = true;
    out.columns = out.lastRowCount = grid.columns;
    out.rows = grid.rows;
    out.spacingX = across.spacing;
    out.spacingY = along.spacing;
    out.wallX = out.lastRowWallX = across.wall;
    out.wallY = along.wall;
}

std::optional<Arrangement> bestArrangement(const CeilingExchange& x) {
    const int n = x.outletCount;
    std::optional<Arrangement> best;
    for (int columns = 1; columns <= n; ++columns) {
        Arrangement a;
        a.columns = columns;
        a.rows = (n + columns - 1) / columns;
        a.empty = a.rows * columns - n;
        a.wallX = (x.roomWidth - (columns - 1) * x.spacing) / 2;
        a.wallY = (x.roomLength - (a.rows - 1) * x.spacing) / 2;
        if (a.wallX <= kTolerance)
            break; // wider rows only reach further beyond the walls
        if (a.wallY <= kTolerance)
            continue;
        a.keeps = a.least() >= x.wallDistance - kTolerance;
        if (!best || a.rank() < best->rank())
            best = a;
    }
    return best;
}

// Why the file's outlets cannot be drawn at all, whatever their layout.
QString roomProblemOf(const CeilingExchange& x) {
    if (x.outletCount <= 0)
        return QStringLiteral("Die Austauschdatei nennt 0 Durchlässe: es gibt nichts anzuordnen.");
    if (x.outletCount > kMaxOutlets)
        return QStringLiteral("%1 Durchlässe sind mehr, als ein Deckenspiegel zeigen kann (höchstens %2).")
            .arg(x.outletCount)
            .arg(kMaxOutlets);
    if (x.roomWidth <= kTolerance || x.roomLength <= kTolerance)
        return QStringLiteral(
                   "Der Raum %1 × %2 m hat keine Fläche: die Austauschdatei nennt keine Raumgröße.")
            .arg(metres(x.roomWidth), metres(x.roomLength));
    return QString();
}

QString problemOf(const CeilingExchange& x) {
    if (QString problem = roomProblemOf(x); !problem.isEmpty())
        return problem;
    if (x.outletCount > 1 && x.spacing <= kTolerance)
        return QStringLiteral(
                   "Der Einbauabstand ist 0: für %1 Durchlässe gibt es kein Raster. Den Abstand in "
                   "ZELK FYL in der Strömungssimulation festlegen und den Deckenspiegel neu aufrufen.")
            .arg(x.outletCount);
    return QString();
}

void placeOutlets(const CeilingExchange& x, CeilingLayout& out) {
    for (int row = 0; row < out.rows; ++row) {
        const int k = row == out.rows - 1 ? out.lastRowCount : out.columns;
        const double left = k == out.columns ? out.wallX : out.lastRowWallX;
        for (int column = 0; column < k; ++column) {
            PlanOutlet o;
            o.row = row;
            o.column = column;
            o.x = left + column * out.spacingX;
            o.y = out.wallY + row * out.spacingY;
            o.wallDistance = std::min({o.x, x.roomWidth - o.x, o.y, x.roomLength - o.y});
            check(o.wallDistance, out.limits.wall, out.limits.wallSeated, QStringLiteral("Wandabstand"),
                  QStringLiteral("Rand_min"), o.breach, o.reasons);
            out.outlets.push_back(o);
        }
    }
}

void addGap(CeilingLayout& out, int from, int to) {
    PlanGap g;
    g.from = from;
    g.to = to;
    const PlanOutlet& p = out.outlets[from];
    const PlanOutlet& q = out.outlets[to];
    g.length = std::hypot(q.x - p.x, q.y - p.y);
    check(g.length, out.limits.spacing, out.limits.spacingSeated, QStringLiteral("Abstand"),
          QStringLiteral("a_min"), g.breach, g.reasons);
    out.gaps.push_back(g);
}

// Neighbours in a row, and each outlet with the nearest one of the row before it.
void findGaps(CeilingLayout& out) {
    const auto n = static_cast<int>(out.outlets.size());
    int rowStart = 0, previousStart = 0;
    for (int i = 0; i < n; ++i) {
        const PlanOutlet& o = out.outlets[i];
        if (i > 0 && o.row != out.outlets[i - 1].row) {
            previousStart = rowStart;
            rowStart = i;
        }
        if (i > rowStart)
            addGap(out, i - 1, i);
        if (o.row > 0) {
            int nearest = previousStart;
            for (int j = previousStart; j < rowStart; ++j)
                if (std::abs(out.outlets[j].x - o.x) < std::abs(out.outlets[nearest].x - o.x) - kTolerance)
                    nearest = j;
            addGap(out, nearest, i);
        }
    }
}

void collectFindings(CeilingLayout& out) {
    const auto add = [&](Breach breach, const std::vector<Reason>& reasons) {
        out.worst = std::max(out.worst, breach);
        for (const Reason& r : reasons) {
            const auto same = std::find_if(out.findings.begin(), out.findings.end(),
                                           [&](const Finding& f) { return f.text == r.text; });
            if (same != out.findings.end())
                ++same->count;
            else
                out.findings.push_back({r.breach, r.text, 1});
        }
    };
    for (const PlanOutlet& o : out.outlets)
        add(o.breach, o.reasons);
    for (const PlanGap& g : out.gaps)
        add(g.breach, g.reasons);
    std::stable_sort(out.findings.begin(), out.findings.end(),
                     [](const Finding& p, const Finding& q) { return p.breach > q.breach; });
}

} // namespace

Breach breachOf(double length, const std::optional<double>& limit, const std::optional<double>& seated) {
    return below(length, limit) ? Breach::Limit : below(length, seated) ? Breach::Seated : Breach::None;
}

QString metres(double value) {
    return numbers::formatFixed(value, 9, 2);
}

Limits limitsOf(const CeilingExchange& x) {
    if (!x.horizontal)
        return {};
    return {x.aMin, x.wallMin, x.aMinSeated, x.wallMinSeated};
}

CeilingLayout layOutCeiling(const CeilingExchange& x) {
    CeilingLayout out;
    out.limits = limitsOf(x);
    out.spacingX = out.spacingY = x.spacing;
    out.problem = problemOf(x);
    if (!out.problem.isEmpty())
        return out;
    if (const std::optional<OutletLayout> grid = matchingEvenGrid(x)) {
        takeEvenGrid(*grid, out);
    } else if (const std::optional<Arrangement> best = bestArrangement(x)) {
        out.columns = best->columns;
        out.rows = best->rows;
        out.lastRowCount = x.outletCount - (best->rows - 1) * best->columns;
        out.wallX = best->wallX;
        out.wallY = best->wallY;
        out.lastRowWallX = (x.roomWidth - (out.lastRowCount - 1) * x.spacing) / 2;
    } else {
        out.problem =
            QStringLiteral("%1 Durchlässe mit %2 m Abstand passen in keiner Anordnung in den Raum %3 × %4 m.")
                .arg(x.outletCount)
                .arg(metres(x.spacing), metres(x.roomWidth), metres(x.roomLength));
        return out;
    }
    placeOutlets(x, out);
    findGaps(out);
    collectFindings(out);
    out.leastWallDistance = std::min(out.wallX, out.wallY);
    out.keepsWallDistance = out.evenGrid || out.leastWallDistance >= x.wallDistance - kTolerance;
    return out;
}

namespace {

// The file gives lengths to the millimetre: a distance within that of a check's figure is the one
// it checked.
constexpr double kFigureMatch = 0.0015;

// How a span of a judged plan's chain is checked.
enum class SpanKind { Spacing, Wall, Unchecked };

// The judgement's spacing and wall-distance checks, when they failed.
struct FailedDistances {
    const ExchangedCheck* spacing = nullptr;
    const ExchangedCheck* wall = nullptr;
    std::optional<double> leastSpacing, leastWall; // the layout's: what a check without a figure checked

    // Whether a distance of `length` is one the failed check is about: below its limit, or the
    // distance whose figure it gives.
    static bool marks(const ExchangedCheck* check, double length, const std::optional<double>& least) {
        if (check == nullptr)
            return false;
        if (check->limit && length < *check->limit - kTolerance)
            return true;
        const std::optional<double> checked = check->value ? check->value : least;
        return checked && std::abs(length - *checked) <= kFigureMatch;
    }
    Breach span(SpanKind kind, double length) const {
        const bool marked = kind == SpanKind::Spacing ? marks(spacing, length, leastSpacing)
                            : kind == SpanKind::Wall  ? marks(wall, length, leastWall)
                                                      : false;
        return marked ? Breach::Limit : Breach::None;
    }
};

PlanOutlet outletAt(double x, double y, int row, int column) {
    PlanOutlet o;
    o.x = x;
    o.y = y;
    o.row = row;
    o.column = column;
    return o;
}

// Spans from the wall at 0 through `positions` to the wall at `side`: the ends `ends`, the spans
// between `between`. Spans of no length are left out.
std::vector<std::pair<PlanSpan, SpanKind>> spansThrough(const std::vector<double>& positions, double side,
                                                        SpanKind ends, SpanKind between) {
    std::vector<std::pair<PlanSpan, SpanKind>> out;
    double from = 0;
    for (std::size_t i = 0; i <= positions.size(); ++i) {
        const double to = i < positions.size() ? positions[i] : side;
        if (to - from > kTolerance)
            out.push_back({{from, to, Breach::None}, i == 0 || i == positions.size() ? ends : between});
        from = to;
    }
    return out;
}

// Where the pieces of a row of `pieces` slots `length` long, starting `start` from the wall, meet.
std::vector<double> pieceEnds(double start, int pieces, double length) {
    std::vector<double> ends;
    for (int i = 0; i <= pieces; ++i)
        ends.push_back(start + i * length);
    return ends;
}

// Places the outlets of a judged layout, with the gaps between neighbours the spacing check is
// about and the chains through them.
void placeJudged(const CeilingExchange& x, const OutletLayout& l, double piece, CeilingLayout& out,
                 std::vector<std::pair<PlanSpan, SpanKind>>& across,
                 std::vector<std::pair<PlanSpan, SpanKind>>& along) {
    const double W = x.roomWidth, L = x.roomLength;
    out.rows = l.rows;
    out.columns = out.lastRowCount = l.columns;
    switch (l.kind) {
    case LayoutKind::Grid: {
        takeEvenGrid(l, out);
        placeOutlets(x, out);
        findGaps(out);
        std::vector<double> xs, ys;
        for (int c = 0; c < l.columns; ++c)
            xs.push_back(out.wallX + c * out.spacingX);
        for (int r = 0; r < l.rows; ++r)
            ys.push_back(out.wallY + r * out.spacingY);
        across = spansThrough(xs, W, SpanKind::Wall, SpanKind::Spacing);
        along = spansThrough(ys, L, SpanKind::Wall, SpanKind::Spacing);
        return;
    }
    case LayoutKind::SlotRows: {
        // The rows lie evenly across one side; the pieces run end to end along the other.
        const bool alongY = l.rowsAlongLength;
        const Direction rows =
            alongY ? directionOf(l.spacingWidth, l.wallWidth) : directionOf(l.spacingLength, l.wallLength);
        const double start = l.rowEnds.value_or(0.0);
        std::vector<double> rowAt;
        for (int r = 0; r < l.rows; ++r) {
            rowAt.push_back(rows.wall + r * rows.spacing);
            for (int i = 0; i < l.columns; ++i) {
                const double at = start + (i + 0.5) * piece;
                PlanOutlet o = alongY ? outletAt(rowAt.back(), at, r, i) : outletAt(at, rowAt.back(), r, i);
                o.length = piece;
                o.alongLength = alongY;
                out.outlets.push_back(o);
                if (r > 0)
                    addGap(out, (r - 1) * l.columns + i, r * l.columns + i);
            }
        }
        (alongY ? out.spacingX : out.spacingY) = rows.spacing;
        (alongY ? out.spacingY : out.spacingX) = piece;
        (alongY ? out.wallX : out.wallY) = rows.wall;
        (alongY ? out.wallY : out.wallX) = start;
        auto rowSpans = spansThrough(rowAt, alongY ? W : L, SpanKind::Wall, SpanKind::Spacing);
        std::vector<double> ends = pieceEnds(start, l.columns, piece);
        auto pieceSpans = spansThrough(ends, alongY ? L : W, SpanKind::Unchecked, SpanKind::Unchecked);
        across = alongY ? rowSpans : pieceSpans;
        along = alongY ? pieceSpans : rowSpans;
        return;
    }
    case LayoutKind::WallRow: {
        // At the left wall when the row runs along the length, else at the top wall; the jets cross
        // the room to the opposite wall.
        const bool alongY = l.rowsAlongLength;
        const double side = alongY ? L : W, depth = alongY ? W : L;
        const double start = l.rowEnds.value_or(0.0);
        const std::optional<double>& spacing = alongY ? l.spacingLength : l.spacingWidth;
        std::vector<double> at;
        for (int i = 0; i < l.columns; ++i) {
            at.push_back(piece > 0.0 ? start + (i + 0.5) * piece : start + i * spacing.value_or(0.0));
            PlanOutlet o = alongY ? outletAt(0.0, at.back(), 0, i) : outletAt(at.back(), 0.0, 0, i);
            o.length = piece;
            o.alongLength = alongY;
            o.atWall = true;
            out.outlets.push_back(o);
            if (i > 0 && piece <= 0.0)
                addGap(out, i - 1, i);
        }
        (alongY ? out.spacingY : out.spacingX) = piece > 0.0 ? piece : spacing.value_or(2.0 * start);
        (alongY ? out.spacingX : out.spacingY) = depth;
        (alongY ? out.wallY : out.wallX) = start;
        std::vector<std::pair<PlanSpan, SpanKind>> row =
            piece > 0.0 ? spansThrough(pieceEnds(start, l.columns, piece), side, SpanKind::Unchecked,
                                       SpanKind::Unchecked)
                        : spansThrough(at, side, SpanKind::Unchecked, SpanKind::Spacing);
        // The jets' run to the opposite wall is the room's side, which its own chain shows; it is
        // drawn again only where the judgement's wall distance failed.
        std::vector<std::pair<PlanSpan, SpanKind>> throwSpan{{{0.0, depth, Breach::None}, SpanKind::Wall}};
        across = alongY ? throwSpan : row;
        along = alongY ? row : throwSpan;
        return;
    }
    }
}

// The distances from an outlet to the walls the judgement's wall distance is about: those its jets
// blow towards.
std::vector<double> checkedWallDistances(const CeilingExchange& x, const OutletLayout& l,
                                         const PlanOutlet& o) {
    std::vector<double> out;
    if (l.kind == LayoutKind::WallRow) {
        out.push_back(l.rowsAlongLength ? x.roomWidth : x.roomLength);
        return out;
    }
    if (l.wallWidth && (l.kind == LayoutKind::Grid || l.rowsAlongLength))
        out.push_back(std::min(o.x, x.roomWidth - o.x));
    if (l.wallLength && (l.kind == LayoutKind::Grid || !l.rowsAlongLength))
        out.push_back(std::min(o.y, x.roomLength - o.y));
    return out;
}

} // namespace

CeilingLayout layOutCeiling(const CeilingExchange& x, const LayoutExchange& judged) {
    CeilingLayout out;
    JudgedPlan plan;
    plan.layout = judged.layout;
    plan.pieceLength = judged.pieceLength;
    FailedDistances failed;
    QString noPlace;
    for (const ExchangedCheck& c : judged.checks) {
        if (c.ok)
            continue;
        plan.verdict << c.text;
        out.findings.push_back({Breach::Limit, c.text, 1});
        if (c.name == QLatin1String("spacing"))
            failed.spacing = &c;
        else if (c.name == QLatin1String("wall_distance"))
            failed.wall = &c;
        else if (c.name == QLatin1String("layout"))
            noPlace = c.text;
    }
    plan.met = plan.verdict.isEmpty();
    if (plan.met)
        plan.verdict << kAllChecksMet;
    plan.spacingFailed = failed.spacing != nullptr;
    plan.wallFailed = failed.wall != nullptr;
    out.worst = plan.met ? Breach::None : Breach::Limit;
    out.problem = roomProblemOf(x);
    if (out.problem.isEmpty() && !judged.placed)
        out.problem = noPlace.isEmpty()
                          ? QStringLiteral("ZELK FYL hat für %1 Durchlässe keine Anordnung im Raum "
                                           "gefunden.")
                                .arg(x.outletCount)
                          : noPlace;
    if (!out.problem.isEmpty()) {
        out.judged = std::move(plan);
        out.limits = limitsOf(x);
        return out;
    }

    // Placed without the file's limits: the marks are the judgement's.
    std::vector<std::pair<PlanSpan, SpanKind>> across, along;
    placeJudged(x, judged.layout, judged.pieceLength, out, across, along);
    const LayoutDistances least = layoutDistances(judged.layout);
    failed.leastSpacing = least.spacing;
    failed.leastWall = least.wall;
    for (PlanGap& g : out.gaps)
        if (failed.spacing != nullptr &&
            FailedDistances::marks(failed.spacing, g.length, failed.leastSpacing)) {
            g.breach = Breach::Limit;
            g.reasons.push_back({Breach::Limit, failed.spacing->text});
        }
    for (PlanOutlet& o : out.outlets) {
        o.wallDistance = std::min({o.x, x.roomWidth - o.x, o.y, x.roomLength - o.y});
        for (double d : checkedWallDistances(x, judged.layout, o))
            if (o.breach == Breach::None && failed.wall != nullptr &&
                FailedDistances::marks(failed.wall, d, failed.leastWall)) {
                o.breach = Breach::Limit;
                o.reasons.push_back({Breach::Limit, failed.wall->text});
            }
    }
    const bool wallRow = judged.layout.kind == LayoutKind::WallRow;
    const auto chain = [&](std::vector<std::pair<PlanSpan, SpanKind>>& spans, std::vector<PlanSpan>& into) {
        for (auto& [span, kind] : spans) {
            span.breach = failed.span(kind, span.to - span.from);
            if (!(wallRow && kind == SpanKind::Wall && span.breach == Breach::None))
                into.push_back(span);
        }
    };
    chain(across, plan.across);
    chain(along, plan.along);
    out.leastWallDistance = std::min(out.wallX, out.wallY);
    out.limits = limitsOf(x);
    out.judged = std::move(plan);
    return out;
}

CeilingLayout planCeiling(const CeilingExchange& x, const std::optional<LayoutExchange>& judged) {
    return judged ? layOutCeiling(x, *judged) : layOutCeiling(x);
}

QString figuresLine(const CeilingExchange& x, const CeilingLayout& layout) {
    if (!layout.problem.isEmpty())
        return layout.problem;
    QStringList parts;
    if (layout.judged) {
        const JudgedPlan& j = *layout.judged;
        parts << (j.pieceLength > 0.0
                      ? QStringLiteral("%1 Schlitzstücke à %2 m: %3")
                            .arg(x.outletCount)
                            .arg(metres(j.pieceLength), layoutText(j.layout))
                      : QStringLiteral("%1 Durchlässe: %2").arg(x.outletCount).arg(layoutText(j.layout)))
              << j.verdict;
        return parts.join(QStringLiteral(" · "));
    }
    if (x.outletCount == 1)
        parts << QStringLiteral("1 Durchlass in Raummitte");
    else if (layout.rows == 1)
        parts << QStringLiteral("%1 Durchlässe in einer Reihe").arg(x.outletCount);
    else if (layout.columns == 1)
        parts << QStringLiteral("%1 Durchlässe in einer Reihe längs").arg(x.outletCount);
    else if (layout.lastRowCount == layout.columns)
        parts << QStringLiteral("%1 Durchlässe in %2 Reihen zu %3")
                     .arg(x.outletCount)
                     .arg(layout.rows)
                     .arg(layout.columns);
    else
        parts << QStringLiteral("%1 Durchlässe in %2 Reihen zu %3, die letzte mit %4")
                     .arg(x.outletCount)
                     .arg(layout.rows)
                     .arg(layout.columns)
                     .arg(layout.lastRowCount);
    if (x.outletCount > 1) {
        // Only the directions with neighbours; one figure where both print alike.
        const QString across = metres(layout.spacingX), along = metres(layout.spacingY);
        if (layout.rows > 1 && layout.columns > 1 && across != along)
            parts << QStringLiteral("Abstand %1 / %2 m (quer / längs)").arg(across, along);
        else
            parts << QStringLiteral("Abstand %1 m").arg(layout.columns > 1 ? across : along);
    }
    parts << QStringLiteral("Wandabstand %1 m links und rechts, %2 m oben und unten")
                 .arg(metres(layout.wallX), metres(layout.wallY));
    if (!layout.limits.any()) {
        parts << QStringLiteral("Vertikalstrahl: keine Abstandsgrenzen");
        return parts.join(QStringLiteral(" · "));
    }
    if (layout.limits.spacing || layout.limits.wall)
        parts << QStringLiteral("a_min %1 m, Rand_min %2 m")
                     .arg(layout.limits.spacing ? metres(*layout.limits.spacing) : QStringLiteral("--"),
                          layout.limits.wall ? metres(*layout.limits.wall) : QStringLiteral("--"));
    int limit = 0, seated = 0;
    const auto count = [&](Breach b) {
        limit += b == Breach::Limit ? 1 : 0;
        seated += b == Breach::Seated ? 1 : 0;
    };
    for (const PlanOutlet& o : layout.outlets)
        count(o.breach);
    for (const PlanGap& g : layout.gaps)
        count(g.breach);
    if (limit == 0 && seated == 0)
        parts << QStringLiteral("alle Grenzen eingehalten");
    if (limit > 0)
        parts << QStringLiteral("%1 × unter a_min oder Rand_min").arg(limit);
    if (seated > 0)
        parts << QStringLiteral("%1 × nur für Sitzhöhe 1,3 m zu knapp").arg(seated);
    return parts.join(QStringLiteral(" · "));
}

} // namespace fyl::ceiling
