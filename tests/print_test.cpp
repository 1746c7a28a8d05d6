// Bitmap printing: row stride, range check and stretched drawing. Window test group.
#include "frame/errors.h"
#include "print/bitmapprint.h"
#include "print/bitmaprows.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace fyl;

namespace {

// Left half red, right half blue: a stretched copy shows where each half landed.
QImage twoColourImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    return image;
}

} // namespace

TEST(BitmapPrint, RowsArePaddedToFourBytes) {
    EXPECT_EQ(dibRowStride(101, 24), 304);
    EXPECT_EQ(dibRowStride(100, 24), 300);
    EXPECT_EQ(dibRowStride(101, 8), 104);
    EXPECT_EQ(dibRowStride(1, 24), 4);
    // The converted copy really carries that layout.
    const QImage rows = deviceIndependentImage(twoColourImage(101, 3), false);
    EXPECT_EQ(rows.depth(), 24);
    EXPECT_EQ(rows.bytesPerLine(), 304);
    const QImage indexed = deviceIndependentImage(twoColourImage(101, 3), true);
    EXPECT_EQ(indexed.depth(), 8);
    EXPECT_EQ(indexed.colorCount(), 256);
    EXPECT_EQ(indexed.pixel(0, 0), qRgb(255, 0, 0));
}

TEST(BitmapPrint, DrawsStretchedIntoTheRectangleAndLeavesTheImage) {
    const QImage image = twoColourImage(20, 10);
    const QImage before = image.copy();
    QImage page(200, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        printBitmap(painter, QRect(40, 20, 100, 60), image);
    }
    EXPECT_EQ(image, before);
    EXPECT_EQ(page.pixel(45, 25), qRgb(255, 0, 0));     // left half
    EXPECT_EQ(page.pixel(135, 75), qRgb(0, 0, 255));    // right half, stretched to the corner
    EXPECT_EQ(page.pixel(39, 50), qRgb(255, 255, 255)); // nothing outside
    EXPECT_EQ(page.pixel(140, 50), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(90, 19), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(90, 80), qRgb(255, 255, 255));
}

TEST(BitmapPrint, RefusesCoordinatesBeyondSixteenBits) {
    const QImage image = twoColourImage(20, 10);
    QImage page(10, 10, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    EXPECT_THROW(printBitmap(painter, QRect(65536, 0, 10, 10), image), RangeError);
    EXPECT_THROW(printBitmap(painter, QRect(0, -1, 10, 10), image), RangeError);
    EXPECT_THROW(printBitmap(painter, QRect(0, 0, 70000, 10), image), RangeError);
    EXPECT_NO_THROW(printBitmap(painter, QRect(65535, 65535, 0, 0), image));
    painter.end();
    EXPECT_EQ(page.pixel(5, 5), qRgb(255, 255, 255));
}
