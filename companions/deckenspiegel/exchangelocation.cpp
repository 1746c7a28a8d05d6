// Finding and reading the ceiling-plan exchange file. Core layer of the ceiling-plan tool
// (fylceiling).
#include "companions/deckenspiegel/exchangelocation.h"

#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"

#include <QDir>
#include <QFileInfo>

namespace fyl::ceiling {

namespace {

// The file in `folder` whose name is `name` but for case; the program's own spelling first when
// several differ only in case.
std::optional<QString> matchIgnoringCase(const QString& folder, const QString& name) {
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QStringList matches;
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            matches << entry;
    if (matches.isEmpty())
        return std::nullopt;
    const QString own = QString::fromLatin1(kCeilingExchangeName);
    return dir.filePath(matches.contains(own) ? own : matches.constFirst());
}

} // namespace

QString locateExchangeFile(const QString& argument, const std::optional<QString>& temporaryFolder) {
    const QString name = argument.isEmpty() ? QString::fromLatin1(kCeilingExchangeName) : argument;
    const bool bare = !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
    if (!bare) {
        if (QFileInfo(name).isFile())
            return name;
        throw FileError(
            QStringLiteral("Die Austauschdatei %1 gibt es nicht.").arg(QDir::toNativeSeparators(name)));
    }
    if (temporaryFolder) {
        const QString exact = joinPath(*temporaryFolder, name);
        if (QFileInfo(exact).isFile())
            return exact;
        if (const auto match = matchIgnoringCase(*temporaryFolder, name))
            return QDir::toNativeSeparators(*match);
    }
    if (QFileInfo(name).isFile())
        return QFileInfo(name).absoluteFilePath();
    if (!temporaryFolder)
        throw FileError(
            QStringLiteral("Die Austauschdatei %1 ist nicht zu finden: es ist kein Arbeitsverzeichnis "
                           "eingestellt (ZELK FYL legt es beim ersten Start fest), und im Ordner %2 "
                           "liegt sie auch nicht.")
                .arg(name, QDir::toNativeSeparators(QDir::currentPath())));
    throw FileError(QStringLiteral("Die Austauschdatei %1 liegt nicht im Ordner %2.")
                        .arg(name, QDir::toNativeSeparators(*temporaryFolder)));
}

CeilingExchange loadCeilingExchange(const QString& path) {
    return readCeilingExchange(readWholeFile(path));
}

} // namespace fyl::ceiling
