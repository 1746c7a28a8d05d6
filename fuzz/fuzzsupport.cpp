// The shared part of the fuzz targets: scratch folder, input files, texts and invariant checks.
// Fuzzing harness over the core (fylcore).
#include "fuzz/fuzzsupport.h"

#include "frame/ansi.h"
#include "frame/files.h"
#include "frame/texttable.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fyl::fuzz {

const QString& scratchFolder() {
    static QTemporaryDir dir; // removed by its destructor at exit
    static const QString path = [] {
        if (!dir.isValid())
            violated("no scratch folder", dir.errorString());
        return dir.path();
    }();
    return path;
}

QByteArray inputBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        violated("cannot write the input file", path + QStringLiteral(": ") + file.errorString());
}

QString dataFile(const char* name) {
    return joinPath(QStringLiteral(ZELK_SOURCE_DIR "/data"), QString::fromLatin1(name));
}

const TextTable& programTexts() {
    static const TextTable texts = [] {
        TextTable t;
        t.load(dataFile("Fyltext.txt"));
        return t;
    }();
    return texts;
}

void violated(const char* what, const QString& detail) {
    std::fprintf(stderr, "INVARIANT VIOLATED: %s\n%s\n", what, detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

bool showsNonFinite(const QString& text) {
    static const QRegularExpression word(QStringLiteral("(?<![[:alpha:]])(nan|inf|infinity)(?![[:alpha:]])"),
                                         QRegularExpression::CaseInsensitiveOption);
    return word.match(text).hasMatch();
}

} // namespace fyl::fuzz
