// Finding or asking for the working directory and creating its folders. Core layer (fylcore).
#include "frame/workdir.h"

#include "frame/ansi.h"
#include "frame/dialogs.h"
#include "frame/files.h"
#include "frame/runstate.h"
#include "frame/texttable.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace fyl {

QString defaultWorkingDirectory() {
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\ZELK");
#else
    return QDir::toNativeSeparators(QDir::homePath() + QStringLiteral("/ZELK"));
#endif
}

std::unique_ptr<QSettings> applicationSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zelk"),
                                       QStringLiteral("zol"));
}

namespace {
const QString kRecentKey = QStringLiteral("ZuletztGeoeffnet");
} // namespace

QStringList recentProjects(const QSettings& settings) {
    QStringList out;
    for (const QString& path : settings.value(kRecentKey).toStringList()) {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (out.size() < kRecentProjects && QFileInfo(absolute).isFile() && !out.contains(absolute))
            out << absolute;
    }
    return out;
}

void rememberProject(QSettings& settings, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = settings.value(kRecentKey).toStringList();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kRecentProjects)
        list.removeLast();
    settings.setValue(kRecentKey, list);
}

namespace {

QString temporaryFolderOf(const QString& working) {
    return joinPath(working, QStringLiteral("\\tmp"));
}

QString projectFolderOf(const QString& working) {
    return joinPath(working, QStringLiteral("\\Projekte"));
}

std::optional<QString> storedWorkingDirectory(const QSettings& settings) {
    const QString stored = settings.value(QString::fromLatin1(kWorkingDirectoryKey)).toString();
    if (stored.trimmed().isEmpty())
        return std::nullopt;
    return stored;
}

// Creates the folder with its missing parents; false when it still does not exist.
bool ensureFolder(const QString& path) {
    QDir().mkpath(path);
    return QFileInfo(path).isDir();
}

} // namespace

void SetUpWorkingDirectory(QSettings& settings, const TextTable& texts, Dialogs& dialogs, Folders& folders,
                           const QString& defaultFolder) {
    const QString key = QString::fromLatin1(kWorkingDirectoryKey);
    // An empty stored value would put the project folder at the root of the drive; it is
    // treated like a missing one and asked for again.
    const QString stored = settings.value(key).toString();
    if (settings.contains(key) && !stored.trimmed().isEmpty()) {
        folders.working = stored;
    } else {
        showText(texts, dialogs, 199);
        FileDialogRequest request;
        request.title = QStringLiteral("Arbeitsverzeichnis wählen");
        // Opened where the default lies, or beside it while it does not exist yet.
        request.folder =
            QFileInfo(defaultFolder).isDir() ? defaultFolder : QFileInfo(defaultFolder).absolutePath();
        const auto chosen = dialogs.chooseFolder(request);
        if (chosen && !chosen->isEmpty())
            folders.working = QDir::toNativeSeparators(QFileInfo(*chosen).absoluteFilePath());
        else
            folders.working = defaultFolder;
        settings.setValue(key, folders.working);
        settings.sync();
    }
    folders.project = projectFolderOf(folders.working);
    folders.temp = temporaryFolderOf(folders.working);
    if (!ensureFolder(folders.project))
        showText(texts, dialogs, 200);
    if (!ensureFolder(folders.temp))
        showText(texts, dialogs, 201);
}

std::optional<QString> storedTemporaryFolder(const QSettings& settings) {
    const std::optional<QString> working = storedWorkingDirectory(settings);
    if (!working)
        return std::nullopt;
    return temporaryFolderOf(*working);
}

std::optional<QString> storedProjectFolder(const QSettings& settings) {
    const std::optional<QString> working = storedWorkingDirectory(settings);
    if (!working)
        return std::nullopt;
    const QString folder = projectFolderOf(*working);
    if (!QFileInfo(folder).isDir())
        return std::nullopt;
    return folder;
}

} // namespace fyl
