// Reading and writing project files: whole record images, the last one counts. Core layer (fylcore).
#include "frame/projectfile.h"

#include "frame/errors.h"
#include "frame/files.h"
#include "frame/recordfields.h"

#include <QFile>

#include <cmath>
#include <cstddef>
#include <memory>

namespace fyl {

namespace {
constexpr qint64 kRecordSize = sizeof(CalculationRecord);
constexpr std::size_t kFlowPictureShownOffset = offsetof(CalculationRecord, flowPictureShown);
} // namespace

void setFlagsAfterLoad(const CalculationRecord& rec, RuntimeFlags& flags) {
    flags.loadedWithResults = rec.calculationMode != 0;
    const double count = rec.outletCount;
    flags.countSetByHand = flags.loadedWithResults && count >= 1.0 && std::floor(count) == count;
}

void readProjectFile(const QString& path, CalculationRecord& rec) {
    QFile file(path);
    openOrThrow(file, QIODevice::ReadOnly, QStringLiteral("Die Projektdatei"));
    const qint64 size = file.size();
    if (size <= 0 || size % kRecordSize != 0)
        throw FileError(
            QStringLiteral("'%1' ist keine Projektdatei: die Dateigröße von %2 Bytes ist kein Vielfaches "
                           "von %3 Bytes. Das Projekt wurde nicht geladen.")
                .arg(path, QString::number(size), QString::number(kRecordSize)));
    // Every record before the last would be replaced by the next one, so only the last is read.
    if (!file.seek(size - kRecordSize))
        throw FileError(
            QStringLiteral("Lesefehler in der Projektdatei '%1': %2").arg(path, file.errorString()));
    const QByteArray bytes = file.read(kRecordSize);
    if (bytes.size() != kRecordSize)
        throw FileError(
            QStringLiteral("Lesefehler in der Projektdatei '%1': %2").arg(path, file.errorString()));
    auto loaded = std::make_unique<CalculationRecord>();
    setRecordBytes(*loaded, bytes);
    // The program never writes a NaN or an infinity, so such a value means the file is damaged;
    // taking it would carry the value into every result, picture and exchange file.
    if (const auto field = firstNonFiniteReal(*loaded))
        throw FileError(QStringLiteral("Die Projektdatei '%1' ist beschädigt: das Feld %2 enthält keine "
                                       "endliche Zahl. Das Projekt wurde nicht geladen.")
                            .arg(path, *field));
    // One rule for the room's lengths, as the room schedule applies it: a size that no room has
    // cannot be evaluated or drawn.
    if (const auto refused = firstRefusedRoomLength(*loaded))
        throw FileError(QStringLiteral("Die Projektdatei '%1' ist beschädigt: das Feld %2 Das Projekt wurde "
                                       "nicht geladen.")
                            .arg(path, *refused));
    rec = *loaded;
}

QByteArray projectFileBytes(const CalculationRecord& rec) {
    QByteArray bytes = recordBytes(rec);
    bytes[static_cast<qsizetype>(kFlowPictureShownOffset)] = 0;
    return bytes;
}

void writeProjectFile(const QString& path, const CalculationRecord& rec) {
    writeFileAtomically(path, projectFileBytes(rec), QStringLiteral("Die Projektdatei"));
}

QString projectFilePath(const QString& chosen) {
    if (chosen.endsWith(QStringLiteral(".zol"), Qt::CaseInsensitive))
        return chosen;
    return chosen + QStringLiteral(".zol");
}

} // namespace fyl
