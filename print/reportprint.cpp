// Printing the report onto a print job or into a PDF file. Drawing layer (fyldraw).
#include "print/reportprint.h"

#include "drawing/pdffile.h"
#include "drawing/picture.h"
#include "flowsim/flowpicturepainter.h"
#include "frame/errors.h"
#include "print/bitmapprint.h"
#include "print/bitmaprows.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <map>

namespace fyl {

void printReport(QPainter& painter, const ReportInputs& in, const ContourRoutine& contours) {
    std::vector<OutletContour> zones;
    if (in.choices.picturePage)
        zones = computeContours(pictureContourInputs(reportPictureInputs(in), in.record), contours);
    const std::vector<ReportPage> pages = reportPages(in, zones);

    // Everything that can fail is done before the first stroke.
    std::map<QString, QImage> pictures;
    for (const ReportPage& page : pages)
        for (const PicturePrimitive& primitive : page)
            if (const auto* image = std::get_if<ImagePrimitive>(&primitive)) {
                requirePrintableRect(QRect(image->left, image->top, image->width, image->height));
                if (!pictures.count(image->file))
                    pictures.emplace(image->file, loadPicture(image->file));
            }

    const ImageDrawer bitmap = [&pictures](QPainter& p, const ImagePrimitive& image) {
        printBitmap(p, QRect(image.left, image.top, image.width, image.height), pictures.at(image.file));
    };
    auto* job = dynamic_cast<QPagedPaintDevice*>(painter.device());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && job != nullptr && !job->newPage())
            throw FileError(QStringLiteral("Der Druckauftrag konnte keine neue Seite beginnen."));
        renderPrimitives(pages[i], painter, in.dpi, bitmap);
    }
}

void writeReportPdf(const QString& path, const ReportInputs& in, const ContourRoutine& contours) {
    writePdfAtomically(path, in.dpi, QStringLiteral("Der Bericht"),
                       [&](QPainter& painter) { printReport(painter, in, contours); });
}

QByteArray reportPdfBytes(const ReportInputs& in, const ContourRoutine& contours,
                          const QString& scratchFolder) {
    return pdfBytes(
        in.dpi, QStringLiteral("Der Bericht"), [&](QPainter& painter) { printReport(painter, in, contours); },
        scratchFolder);
}

} // namespace fyl
