// Opening, reading and atomically writing files for the core, failures raised as FileError. Core layer
// (fylcore).
#include "frame/files.h"

#include "frame/errors.h"

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace fyl {

QString joinPath(const QString& folder, const QString& name) {
    QString tail = name;
    while (tail.startsWith(QLatin1Char('\\')) || tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    tail.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString head = folder;
    while (head.size() > 1 && (head.endsWith(QLatin1Char('/')) || head.endsWith(QLatin1Char('\\'))))
        head.chop(1);
    if (tail.isEmpty())
        return QDir::toNativeSeparators(head);
    return QDir::toNativeSeparators(head + QLatin1Char('/') + tail);
}

QString systemReason(const QString& systemText) {
    // Qt words some of these itself, in English whatever the locale; the others are the C
    // library's, in the locale's language.
    struct Known {
        int code;
        const char* english;
        const char* ours;
    };
    static const Known known[] = {
        {ENOSPC, "No space left on device", "kein Speicherplatz mehr auf dem Datenträger"},
#ifdef EDQUOT
        {EDQUOT, "Disk quota exceeded", "das Speicherkontingent ist erschöpft"},
#endif
        {EACCES, "Permission denied", "keine Berechtigung"},
        {EPERM, "Operation not permitted", "der Vorgang ist nicht erlaubt"},
        {EROFS, "Read-only file system", "der Datenträger ist schreibgeschützt"},
        {ENOENT, "No such file or directory", "die Datei oder der Ordner existiert nicht"},
        {ENOTDIR, "Not a directory", "ein Teil des Pfades ist kein Ordner"},
        {EISDIR, "Is a directory", "der Pfad ist ein Ordner"},
        {EIO, "Input/output error", "Ein-/Ausgabefehler des Datenträgers"},
        {EFBIG, "File too large", "die Datei ist zu groß"},
        {ENAMETOOLONG, "File name too long", "der Dateiname ist zu lang"},
        {EMFILE, "Too many open files", "zu viele offene Dateien"},
        {ENFILE, "Too many open files in system", "zu viele offene Dateien im System"},
        {EEXIST, "File exists", "die Datei existiert bereits"},
        {ENOTEMPTY, "Directory not empty", "der Ordner ist nicht leer"},
        {EBUSY, "Device or resource busy", "die Datei oder das Gerät ist belegt"},
    };
    const QString text = systemText.trimmed();
    for (const Known& k : known)
        if (text == QLatin1String(k.english) ||
            text == QString::fromLocal8Bit(std::generic_category().message(k.code)))
            return QString::fromUtf8(k.ours);
    return text.isEmpty() ? QStringLiteral("unbekannter Grund") : text;
}

void openOrThrow(QFileDevice& file, QIODevice::OpenMode mode, const QString& kind) {
    if (file.open(mode))
        return;
    const QString what = kind.isEmpty() ? QStringLiteral("Die Datei") : kind;
    const QString path = QDir::toNativeSeparators(file.fileName());
    const QString failed =
        (mode & QIODevice::WriteOnly) ? QStringLiteral("angelegt") : QStringLiteral("geöffnet");
    throw FileError(what + QLatin1Char(' ') + path + QStringLiteral(" kann nicht ") + failed +
                    QStringLiteral(" werden (") + systemReason(file.errorString()) + QStringLiteral(")."));
}

QByteArray readWholeFile(const QString& path) {
    QFile file(path);
    // Read in one piece into the result: a buffered file first fills a 16 KB buffer of its own.
    openOrThrow(file, QIODevice::ReadOnly | QIODevice::Unbuffered);
    QByteArray all = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Die Datei %1 kann nicht gelesen werden (%2).")
                            .arg(QDir::toNativeSeparators(path), systemReason(file.errorString())));
    return all;
}

QByteArray readWholeFile(const QString& path, qint64 maxBytes, const QString& kind) {
    const QString what = kind.isEmpty() ? QStringLiteral("Die Datei") : kind;
    const auto tooLarge = [&](const QString& size) {
        return FileError(QStringLiteral("%1 %2 ist mit %3 Bytes größer als jede brauchbare Datei dieser Art "
                                        "(höchstens %4 Bytes); sie wird nicht gelesen.")
                             .arg(what, QDir::toNativeSeparators(path), size, QString::number(maxBytes)));
    };
    QFile file(path);
    openOrThrow(file, QIODevice::ReadOnly | QIODevice::Unbuffered, kind);
    if (file.size() > maxBytes)
        throw tooLarge(QString::number(file.size()));
    // Read in pieces up to the limit: a device or a pipe tells no size, and a file may grow.
    QByteArray all;
    all.reserve(static_cast<qsizetype>(std::min(file.size(), maxBytes)));
    std::vector<char> piece(std::size_t{64} << 10);
    for (;;) {
        const qint64 got = file.read(piece.data(), static_cast<qint64>(piece.size()));
        if (got < 0)
            throw FileError(QStringLiteral("Die Datei %1 kann nicht gelesen werden (%2).")
                                .arg(QDir::toNativeSeparators(path), systemReason(file.errorString())));
        if (got == 0)
            return all;
        all.append(piece.data(), static_cast<qsizetype>(got));
        if (all.size() > maxBytes)
            throw tooLarge(QStringLiteral("mehr als %1").arg(maxBytes));
    }
}

namespace {

FileError notWritten(const QString& kind, const QString& path, const QString& reason) {
    return FileError((kind.isEmpty() ? QStringLiteral("Die Datei") : kind) + QLatin1Char(' ') +
                     QDir::toNativeSeparators(path) + QStringLiteral(" kann nicht geschrieben werden (") +
                     reason + QStringLiteral(")."));
}

// The system's reason why writing `bytes` into `file` failed, or an empty text when all of them are
// written and flushed. A write that takes only part of the bytes (a disk that fills up) sets no
// error of its own; the rest is written again, and that write tells why it fails.
QString writeAll(QFileDevice& file, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return systemReason(file.errorString());
        done += written;
    }
    return file.flush() ? QString() : systemReason(file.errorString());
}

// writeFileAtomically, its messages naming `shown` (the file the user asked for, where the bytes
// go to a staging file first).
void writeAtomically(const QString& path, const QByteArray& bytes, const QString& kind, const QString& shown) {
    QSaveFile file(path);
    // Unbuffered, so that each write reaches the system and a full disk is told by its reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileError((kind.isEmpty() ? QStringLiteral("Die Datei") : kind) + QLatin1Char(' ') +
                        QDir::toNativeSeparators(shown) + QStringLiteral(" kann nicht angelegt werden (") +
                        systemReason(file.errorString()) + QStringLiteral(")."));
    // commit() overlooks a failure to flush the buffered bytes and would put the cut-off file in
    // place of the old one (QTBUG-75077), so the flush is done and checked first.
    if (const QString reason = writeAll(file, bytes); !reason.isEmpty())
        throw notWritten(kind, shown, reason);
    if (!file.commit())
        throw notWritten(kind, shown, systemReason(file.errorString()));
}

} // namespace

