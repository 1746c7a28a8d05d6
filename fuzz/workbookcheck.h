// Whether a workbook (.xlsx, a zip archive of XML parts) holds well-formed XML in every part.
// Fuzzing harness over QtCore and zlib.
#pragma once

#include <QByteArray>
#include <QString>

namespace fyl::fuzz {

// Empty when every ".xml" and ".rels" part of the archive parses as XML; otherwise the part and
// what is wrong with it (also an archive that cannot be read).
QString malformedWorkbookPart(const QByteArray& xlsx);

} // namespace fyl::fuzz
