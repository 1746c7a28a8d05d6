// The one painter of display lists: renders them onto any QPainter (image, printer, PDF) at the
// resolution they were laid out for. Drawing layer (fyldraw, QtGui).
#pragma once

#include "drawing/displaylist.h"

#include <QString>

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

} // namespace fyl
