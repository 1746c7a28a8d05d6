// Display lists laid out in millimetres. Core layer (fylcore).
#include "drawing/millimetrepage.h"

#include <algorithm>
#include <cmath>

namespace fyl {

int MillimetrePage::px(double mm) const {
    return static_cast<int>(std::lround(mm * dpi_ / 25.4));
}

int MillimetrePage::width(double mm) const {
    return std::max(1, px(mm));
}

Pixel MillimetrePage::at(double xMm, double yMm) const {
    return {px(xMm), px(yMm)};
}

void MillimetrePage::line(double x1, double y1, double x2, double y2, Rgb colour, double widthMm,
                          PenStyle style) {
    out_->push_back(LinePrimitive{at(x1, y1), at(x2, y2), Pen{colour, width(widthMm), style}});
}

void MillimetrePage::rect(double left, double top, double right, double bottom, Rgb fill,
                          std::optional<Pen> pen) {
    out_->push_back(
        PolygonPrimitive{{at(left, top), at(right, top), at(right, bottom), at(left, bottom)}, fill, pen});
}

void MillimetrePage::circle(double cx, double cy, double diameter, Rgb fill, Rgb stroke, double widthMm) {
    const double r = diameter / 2;
    out_->push_back(EllipsePrimitive{px(cx - r), px(cy - r), px(cx + r) + 1, px(cy + r) + 1,
                                     Pen{stroke, width(widthMm)}, fill});
}

void MillimetrePage::text(double xMm, double topMm, const QString& s, int points, Rgb colour, TextAlign align,
                          bool bold) {
    TextPrimitive t;
    t.at = at(xMm, topMm);
    t.text = s;
    t.pointSize = points;
    t.bold = bold;
    t.align = align;
    t.colour = colour;
    out_->push_back(t);
}

void MillimetrePage::image(const QString& file, double left, double top, double widthMm, double heightMm) {
    out_->push_back(ImagePrimitive{file, px(left), px(top), px(widthMm), px(heightMm)});
}

} // namespace fyl
