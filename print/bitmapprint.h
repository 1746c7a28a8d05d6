// Printing a bitmap stretched into a rectangle of a printer or PDF page. Drawing layer (fyldraw).
#pragma once

#include <QImage>
#include <QRect>

class QPainter;

namespace fyl {

// Whether the screen shows colours through a palette (8 bits or fewer per pixel).
bool screenIsPaletteDevice();

// The device-independent copy that goes to the printer: 8 bits with a 256-entry colour table
// in palette mode, 24 bits otherwise; rows padded to a multiple of 4 bytes.
QImage deviceIndependentImage(const QImage& image, bool paletteMode);

// Draws `image` stretched into `target` (device pixels); the image itself is left as it is.
// Raises RangeError for a rectangle outside 0 … 65535. An empty image draws nothing.
void printBitmap(QPainter& painter, const QRect& target, const QImage& image);

} // namespace fyl
