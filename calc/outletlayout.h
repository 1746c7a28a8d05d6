// Where the outlets of one choice sit in the room: an even grid of ordinary outlets over the
// floor, rows of slot outlets across it, or one row along a wall blowing across the room. Plain
// geometry in metres, the room's width across and its length along. Core layer (fylcore).
#pragma once

#include <optional>
#include <vector>

namespace fyl {

enum class LayoutKind {
    Grid,     // rows × columns over the floor, each outlet in the middle of an equal share of it
    SlotRows, // rows of slot outlets end to end; the jets blow across the rows
    WallRow,  // one row along a wall; the jets blow across the room to the opposite wall
};

struct OutletLayout {
    LayoutKind kind = LayoutKind::Grid;
    int rows = 1;    // Grid: along the length; SlotRows: side by side; WallRow: 1
    int columns = 1; // Grid: across the width; rows of outlets: outlets in a row
    // Slot and wall rows: the rows run along the room's length (their jets cross the width), or
    // along its width.
    bool rowsAlongLength = true;
    // Between neighbouring outlets or rows, across the width and along the length; none where
    // there is only one, or where the outlets of a row stand end to end.
    std::optional<double> spacingWidth, spacingLength;
    // From the side walls (across the width) and the end walls (along the length); none where no
    // jet blows towards that wall.
    std::optional<double> wallWidth, wallLength;
    // A wall row: the distance its jets travel to the opposite wall.
    std::optional<double> depth;
    // Rows of outlets: from the ends of a row to the walls at its ends, which no jet blows at.
    std::optional<double> rowEnds;
};

// The layouts of `count` outlets of the given kind in a width × length room, each of which fits:
//   Grid:     every rows × columns = count; spacing = side / outlets on it, wall distance half of it.
//   SlotRows: outlets `outletLength` long end to end in rows along the length (or the width), the
//             rows evenly across the other side like a grid's; the ends of a row keep equal
//             distances to the end walls, which no jet blows at.
//   WallRow:  all outlets in one row at a wall, evenly along it (point outlets like a grid's
//             columns; slot outlets end to end), blowing across the room's depth.
std::vector<OutletLayout> outletLayouts(LayoutKind kind, double width, double length, int count,
                                        double outletLength = 0.0);

// The distances a layout checks, across the width and along the length: the least spacing, the
// least wall distance and the farthest a jet travels along the ceiling (half a spacing, a wall
// distance, or the room's depth from a wall). None where the layout has none.
struct LayoutDistances {
    std::optional<double> spacing, wall;
    double travel = 0;
};
LayoutDistances layoutDistances(const OutletLayout& layout);

// Whether the layout fills its sides: spacing × (outlets − 1) + 2 × wall distance = side (for rows
// of slot outlets along them, their length in place of the spacings), within `tolerance` metres.
bool layoutCloses(const OutletLayout& layout, double width, double length, int count, double outletLength,
                  double tolerance = 0.001);

} // namespace fyl
