// Drawing the ceiling plan's page onto the screen, a PNG and a PDF. Drawing layer of the
// ceiling-plan tool (fylceilingdraw).
#include "companions/deckenspiegel/ceilingoutput.h"

#include "drawing/painter.h"
#include "frame/errors.h"
#include "frame/files.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace fyl::ceiling {

void paintCeilingPlan(QPainter& painter, const PageGeometry& geometry, const CeilingExchange& x,
                      const CeilingLayout& layout, const QDate& date) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderPrimitives(ceilingPage(x, layout, geometry, date).primitives, painter, geometry.dpi);
    painter.restore();
}

QImage ceilingPlanImage(const CeilingExchange& x, const CeilingLayout& layout, const QDate& date) {
    const PageGeometry geometry = a4Landscape(kPngDpi);
    QImage image(geometry.width, geometry.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    // Printed at this size, the picture has the page's proportions in millimetres.
    const int dotsPerMetre = qRound(kPngDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    paintCeilingPlan(painter, geometry, x, layout, date);
    return image;
}

QByteArray ceilingPlanPng(const CeilingExchange& x, const CeilingLayout& layout, const QDate& date) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!ceilingPlanImage(x, layout, date).save(&buffer, "PNG"))
        throw FileError(QStringLiteral("Der Deckenspiegel kann nicht als PNG-Bild kodiert werden."));
    return bytes;
}

QByteArray ceilingPlanPdf(const CeilingExchange& x, const CeilingLayout& layout, const QDate& date) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(static_cast<int>(kPdfDpi));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        writer.setCreator(QStringLiteral("ZELK FYL Deckenspiegel"));
        writer.setTitle(QStringLiteral("Deckenspiegel %1").arg(x.project));
        QPainter painter;
        if (!painter.begin(&writer))
            throw FileError(QStringLiteral("Der Deckenspiegel kann nicht als PDF angelegt werden."));
        paintCeilingPlan(painter, {writer.width(), writer.height(), kPdfDpi, true}, x, layout, date);
        if (!painter.end())
            throw FileError(QStringLiteral("Der Deckenspiegel kann nicht als PDF geschrieben werden."));
    }
    return bytes;
}

void writeCeilingPlanPng(const QString& path, const CeilingExchange& x, const CeilingLayout& layout,
                         const QDate& date) {
    writeFileAtomically(path, ceilingPlanPng(x, layout, date), QStringLiteral("Das Bild"));
}

void writeCeilingPlanPdf(const QString& path, const CeilingExchange& x, const CeilingLayout& layout,
                         const QDate& date) {
    writeFileAtomically(path, ceilingPlanPdf(x, layout, date), QStringLiteral("Die PDF-Datei"));
}

} // namespace fyl::ceiling
