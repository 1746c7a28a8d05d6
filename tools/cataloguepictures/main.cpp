// Draws the type pictures of the outlet catalogue at build time: a clean technical sketch of
// each outlet family (front view above, section with the jets below), and image5.bmp, which
// the selection shows when a type has no picture of its own. With KEY "data_sheet_types" it draws
// the types that have a data sheet only, whose sheets show the same sketches.
//   fyl-cataloguepictures SOURCE.json OUTDIR [KEY]

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

const QColor kInk(40, 56, 72);
const QColor kMetal(214, 221, 228);
const QColor kJet(52, 120, 190);
const int kWidth = 240, kHeight = 180;

void arrowHead(QPainter& p, QPointF tip, double angle) {
    const double a = 0.45, len = 7;
    QPolygonF head;
    head << tip << tip - QPointF(len * std::cos(angle - a), len * std::sin(angle - a))
         << tip - QPointF(len * std::cos(angle + a), len * std::sin(angle + a));
    p.setBrush(kJet);
    p.drawPolygon(head);
}

// A jet path from `from` in direction (dx, dy), bending down by `sag` toward its end.
void jet(QPainter& p, QPointF from, double dx, double dy, double sag) {
    p.setPen(QPen(kJet, 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath path(from);
    const QPointF end = from + QPointF(dx, dy + sag);
    path.quadTo(from + QPointF(dx * 0.6, dy * 0.6), end);
    p.drawPath(path);
    const QPointF before = path.pointAtPercent(0.95);
    arrowHead(p, end, std::atan2(end.y() - before.y(), end.x() - before.x()));
}

void ceiling(QPainter& p, int y) {
    p.setPen(QPen(kInk, 3));
    p.drawLine(8, y, kWidth - 8, y);
    p.setPen(QPen(kInk, 1));
    for (int x = 12; x < kWidth - 8; x += 10)
        p.drawLine(x, y - 6, x + 6, y);
}

void wall(QPainter& p, int x) {
    p.setPen(QPen(kInk, 3));
    p.drawLine(x, 60, x, kHeight - 8);
    p.setPen(QPen(kInk, 1));
    for (int y = 64; y < kHeight - 8; y += 10)
        p.drawLine(x - 6, y + 6, x, y);
}

void drawSwirl(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kMetal);
    p.drawEllipse(QPointF(kWidth / 2.0, 38), 30, 30);
    for (int k = 0; k < 12; ++k) {
        const double a = k * M_PI / 6;
        p.drawLine(QPointF(kWidth / 2.0 + 8 * std::cos(a), 38 + 8 * std::sin(a)),
                   QPointF(kWidth / 2.0 + 27 * std::cos(a + 0.5), 38 + 27 * std::sin(a + 0.5)));
    }
    ceiling(p, 100);
    p.setBrush(kMetal);
    p.drawRect(kWidth / 2 - 30, 100, 60, 6);
    jet(p, QPointF(kWidth / 2.0 - 32, 106), -85, 0, 18);
    jet(p, QPointF(kWidth / 2.0 + 32, 106), 85, 0, 18);
}

void drawSquare(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kMetal);
    for (int k = 0; k < 4; ++k)
        p.drawRect(QRectF(kWidth / 2.0 - 30 + k * 7.5, 8 + k * 7.5, 60 - k * 15, 60 - k * 15));
    ceiling(p, 100);
    p.drawRect(kWidth / 2 - 30, 100, 60, 6);
    jet(p, QPointF(kWidth / 2.0 - 32, 104), -90, 0, 10);
    jet(p, QPointF(kWidth / 2.0 + 32, 104), 90, 0, 10);
}

void drawGrille(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kMetal);
    p.drawRect(40, 14, 100, 34);
    for (int x = 48; x < 140; x += 8)
        p.drawLine(x, 16, x, 46);
    for (int y = 20; y < 48; y += 6)
        p.drawLine(42, y, 138, y);
    ceiling(p, 70);
    wall(p, 24);
    p.setBrush(kMetal);
    p.drawRect(24, 74, 8, 20);
    jet(p, QPointF(34, 80), 180, 0, 22);
}

void drawNozzle(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kMetal);
    p.drawEllipse(QPointF(90, 36), 26, 26);
    p.drawEllipse(QPointF(90, 36), 12, 12);
    wall(p, 24);
    QPolygonF body;
    body << QPointF(24, 86) << QPointF(56, 92) << QPointF(56, 104) << QPointF(24, 110);
    p.drawPolygon(body);
    jet(p, QPointF(58, 98), 160, 0, 30);
    p.setPen(QPen(kInk, 1, Qt::DashLine));
    p.drawArc(QRectF(30, 66, 60, 60), 30 * 16, -60 * 16);
}

void drawSlot(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kMetal);
    p.drawRect(20, 22, 200, 28);
    for (int k = 0; k < 3; ++k)
        p.fillRect(QRect(26, 27 + k * 8, 188, 3), kInk);
    ceiling(p, 100);
    p.setBrush(kMetal);
    p.drawRect(kWidth / 2 - 20, 100, 40, 6);
    jet(p, QPointF(kWidth / 2.0 + 22, 106), 90, 0, 8);
    p.setPen(QPen(kJet, 1.5, Qt::DashLine));
    p.drawLine(QPointF(kWidth / 2.0, 108), QPointF(kWidth / 2.0, 150));
}