void writeFileAtomically(const QString& path, const QByteArray& bytes, const QString& kind) {
    writeAtomically(path, bytes, kind, path);
}

void writeAllOrThrow(QFileDevice& file, const QByteArray& bytes, const QString& kind) {
    if (const QString reason = writeAll(file, bytes); !reason.isEmpty())
        throw notWritten(kind, file.fileName(), reason);
}

bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name == name.trimmed() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char(':')) &&
           name != QLatin1String(".") && name != QLatin1String("..");
}

namespace {

std::filesystem::path fileSystemPath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
#else
    const QByteArray encoded = QFile::encodeName(path);
    return std::filesystem::path(std::string(encoded.constData(), static_cast<std::size_t>(encoded.size())));
#endif
}

// Renames `from` to `to`, replacing a file there in one step (QFile::rename refuses to replace).
// Returns the system's reason on failure, else an empty text.
QString renameOver(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(fileSystemPath(from), fileSystemPath(to), error);
    return error ? systemReason(QString::fromLocal8Bit(error.message())) : QString();
}

// Gives the file `path` the second name `keep` without taking the first away: a hard link, a copy
// of a symbolic link, or where the file system has no hard links a copy of the file.
QString keepAside(const QString& path, const QString& keep, bool symLink) {
    std::error_code error;
    if (symLink) {
        std::filesystem::copy_symlink(fileSystemPath(path), fileSystemPath(keep), error);
    } else {
        std::filesystem::create_hard_link(fileSystemPath(path), fileSystemPath(keep), error);
        if (error) {
            error.clear();
            std::filesystem::copy_file(fileSystemPath(path), fileSystemPath(keep), error);
        }
    }
    return error ? systemReason(QString::fromLocal8Bit(error.message())) : QString();
}

} // namespace

