// The room-section picture of the flow simulation as a display list in the 369 x 361 pixels of
// the window's image: what it is drawn from, the contour requests per outlet and the primitives.
// Core layer (fylcore); fyldraw renders the list.
#pragma once

#include "drawing/displaylist.h"
#include "flowsim/contours.h"
#include "frame/dialogs.h"
#include "frame/record.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace fyl {

// What the picture is drawn from, after the outlet count rule has fixed the spacing.
struct FlowPictureInputs {
    int outlets = 1;       // the picture outlet count: 1 or 2
    double spacing = 0.0;  // the outlet spacing, 0 when the picture shows one outlet
    double s = 0.0;        // the drawing spacing between the two drawn outlets
    double wallLeft = 0.0; // [m]
    double wallRight = 0.0;
    double W = 0.0; // section width: spacing + both wall distances
    double H = 0.0; // section height: mounting height (vertical jet) or room height
    double headHeight = 0.0;
    double mountingHeight = 0.0;
    bool proportional = false; // CheckBox3: the height drawn at the scale of the width
};

// The inputs of a picture of `rec`; `proportional` is the state of CheckBox3.
FlowPictureInputs flowPictureInputs(const CalculationRecord& rec, bool proportional);
// What drawing the picture writes into the record: the spacing of a one-outlet picture, the
// section width and the picture outlet count.
void storePictureInputs(const FlowPictureInputs& in, CalculationRecord& rec);

// Whether the outlets have zones to draw: a vertical jet falls into the room only with supply air
// warmer than the room; colder air sinks in a way no contour describes.
bool pictureHasZones(const CalculationRecord& rec);

// One outlet's call of a contour routine; monostate where the outlet has no zone to draw.
using ContourRequest = std::variant<std::monostate, HorizontalContourInput, VerticalContourInput>;
// The requests for the picture's outlets, left to right.
std::vector<ContourRequest> pictureContourInputs(const FlowPictureInputs& in, const CalculationRecord& rec);

// One outlet's zone as its routine returned it: error 0 and the polygons, or a non-zero error.
struct OutletContour {
    int error = 0;
    Contour contour;
};
// Runs a contour routine; returns its error code and fills `contour` on success.
using ContourRoutine = std::function<int(const ContourRequest&, Contour&)>;
// The program's routine: the jet contours of the outlet the record holds when it runs.
ContourRoutine jetContours(const CalculationRecord& rec, Dialogs& dialogs);

// The zones of all requests. A point that is not finite counts as a failed routine (error -1),
// so that nothing unbounded reaches a primitive; a monostate request gives an empty zone.
std::vector<OutletContour> computeContours(const std::vector<ContourRequest>& requests,
                                           const ContourRoutine& routine);

struct FlowPicture {
    static constexpr int kWidth = 369;
    static constexpr int kHeight = 361;
    std::vector<PicturePrimitive> primitives; // in drawing order
    int floorY = 350;                         // F
    int contourError = 0;                     // the result of the last routine called
};

// Steps 1 to 12 of the drawing. `contours` holds one entry per drawn outlet (missing entries draw
// no zone). A section without width or height draws what needs no scale.
FlowPicture drawFlowPicture(const FlowPictureInputs& in, const std::vector<OutletContour>& contours);

} // namespace fyl
