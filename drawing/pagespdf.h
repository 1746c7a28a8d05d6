// Writing display-list pages as a PDF document in memory (the catalogue's data sheets). Drawing
// layer (fyldraw).
#pragma once

#include "drawing/displaylist.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace fyl {

// The pages on A4 at `dpi`, one PDF page each. Every picture is read before the first stroke: a
// missing or undecodable one raises FileError naming it, so no sheet ships without its sketch.
QByteArray pagesAsPdf(const std::vector<DisplayList>& pages, int dpi, const QString& title);

} // namespace fyl
