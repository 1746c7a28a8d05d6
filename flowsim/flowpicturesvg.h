// The flow simulation's display list as SVG text, for documents that want the picture as vector
// graphics. Core layer (fylcore, QtCore only).
#pragma once

#include "flowsim/flowpicture.h"

#include <QByteArray>

namespace fyl {

// A 369 x 361 SVG document of the primitives in drawing order on a white ground, with the pen
// widths, colours, dots, square ends and mitred joins the painter uses.
QByteArray flowPictureSvg(const FlowPicture& picture);

} // namespace fyl
