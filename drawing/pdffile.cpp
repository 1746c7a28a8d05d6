// Writing a painted job as a PDF file, atomically. Drawing layer (fyldraw).
#include "drawing/pdffile.h"

#include "frame/errors.h"
#include "frame/files.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

namespace fyl {

void writePdfAtomically(const QString& path, int dpi, const QString& kind,
                        const std::function<void(QPainter&)>& paint) {
    writeFileAtomically(path, pdfBytes(dpi, kind, paint), kind);
}

QByteArray pdfBytes(int dpi, const QString& kind, const std::function<void(QPainter&)>& paint,
                    const QString& scratchFolder) {
    QTemporaryDir scratch(scratchFolder.isEmpty() ? QDir::temp().filePath(QStringLiteral("zelk-pdf-XXXXXX"))
                                                  : joinPath(scratchFolder, QStringLiteral("pdf-XXXXXX")));
    if (!scratch.isValid())
        throw FileError(QStringLiteral("Für das PDF kann kein temporärer Ordner angelegt werden."));
    const QString draft = scratch.filePath(QStringLiteral("draft.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(draft);
        printer.setResolution(dpi);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        printer.setCreator(QStringLiteral("ZELK FYL"));
        QPainter painter;
        if (!painter.begin(&printer))
            throw FileError(kind + QStringLiteral(" kann nicht als PDF angelegt werden."));
        try {
            paint(painter);
        } catch (...) {
            painter.end();
            throw;
        }
        if (!painter.end())
            throw FileError(kind + QStringLiteral(" kann nicht als PDF geschrieben werden."));
    }
    return readWholeFile(draft);
}

} // namespace fyl
