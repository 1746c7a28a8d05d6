// Printing a bitmap stretched into a rectangle of a printer or PDF page. Drawing layer (fyldraw).
#include "print/bitmapprint.h"

#include "print/bitmaprows.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace fyl {

bool screenIsPaletteDevice() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr && screen->depth() <= 8;
}

QImage deviceIndependentImage(const QImage& image, bool paletteMode) {
    if (!paletteMode)
        return image.convertToFormat(QImage::Format_RGB888);
    QImage indexed = image.convertToFormat(QImage::Format_Indexed8);
    // The transfer always carries a full table of 256 entries; unused ones stay black.
    QList<QRgb> table = indexed.colorTable();
    table.resize(256, qRgb(0, 0, 0));
    indexed.setColorTable(table);
    return indexed;
}

void printBitmap(QPainter& painter, const QRect& target, const QImage& image) {
    requirePrintableRect(target);
    if (image.isNull() || target.isEmpty())
        return;
    // One converted copy holds the rows; the caller's image is only read.
    const QImage rows = deviceIndependentImage(image, screenIsPaletteDevice());
    painter.drawImage(QRectF(target), rows, QRectF(rows.rect()));
}

} // namespace fyl
