// The ceiling plan drawn: onto a painter, as a PNG picture and as an A4 PDF page. Drawing layer
// of the ceiling-plan tool (fylceilingdraw, QtGui).
#pragma once

#include "companions/deckenspiegel/ceilingpage.h"

#include <QImage>

class QPainter;

namespace fyl::ceiling {

// The PNG is the A4 landscape page at this resolution: 2339 x 1654 pixels.
inline constexpr double kPngDpi = 200.0;
// The PDF's resolution; the page is A4 landscape.
inline constexpr double kPdfDpi = 300.0;

// Lays out the page for `geometry` and draws it onto `painter`, which paints that device.
void paintCeilingPlan(QPainter& painter, const PageGeometry& geometry, const CeilingExchange& x,
                      const CeilingLayout& layout, const QDate& date);

QImage ceilingPlanImage(const CeilingExchange& x, const CeilingLayout& layout, const QDate& date);

// The PNG and the PDF as bytes, for writing them together.
QByteArray ceilingPlanPng(const CeilingExchange& x, const CeilingLayout& layout, const QDate& date);
QByteArray ceilingPlanPdf(const CeilingExchange& x, const CeilingLayout& layout, const QDate& date);

// Both write atomically: on failure (FileError) an existing file stays as it was.
void writeCeilingPlanPng(const QString& path, const CeilingExchange& x, const CeilingLayout& layout,
                         const QDate& date);
void writeCeilingPlanPdf(const QString& path, const CeilingExchange& x, const CeilingLayout& layout,
                         const QDate& date);

} // namespace fyl::ceiling
