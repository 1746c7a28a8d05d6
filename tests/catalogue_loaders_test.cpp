// Reading the catalogue files: limits, cuts, failures.
#include "catalogue/loaders.h"
#include "frame/errors.h"
#include "tests/support/testfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fyl;

namespace {

QStringList numbered(const QString& prefix, int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("%1%2").arg(prefix).arg(i);
    return lines;
}

// A program directory with a small, valid catalogue that each test then spoils where it needs.
class CatalogueFiles : public testing::Test {
protected:
    void SetUp() override {
        write("kenn1.dat", {QStringLiteral("Decke"), QStringLiteral("Wand")});
        write("kenn2.dat", {QStringLiteral("fest")});
        write("kenn3.dat", {QStringLiteral("Kühlen")});
        write("Strahl.dat", {QStringLiteral("01 waagerecht"), QStringLiteral("02 senkrecht")});
        write("ZELK.idx", {QStringLiteral("AAA 1"), QStringLiteral("BBB 1")});
        write("Durchlassdatei.txt", {QStringLiteral("Decke                      AAA/")});
    }
    void write(const char* name, const QStringList& lines) {
        test::writeAnsiLines(dir.filePath(QString::fromLatin1(name)), lines);
    }
    void writeBytes(const char* name, const QByteArray& bytes) {
        test::writeFile(dir.filePath(QString::fromLatin1(name)), bytes);
    }
    QString folder() const { return dir.path(); }

