// Display lists laid out in millimetres on a device of a given resolution: the data sheets' pages
// and the ceiling plan. Core layer (fylcore).
#pragma once

#include "drawing/displaylist.h"

#include <optional>
#include <vector>

namespace fyl {

// Puts primitives into a list in the device pixels of `dpi`, positions and sizes given in mm.
class MillimetrePage {
public:
    explicit MillimetrePage(int dpi) : dpi_(dpi) {}

    // Where the following primitives go; it must outlive the drawing.
    void drawInto(std::vector<PicturePrimitive>& primitives) { out_ = &primitives; }

    int px(double mm) const;
    int width(double mm) const; // a pen: one pixel at least
    Pixel at(double xMm, double yMm) const;

    void line(double x1, double y1, double x2, double y2, Rgb colour, double widthMm,
              PenStyle style = PenStyle::Solid);
    void rect(double left, double top, double right, double bottom, Rgb fill, std::optional<Pen> pen = {});
    void circle(double cx, double cy, double diameter, Rgb fill, Rgb stroke, double widthMm);
    // A line of text whose cell top lies at `topMm`.
    void text(double xMm, double topMm, const QString& s, int points, Rgb colour = picturecolours::kBlack,
              TextAlign align = TextAlign::Left, bool bold = false);
    void image(const QString& file, double left, double top, double widthMm, double heightMm);

private:
    int dpi_;
    std::vector<PicturePrimitive>* out_ = nullptr;
};

} // namespace fyl
