// Loading picture files for the windows and the printed pages. Drawing layer (fyldraw, QtGui).
#include "drawing/picture.h"

#include "frame/errors.h"

#include <QDir>
#include <QImageReader>

namespace fyl {

QImage loadPicture(const QString& path) {
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull())
        throw FileError(QStringLiteral("Das Bild %1 kann nicht geladen werden (%2).")
                            .arg(QDir::toNativeSeparators(path), reader.errorString()));
    return image;
}

} // namespace fyl
