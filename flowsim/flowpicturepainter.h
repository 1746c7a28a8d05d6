// Renders the flow simulation's display list onto any painter: the window's image, a PNG or
// paper. Drawing layer (fyldraw, QtGui).
#pragma once

#include "flowsim/flowpicture.h"

#include <QImage>

#include <functional>

class QPainter;

namespace fyl {

// How a display list's pictures reach the device; the report prints them through its bitmap
// routine. Unset, the picture file is read and drawn stretched into its box.
using ImageDrawer = std::function<void(QPainter&, const ImagePrimitive&)>;

// The family asked for, or an installed sans-serif font where the system lacks it.
QString installedFamily(const QString& family);

// Draws a display list in its own pixel space; `dpi` is the resolution it was laid out for, which
// turns the texts' point sizes into pixels.
void renderPrimitives(const std::vector<PicturePrimitive>& primitives, QPainter& painter, double dpi,
                      const ImageDrawer& drawImage = {});
// Draws the primitives in the picture's pixel space; scale the painter for other devices.
void renderFlowPicture(const FlowPicture& picture, QPainter& painter);
// The picture as the window shows it: 369 x 361 pixels.
QImage flowPictureImage(const FlowPicture& picture);

} // namespace fyl
