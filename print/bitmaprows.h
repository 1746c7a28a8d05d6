// Row layout and device range of the bitmaps the report prints. Core layer (fylcore).
#pragma once

#include <QRect>

namespace fyl {

// Bytes per row of a device-independent bitmap: width × bits per pixel / 8, rounded up to a
// multiple of 4 (101 pixels at 24 bits: 304).
int dibRowStride(int width, int bitsPerPixel);

// Printer coordinates travel as unsigned 16-bit values; raises RangeError for a rectangle
// whose x, y, width or height lies outside 0 … 65535 instead of letting it wrap.
void requirePrintableRect(const QRect& target);

} // namespace fyl
