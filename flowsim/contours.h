// The outlines of the zones in which a supply jet is at least as fast as the velocity limit: the
// horizontal-jet contour (along the ceiling, down a wall or against the neighbour's jet) and the
// vertical-jet contour, as polygons in metres. Core layer (fylcore).
#pragma once

#include "frame/dialogs.h"
#include "frame/record.h"
#include "frame/texttable.h"

#include <vector>

namespace fyl {

// A point of an outline: X across the section from the outlet's axis, Y downward from the top
// line, in metres, single precision.
struct ContourPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// The routines' result: at most 10 polygons with at most 400 points in all, each closed by a
// repetition of its first point.
struct Contour {
    static constexpr int kMaxPolygons = 10;
    static constexpr int kMaxPoints = 400;
    std::vector<std::vector<ContourPoint>> polygons;
};

// How a side of the section ends: the symmetry plane to the neighbouring outlet, or a wall.
enum class BoundaryType { Symmetry = 1, Wall = 2 };

struct HorizontalContourInput {
    double c = 0.0;          // the critical distance: along the first c metres the jet does not drop
    double V = 0.0;          // flow per outlet [m³/h]
    double vlim = 0.0;       // velocity limit [m/s]
    double dT = 0.0;         // room minus supply temperature [K]
    double roomTemp = 0.0;   // [°C]
    double roomHeight = 0.0; // [m]
    double rightDistance = 0.0;
    BoundaryType rightType = BoundaryType::Wall;
    double leftDistance = 0.0;
    BoundaryType leftType = BoundaryType::Wall;
    double y0 = 0.0; // the outlet's distance below the ceiling [m]
    int slotCount = 1;
};

struct VerticalContourInput {
    double V = 0.0;              // flow per outlet [m³/h]
    double vlim = 0.0;           // velocity limit [m/s]
    double mountingHeight = 0.0; // [m]
    double yMax = 0.0;           // greatest penetration [m]
    double leftDistance = 0.0;
    double rightDistance = 0.0;
    int slotCount = 1;
};

// Each returns 0 and fills `contour`, or a non-zero error code with `contour` empty; a formula
// that fails (or would give a value that is not finite) is such an error. The vertical routine
// then shows "Berechnungsfehler" through `dialogs`.
int HorizontalJetContour(const OutletRecord& outlet, const HorizontalContourInput& input, Contour& contour);
int VerticalJetContour(const OutletRecord& outlet, const VerticalContourInput& input, Contour& contour,
                       Dialogs& dialogs);

} // namespace fyl
