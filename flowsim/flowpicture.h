// The room-section picture of the flow simulation as a display list in the 369 x 361 pixels of
// the window's image: what it is drawn from, the contour requests per outlet and the primitives.
// Core layer (fylcore); fyldraw renders the list.
#pragma once

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

// A colour of the picture; QColor belongs to the drawing layer.
struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace picturecolours {
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kWindow{221, 215, 208}; // the flow simulation window's colour
} // namespace picturecolours

enum class PenStyle { Solid, Dot };

struct Pen {
    Rgb colour;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Pixel {
    int x = 0;
    int y = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A polygon filled with `brush` and outlined with `pen` (none: fill only).
struct PolygonPrimitive {
    std::vector<Pixel> points;
    Rgb brush;
    std::optional<Pen> pen;
};

struct LinePrimitive {
    Pixel from;
    Pixel to;
    Pen pen;
};

// An ellipse inside the box from (left, top) to (right, bottom), the right and bottom edge
// excluded.
struct EllipsePrimitive {
    int left = 0, top = 0, right = 0, bottom = 0;
    Pen pen;
    Rgb brush;
};

enum class TextAlign {
    Left,   // the text's cell starts at x
    Right,  // the text's cell ends at x, measured with the font's metrics where it is drawn
    Centre, // the text's cell is centred on x, measured alike
};

// A line of text whose cell top lies at y. The size is in points, so that the page keeps its
// proportions at any resolution; the drawing layer substitutes an installed font for a missing
// family.
struct TextPrimitive {
    Pixel at;
    QString text;
    int pointSize = 12;
    bool bold = false;
    TextAlign align = TextAlign::Left;
    QString family = QStringLiteral("Valdana");
    Rgb colour;
};

// A picture file stretched into the box at (left, top) of the given size.
struct ImagePrimitive {
    QString file;
    int left = 0, top = 0, width = 0, height = 0;
};

using PicturePrimitive =
    std::variant<PolygonPrimitive, LinePrimitive, EllipsePrimitive, TextPrimitive, ImagePrimitive>;

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

// One outlet's call of a contour routine; monostate where the outlet has no zone to draw (a
// vertical jet whose supply air is not warmer than the room).
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
