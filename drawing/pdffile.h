// Writing one painted job as a PDF file on A4, atomically. Drawing layer (fyldraw) with Qt's
// printer support.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QPainter;

namespace fyl {

// Paints a job through Qt's PDF printer at `dpi` on A4 portrait without margins (the pages carry
// their own) into a scratch file; only a finished PDF replaces the file at `path`, so on any error,
// also one that `paint` raises, an old file stays as it was. `kind` names the document in messages
// ("Der Bericht").
void writePdfAtomically(const QString& path, int dpi, const QString& kind,
                        const std::function<void(QPainter&)>& paint);
// The same job's finished PDF as bytes, for a caller that writes it together with other files. The
// draft lies in a folder of its own inside `scratchFolder` (the system's temporary folder when
// empty), so that a caller staging its outputs keeps a killed run's drafts with them.
QByteArray pdfBytes(int dpi, const QString& kind, const std::function<void(QPainter&)>& paint,
                    const QString& scratchFolder = QString());

} // namespace fyl
