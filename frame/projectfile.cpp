#include "frame/projectfile.h"

#include "frame/errors.h"
#include "frame/files.h"

#include <QFile>
#include <QSaveFile>

#include <cstddef>

namespace fyl {

namespace {
constexpr qint64 kRecordSize = sizeof(CalculationRecord);
constexpr std::size_t kFlowPictureShownOffset = offsetof(CalculationRecord, flowPictureShown);
} // namespace

void readProjectFile(const QString& path, CalculationRecord& rec) {
    QFile file(path);
    openOrThrow(file, QIODevice::ReadOnly, QStringLiteral("Die Projektdatei"));
    const qint64 size = file.size();
    if (size <= 0 || size % kRecordSize != 0)
        throw FileError(
            QStringLiteral("'%1' ist keine Projektdatei: die Dateigröße von %2 Bytes ist kein Vielfaches "
                           "von %3 Bytes. Das Projekt wurde nicht geladen.")
                .arg(path)
                .arg(size)
                .arg(kRecordSize));
    // Every record before the last would be replaced by the next one, so only the last is read.
    if (!file.seek(size - kRecordSize))
        throw FileError(
            QStringLiteral("Lesefehler in der Projektdatei '%1': %2").arg(path, file.errorString()));
    const QByteArray bytes = file.read(kRecordSize);
    if (bytes.size() != kRecordSize)
        throw FileError(
            QStringLiteral("Lesefehler in der Projektdatei '%1': %2").arg(path, file.errorString()));
    setRecordBytes(rec, bytes);
}

void writeProjectFile(const QString& path, const CalculationRecord& rec) {
    QByteArray bytes = recordBytes(rec);
    bytes[static_cast<qsizetype>(kFlowPictureShownOffset)] = 0;
    QSaveFile file(path);
    openOrThrow(file, QIODevice::WriteOnly, QStringLiteral("Die Projektdatei"));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(
            QStringLiteral("Schreibfehler in der Projektdatei '%1': %2").arg(path, file.errorString()));
}

} // namespace fyl
