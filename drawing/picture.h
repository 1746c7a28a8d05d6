// Loading picture files for the windows and the printed pages. Drawing layer (fyldraw, QtGui).
#pragma once

#include <QImage>
#include <QString>

namespace fyl {

// Loads a picture file (JPEG, BMP, PNG). A file that is missing or cannot be decoded raises
// FileError naming it: the graphics error the windows show in the standard error box.
QImage loadPicture(const QString& path);

} // namespace fyl
