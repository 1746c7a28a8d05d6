// Lookups on the catalogue: index lines, detail records, configuration and size lists. Core
// layer (fylcore).
#include "catalogue/lookups.h"

#include "catalogue/loaders.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"

#include <QDir>
#include <QFile>
#include <QStringMatcher>

namespace fyl {

IndexLineMatch FindIndexLine(const Catalogue& catalogue, const QString& text) {
    const QString needle = text.left(255);
    if (needle.isEmpty())
        return {};
    const int count = std::min<int>(catalogue.indexCount, static_cast<int>(catalogue.catalogueIndex.size()));
    // One matcher for all lines: QString::contains would build its skip table for every line, and
    // ranking a room looks lines up tens of thousands of times.
    const QStringMatcher matcher(needle, Qt::CaseSensitive);
    for (int j = 0; j < count; ++j)
        if (matcher.indexIn(catalogue.catalogueIndex[static_cast<std::size_t>(j)]) >= 0)
            return {true, j + 1};
    return {};
}

QString sizeKey(const QString& sizeName, QChar jetFormDigit) {
    return sizeName + QString(indexline::kKeyGap.width(), QLatin1Char(' ')) + QLatin1Char('0') + jetFormDigit;
}

std::vector<bool> sizeKeysFound(const Catalogue& catalogue, const QString& sizeName, const std::vector<QChar>& digits) {
    std::vector<bool> found(digits.size(), false);
    const QString prefix = sizeKey(sizeName, QChar()).chopped(1);
    if (prefix.size() + 1 > 255) { // FindIndexLine cuts such keys; ask it key by key
        for (std::size_t i = 0; i < digits.size(); ++i)
            found[i] = FindIndexLine(catalogue, sizeKey(sizeName, digits[i])).found;
        return found;
    }
    // A line holds a key exactly where the prefix occurs followed by the key's digit.
    QString following;
    const int count = std::min<int>(catalogue.indexCount, static_cast<int>(catalogue.catalogueIndex.size()));
    const QStringMatcher matcher(prefix, Qt::CaseSensitive);
    for (int j = 0; j < count; ++j) {
        const QString& line = catalogue.catalogueIndex[static_cast<std::size_t>(j)];
        for (qsizetype at = matcher.indexIn(line); at >= 0; at = matcher.indexIn(line, at + 1))
            if (at + prefix.size() < line.size())
                following += line[at + prefix.size()];
    }
    for (std::size_t i = 0; i < digits.size(); ++i)
        found[i] = following.contains(digits[i]);
    return found;
}

namespace {

QString detailFilePath(const QString& programDir) {
    return joinPath(programDir, QStringLiteral("\\") + QString::fromLatin1(kDetailFile));
}

// In 64 bits: the record number of the largest index does not fit an int.
QString recordNumberText(int recordIndex) {
    return QString::number(static_cast<qint64>(recordIndex) + 1);
}

void refuseNegative(const QString& path, int recordIndex) {
    if (recordIndex < 0)
        throw FileError(
            QStringLiteral("Datensatz %1 der Datei %2 existiert nicht (die Satznummer ist kleiner als 1).")
                .arg(recordNumberText(recordIndex), QDir::toNativeSeparators(path)));
}

OutletRecord readRecordAt(QFile& file, const QString& path, int recordIndex) {
    OutletRecord record;
    const qint64 offset = static_cast<qint64>(recordIndex) * static_cast<qint64>(sizeof(OutletRecord));
    if (!file.seek(offset) ||
        file.read(reinterpret_cast<char*>(&record), sizeof record) != static_cast<qint64>(sizeof record))
        throw FileError(
            QStringLiteral("Datensatz %1 der Datei %2 kann nicht gelesen werden (Dateiende erreicht).")
                .arg(recordNumberText(recordIndex), QDir::toNativeSeparators(path)));
    return record;
}

} // namespace

OutletRecord ReadOutletRecord(const QString& programDir, int recordIndex) {
    const QString path = detailFilePath(programDir);
    refuseNegative(path, recordIndex);
    QFile file(path);
    openOrThrow(file, QIODevice::ReadOnly | QIODevice::Unbuffered); // one record, read straight in
    return readRecordAt(file, path, recordIndex);
}

DetailRecords::DetailRecords(const QString& programDir, const std::vector<int>& recordIndexes)
    : programDir_(programDir) {
    const QString path = detailFilePath(programDir);
    QFile file(path);
    std::optional<QString> unopened;
    try {
        openOrThrow(file, QIODevice::ReadOnly | QIODevice::Unbuffered);
    } catch (const FileError& e) {
        unopened = e.message();
    }
    for (const int index : recordIndexes) {
        if (records_.count(index) != 0 || failures_.count(index) != 0)
            continue;
        try {
            refuseNegative(path, index); // as ReadOutletRecord: before the file is opened
            if (unopened)
                throw FileError(*unopened);
            records_.emplace(index, readRecordAt(file, path, index));
        } catch (const FileError& e) {
            failures_.emplace(index, e.message());
        }
    }
}

OutletRecord DetailRecords::record(int recordIndex) const {
    if (const auto read = records_.find(recordIndex); read != records_.end())
        return read->second;
    if (const auto failed = failures_.find(recordIndex); failed != failures_.end())
        throw FileError(failed->second);
    return ReadOutletRecord(programDir_, recordIndex);
}

OutletRecord detailRecord(const Catalogue& catalogue, const QString& programDir, int recordIndex) {
    return catalogue.detailRecords ? catalogue.detailRecords->record(recordIndex)
                                   : ReadOutletRecord(programDir, recordIndex);
}

namespace {

QStringList pieces(const QString& text, int width) {
    QStringList out;
    // A further piece needs its 1-based start below the length: a lone last character is not
    // a piece of its own.
    for (int start = 0; start == 0 ? !text.isEmpty() : start + 1 < text.size(); start += width)
        out << text.mid(start, width);
    return out;
}

} // namespace

ConfigurationLists FillConfigurationLists(const OutletRecord& outlet) {
    return {pieces(outlet.lengthsList.str(), kLengthsListItemWidth),
            pieces(outlet.countsList.str(), kCountsListItemWidth)};
}

QStringList FillSizeList(const OutletRecord& outlet) {
    QStringList out;
    for (const SizeTableEntry& entry : outlet.sizeTable) {
        const QString text = entry.content.str();
        if (!text.isEmpty())
            out << text;
    }
    return out;
}

SizeTableParts splitSizeTableEntry(const QString& text) {
    using namespace sizetableentry;
    SizeTableParts parts;
    parts.diameter = columnText(text, kDiameter);
    const QString lengths = columnText(text, kLengths);
    for (int i = 0; i < lengths.size(); i += kLengthWidth) {
        const QString piece = lengths.mid(i, kLengthWidth);
        if (!piece.trimmed().isEmpty())
            parts.lengths << piece;
    }
    const QString counts = columnText(text, kCounts);
    for (int i = 0; i < counts.size(); i += kCountWidth) {
        const QString piece = counts.mid(i, kCountWidth);
        if (!piece.trimmed().isEmpty())
            parts.counts << piece.left(kCountDigits);
    }
    return parts;
}

namespace {

constexpr int kNamedFlags = 8; // the name tables have eight entries

QStringList flaggedNames(const QString& flags, const std::array<QString, 8>& names, const char* what,
                         int lineNo) {
    QStringList out;
    for (int k = 0; k < flags.size(); ++k) {
        if (flags[k] != QLatin1Char('1'))
            continue;
        if (k >= kNamedFlags)
            throw RangeError(
                QStringLiteral(
                    "Katalogdatei %1, Zeile %2: %3 Nummer %4 hat keinen Namen (erlaubt sind 1 bis 8).")
                    .arg(QString::fromLatin1(kIndexFile))
                    .arg(lineNo)
                    .arg(QString::fromUtf8(what))
                    .arg(k + 1));
        out << names[static_cast<std::size_t>(k)];
    }
    return out;
}

} // namespace

std::optional<TypeAttributes> typeAttributes(const Catalogue& catalogue, const QString& type) {
    using namespace indexline;
    const IndexLineMatch match = FindIndexLine(catalogue, type);
    if (!match.found)
        return std::nullopt;
    const QString& line = catalogue.catalogueIndex[static_cast<std::size_t>(match.lineNo - 1)];
    return TypeAttributes{flaggedNames(columnText(line, kMountingFlags), catalogue.characteristicNames1,
                                       "Anbringungsort", match.lineNo),
                          flaggedNames(columnText(line, kAdjustmentFlags), catalogue.characteristicNames2,
                                       "Verstellung", match.lineNo),
                          flaggedNames(columnText(line, kUseFlags), catalogue.characteristicNames3,
                                       "Einsatzbereich", match.lineNo)};
}

} // namespace fyl
