// Printing the sound tool's sheet and writing it as a PDF. Drawing layer of the sound tool.
#include "companions/zelk_sound/soundprint.h"

#include "drawing/painter.h"
#include "drawing/pdffile.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace fyl::sound {

namespace {
constexpr int kPdfDpi = 300;
}

void prepareSheetPrinter(QPrinter& printer) {
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    // The page is laid out from the paper's edge; a printer's unprintable border must not shift it.
    printer.setFullPage(true);
}

void printSoundSheet(QPainter& painter, const SoundSheet& sheet, int dpi) {
    renderPrimitives(soundSheetPage(sheet, dpi), painter, dpi);
}

void writeSoundSheetPdf(const QString& path, const SoundSheet& sheet) {
    writePdfAtomically(path, kPdfDpi, QStringLiteral("Das Blatt der Schallberechnung"),
                       [&sheet](QPainter& painter) { printSoundSheet(painter, sheet, kPdfDpi); });
}

} // namespace fyl::sound
