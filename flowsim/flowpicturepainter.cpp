// Renders the flow simulation's display list: the window's image, a PNG or paper. Drawing layer
// (fyldraw, QtGui).
#include "flowsim/flowpicturepainter.h"

#include <QPainter>

namespace fyl {

void renderFlowPicture(const FlowPicture& picture, QPainter& painter) {
    renderPrimitives(picture.primitives, painter, 96.0);
}

QImage flowPictureImage(const FlowPicture& picture) {
    QImage image(FlowPicture::kWidth, FlowPicture::kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderFlowPicture(picture, painter);
    return image;
}

} // namespace fyl
