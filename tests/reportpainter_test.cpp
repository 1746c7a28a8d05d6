// Rendering the report's texts: right alignment measured with the font drawn, the fallback for
// the missing family. Window group (needs a GUI application for fonts).
#include "drawing/painter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace fyl {
namespace {

// The leftmost and rightmost columns holding a dark pixel; -1 when there are none.
std::pair<int, int> inkColumns(const QImage& image) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

QImage rendered(const TextPrimitive& text) {
    QImage image(600, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderPrimitives({text}, painter, 300.0);
    return image;
}

TEST(ReportPainter, RightAlignedTextEndsAtItsPoint) {
    TextPrimitive value;
    value.at = {500, 40};
    value.text = QStringLiteral("1234,56");
    value.align = TextAlign::Right;
    const auto [first, last] = inkColumns(rendered(value));
    ASSERT_GE(first, 0); // the missing family still draws, in the fallback font
    EXPECT_LT(last, 500);
    EXPECT_GE(last, 500 - 12); // at most a side bearing short of the point
    EXPECT_LT(first, 500 - 100);
}

TEST(ReportPainter, LeftAlignedTextStartsAtItsPoint) {
    TextPrimitive label;
    label.at = {100, 40};
    label.text = QStringLiteral("HHH");
    const auto [first, last] = inkColumns(rendered(label));
    EXPECT_GE(first, 100);
    EXPECT_LT(first, 112);
    EXPECT_GT(last, 150);
}

} // namespace
} // namespace fyl
