// Lookups on the catalogue: index lines, detail records, configuration and size lists.
#include "catalogue/lookups.h"
#include "frame/errors.h"
#include "tests/support/testfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>

using namespace fyl;

namespace {

Catalogue indexOf(const QStringList& lines) {
    Catalogue c;
    for (int i = 0; i < lines.size(); ++i)
        c.catalogueIndex[static_cast<std::size_t>(i)] = lines[i];
    c.indexCount = static_cast<int>(lines.size());
    return c;
}

TEST(CatalogueFindIndexLine, ReturnsTheFirstLineContainingTheTextExactly) {
    QStringList lines;
    for (int i = 1; i <= 10; ++i)
        lines << QStringLiteral("line %1").arg(i);
    lines[3] += QStringLiteral(" Key");
    lines[8] += QStringLiteral(" Key");
    Catalogue c = indexOf(lines);
    EXPECT_EQ(FindIndexLine(c, QStringLiteral("Key")).lineNo, 4);
    EXPECT_TRUE(FindIndexLine(c, QStringLiteral("Key")).found);
    const IndexLineMatch none = FindIndexLine(c, QStringLiteral("key")); // case counts
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.lineNo, 0);
    EXPECT_FALSE(FindIndexLine(c, QString()).found);
    c.indexCount = 3; // lines beyond the count are not searched
    EXPECT_FALSE(FindIndexLine(c, QStringLiteral("Key")).found);
}

TEST(CatalogueFindIndexLine, AllKeysOfASizeAnswerAsFindIndexLineDoesKeyByKey) {
    // The single pass must see a key behind an overlapping start, at a line's end, beyond the line
    // count not at all, and a name too long for the 255-character cut as FindIndexLine does.
    const QString gap(indexline::kKeyGap.width(), QLatin1Char(' '));
    const QString longName(250, QLatin1Char('L'));
    Catalogue c = indexOf(
        {QStringLiteral("AB") + gap + QStringLiteral("0AB") + gap + QStringLiteral("03"),
         QStringLiteral("xAB") + gap + QStringLiteral("0"), sizeKey(QStringLiteral("AB"), QLatin1Char('5')),
         longName + gap + QStringLiteral("0"), sizeKey(QStringLiteral("AB"), QLatin1Char('7'))});
    c.indexCount = 4;
    std::vector<QChar> digits;
    for (char d = '0'; d <= '9'; ++d)
        digits.push_back(QLatin1Char(d));
    for (const QString& name : {QStringLiteral("AB"), QStringLiteral("B"), longName, QString()}) {
        const std::vector<bool> found = sizeKeysFound(c, name, digits);
        for (std::size_t i = 0; i < digits.size(); ++i)
            EXPECT_EQ(found[i], FindIndexLine(c, sizeKey(name, digits[i])).found) << name.size() << " " << i;
    }
    const std::vector<bool> ab = sizeKeysFound(c, QStringLiteral("AB"), digits);
    EXPECT_EQ(std::count(ab.begin(), ab.end(), true), 2); // 3 and 5; 7 lies beyond the count
    EXPECT_TRUE(sizeKeysFound(c, longName, digits)[9]);   // the cut key ends before its digit
}

TEST(CatalogueFindIndexLine, SizeKeyFindsTheLineOfItsJetForm) {
    const QString name = QStringLiteral("DRL 600").leftJustified(25, QLatin1Char(' '));
    Catalogue c = indexOf({name + QStringLiteral("       01 0"), name + QStringLiteral("       02 0")});
    EXPECT_EQ(sizeKey(name, QLatin1Char('2')).size(), 34);
    EXPECT_EQ(FindIndexLine(c, sizeKey(name, QLatin1Char('2'))).lineNo, 2);
    EXPECT_FALSE(FindIndexLine(c, sizeKey(name, QLatin1Char('3'))).found);
}

class CatalogueDetailFile : public testing::Test {
protected:
    // Eight records whose type names say their 0-based number.
    void writeRecords(int count, int extraBytes = 0) {
        QByteArray bytes;
        for (int k = 0; k < count; ++k) {
            OutletRecord r;
            std::memset(&r, 0, sizeof r);
            const QByteArray name = QByteArray("R") + QByteArray::number(k);
            std::memcpy(r.typeName, name.constData(), static_cast<std::size_t>(name.size()));
            r.vMax = 100.0 * k;
            bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
        }
        bytes.append(QByteArray(extraBytes, 'x'));
        test::writeFile(dir.filePath(QStringLiteral("ZELK.emd")), bytes);
    }
    QTemporaryDir dir;
};

