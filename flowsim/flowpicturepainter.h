// Renders the flow simulation's display list onto any painter: the window's image, a PNG or
// paper. Drawing layer (fyldraw, QtGui).
#pragma once

#include "drawing/painter.h"
#include "flowsim/flowpicture.h"

#include <QImage>

#include <functional>

class QPainter;

namespace fyl {

// Draws the primitives in the picture's pixel space; scale the painter for other devices.
void renderFlowPicture(const FlowPicture& picture, QPainter& painter);
// The picture as the window shows it: 369 x 361 pixels.
QImage flowPictureImage(const FlowPicture& picture);

} // namespace fyl
