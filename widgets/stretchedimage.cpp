// A picture stretched over a widget's whole area. Shared widgets of the windows (fylwidgets,
// QtWidgets).
#include "widgets/stretchedimage.h"

#include <QPainter>

namespace fyl {

void StretchedImage::setImage(const QImage& image) {
    image_ = image;
    update();
}

void StretchedImage::paintEvent(QPaintEvent*) {
    if (image_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), image_);
}

} // namespace fyl