namespace {

// When this run began: working folders older than that belong to runs before it.
const QDateTime kRunStart = QDateTime::currentDateTimeUtc();
const QString kLockName = QStringLiteral("in-Arbeit.lock");
const QString kKeptName = QStringLiteral("bisherige-Dateien");

// Removes the working folders of runs that were killed: older than this run (by more than the
// moment between making a folder and locking it) and held by no live process.
void sweepWorkFolders(const QString& folder) {
    const QFileInfoList entries = QDir(folder).entryInfoList(
        {QStringLiteral(".ZELK-*")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        if (entry.lastModified().toUTC().secsTo(kRunStart) < 2 ||
            QFileInfo::exists(joinPath(entry.filePath(), kKeptName)))
            continue;
        QLockFile lock(joinPath(entry.filePath(), kLockName));
        lock.setStaleLockTime(0); // a held lock is stale only when its process is gone
        if (lock.tryLock(0)) {
            lock.unlock(); // its file goes with the folder
            QDir(entry.filePath()).removeRecursively();
        }
    }
}

} // namespace

struct WorkFolder::Parts {
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QLockFile> lock;
};

WorkFolder::WorkFolder(const QString& folder, const QString& purpose) : parts_(std::make_unique<Parts>()) {
    sweepWorkFolders(folder);
    parts_->dir = std::make_unique<QTemporaryDir>(joinPath(folder, QStringLiteral(".ZELK-%1-XXXXXX").arg(purpose)));
    if (parts_->dir->isValid()) {
        parts_->lock = std::make_unique<QLockFile>(parts_->dir->filePath(kLockName));
        parts_->lock->setStaleLockTime(0);
        parts_->lock->tryLock(0);
    }
}

WorkFolder::~WorkFolder() {
    parts_->lock.reset(); // unlocked before the folder goes
    parts_->dir.reset();
}

bool WorkFolder::isValid() const {
    return parts_->dir->isValid();
}
QString WorkFolder::errorString() const {
    return parts_->dir->errorString();
}
QString WorkFolder::path() const {
    return parts_->dir->path();
}
QString WorkFolder::filePath(const QString& name) const {
    return parts_->dir->filePath(name);
}

void WorkFolder::keep() {
    parts_->dir->setAutoRemove(false);
    QFile marker(parts_->dir->filePath(kKeptName));
    if (marker.open(QIODevice::WriteOnly))
        marker.write("Die bisherigen Dateien, die nicht zurückgelegt werden konnten.\n");
}

namespace {

// One output on its way: written into the staging folder beside its target, then moved over it;
// or, for a file the set removes, only moved aside.
struct StagedOutput {
    QString target;
    QString staged; // empty for a file the set removes
    QString aside;  // where the old file keeps a second name while the new one takes its place
    bool keptAside = false;
    bool placed = false;
};

// The staging folders of one set, or of every set a FileSetWriter writes: one inside each target
// folder, made on first use.
class StagingFolders {
public:
    WorkFolder& in(const QString& folder, const QString& unchanged) {
        const std::lock_guard<std::mutex> guard(lock_);
        auto& staging = folders_[folder];
        if (!staging) {
            // Inside the target's folder, so that putting the file in place takes only renames on
            // one file system, each of which can be undone.
            staging = std::make_unique<WorkFolder>(folder, QStringLiteral("neu"));
            if (!staging->isValid()) {
                const QString reason = systemReason(staging->errorString());
                staging.reset();
                throw FileError(QStringLiteral("Im Ordner %1 kann kein Arbeitsordner angelegt werden (%2).")
                                    .arg(QDir::toNativeSeparators(folder), reason) +
                                unchanged);
            }
            // The new files and the old ones kept aside in folders of their own, whatever they are
            // named.
            for (const QString& part : {QStringLiteral("neu"), QStringLiteral("alt")})
                if (!QDir().mkdir(staging->filePath(part))) {
                    const QString shown = QDir::toNativeSeparators(staging->filePath(part));
                    staging.reset();
                    throw FileError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(shown) +
                                    unchanged);
                }
        }
        return *staging;
    }
    // The old files must not be deleted with the staging folders: they are all that is left.
    void keepAll() {
        const std::lock_guard<std::mutex> guard(lock_);
        for (auto& entry : folders_)
            if (entry.second)
                entry.second->keep();
    }

private:
    std::mutex lock_;
    std::map<QString, std::unique_ptr<WorkFolder>> folders_;
};

// Stages every file, runs `check` on the staged ones (target -> staged path), then moves them into
// place together and the files of `removed` out of the way. `unchanged` ends every message: what
// stays as it was. `sameFileChecked`: the caller made sure that no two targets are one file.
// Staging folders that outlive the set (`lasting`) are left without the set's files.
void placeTogether(const std::vector<std::pair<QString, QByteArray>>& files, const QStringList& removed,
                   const QString& unchanged, const std::function<void(const std::map<QString, QString>&)>& check,
                   StagingFolders& stagings, bool lasting, bool sameFileChecked) {
    std::vector<StagedOutput> outputs;
    std::map<QString, QString> stagedOf;
    const auto add = [&](const QString& path) -> StagedOutput& {
        const QFileInfo target(path);
        if (!sameFileChecked)
            for (const StagedOutput& earlier : outputs)
                if (sameFile(earlier.target, path))
                    throw FileError(QStringLiteral("Die Datei %1 soll zweimal geschrieben werden.")
                                        .arg(QDir::toNativeSeparators(path)) +
                                    unchanged);
        WorkFolder& staging = stagings.in(target.absolutePath(), unchanged);
        StagedOutput& out = outputs.emplace_back();
        out.target = path;
        out.staged = joinPath(staging.filePath(QStringLiteral("neu")), target.fileName());
        out.aside = joinPath(staging.filePath(QStringLiteral("alt")), target.fileName());
        return out;
    };
    // A lasting staging folder keeps nothing of a set that is done, placed or not.
    const auto clearStaged = [&] {
        if (!lasting)
            return;
        for (const StagedOutput& out : outputs) {
            if (!out.staged.isEmpty() && !out.placed)
                QFile::remove(out.staged);
            if (out.keptAside)
                QFile::remove(out.aside);
        }
    };
    try {
        for (const auto& [path, bytes] : files) {
            const StagedOutput& out = add(path);
            try {
                writeAtomically(out.staged, bytes, QString(), path);
            } catch (const FileError& e) {
                throw FileError(e.message() + unchanged);
            }
            stagedOf[path] = out.staged;
        }
        for (const QString& path : removed) {
            const QFileInfo old(path);
            if (old.isFile() || old.isSymLink())
                add(path).staged.clear();
        }
        if (check)
            check(stagedOf);
    } catch (...) {
        clearStaged();
        throw;
    }

    // Each old file keeps a second name in the aside folder, then the new one is renamed over it
    // in one step: a run killed at any moment leaves every name either its old or its new file.
    // A failure renames the kept old files back, so the targets never hold a mix of old and new.
    QString failure;
    for (StagedOutput& out : outputs) {
        const QFileInfo old(out.target);
        if (old.isFile() || old.isSymLink()) {
            const QString reason = keepAside(out.target, out.aside, old.isSymLink());
            if (!reason.isEmpty()) {
                failure = QStringLiteral("Die bisherige Datei %1 kann nicht beiseitegelegt werden (%2).")
                              .arg(QDir::toNativeSeparators(out.target), reason);
                break;
            }
            out.keptAside = true;
        }
        if (out.staged.isEmpty()) {
            std::error_code error;
            std::filesystem::remove(fileSystemPath(out.target), error);
            if (error) {
                failure = QStringLiteral("Die Datei %1 kann nicht entfernt werden (%2).")
                              .arg(QDir::toNativeSeparators(out.target),
                                   systemReason(QString::fromLocal8Bit(error.message())));
                break;
            }
        } else if (const QString reason = renameOver(out.staged, out.target); !reason.isEmpty()) {
            failure = QStringLiteral("Die Datei %1 kann nicht an ihren Platz gebracht werden (%2).")
                          .arg(QDir::toNativeSeparators(out.target), reason);
            break;
        }
        out.placed = true;
    }
    if (failure.isEmpty()) {
        clearStaged(); // otherwise the old files go with the staging folders
        return;
    }

    bool restored = true;
    QStringList keptIn;
    for (auto it = outputs.rbegin(); it != outputs.rend(); ++it) {
        if (!it->placed)
            continue;
        const bool back =
            it->keptAside ? renameOver(it->aside, it->target).isEmpty() : QFile::remove(it->target);
        if (back)
            it->keptAside = false; // its second name is its name again
        if (!back && it->keptAside)
            keptIn << QDir::toNativeSeparators(QFileInfo(it->aside).absolutePath());
        restored = back && restored;
    }
    if (!restored) {
        stagings.keepAll();
        keptIn.removeDuplicates();
        throw FileError(failure + QStringLiteral(" Die bisherigen Dateien liegen in %1.")
                                      .arg(keptIn.isEmpty() ? QStringLiteral("den Arbeitsordnern")
                                                            : keptIn.join(QStringLiteral(", "))));
    }
    clearStaged();
    throw FileError(failure + unchanged);
}

QString unchangedIn(const QString& folder) {
    return QStringLiteral(" Die Dateien in %1 bleiben unverändert.").arg(QDir::toNativeSeparators(folder));
}

} // namespace

