// Opening, reading and atomically writing files for the core, failures raised as FileError. Core layer
// (fylcore).
#include "frame/files.h"

#include "frame/errors.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace fyl {

void openOrThrow(QFileDevice& file, QIODevice::OpenMode mode, const QString& kind) {
    if (file.open(mode))
        return;
    const QString what = kind.isEmpty() ? QStringLiteral("Die Datei") : kind;
    const QString path = QDir::toNativeSeparators(file.fileName());
    const QString failed =
        (mode & QIODevice::WriteOnly) ? QStringLiteral("angelegt") : QStringLiteral("geöffnet");
    throw FileError(what + QLatin1Char(' ') + path + QStringLiteral(" kann nicht ") + failed +
                    QStringLiteral(" werden (") + file.errorString() + QStringLiteral(")."));
}

QByteArray readWholeFile(const QString& path) {
    QFile file(path);
    openOrThrow(file, QIODevice::ReadOnly);
    const QByteArray all = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Die Datei %1 kann nicht gelesen werden (%2).")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
    return all;
}

void writeFileAtomically(const QString& path, const QByteArray& bytes, const QString& kind) {
    QSaveFile file(path);
    openOrThrow(file, QIODevice::WriteOnly, kind);
    // commit() overlooks a failure to flush the buffered bytes and would put the cut-off file in
    // place of the old one (QTBUG-75077), so the flush is done and checked first.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        throw FileError((kind.isEmpty() ? QStringLiteral("Die Datei") : kind) + QLatin1Char(' ') +
                        QDir::toNativeSeparators(path) + QStringLiteral(" kann nicht geschrieben werden (") +
                        file.errorString() + QStringLiteral(")."));
}

} // namespace fyl
