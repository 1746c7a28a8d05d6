// Opening and reading files with one wording for their failures, which names the file and the
// system's reason. Core layer (fylcore, QtCore only).
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace fyl {

// Joins a folder and a file or folder name with the platform's separator, whatever separator
// the name starts with ("\ZELK.idx", "/ZELK.idx" and "ZELK.idx" give the same path).
QString joinPath(const QString& folder, const QString& name);

// Opens `file` (a QFile or QSaveFile whose name is set) in `mode`, or raises FileError:
// "<kind> <path> kann nicht geöffnet werden (<reason>)." for reading, "… angelegt …" for writing.
// `kind` says what the file is to the user; empty means "Die Datei".
void openOrThrow(QFileDevice& file, QIODevice::OpenMode mode, const QString& kind = QString());

// The whole content of the file at `path`. A file that cannot be opened or read to its end
// raises FileError, so a failed read never passes for a short or empty file.
QByteArray readWholeFile(const QString& path);
// The same for an input whose size no sane file of its kind exceeds: a file larger than
// `maxBytes` is refused before it is read, the message naming `kind` ("Das Raumbuch") and the
// limit, so that a wrong or damaged file cannot exhaust the memory.
QByteArray readWholeFile(const QString& path, qint64 maxBytes, const QString& kind);

// Writes `bytes` as the whole new content of `path`, atomically: on any failure FileError is
// raised ("<kind> <path> kann nicht geschrieben werden (<reason>).") and an existing file is left
// as it was. Every file the program writes goes through here.
void writeFileAtomically(const QString& path, const QByteArray& bytes, const QString& kind = QString());

// Writes all of `bytes` into the open `file` and flushes it, or raises FileError as
// writeFileAtomically does, with the system's reason (a full disk as such, not as a short write).
void writeAllOrThrow(QFileDevice& file, const QByteArray& bytes, const QString& kind = QString());

// The system's reason for a failed file operation, given as the system words it ("No space left
// on device"), in the program's language where it is one of the common ones; otherwise as given.
QString systemReason(const QString& systemText);

// Whether `name` names a file inside the folder it is joined to: not empty, no folder separator,
// no drive, not "." or "..", no blanks at its ends. Names read from a catalogue or a project file
// pass this before a document is opened, so that none leads out of the program's folders.
bool isPlainFileName(const QString& name);

// A name (a room's, a project's) as a file name without extension that stays inside its folder
// on Linux and Windows alike: no separators or forbidden characters, no leading dots, no trailing
// dots or blanks, no device name, of limited length; `fallback` where nothing is left.
QString safeFileName(const QString& name, const QString& fallback = QStringLiteral("Raum"));

// Writes `files` (name -> bytes) into `folder`, creating it when missing, and removes the files
// of the folder named in `removed`, as one set: all are written into a staging folder inside
// `folder` and moved into place (the removed ones moved aside) only when every one succeeded. A
// failure raises FileError saying what failed and leaves the files that were in `folder` as they
// were. Files of the folder that the set does not name stay untouched. A process killed part way
// leaves each named file either whole old or whole new (or missing if it was new or removed).
// `check`, when given, is run on the staging folder once every file is written there; what it
// raises stops the set before anything is moved into place.
void writeFileSet(const std::map<QString, QByteArray>& files, const QString& folder,
                  const std::function<void(const QString& stagingFolder)>& check = {},
                  const QStringList& removed = {});

// Writes many sets of files into one folder, each as writeFileSet writes one, from several threads
// at once if need be; for a run that writes a set per room. The folder is made, listed and cleared
// of killed runs' working folders once, and one staging folder serves every set, so a set costs
// only the writing of its files. The sets must name different files (distinct names, also without
// case): no set checks its files against another's. A folder that cannot be made fails each set.
class FileSetWriter {
public:
    explicit FileSetWriter(const QString& folder);
    ~FileSetWriter();
    FileSetWriter(const FileSetWriter&) = delete;
    FileSetWriter& operator=(const FileSetWriter&) = delete;
    // Whether the folder held a file (or a link to one) of this name when the writer was made.
    bool heldBefore(const QString& name) const;
    // As writeFileSet(files, folder, {}, removed).
    void write(const std::map<QString, QByteArray>& files, const QStringList& removed = {});

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// The outputs of one command, each a path with its bytes, written all or none: each is staged
// beside its target (inside the target's folder, which must exist) and they are moved into place
// together, as writeFileSet does for one folder. A failure raises FileError and leaves every target
// as it was.
void writeFilesTogether(const std::vector<std::pair<QString, QByteArray>>& files);

// A hidden working folder ".ZELK-<purpose>-XXXXXX" inside `folder`, removed with its content when
// the object goes. A lock inside tells other runs that it is in use. Making one first removes the
// working folders that killed runs left in `folder`: older than this run, held by no run, and not
// kept for files that could not be put back.
class WorkFolder {
public:
    WorkFolder(const QString& folder, const QString& purpose);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    bool isValid() const;
    QString errorString() const;
    QString path() const;
    QString filePath(const QString& name) const;
    // Stays when the object goes, and no later run removes it: it holds what is left of files.
    void keep();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// Whether two paths name the same file, compared by their canonical paths (symbolic links and
// "..", resolved) and, where both exist, by identity (a hard link). A path that does not exist yet
// is compared by its canonical folder and its name.
bool sameFile(const QString& a, const QString& b);

// A command's outputs must not replace one of its inputs nor each other. Returns the message for
// the first output that would, naming both; empty when none does.
QString outputClash(const QStringList& inputs, const QStringList& outputs);

} // namespace fyl