void writeFileSet(const std::map<QString, QByteArray>& files, const QString& folder,
                  const std::function<void(const QString& stagingFolder)>& check, const QStringList& removed) {
    if (!QDir().mkpath(folder))
        throw FileError(
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(QDir::toNativeSeparators(folder)));
    std::vector<std::pair<QString, QByteArray>> paths;
    paths.reserve(files.size());
    for (const auto& [name, bytes] : files)
        paths.emplace_back(joinPath(folder, name), bytes);
    QStringList removedPaths;
    for (const QString& name : removed)
        removedPaths << joinPath(folder, name);
    const auto checkStaged = [&check](const std::map<QString, QString>& stagedOf) {
        if (check && !stagedOf.empty())
            check(QFileInfo(stagedOf.begin()->second).absolutePath());
    };
    StagingFolders stagings;
    placeTogether(paths, removedPaths, unchangedIn(folder), checkStaged, stagings, false, false);
}

struct FileSetWriter::Parts {
    QString folder; // absolute, so that no set asks for the current directory
    std::optional<QString> unusable; // why the folder cannot be made
    QSet<QString> heldBefore;
    StagingFolders stagings;
};

FileSetWriter::FileSetWriter(const QString& folder) : parts_(std::make_unique<Parts>()) {
    parts_->folder = QFileInfo(folder).absoluteFilePath();
    if (!QDir().mkpath(parts_->folder)) {
        parts_->unusable = QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                               .arg(QDir::toNativeSeparators(folder));
        return;
    }
    for (const QString& name : QDir(parts_->folder).entryList(QDir::Files | QDir::Hidden))
        parts_->heldBefore.insert(name);
}

