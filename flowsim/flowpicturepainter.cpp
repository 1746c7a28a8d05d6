// Renders the flow simulation's display list. Drawing layer (fyldraw, QtGui).
#include "flowsim/flowpicturepainter.h"

#include <QPainter>
#include <QPolygon>

namespace fyl {

namespace {

QColor colour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QPen pen(const Pen& p) {
    QPen qp(colour(p.colour), p.width, p.style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    // Square ends so that a wall line meets the floor line without a notch at the corner.
    qp.setCapStyle(Qt::SquareCap);
    qp.setJoinStyle(Qt::MiterJoin);
    return qp;
}

struct Renderer {
    QPainter& painter;

    void operator()(const PolygonPrimitive& p) const {
        QPolygon polygon;
        for (const Pixel& point : p.points)
            polygon << QPoint(point.x, point.y);
        painter.setPen(p.pen ? pen(*p.pen) : QPen(Qt::NoPen));
        painter.setBrush(colour(p.brush));
        painter.drawPolygon(polygon);
    }
    void operator()(const LinePrimitive& l) const {
        painter.setPen(pen(l.pen));
        painter.drawLine(l.from.x, l.from.y, l.to.x, l.to.y);
    }
    void operator()(const EllipsePrimitive& e) const {
        painter.setPen(pen(e.pen));
        painter.setBrush(colour(e.brush));
        // The box excludes its right and bottom edge.
        painter.drawEllipse(QRect(e.left, e.top, e.right - e.left - 1, e.bottom - e.top - 1));
    }
};

} // namespace

void renderFlowPicture(const FlowPicture& picture, QPainter& painter) {
    painter.save();
    const Renderer render{painter};
    for (const PicturePrimitive& primitive : picture.primitives)
        std::visit(render, primitive);
    painter.restore();
}

QImage flowPictureImage(const FlowPicture& picture) {
    QImage image(FlowPicture::kWidth, FlowPicture::kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderFlowPicture(picture, painter);
    return image;
}

} // namespace fyl