    QTemporaryDir dir;
    Catalogue catalogue;
};

TEST_F(CatalogueFiles, NameTablesAreCutToTheirWidthsAndShortFilesLeaveEmptyEntries) {
    write("kenn1.dat",
          {QStringLiteral("Abgehängte Decke mit Zwischenraum"), QStringLiteral("Wand")}); // 33 characters
    write("kenn2.dat", {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    write("Strahl.dat", {QStringLiteral("01 ") + QString(50, QLatin1Char('x'))});
    catalogue.characteristicNames3[7] = QStringLiteral("old");
    LoadNameFiles(catalogue, folder());
    EXPECT_EQ(catalogue.characteristicNames1[0].toStdString(),
              "Abgehängte Decke mit"); // 20 characters, ä is one
    EXPECT_EQ(catalogue.characteristicNames2[2].toStdString(), "c");
    for (int k = 3; k < 8; ++k)
        EXPECT_TRUE(catalogue.characteristicNames2[k].isEmpty()) << k;
    EXPECT_TRUE(catalogue.characteristicNames3[7].isEmpty()); // emptied before reading
    EXPECT_EQ(catalogue.jetFormNames[0].size(), 40);
    EXPECT_EQ(catalogue.jetFormCount, 1);
}

TEST_F(CatalogueFiles, EmptyLinesAreEntriesAndLineEndsMayBeBareLineFeeds) {
    writeBytes("Strahl.dat", "01 a\n02 b\n\n");
    writeBytes("kenn1.dat", "A\r\n\r\nC"); // the last line needs no terminator
    LoadNameFiles(catalogue, folder());
    EXPECT_EQ(catalogue.jetFormCount, 3);
    EXPECT_TRUE(catalogue.jetFormNames[2].isEmpty());
    EXPECT_EQ(catalogue.characteristicNames1[1].toStdString(), "");
    EXPECT_EQ(catalogue.characteristicNames1[2].toStdString(), "C");
}

TEST_F(CatalogueFiles, EightNameLinesLoadAndTheNinthIsARangeError) {
    write("kenn3.dat", numbered(QStringLiteral("n"), 8));
    write("Strahl.dat", numbered(QStringLiteral("0"), 8));
    LoadNameFiles(catalogue, folder());
    EXPECT_EQ(catalogue.characteristicNames3[7].toStdString(), "n8");
    EXPECT_EQ(catalogue.jetFormCount, 8);

    write("Strahl.dat", numbered(QStringLiteral("0"), 9));
    Catalogue fresh;
    QString failed;
    EXPECT_THROW(LoadCatalogue(fresh, folder(), &failed), RangeError);
    EXPECT_EQ(failed.toStdString(), "Strahl.dat");
    EXPECT_EQ(fresh.jetFormNames[7].toStdString(), "08"); // filled up to the table's end
    EXPECT_EQ(fresh.jetFormCount, 8);
    EXPECT_EQ(fresh.indexCount, 0); // the files after it stay unread
    EXPECT_EQ(fresh.outletListCount, 0);
}

TEST_F(CatalogueFiles, AMissingFileEndsTheSequenceThereAndKeepsWhatWasRead) {
    QFile::remove(dir.filePath(QStringLiteral("kenn3.dat")));
    QString failed;
    EXPECT_THROW(LoadCatalogue(catalogue, folder(), &failed), FileError);
    EXPECT_EQ(failed.toStdString(), "kenn3.dat");
    EXPECT_EQ(catalogue.characteristicNames2[0].toStdString(), "fest");
    EXPECT_EQ(catalogue.jetFormCount, 0);
    EXPECT_EQ(catalogue.indexCount, 0);

    write("kenn3.dat", {QStringLiteral("x")});
    QFile::remove(dir.filePath(QStringLiteral("Durchlassdatei.txt")));
    Catalogue second;
    EXPECT_THROW(LoadCatalogue(second, folder(), &failed), FileError);
    EXPECT_EQ(failed.toStdString(), "Durchlassdatei.txt");
    EXPECT_EQ(second.indexCount, 2); // read before the outlet list
    EXPECT_EQ(second.typeCodeList[1].toStdString(), "AAA");
}

TEST_F(CatalogueFiles, OutletListTakesTwelveWholeLinesAndFailsOnTheThirteenth) {
    QStringList lines = numbered(QStringLiteral("Einbauart "), 12);
    lines[0] = QString(300, QLatin1Char('L')); // lines are kept whole
    write("Durchlassdatei.txt", lines);
    LoadCatalogue(catalogue, folder());
    EXPECT_EQ(catalogue.outletListCount, 12);
    EXPECT_EQ(catalogue.outletListLines[0].size(), 300);
    EXPECT_EQ(catalogue.outletListLines[11].toStdString(), "Einbauart 12");

    write("Durchlassdatei.txt", numbered(QStringLiteral("E"), 13));
    Catalogue fresh;
    EXPECT_THROW(LoadOutletList(fresh, folder()), RangeError);
    EXPECT_EQ(fresh.outletListLines[11].toStdString(), "E12");
    EXPECT_EQ(fresh.outletListCount, 12); // the count never reaches past the table
}

TEST_F(CatalogueFiles, IndexLinesAreCutTo145AndLimitedTo250) {
    QStringList lines;
    for (int i = 0; i < 250; ++i)
        lines << QStringLiteral("AAA") + QString(200, QLatin1Char('.'));
    write("ZELK.idx", lines);
    LoadCatalogueIndex(catalogue, folder());
    EXPECT_EQ(catalogue.indexCount, 250);
    EXPECT_EQ(catalogue.catalogueIndex[249].size(), 145);

    lines << QStringLiteral("ZZZ");
    write("ZELK.idx", lines);
    Catalogue fresh;
    EXPECT_THROW(LoadCatalogueIndex(fresh, folder()), RangeError);
    EXPECT_EQ(fresh.indexCount, 250);
}

TEST_F(CatalogueFiles, TypeCodesKeepTheOrderOfFirstAppearanceFromEntryTwo) {
    write("ZELK.idx", {QStringLiteral("AAA 100"), QStringLiteral("BBB 200"), QStringLiteral("AAA 300"),
                       QStringLiteral("CCC 400")});
    LoadCatalogueIndex(catalogue, folder());
    EXPECT_TRUE(catalogue.typeCodeList[0].isEmpty());
    EXPECT_EQ(catalogue.typeCodeList[1].toStdString(), "AAA");
    EXPECT_EQ(catalogue.typeCodeList[2].toStdString(), "BBB");
    EXPECT_EQ(catalogue.typeCodeList[3].toStdString(), "CCC");
    EXPECT_TRUE(catalogue.typeCodeList[4].isEmpty());
}

TEST_F(CatalogueFiles, OnlyTwentyFourTypeCodesFitAndTheTwentyFifthIsDropped) {
    QStringList lines;
    for (int i = 0; i < 26; ++i)
        lines << QStringLiteral("%1%1%1 size").arg(QChar(u'A' + i));
    lines << QStringLiteral("AAA again");
    write("ZELK.idx", lines);
    LoadCatalogueIndex(catalogue, folder());
    EXPECT_TRUE(catalogue.typeCodeList[0].isEmpty());
    EXPECT_EQ(catalogue.typeCodeList[1].toStdString(), "AAA");
    EXPECT_EQ(catalogue.typeCodeList[24].toStdString(), "XXX"); // the 24th code
    for (const QString& code : catalogue.typeCodeList) {
        EXPECT_NE(code.toStdString(), "YYY");
        EXPECT_NE(code.toStdString(), "ZZZ");
    }
}

} // namespace
