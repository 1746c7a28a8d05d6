// Finding or asking for the working directory and creating its folders. Core layer (fylcore).
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

namespace fyl {

class Dialogs;
class TextTable;
struct Folders;

// The registry value that keeps the working directory: organisation "Zelk", application "zol"
// (on Windows the per-user key Software\Zelk\zol), value "Arbeitsverzeichnis".
inline constexpr const char* kWorkingDirectoryKey = "Arbeitsverzeichnis";

// The settings store of the working directory: organisation "Zelk", application "zol". The
// companion tools open the same store to find the exchange files.
std::unique_ptr<QSettings> applicationSettings();

// The projects opened or saved last, as the "Projekt" menu lists them: newest first, at most
// kRecentProjects, each once, files that are gone left out.
inline constexpr int kRecentProjects = 8;
QStringList recentProjects(const QSettings& settings);
// Puts `path` at the head of that list.
void rememberProject(QSettings& settings, const QString& path);

// The temporary folder (working directory + "tmp") of the stored working directory; none while
// the program has not stored one.
std::optional<QString> storedTemporaryFolder(const QSettings& settings);

// The project folder (working directory + "Projekte") of the stored working directory, where the
// companion tools propose their documents; none while none is stored or the folder is missing.
std::optional<QString> storedProjectFolder(const QSettings& settings);

// "c:\ZELK" on Windows, the home folder's "ZELK" elsewhere.
QString defaultWorkingDirectory();

// Finds the working directory, asking the planner once when none is stored, and creates the
// project and temporary folders below it. Messages go through `dialogs` by text entry number.
void SetUpWorkingDirectory(QSettings& settings, const TextTable& texts, Dialogs& dialogs, Folders& folders,
                           const QString& defaultFolder = defaultWorkingDirectory());

} // namespace fyl
