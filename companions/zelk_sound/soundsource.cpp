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

// The file `name` in `folder`, or one whose name differs only in case: the newest of them, since
// the main program has just written the one that counts.
std::optional<QString> findInFolder(const QString& folder, const QString& name) {
    const QFileInfo exact(joinPath(folder, name));
    if (exact.isFile())
        return native(exact.filePath());
    std::optional<QFileInfo> best;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
        if (entry.fileName().compare(name, Qt::CaseInsensitive) == 0 &&
            (!best || entry.lastModified() > best->lastModified()))
            best = entry;
    if (best)
        return native(best->filePath());
    return std::nullopt;
}

} // namespace

QString locateSoundFile(const QString& argument, const std::optional<QString>& temporaryFolder) {
    const QString name = argument.isEmpty() ? QString::fromLatin1(kSoundExchangeName) : argument;
    const bool bare = QFileInfo(name).fileName() == name && !name.contains(QLatin1Char('\\'));
    if (!bare) {
        if (QFileInfo(name).isFile())
            return native(name);
        throw FileError(QStringLiteral("Die Austauschdatei %1 gibt es nicht.").arg(native(name)));
    }
    if (temporaryFolder)
        if (const auto found = findInFolder(*temporaryFolder, name))
            return *found;
    if (QFileInfo(name).isFile())
        return native(name);
    if (!temporaryFolder)
        throw FileError(
            QStringLiteral("Die Austauschdatei %1 wurde nicht gefunden: es ist kein Arbeitsverzeichnis "
                           "gespeichert, dessen Ordner \"tmp\" sie enthalten könnte, und im Ordner %2 "
                           "liegt sie auch nicht.")
                .arg(name, QDir::toNativeSeparators(QDir::currentPath())));
    throw FileError(
        QStringLiteral("Die Austauschdatei %1 gibt es nicht.").arg(native(joinPath(*temporaryFolder, name))));
}

SoundExchange readSoundFile(const QString& path) {
    const QByteArray bytes = readWholeFile(path);
    try {
        return readSoundExchange(bytes);
    } catch (const FileError& e) {
        throw FileError(QStringLiteral("Die Austauschdatei %1 ist nicht lesbar: %2")
                            .arg(QDir::toNativeSeparators(path), e.message()));
    }
}

QString proposedPdfFolder(const QString& exchangePath) {
    const QDir folder = QFileInfo(exchangePath).absoluteDir();
    const QFileInfo projects(folder.absoluteFilePath(QStringLiteral("../Projekte")));
    return QDir::toNativeSeparators(projects.isDir() ? projects.canonicalFilePath() : folder.absolutePath());
}

} // namespace fyl::sound
