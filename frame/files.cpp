// Opening, reading and atomically writing files for the core, failures raised as FileError. Core layer
// (fylcore).
#include "frame/files.h"

#include "frame/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <filesystem>
#include <system_error>
#include <vector>

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
    // Read in one piece into the result: a buffered file first fills a 16 KB buffer of its own.
    openOrThrow(file, QIODevice::ReadOnly | QIODevice::Unbuffered);
    QByteArray all = file.readAll();
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
    return error ? QString::fromLocal8Bit(error.message()) : QString();
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
    return error ? QString::fromLocal8Bit(error.message()) : QString();
}

} // namespace

void writeFileSet(const std::map<QString, QByteArray>& files, const QString& folder) {
    const QString shownFolder = QDir::toNativeSeparators(folder);
    if (!QDir().mkpath(folder))
        throw FileError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(shownFolder));
    // The new set is staged inside the folder, so that putting it in place takes only renames on
    // one file system, each of which can be undone.
    QTemporaryDir staging(joinPath(folder, QStringLiteral(".ZELK-neu-XXXXXX")));
    if (!staging.isValid())
        throw FileError(QStringLiteral("Im Ordner %1 kann kein Arbeitsordner angelegt werden (%2).")
                            .arg(shownFolder, staging.errorString()));
    const QString unchanged = QStringLiteral(" Die Dateien in %1 bleiben unverändert.").arg(shownFolder);
    const QString aside = staging.filePath(QStringLiteral("alt"));
    for (const auto& [name, bytes] : files) {
        try {
            writeFileAtomically(staging.filePath(name), bytes);
        } catch (const FileError& e) {
            throw FileError(e.message() + unchanged);
        }
    }
    if (!QDir().mkdir(aside))
        throw FileError(
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(QDir::toNativeSeparators(aside)) +
            unchanged);

    // Each old file keeps a second name in the aside folder, then the new one is renamed over it
    // in one step: a run killed at any moment leaves every name either its old or its new file.
    // A failure renames the kept old files back, so the folder never holds a mix of old and new.
    struct Move {
        QString name;
        bool keptAside = false;
        bool placed = false;
    };
    std::vector<Move> moves;
    QString failure;
    for (const auto& entry : files) {
        Move& move = moves.emplace_back(Move{entry.first});
        const QString target = joinPath(folder, move.name);
        const QFileInfo old(target);
        if (old.isFile() || old.isSymLink()) {
            const QString reason = keepAside(target, joinPath(aside, move.name), old.isSymLink());
            if (!reason.isEmpty()) {
                failure = QStringLiteral("Die bisherige Datei %1 kann nicht beiseitegelegt werden (%2).")
                              .arg(QDir::toNativeSeparators(target), reason);
                break;
            }
            move.keptAside = true;
        }
        const QString reason = renameOver(staging.filePath(move.name), target);
        if (!reason.isEmpty()) {
            failure = QStringLiteral("Die Datei %1 kann nicht an ihren Platz gebracht werden (%2).")
                          .arg(QDir::toNativeSeparators(target), reason);
            break;
        }
        move.placed = true;
    }
    if (failure.isEmpty())
        return; // the old files go with the staging folder

    bool restored = true;
    for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
        if (!it->placed)
            continue;
        const QString target = joinPath(folder, it->name);
        if (it->keptAside)
            restored = renameOver(joinPath(aside, it->name), target).isEmpty() && restored;
        else
            restored = QFile::remove(target) && restored;
    }
    if (!restored) {
        // The old files must not be deleted with the staging folder: they are all that is left.
        staging.setAutoRemove(false);
        throw FileError(
            failure +
            QStringLiteral(" Die bisherigen Dateien liegen in %1.").arg(QDir::toNativeSeparators(aside)));
    }
    throw FileError(failure + unchanged);
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
