// Draws the program's own pictures at build time, so that nothing drawn by a third party ships.
//   fyl-imagegen background OUT.jpg   the main window's background picture
//   fyl-imagegen logo W H OUT.bmp      the maker's logo "ZELK" (print window, letterhead)
//   fyl-imagegen icon OUT.svg          the program's icon as vector graphics (desktop, package)
//   fyl-imagegen icon N OUT.png        the same icon N by N pixels

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// A calm, light picture: a soft sky-to-paper gradient, a faint planning grid and the pale lines
// of air jets leaving ceiling outlets, so the panels lying over it stay easy to read.
QImage drawBackground() {
    const int w = 1600, h = 1120;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(208, 228, 238));
    sky.setColorAt(0.55, QColor(232, 241, 245));
    sky.setColorAt(1.0, QColor(246, 248, 247));
    p.fillRect(image.rect(), sky);

    p.setPen(QPen(QColor(196, 214, 224), 1));
    for (int x = 0; x <= w; x += 40)
        p.drawLine(x, 0, x, h);
    for (int y = 0; y <= h; y += 40)
        p.drawLine(0, y, w, y);

    // Ceiling line and outlets
    const int ceiling = 120;
    p.setPen(QPen(QColor(150, 176, 192), 6));
    p.drawLine(0, ceiling, w, ceiling);
    const int outlets[] = {260, 800, 1340};
    for (int ox : outlets) {
        p.setPen(QPen(QColor(130, 160, 180), 3));
        p.setBrush(QColor(226, 236, 242));
        p.drawRect(ox - 46, ceiling, 92, 14);
        // Jets: they run along the ceiling, widen, and sink slowly into the room.
        for (int side : {-1, 1}) {
            for (int k = 0; k < 7; ++k) {
                QPainterPath path;
                const double spread = 10.0 + 14.0 * k;
                path.moveTo(ox + side * 46, ceiling + 10 + k * 2);
                for (int s = 1; s <= 60; ++s) {
                    const double t = s / 60.0;
                    const double x = ox + side * (46 + 260 * t);
                    const double y =
                        ceiling + 10 + k * 2 + spread * t * t + 140 * std::pow(t, 3.0) * (k + 1) / 7.0;
                    path.lineTo(x, y);
                }
                const int alpha = 110 - k * 12;
                p.setPen(QPen(QColor(90, 140, 170, alpha), 2.2));
                p.setBrush(Qt::NoBrush);
                p.drawPath(path);
            }
        }
    }
    // Occupied zone: a faint band up to head height
    const int floor = h - 80;
    p.fillRect(QRect(0, floor - 330, w, 330), QColor(255, 255, 255, 70));
    p.setPen(QPen(QColor(150, 176, 192), 2, Qt::DashLine));
    p.drawLine(0, floor - 330, w, floor - 330);
    p.setPen(QPen(QColor(150, 176, 192), 5));
    p.drawLine(0, floor, w, floor);
    p.end();
    return image;
}

// The maker's logo: the word "ZELK" in slate blue on white, under it a thin rule with three
// soft air arcs, all scaled to the requested size so the letterhead and the window share it.
QImage drawLogo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor slate(58, 88, 116), sky(120, 168, 196);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(std::max(6, h * 11 / 20));
    font.setLetterSpacing(QFont::PercentageSpacing, 112);
    p.setFont(font);
    p.setPen(slate);
    const QRect textBox(0, 0, w, h * 7 / 10);
    p.drawText(textBox, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("ZELK"));

    const qreal ruleY = h * 0.78;
    p.setPen(QPen(slate, std::max(1.0, h / 60.0)));
    p.drawLine(QPointF(w * 0.12, ruleY), QPointF(w * 0.88, ruleY));
    p.setPen(QPen(sky, std::max(1.0, h / 50.0)));
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 3; ++k) {
        const qreal cx = w * (0.3 + 0.2 * k);
        QPainterPath arc;
        arc.moveTo(cx - w * 0.06, ruleY + h * 0.06);
        arc.quadTo(cx, ruleY + h * 0.18, cx + w * 0.06, ruleY + h * 0.06);
        p.drawPath(arc);
    }
    p.end();
    return image;
}

// The icon: an outlet in the ceiling of a room, its jets running along the ceiling and sinking
// to both sides, white on slate blue. One list of shapes on a 256-unit square feeds both the SVG
// and the PNG sizes, so that they cannot differ.
struct IconShape {
    QPainterPath path;
    QColor fill;   // Qt::transparent: none
    QColor stroke; // Qt::transparent: none
    double width = 0;
};