FileSetWriter::~FileSetWriter() = default;

bool FileSetWriter::heldBefore(const QString& name) const {
    return parts_->heldBefore.contains(name);
}

void FileSetWriter::write(const std::map<QString, QByteArray>& files, const QStringList& removed) {
    if (parts_->unusable)
        throw FileError(*parts_->unusable);
    std::vector<std::pair<QString, QByteArray>> paths;
    paths.reserve(files.size());
    for (const auto& [name, bytes] : files)
        paths.emplace_back(joinPath(parts_->folder, name), bytes);
    QStringList removedPaths;
    for (const QString& name : removed)
        removedPaths << joinPath(parts_->folder, name);
    placeTogether(paths, removedPaths, unchangedIn(parts_->folder), {}, parts_->stagings, true, true);
}

void writeFilesTogether(const std::vector<std::pair<QString, QByteArray>>& files) {
    StagingFolders stagings;
    placeTogether(files, {}, QStringLiteral(" Keine der Dateien wurde geschrieben oder verändert."), {}, stagings,
                  false, false);
}

namespace {

// The canonical form of a path that may not exist yet: its folder's canonical path and its name.
QString canonicalOf(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                            : QDir(folder).filePath(info.fileName());
}

} // namespace

bool sameFile(const QString& a, const QString& b) {
    if (canonicalOf(a) == canonicalOf(b))
        return true;
    std::error_code error;
    return QFileInfo::exists(a) && QFileInfo::exists(b) &&
           std::filesystem::equivalent(fileSystemPath(a), fileSystemPath(b), error) && !error;
}

