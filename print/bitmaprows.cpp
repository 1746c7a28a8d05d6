// Row layout and device range of the bitmaps the report prints. Core layer (fylcore).
#include "print/bitmaprows.h"

#include "frame/errors.h"

namespace fyl {

int dibRowStride(int width, int bitsPerPixel) {
    const long long bits = static_cast<long long>(width) * bitsPerPixel;
    const long long bytes = (bits + 7) / 8;
    return static_cast<int>((bytes + 3) / 4 * 4);
}

void requirePrintableRect(const QRect& target) {
    constexpr int kMax = 65535;
    const auto inRange = [](int v) { return v >= 0 && v <= kMax; };
    if (!inRange(target.x()) || !inRange(target.y()) || !inRange(target.width()) || !inRange(target.height()))
        throw RangeError(QStringLiteral("Das Bild kann nicht gedruckt werden: Position %1, %2 "
                                        "und Größe %3 × %4 Bildpunkte liegen außerhalb von 0 bis 65535.")
                             .arg(target.x())
                             .arg(target.y())
                             .arg(target.width())
                             .arg(target.height()));
}

} // namespace fyl
