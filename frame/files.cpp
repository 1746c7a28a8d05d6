// Opening and reading files for the core, failures raised as FileError. Core layer (fylcore).
#include "frame/files.h"

#include "frame/errors.h"

#include <QDir>
#include <QFile>

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

} // namespace fyl