namespace {

// What a path names, worked out once per path so that a run with thousands of outputs compares
// them without asking the file system again for every pair: the canonical name (a missing file by
// its folder's), and for an existing file what the file system itself knows it by, which a hard
// link shares.
struct PathIdentity {
    QString canonical;
    bool exists = false;
#ifdef Q_OS_UNIX
    dev_t device = 0;
    ino_t inode = 0;
#endif
};

class PathResolver {
public:
    PathIdentity of(const QString& path) {
        PathIdentity id;
        const QFileInfo info(path);
        id.exists = info.exists();
        if (id.exists) {
            id.canonical = info.canonicalFilePath();
#ifdef Q_OS_UNIX
            struct stat st {};
            if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
                id.device = st.st_dev;
                id.inode = st.st_ino;
            }
#endif
            return id;
        }
        const QString folder = info.absolutePath();
        auto known = folders_.find(folder);
        if (known == folders_.end())
            known = folders_.insert(folder, QDir(folder).canonicalPath());
        id.canonical = known->isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                                        : QDir(*known).filePath(info.fileName());
        return id;
    }

private:
    QHash<QString, QString> folders_; // absolute folder → canonical folder
};

bool sameIdentity(const PathIdentity& a, const QString& pathA, const PathIdentity& b, const QString& pathB) {
    if (a.canonical == b.canonical)
        return true;
    if (!a.exists || !b.exists)
        return false;
#ifdef Q_OS_UNIX
    (void)pathA;
    (void)pathB;
    return a.inode != 0 && a.device == b.device && a.inode == b.inode;
#else
    std::error_code error;
    return std::filesystem::equivalent(fileSystemPath(pathA), fileSystemPath(pathB), error) && !error;
#endif
}

} // namespace

