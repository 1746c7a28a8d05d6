// Display-list pages into a PDF in memory. Drawing layer (fyldraw).
#include "print/datasheetpdf.h"

#include "flowsim/flowpicturepainter.h"
#include "frame/errors.h"
#include "frame/picture.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <map>

namespace fyl {

QByteArray pagesAsPdf(const std::vector<ReportPage>& pages, int dpi, const QString& title) {
    std::map<QString, QImage> pictures;
    for (const ReportPage& page : pages)
        for (const PicturePrimitive& primitive : page)
            if (const auto* image = std::get_if<ImagePrimitive>(&primitive);
                image && !pictures.count(image->file))
                pictures.emplace(image->file, loadPicture(image->file));

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(dpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("ZELK FYL"));
        QPainter painter;
        if (!painter.begin(&writer))
            throw FileError(QStringLiteral("%1 kann nicht als PDF angelegt werden.").arg(title));
        painter.setRenderHint(QPainter::Antialiasing);
        const ImageDrawer drawPicture = [&pictures](QPainter& p, const ImagePrimitive& image) {
            p.drawImage(QRect(image.left, image.top, image.width, image.height), pictures.at(image.file));
        };
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0 && !writer.newPage())
                throw FileError(QStringLiteral("%1: das PDF konnte keine neue Seite beginnen.").arg(title));
            renderPrimitives(pages[i], painter, dpi, drawPicture);
        }
        if (!painter.end())
            throw FileError(QStringLiteral("%1 kann nicht als PDF geschrieben werden.").arg(title));
    }
    return bytes;
}

} // namespace fyl
