// Renders the flow simulation's display list onto any painter: the window's image, a PNG or
// paper. Drawing layer (fyldraw, QtGui).
#pragma once

#include "flowsim/flowpicture.h"

#include <QImage>

class QPainter;

namespace fyl {

// Draws a display list in its own pixel space; `dpi` is the resolution it was laid out for, which
// turns the texts' point sizes into pixels.
void renderPrimitives(const std::vector<PicturePrimitive>& primitives, QPainter& painter, double dpi);
// Draws the primitives in the picture's pixel space; scale the painter for other devices.
void renderFlowPicture(const FlowPicture& picture, QPainter& painter);
// The picture as the window shows it: 369 x 361 pixels.
QImage flowPictureImage(const FlowPicture& picture);

} // namespace fyl
