// Writes the flow simulation's display list as SVG. Core layer (fylcore, QtCore only).
#include "flowsim/flowpicturesvg.h"

#include <QString>

namespace fyl {

namespace {

QString colour(Rgb c) {
    return QStringLiteral("#%1%2%3")
        .arg(c.r, 2, 16, QLatin1Char('0'))
        .arg(c.g, 2, 16, QLatin1Char('0'))
        .arg(c.b, 2, 16, QLatin1Char('0'));
}

QString textAnchor(TextAlign align) {
    if (align == TextAlign::Right)
        return QStringLiteral(" text-anchor=\"end\"");
    if (align == TextAlign::Centre)
        return QStringLiteral(" text-anchor=\"middle\"");
    return QString();
}

// The painter's pen: square ends so that walls meet the floor without a notch, and its dots one
// pen width long with two widths of gap.
QString stroke(const Pen& p) {
    QString s = QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linecap=\"square\" "
                               "stroke-linejoin=\"miter\"")
                    .arg(colour(p.colour))
                    .arg(p.width);
    if (p.style == PenStyle::Dot)
        s += QStringLiteral(" stroke-dasharray=\"%1 %2\"").arg(p.width).arg(2 * p.width);
    return s;
}

struct Writer {
    QString& svg;

    void operator()(const PolygonPrimitive& p) const {
        QString points;
        for (const Pixel& point : p.points)
            points += QStringLiteral("%1,%2 ").arg(point.x).arg(point.y);
        svg += QStringLiteral("<polygon points=\"%1\" fill=\"%2\"%3/>\n")
                   .arg(points.trimmed(), colour(p.brush),
                        p.pen ? stroke(*p.pen) : QStringLiteral(" stroke=\"none\""));
    }
    void operator()(const LinePrimitive& l) const {
        svg += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\"%5/>\n")
                   .arg(l.from.x)
                   .arg(l.from.y)
                   .arg(l.to.x)
                   .arg(l.to.y)
                   .arg(stroke(l.pen));
    }
    void operator()(const EllipsePrimitive& e) const {
        // The box excludes its right and bottom edge, as on the screen.
        const double rx = (e.right - e.left - 1) / 2.0;
        const double ry = (e.bottom - e.top - 1) / 2.0;
        svg += QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"%5\"%6/>\n")
                   .arg(e.left + rx)
                   .arg(e.top + ry)
                   .arg(rx)
                   .arg(ry)
                   .arg(colour(e.brush), stroke(e.pen));
    }
    void operator()(const TextPrimitive& t) const {
        // The point is the cell top, not SVG's default baseline.
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" dominant-baseline=\"hanging\" font-family=\"%3\" "
                              "font-size=\"%4pt\"%5%6 "
                              "fill=\"%7\">%8</text>\n")
                   .arg(t.at.x)
                   .arg(t.at.y)
                   .arg(t.family.toHtmlEscaped())
                   .arg(t.pointSize)
                   .arg(t.bold ? QStringLiteral(" font-weight=\"bold\"") : QString())
                   .arg(textAnchor(t.align))
                   .arg(colour(t.colour), t.text.toHtmlEscaped());
    }
    void operator()(const ImagePrimitive& i) const {
        svg += QStringLiteral("<image x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" href=\"%5\" "
                              "preserveAspectRatio=\"none\"/>\n")
                   .arg(i.left)
                   .arg(i.top)
                   .arg(i.width)
                   .arg(i.height)
                   .arg(i.file.toHtmlEscaped());
    }
};

} // namespace

QByteArray flowPictureSvg(const FlowPicture& picture) {
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                                 "viewBox=\"0 0 %1 %2\">\n"
                                 "<rect width=\"%1\" height=\"%2\" fill=\"#ffffff\"/>\n")
                      .arg(FlowPicture::kWidth)
                      .arg(FlowPicture::kHeight);
    const Writer write{svg};
    for (const PicturePrimitive& primitive : picture.primitives)
        std::visit(write, primitive);
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

} // namespace fyl
