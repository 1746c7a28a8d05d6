// Display-list pages as a PDF in memory. Drawing layer (fyldraw).
#include "drawing/pagespdf.h"

#include "drawing/painter.h"
#include "drawing/pdffile.h"
#include "drawing/picture.h"
#include "frame/errors.h"
#include "frame/files.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QTemporaryDir>

#include <map>

namespace fyl {

QByteArray pagesAsPdf(const std::vector<DisplayList>& pages, int dpi, const QString& title) {
    std::map<QString, QImage> pictures;
    for (const DisplayList& page : pages)
        for (const PicturePrimitive& primitive : page)
            if (const auto* image = std::get_if<ImagePrimitive>(&primitive);
                image != nullptr && !pictures.count(image->file))
                pictures.emplace(image->file, loadPicture(image->file));

    // The catalogue's documents are written as one set, so the PDF is wanted as bytes.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw FileError(QStringLiteral("Für das PDF kann kein temporärer Ordner angelegt werden."));
    const QString file = scratch.filePath(QStringLiteral("sheet.pdf"));
    writePdfAtomically(file, dpi, title, [&](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        const ImageDrawer drawPicture = [&pictures](QPainter& p, const ImagePrimitive& image) {
            p.drawImage(QRect(image.left, image.top, image.width, image.height), pictures.at(image.file));
        };
        auto* job = dynamic_cast<QPagedPaintDevice*>(painter.device());
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0 && job != nullptr && !job->newPage())
                throw FileError(QStringLiteral("%1: das PDF konnte keine neue Seite beginnen.").arg(title));
            renderPrimitives(pages[i], painter, dpi, drawPicture);
        }
    });
    return readWholeFile(file);
}

} // namespace fyl