QString outputClash(const QStringList& inputs, const QStringList& outputs) {
    PathResolver resolver;
    std::vector<PathIdentity> in;
    in.reserve(static_cast<std::size_t>(inputs.size()));
    for (const QString& input : inputs)
        in.push_back(resolver.of(input));
    // Outputs by canonical name, and existing ones by what the file system knows them by: each new
    // output is looked up, not compared with every earlier one.
    QHash<QString, qsizetype> byName;
    std::vector<PathIdentity> out;
    out.reserve(static_cast<std::size_t>(outputs.size()));
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const PathIdentity id = resolver.of(outputs[i]);
        const QString shown = QDir::toNativeSeparators(outputs[i]);
        for (qsizetype k = 0; k < inputs.size(); ++k)
            if (sameIdentity(id, outputs[i], in[static_cast<std::size_t>(k)], inputs[k]))
                return QStringLiteral("Die Ausgabe %1 ist dieselbe Datei wie die Eingabe %2; sie würde sie "
                                      "ersetzen.")
                    .arg(shown, QDir::toNativeSeparators(inputs[k]));
        std::optional<qsizetype> earlier;
        if (const auto named = byName.constFind(id.canonical); named != byName.constEnd())
            earlier = *named;
        // A file that exists may be an earlier output under another name (a hard link): those few
        // are compared one by one.
        for (qsizetype j = 0; !earlier && id.exists && j < i; ++j)
            if (out[static_cast<std::size_t>(j)].exists &&
                sameIdentity(id, outputs[i], out[static_cast<std::size_t>(j)], outputs[j]))
                earlier = j;
        if (earlier)
            return QStringLiteral("Die Ausgaben %1 und %2 sind dieselbe Datei; die eine würde die andere "
                                  "ersetzen.")
                .arg(QDir::toNativeSeparators(outputs[*earlier]), shown);
        byName.insert(id.canonical, i);
        out.push_back(id);
    }
    return QString();
}

namespace {

bool isDeviceName(const QString& name) {
    // Windows takes the part before the first dot, blanks before it ignored, as the device.
    QString base = name.section(QLatin1Char('.'), 0, 0);
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    base = base.toUpper();
    static const QStringList devices{QStringLiteral("CON"),    QStringLiteral("PRN"),
                                     QStringLiteral("AUX"),    QStringLiteral("NUL"),
                                     QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (devices.contains(base))
        return true;
    if (base.size() == 4 &&
        (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT")))) {
        const QChar d = base[3];
        // COM¹ … LPT³ are devices too.
        return (d >= QLatin1Char('1') && d <= QLatin1Char('9')) || d == QChar(0x00B9) || d == QChar(0x00B2) ||
               d == QChar(0x00B3);
    }
    return false;
}

// Names are cut to this many characters: with " (1234)" and ".zol" even a name of
// three-byte characters stays below the 255 bytes most file systems allow.
constexpr int kMaxNameLength = 64;

QString cutName(QString name) {
    if (name.size() > kMaxNameLength) {
        int cut = kMaxNameLength;
        if (name[cut - 1].isHighSurrogate())
            --cut;
        name.truncate(cut);
    }
    while (!name.isEmpty() && (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' '))))
        name.chop(1);
    return name;
}

} // namespace

QString safeFileName(const QString& roomName, const QString& fallback) {
    QString name;
    name.reserve(roomName.size());
    for (const QChar c : roomName) {
        const char16_t u = c.unicode();
        const bool forbidden = u < 0x20 || u == 0x7F || QStringLiteral("<>:\"/\\|?*").contains(c);
        name += forbidden ? QLatin1Char('_') : c;
    }
    name = name.trimmed();
    while (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char(' ')))
        name.remove(0, 1);
    name = cutName(name);
    if (name.isEmpty())
        return fallback;
    if (isDeviceName(name))
        name.prepend(QLatin1Char('_'));
    return name;
}

} // namespace fyl
