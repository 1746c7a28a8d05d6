// Opening and reading files with one wording for their failures, which names the file and the
// system's reason. Core layer (fylcore, QtCore only).
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace fyl {

// Opens `file` (a QFile or QSaveFile whose name is set) in `mode`, or raises FileError:
// "<kind> <path> kann nicht geöffnet werden (<reason>)." for reading, "… angelegt …" for writing.
// `kind` says what the file is to the user; empty means "Die Datei".
void openOrThrow(QFileDevice& file, QIODevice::OpenMode mode, const QString& kind = QString());

// The whole content of the file at `path`. A file that cannot be opened or read to its end
// raises FileError, so a failed read never passes for a short or empty file.
QByteArray readWholeFile(const QString& path);

// Writes `bytes` as the whole new content of `path`, atomically: on any failure FileError is
// raised ("<kind> <path> kann nicht geschrieben werden (<reason>).") and an existing file is left
// as it was. Every file the program writes goes through here.
void writeFileAtomically(const QString& path, const QByteArray& bytes, const QString& kind = QString());

} // namespace fyl
