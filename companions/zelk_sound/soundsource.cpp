// Finding and reading the exchange file of the sound tool. Core layer (fylsound).
#include "companions/zelk_sound/soundsource.h"

#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"

#include <QDir>
#include <QFileInfo>

namespace fyl::sound {

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

QString locateSoundFile(const QString& argument, const std::optional<QString>& temporaryFolder) {
    return native(locateExchangeFile(argument, kSoundExchangeName, temporaryFolder));
}

SoundExchange readSoundFile(const QString& path) {
    const QByteArray bytes = readWholeFile(path, kMaxExchangeFileBytes, QStringLiteral("Die Austauschdatei"));
    try {
        return readSoundExchange(bytes);
    } catch (const FileError& e) {
        throw FileError(QStringLiteral("Die Austauschdatei %1 ist nicht lesbar: %2")
                            .arg(QDir::toNativeSeparators(path), e.message()));
    }
}

QString proposedPdfFolder(const QString& exchangePath, const std::optional<QString>& projectFolder) {
    if (projectFolder && QFileInfo(*projectFolder).isDir())
        return QDir::toNativeSeparators(*projectFolder);
    const QDir folder = QFileInfo(exchangePath).absoluteDir();
    const QFileInfo projects(folder.absoluteFilePath(QStringLiteral("../Projekte")));
    return QDir::toNativeSeparators(projects.isDir() ? projects.canonicalFilePath() : folder.absolutePath());
}

} // namespace fyl::sound