TEST_F(CatalogueDetailFile, RecordNumberSevenIsReadFromOffset22554) {
    writeRecords(8);
    QFile file(dir.filePath(QStringLiteral("ZELK.emd")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_TRUE(file.seek(22554));
    EXPECT_EQ(file.read(4), QByteArray("\0\0R6", 4));
    const OutletRecord r = ReadOutletRecord(dir.path(), 7 - 1);
    EXPECT_EQ(r.typeNameText().toStdString(), "R6");
    EXPECT_EQ(+r.vMax, 600.0);
}

TEST_F(CatalogueDetailFile, ShortReadsNegativeNumbersAndAMissingFileAreFileErrors) {
    EXPECT_THROW(ReadOutletRecord(dir.path(), 0), FileError);
    writeRecords(8, 3758); // a torn ninth record
    EXPECT_EQ(ReadOutletRecord(dir.path(), 7).typeNameText().toStdString(), "R7");
    EXPECT_THROW(ReadOutletRecord(dir.path(), 8), FileError);
    EXPECT_THROW(ReadOutletRecord(dir.path(), 9), FileError);
    EXPECT_THROW(ReadOutletRecord(dir.path(), -1), FileError); // record number 0 in the index
    try {
        ReadOutletRecord(dir.path(), std::numeric_limits<int>::max());
        ADD_FAILURE() << "read beyond the end";
    } catch (const FileError& e) { // the message names a number one past the int range
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Datensatz 2147483648 "))) << e.what();
    }
}

// A record's byte image, as the detail file holds it.
QByteArray bytesOf(const OutletRecord& record) {
    return QByteArray(reinterpret_cast<const char*>(&record), sizeof record);
}

// The message ReadOutletRecord raises for a record, or empty when it reads one.
std::string readFailure(const std::function<OutletRecord()>& read) {
    try {
        read();
        return {};
    } catch (const FileError& e) {
        return e.message().toStdString();
    }
}

TEST_F(CatalogueDetailFile, RecordsReadAtOnceGiveWhatReadingEachFromTheFileGives) {
    writeRecords(8, 3758);
    const std::vector<int> wanted{6, 0, 7, 8, -1, std::numeric_limits<int>::max(), 6};
    const DetailRecords records(dir.path(), wanted);
    for (const int k : wanted) {
        SCOPED_TRACE(k);
        const std::string failure = readFailure([&] { return ReadOutletRecord(dir.path(), k); });
        EXPECT_EQ(readFailure([&] { return records.record(k); }), failure);
        if (failure.empty()) {
            EXPECT_EQ(bytesOf(records.record(k)), bytesOf(ReadOutletRecord(dir.path(), k)));
        }
    }
    // They are held: the file's later fate does not reach them. A record not read at first is read
    // from the file when asked for.
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("ZELK.emd"))));
    EXPECT_EQ(records.record(7).typeNameText().toStdString(), "R7");
    EXPECT_EQ(readFailure([&] { return records.record(8); }).substr(0, 12), "Datensatz 9 ");
    EXPECT_EQ(readFailure([&] { return records.record(3); }),
              readFailure([&] { return ReadOutletRecord(dir.path(), 3); }));
}

TEST_F(CatalogueDetailFile, AMissingFileFailsEveryRecordAsReadingItAloneWould) {
    const DetailRecords records(dir.path(), {0, 2, -3});
    for (const int k : {0, 2, -3}) {
        const std::string failure = readFailure([&] { return ReadOutletRecord(dir.path(), k); });
        EXPECT_FALSE(failure.empty());
        EXPECT_EQ(readFailure([&] { return records.record(k); }), failure);
    }
    // A catalogue that holds them gives them; one that does not reads the file, which is there now.
    writeRecords(3);
    Catalogue catalogue;
    EXPECT_EQ(detailRecord(catalogue, dir.path(), 2).typeNameText().toStdString(), "R2");
    catalogue.detailRecords = std::make_shared<const DetailRecords>(dir.path(), std::vector<int>{2});
    EXPECT_EQ(detailRecord(catalogue, dir.path(), 2).typeNameText().toStdString(), "R2");
    catalogue.detailRecords =
        std::make_shared<const DetailRecords>(QStringLiteral("/nonexistent"), std::vector<int>{2});
    EXPECT_THROW(detailRecord(catalogue, dir.path(), 2), FileError);
}

TEST(CatalogueConfigurationLists, PiecesStartInsideTheTextAndTheFirstIsAlwaysTaken) {
    OutletRecord r;
    std::memset(&r, 0, sizeof r);
    r.lengthsList.assign(QStringLiteral(" 1000 1500 2000"));
    r.countsList.assign(QStringLiteral("  1  2  3"));
    ConfigurationLists lists = FillConfigurationLists(r);
    EXPECT_EQ(lists.lengths,
              (QStringList{QStringLiteral(" 1000"), QStringLiteral(" 1500"), QStringLiteral(" 2000")}));
    EXPECT_EQ(lists.counts,
              (QStringList{QStringLiteral("  1"), QStringLiteral("  2"), QStringLiteral("  3")}));

    r.lengthsList.assign(QStringLiteral("0100002000x")); // a lone last character starts no piece
    r.countsList.assign(QStringLiteral("4"));            // but a short first piece is kept
    lists = FillConfigurationLists(r);
    EXPECT_EQ(lists.lengths, (QStringList{QStringLiteral("01000"), QStringLiteral("02000")}));
    EXPECT_EQ(lists.counts, QStringList{QStringLiteral("4")});

    r.lengthsList.clear();
    EXPECT_TRUE(FillConfigurationLists(r).lengths.isEmpty());
}

TEST(CatalogueSizeList, ListsNonEmptyEntriesInTableOrderAndSplitsTubeEntries) {
    OutletRecord r;
    std::memset(&r, 0, sizeof r);
    const QString tube = QStringLiteral("  200 mm       ") +
                         QStringLiteral(" 1000 1500").leftJustified(58, QLatin1Char(' ')) +
                         QStringLiteral(" 1  2 ");
    r.sizeTable[0].content.assign(tube);
    r.sizeTable[3].content.assign(QStringLiteral("  250"));
    const QStringList items = FillSizeList(r);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0], tube);
    EXPECT_EQ(items[1].toStdString(), "  250");

    const SizeTableParts parts = splitSizeTableEntry(tube);
    EXPECT_EQ(parts.diameter.toStdString(), "  200");
    EXPECT_EQ(parts.lengths, (QStringList{QStringLiteral(" 1000"), QStringLiteral(" 1500")}));
    EXPECT_EQ(parts.counts, (QStringList{QStringLiteral(" 1"), QStringLiteral(" 2")}));
}

} // namespace
