// The display-list vocabulary shared by every picture and page the program draws: colours, pens
// and the primitives (polygon, line, ellipse, text, picture file) in device pixels. Core layer
// (fylcore, QtCore only); drawing/painter.h renders a list.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace fyl {

// A colour of a display list; QColor belongs to the drawing layer.
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

// One page or picture: its primitives in drawing order.
using DisplayList = std::vector<PicturePrimitive>;

} // namespace fyl