std::vector<IconShape> iconShapes() {
    const QColor slate(58, 88, 116), white(Qt::white), air(150, 204, 232), floorLine(120, 150, 176);
    std::vector<IconShape> shapes;
    QPainterPath tile;
    tile.addRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
    shapes.push_back({tile, slate, Qt::transparent});
    QPainterPath ceiling;
    ceiling.moveTo(36, 62);
    ceiling.lineTo(220, 62);
    shapes.push_back({ceiling, Qt::transparent, white, 10});
    QPainterPath outlet;
    outlet.addRect(QRectF(100, 62, 56, 16));
    shapes.push_back({outlet, white, Qt::transparent});
    for (int k = 0; k < 3; ++k) {
        for (int side : {-1, 1}) {
            QPainterPath jet;
            const double y = 86 + 14 * k;
            jet.moveTo(128 + side * 34, y);
            jet.cubicTo(128 + side * (70 + 8 * k), y, 128 + side * (92 + 4 * k), y + 14 + 12 * k,
                        128 + side * (96 - 6 * k), y + 58 + 20 * k);
            shapes.push_back({jet, Qt::transparent, air, 11.0 - 2 * k});
        }
    }
    QPainterPath floor;
    floor.moveTo(36, 214);
    floor.lineTo(220, 214);
    shapes.push_back({floor, Qt::transparent, floorLine, 8});
    return shapes;
}

QString svgColour(const QColor& c) {
    return c.alpha() == 0 ? QStringLiteral("none") : c.name(QColor::HexRgb);
}

QString svgPathData(const QPainterPath& path) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QString point = QStringLiteral("%1 %2 ").arg(e.x).arg(e.y);
        if (e.isMoveTo())
            d += QStringLiteral("M ") + point;
        else if (e.isLineTo())
            d += QStringLiteral("L ") + point;
        else if (e.isCurveTo())
            d += QStringLiteral("C ") + point;
        else
            d += point; // the curve's further control and end points
    }
    return d.trimmed();
}

bool writeIconSvg(const QString& out) {
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                                 "viewBox=\"0 0 256 256\">\n");
    for (const IconShape& shape : iconShapes())
        svg += QStringLiteral("  <path d=\"%1\" fill=\"%2\" stroke=\"%3\" stroke-width=\"%4\" "
                              "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
                   .arg(svgPathData(shape.path), svgColour(shape.fill), svgColour(shape.stroke))
                   .arg(shape.width);
    svg += QStringLiteral("</svg>\n");
    QFile file(out);
    return file.open(QIODevice::WriteOnly) && file.write(svg.toUtf8()) >= 0 && file.flush();
}

bool writeIconPng(const char* sizeText, const QString& out) {
    bool ok = false;
    const int size = QString::fromLocal8Bit(sizeText).toInt(&ok);
    if (!ok || size < 8 || size > 1024)
        return false;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    for (const IconShape& shape : iconShapes()) {
        p.setBrush(shape.fill.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(shape.fill));
        p.setPen(shape.stroke.alpha() == 0
                     ? QPen(Qt::NoPen)
                     : QPen(shape.stroke, shape.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(shape.path);
    }
    p.end();
    return image.save(out, "PNG");
}

bool writeLogo(const char* wText, const char* hText, const QString& out) {
    bool okW = false, okH = false;
    const int w = QString::fromLocal8Bit(wText).toInt(&okW);
    const int h = QString::fromLocal8Bit(hText).toInt(&okH);
    if (!okW || !okH || w < 8 || h < 8 || w > 4000 || h > 4000)
        return false;
    return drawLogo(w, h).convertToFormat(QImage::Format_RGB888).save(out, "BMP");
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc == 5 && QString::fromLocal8Bit(argv[1]) == QLatin1String("logo")) {
        if (!writeLogo(argv[2], argv[3], QString::fromLocal8Bit(argv[4]))) {
            // NOLINTNEXTLINE(cert-err33-c): a failed message has nowhere to go
            std::fprintf(stderr, "fyl-imagegen: cannot write %s\n", argv[4]);
            return 1;
        }
        return 0;
    }
    const bool icon = argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("icon");
    if (icon && (argc == 3 || argc == 4)) {
        const char* out = argv[argc - 1];
        if (!(argc == 3 ? writeIconSvg(QString::fromLocal8Bit(out))
                        : writeIconPng(argv[2], QString::fromLocal8Bit(out)))) {
            // NOLINTNEXTLINE(cert-err33-c): a failed message has nowhere to go
            std::fprintf(stderr, "fyl-imagegen: cannot write %s\n", out);
            return 1;
        }
        return 0;
    }
    if (argc != 3 || QString::fromLocal8Bit(argv[1]) != QLatin1String("background")) {
        // NOLINTNEXTLINE(cert-err33-c): a failed message has nowhere to go
        std::fprintf(stderr,
                     "usage: fyl-imagegen background OUT.jpg | logo W H OUT.bmp | icon [N] OUT.svg|png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    if (!drawBackground().save(out, "JPG", 88)) {
        // NOLINTNEXTLINE(cert-err33-c): a failed message has nowhere to go
        std::fprintf(stderr, "fyl-imagegen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
