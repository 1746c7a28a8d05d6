// Grids and rows of outlets in a room, and the distances they check. Core layer (fylcore).
#include "calc/outletlayout.h"

#include <algorithm>
#include <cmath>

namespace fyl {

namespace {

// `outlets` evenly over a side: each in the middle of an equal share of it.
void evenOver(double side, int outlets, std::optional<double>& spacing, std::optional<double>& wall) {
    if (outlets > 1)
        spacing = side / outlets;
    wall = side / (2.0 * outlets);
}

// Calls `visit` with each divisor of `count`, ascending, without allocating: the layout search asks
// for the layouts of every count of every catalogue choice.
template <class Visit> void forEachDivisor(int count, Visit visit) {
    const auto square = [](int d) { return static_cast<long long>(d) * d; };
    int d = 1;
    for (; square(d) <= count; ++d)
        if (count % d == 0)
            visit(d);
    for (--d; d >= 1; --d)
        if (count % d == 0 && square(d) != count)
            visit(count / d);
}

void addGrids(double width, double length, int count, std::vector<OutletLayout>& out) {
    forEachDivisor(count, [&](int columns) {
        OutletLayout l;
        l.kind = LayoutKind::Grid;
        l.columns = columns;
        l.rows = count / columns;
        evenOver(width, l.columns, l.spacingWidth, l.wallWidth);
        evenOver(length, l.rows, l.spacingLength, l.wallLength);
        out.push_back(l);
    });
}

// Rows of slot outlets along one side (`along`), evenly across the other (`across`).
void addSlotRows(double across, double along, bool rowsAlongLength, int count, double outletLength,
                 std::vector<OutletLayout>& out) {
    forEachDivisor(count, [&](int rows) {
        const int inRow = count / rows;
        const double band = inRow * outletLength;
        if (band > along + 1e-9)
            return;
        OutletLayout l;
        l.kind = LayoutKind::SlotRows;
        l.rowsAlongLength = rowsAlongLength;
        l.rows = rows;
        l.columns = inRow;
        l.rowEnds = (along - band) / 2.0;
        if (rowsAlongLength)
            evenOver(across, rows, l.spacingWidth, l.wallWidth);
        else
            evenOver(across, rows, l.spacingLength, l.wallLength);
        out.push_back(l);
    });
}

// One row along a wall of length `along`, blowing across `depth`.
void addWallRow(double depth, double along, bool rowsAlongLength, int count, double outletLength,
                std::vector<OutletLayout>& out) {
    OutletLayout l;
    l.kind = LayoutKind::WallRow;
    l.rowsAlongLength = rowsAlongLength;
    l.columns = count;
    l.depth = depth;
    std::optional<double>& spacing = rowsAlongLength ? l.spacingLength : l.spacingWidth;
    if (outletLength > 0.0) {
        const double band = count * outletLength;
        if (band > along + 1e-9)
            return;
        l.rowEnds = (along - band) / 2.0;
    } else {
        evenOver(along, count, spacing, l.rowEnds);
    }
    out.push_back(l);
}

bool near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

// spacing × (outlets − 1) + 2 × wall = side.
bool closes(const std::optional<double>& spacing, const std::optional<double>& wall, int outlets, double side,
            double tolerance) {
    if (!wall)
        return false;
    return near(spacing.value_or(0.0) * (outlets - 1) + 2.0 * *wall, side, tolerance) &&
           (outlets == 1 || spacing.has_value());
}

} // namespace

std::vector<OutletLayout> outletLayouts(LayoutKind kind, double width, double length, int count,
                                        double outletLength) {
    std::vector<OutletLayout> out;
    if (count < 1 || !(width > 0.0) || !(length > 0.0))
        return out;
    out.reserve(16);
    switch (kind) {
    case LayoutKind::Grid:
        addGrids(width, length, count, out);
        break;
    case LayoutKind::SlotRows:
        addSlotRows(width, length, true, count, outletLength, out);
        addSlotRows(length, width, false, count, outletLength, out);
        break;
    case LayoutKind::WallRow:
        addWallRow(width, length, true, count, outletLength, out);
        addWallRow(length, width, false, count, outletLength, out);
        break;
    }
    return out;
}

LayoutDistances layoutDistances(const OutletLayout& layout) {
    LayoutDistances d;
    const auto least = [](std::optional<double>& into, const std::optional<double>& value) {
        if (value)
            into = into ? std::min(*into, *value) : *value;
    };
    least(d.spacing, layout.spacingWidth);
    least(d.spacing, layout.spacingLength);
    least(d.wall, layout.wallWidth);
    least(d.wall, layout.wallLength);
    // A jet from a wall comes down the opposite wall.
    least(d.wall, layout.depth);
    for (const std::optional<double>& s : {layout.spacingWidth, layout.spacingLength})
        if (s)
            d.travel = std::max(d.travel, *s / 2.0);
    for (const std::optional<double>& w : {layout.wallWidth, layout.wallLength, layout.depth})
        if (w)
            d.travel = std::max(d.travel, *w);
    return d;
}

bool layoutCloses(const OutletLayout& layout, double width, double length, int count, double outletLength,
                  double tolerance) {
    switch (layout.kind) {
    case LayoutKind::Grid:
        return layout.rows * layout.columns == count &&
               closes(layout.spacingWidth, layout.wallWidth, layout.columns, width, tolerance) &&
               closes(layout.spacingLength, layout.wallLength, layout.rows, length, tolerance);
    case LayoutKind::SlotRows: {
        const double across = layout.rowsAlongLength ? width : length;
        const double along = layout.rowsAlongLength ? length : width;
        const auto& spacing = layout.rowsAlongLength ? layout.spacingWidth : layout.spacingLength;
        const auto& wall = layout.rowsAlongLength ? layout.wallWidth : layout.wallLength;
        return layout.rows * layout.columns == count &&
               closes(spacing, wall, layout.rows, across, tolerance) && layout.rowEnds &&
               near(layout.columns * outletLength + 2.0 * *layout.rowEnds, along, tolerance);
    }
    case LayoutKind::WallRow: {
        const double across = layout.rowsAlongLength ? width : length;
        const double along = layout.rowsAlongLength ? length : width;
        const auto& spacing = layout.rowsAlongLength ? layout.spacingLength : layout.spacingWidth;
        const bool alongCloses =
            outletLength > 0.0
                ? layout.rowEnds && near(count * outletLength + 2.0 * *layout.rowEnds, along, tolerance)
                : closes(spacing, layout.rowEnds, count, along, tolerance);
        return layout.columns == count && layout.depth && near(*layout.depth, across, tolerance) &&
               alongCloses;
    }
    }
    return false;
}

} // namespace fyl
