// Windows-1252 text: decoding, encoding and reading the program's CR LF text files. Core layer
// (fylcore).
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

namespace fyl {

// The program's text files (text table, catalogue, exchange files) use the Windows ANSI code
// page 1252. Latin-1 differs from it in 0x80..0x9F (euro sign, typographic quotes, dashes),
// so both directions go through this one table.
QString fromAnsi(QByteArrayView bytes);
QByteArray toAnsi(const QString& text);

// Reads a text file as lines of raw bytes. A line ends at CR LF, LF or CR; the end of the file
// ends the last line even without a terminator, and a terminator at the very end of the file
// does not start a further, empty line. Raises FileError when the file cannot be opened or read,
// or when it is larger than `maxBytes` (the message names it as `kind`), before reading it.
std::vector<QByteArray> readAnsiLines(const QString& path, qint64 maxBytes = qint64{16} << 20,
                                      const QString& kind = QString());

} // namespace fyl
