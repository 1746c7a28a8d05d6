// Renders display lists onto any painter: the flow picture's image, a PNG, the report and the
// data sheets on paper, the companions' sheets. Drawing layer (fyldraw, QtGui).
#include "drawing/painter.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

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
    double dpi = 96.0;
    const ImageDrawer& drawImage;

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
    void operator()(const TextPrimitive& t) const {
        QFont font(installedFamily(t.family));
        // Pixels from points at the page's resolution, whatever the device claims: the list is
        // laid out for that resolution.
        font.setPixelSize(std::max(1, qRound(t.pointSize * dpi / 72.0)));
        font.setBold(t.bold);
        painter.setFont(font);
        painter.setPen(colour(t.colour));
        const QFontMetrics metrics(font, painter.device());
        const int advance = metrics.horizontalAdvance(t.text);
        const int x = t.align == TextAlign::Right    ? t.at.x - advance
                      : t.align == TextAlign::Centre ? t.at.x - advance / 2
                                                     : t.at.x;
        painter.drawText(x, t.at.y + metrics.ascent(), t.text);
    }
    void operator()(const ImagePrimitive& i) const {
        if (drawImage) {
            drawImage(painter, i);
            return;
        }
        QImageReader reader(i.file);
        const QImage image = reader.read();
        if (!image.isNull())
            painter.drawImage(QRect(i.left, i.top, i.width, i.height), image);
    }
};

} // namespace

QString installedFamily(const QString& family) {
    if (QFontDatabase::hasFamily(family))
        return family;
    // Debian has no Valdana; DejaVu Sans is there, elsewhere the system's own sans-serif face.
    static const QString fallback = [] {
        if (QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")))
            return QStringLiteral("DejaVu Sans");
        QFont sans;
        sans.setStyleHint(QFont::SansSerif);
        return QFontInfo(sans).family();
    }();
    return fallback;
}

void renderPrimitives(const std::vector<PicturePrimitive>& primitives, QPainter& painter, double dpi,
                      const ImageDrawer& drawImage) {
    painter.save();
    const Renderer render{painter, dpi, drawImage};
    for (const PicturePrimitive& primitive : primitives)
        std::visit(render, primitive);
    painter.restore();
}

} // namespace fyl