void drawTube(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kMetal);
    p.drawRoundedRect(QRectF(16, 24, 208, 30), 14, 14);
    for (int x = 30; x < 214; x += 24)
        p.drawLine(x, 33, x + 14, 33);
    ceiling(p, 80);
    p.setBrush(kMetal);
    p.drawLine(kWidth / 2, 80, kWidth / 2, 96);
    p.drawEllipse(QPointF(kWidth / 2.0, 116), 20, 20);
    jet(p, QPointF(kWidth / 2.0 - 20, 110), -80, -4, 24);
    jet(p, QPointF(kWidth / 2.0 + 20, 110), 80, -4, 24);
}

// A sight-tight transfer grille in a wall or door: air passes through, no jet leaves it.
void drawTransfer(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kMetal);
    p.drawRect(60, 12, 120, 44);
    for (int x = 68; x < 176; x += 10) {
        p.drawLine(x, 16, x + 5, 34);
        p.drawLine(x + 5, 34, x, 52);
    }
    wall(p, kWidth / 2);
    p.setBrush(kMetal);
    p.drawRect(kWidth / 2 - 4, 96, 8, 30);
    p.setPen(QPen(kJet, 2));
    for (int y : {104, 118}) {
        p.drawLine(kWidth / 2 - 60, y, kWidth / 2 + 50, y);
        arrowHead(p, QPointF(kWidth / 2.0 + 56, y), 0.0);
    }
}

// A disc valve in the ceiling: the room air is drawn in around the disc.
void drawValve(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kMetal);
    p.drawEllipse(QPointF(kWidth / 2.0, 36), 28, 28);
    p.drawEllipse(QPointF(kWidth / 2.0, 36), 18, 18);
    p.drawEllipse(QPointF(kWidth / 2.0, 36), 3, 3);
    ceiling(p, 96);
    p.setBrush(kMetal);
    p.drawRect(kWidth / 2 - 14, 78, 28, 18);
    p.drawRect(kWidth / 2 - 24, 104, 48, 4);
    for (int side : {-1, 1}) {
        p.setPen(QPen(kJet, 2));
        p.setBrush(Qt::NoBrush); // the arrow head before filled it
        QPainterPath path(QPointF(kWidth / 2.0 + side * 80, 150));
        path.quadTo(QPointF(kWidth / 2.0 + side * 40, 140), QPointF(kWidth / 2.0 + side * 22, 101));
        p.drawPath(path);
        const QPointF before = path.pointAtPercent(0.95);
        const QPointF end = path.pointAtPercent(1.0);
        arrowHead(p, end, std::atan2(end.y() - before.y(), end.x() - before.x()));
    }
}

void drawUnknown(QPainter& p) {
    p.setPen(QPen(kInk, 1.5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(60, 30, 120, 80);
    p.setPen(QPen(kInk, 1.5));
    p.drawLine(60, 30, 180, 110);
    p.drawLine(180, 30, 60, 110);
    ceiling(p, 140);
}

QImage sketch(const QString& family, const QString& caption) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (family == QLatin1String("swirl"))
        drawSwirl(p);
    else if (family == QLatin1String("square"))
        drawSquare(p);
    else if (family == QLatin1String("grille"))
        drawGrille(p);
    else if (family == QLatin1String("nozzle"))
        drawNozzle(p);
    else if (family == QLatin1String("slot"))
        drawSlot(p);
    else if (family == QLatin1String("tube"))
        drawTube(p);
    else if (family == QLatin1String("transfer"))
        drawTransfer(p);
    else if (family == QLatin1String("valve"))
        drawValve(p);
    else
        drawUnknown(p);
    p.setPen(kInk);
    QFont font = p.font();
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, kHeight - 24, kWidth - 8, 20), Qt::AlignRight | Qt::AlignVCenter, caption);
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, kWidth - 1, kHeight - 1);
    return image;
}

bool save(const QImage& image, const QString& path) {
    if (image.save(path, "BMP"))
        return true;
    // NOLINTNEXTLINE(cert-err33-c): a failed message has nowhere to go
    std::fprintf(stderr, "fyl-cataloguepictures: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        // NOLINTNEXTLINE(cert-err33-c): a failed message has nowhere to go
        std::fprintf(stderr, "usage: fyl-cataloguepictures SOURCE.json OUTDIR [KEY]\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        // NOLINTNEXTLINE(cert-err33-c): a failed message has nowhere to go
        std::fprintf(stderr, "fyl-cataloguepictures: cannot read %s\n", argv[1]);
        return 1;
    }
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString key = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("types");
    bool ok = argc == 4 || save(sketch(QString(), QString()), out + QStringLiteral("/image5.bmp"));
    for (const QJsonValue value : root.value(key).toArray()) {
        const QJsonObject type = value.toObject();
        const QString code = type.value(QLatin1String("code")).toString();
        ok = save(sketch(type.value(QLatin1String("picture")).toString(), code),
                  out + QLatin1Char('/') + code + QStringLiteral(".bmp")) &&
             ok;
    }
    return ok ? 0 : 1;
}
