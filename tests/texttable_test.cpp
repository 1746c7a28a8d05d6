// The text table: the cut of long lines, the slot limit, Windows-1252.
#include "frame/errors.h"
#include "frame/texttable.h"
#include "tests/support/scripted.h"
#include "tests/support/testfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fyl;
using fyl::test::ScriptedDialogs;

namespace {

class TextTableTest : public testing::Test {
protected:
    QString file(const QString& name = QStringLiteral("Fyltext.txt")) const { return dir.filePath(name); }
    QTemporaryDir dir;
    TextTable table;
};

} // namespace

TEST_F(TextTableTest, PrefixIsSkippedByPositionNeverParsed) {
    test::writeAnsiLines(file(), {QStringLiteral("000001Projekt"), QStringLiteral("00002 Projekt"),
                                  QStringLiteral("abcdefProjekt"), QStringLiteral("12"),
                                  QStringLiteral("123456"), QStringLiteral("1234567")});
    table.load(file());
    EXPECT_EQ(table.text(1).toStdString(), "Projekt");
    EXPECT_EQ(table.text(2).toStdString(), "Projekt");
    EXPECT_EQ(table.text(3).toStdString(), "Projekt");
    EXPECT_TRUE(table.text(4).isEmpty()); // six characters or fewer: empty text
    EXPECT_TRUE(table.text(5).isEmpty());
    EXPECT_EQ(table.text(6).toStdString(), "7");
    EXPECT_EQ(table.lineCount(), 6);
}

TEST_F(TextTableTest, ShortFileLeavesTheRestEmpty) {
    test::writeAnsiLines(file(),
                         test::textTableLines(40, [](int n) { return QStringLiteral("Text %1").arg(n); }));
    table.load(file());
    EXPECT_EQ(table.text(40).toStdString(), "Text 40");
    for (int n : {41, 43, 207, 209, 210, 216, 235})
        EXPECT_TRUE(table.text(n).isEmpty()) << n;
}

TEST_F(TextTableTest, LinesAreCutAt180Characters) {
    const QString line = QStringLiteral("00001 ") + QString(194, QLatin1Char('x'));
    ASSERT_EQ(line.size(), 200);
    test::writeAnsiLines(file(), {line});
    table.load(file());
    EXPECT_EQ(table.text(1).size(), 174); // characters 7 to 180
}

TEST_F(TextTableTest, A236thLineIsARangeErrorAfter235Entries) {
    test::writeAnsiLines(file(),
                         test::textTableLines(236, [](int n) { return QStringLiteral("T%1").arg(n); }));
    EXPECT_THROW(table.load(file()), RangeError);
    EXPECT_EQ(table.text(1).toStdString(), "T1");
    EXPECT_EQ(table.text(235).toStdString(), "T235");
    EXPECT_EQ(table.lineCount(), 235);

    TextTable exact;
    test::writeAnsiLines(file(QStringLiteral("exact.txt")),
                         test::textTableLines(235, [](int n) { return QStringLiteral("T%1").arg(n); }));
    EXPECT_NO_THROW(exact.load(file(QStringLiteral("exact.txt"))));
}

TEST_F(TextTableTest, MissingFileIsAFileErrorAndTheTableStaysEmpty) {
    EXPECT_THROW(table.load(file(QStringLiteral("nothing.txt"))), FileError);
    EXPECT_TRUE(table.text(1).isEmpty());
    EXPECT_EQ(table.lineCount(), 0);
}

TEST_F(TextTableTest, DecodesWindows1252AndAcceptsBareLineFeeds) {
    test::writeFile(file(), QByteArray("00001 Gr\xFC\xDF"
                                       "e \x80 \x84x\x93\r\n00002 zwei\n00003 drei"));
    table.load(file());
    EXPECT_EQ(table.text(1), QStringLiteral("Grüße € „x“"));
    EXPECT_EQ(table.text(2).toStdString(), "zwei");
    EXPECT_EQ(table.text(3).toStdString(), "drei"); // last line without a terminator
    EXPECT_EQ(table.lineCount(), 3);
}

TEST_F(TextTableTest, EntryNumbersOutside1To235AreRangeErrors) {
    EXPECT_THROW(table.text(0), RangeError);
    EXPECT_THROW(table.text(236), RangeError);
    ScriptedDialogs dialogs;
    EXPECT_THROW(showText(table, dialogs, 0), RangeError);
    EXPECT_THROW(askText(table, dialogs, 236), RangeError);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(TextTableTest, ShowAndAskGoThroughTheDialogs) {
    test::writeAnsiLines(
        file(), test::textTableLines(235, [](int n) { return QStringLiteral("Meldung %1").arg(n); }));
    table.load(file());
    ScriptedDialogs dialogs;
    dialogs.confirmAnswers = {true, false};
    showText(table, dialogs, 43);
    EXPECT_TRUE(askText(table, dialogs, 171));
    EXPECT_FALSE(askText(table, dialogs, 173));
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].kind, ScriptedDialogs::Shown::Information);
    EXPECT_EQ(dialogs.shown[0].text.toStdString(), "Meldung 43");
    EXPECT_EQ(dialogs.shown[1].kind, ScriptedDialogs::Shown::Confirm);
    EXPECT_EQ(dialogs.shown[2].text.toStdString(), "Meldung 173");
}

// The shipped table: every entry present, Windows-1252 with CR LF, the texts the windows rely on.
TEST(ShippedTextTable, HasAll235EntriesInTheProgramsEncoding) {
    TextTable table;
    const QString path = QStringLiteral(ZELK_SOURCE_DIR "/data/Fyltext.txt");
    ASSERT_NO_THROW(table.load(path));
    EXPECT_EQ(table.lineCount(), 235);
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_EQ(bytes.count("\r\n"), 235);
    EXPECT_EQ(bytes.count('\n'), 235); // no bare line feed
    EXPECT_EQ(table.text(1).toStdString(), "Z E L K  F Y L");
    EXPECT_EQ(table.text(2).toStdString(), "Projekt");
    EXPECT_EQ(table.text(14).toStdString(), "Hilfe");
    EXPECT_EQ(table.text(16).toStdString(), "Kurzanleitung");
    EXPECT_EQ(table.text(28), QStringLiteral("Raumhöhe [m]"));
    for (int n : {43, 171, 173, 178, 179, 180, 198, 199, 200, 201, 202})
        EXPECT_GT(table.text(n).size(), 20) << "message " << n << " has no sentence";
}

// Alt's letters for the texts of one menu, whatever the table says: each its first letter that no
// text before it took, any case; a "&" of the text is shown, not taken as a mark.
TEST(MenuMnemonics, EachTextTakesItsFirstFreeLetter) {
    EXPECT_EQ(
        withMnemonics({QStringLiteral("Sound"), QStringLiteral("schall"), QStringLiteral("1 Drucken")}),
        (QStringList{QStringLiteral("&Sound"), QStringLiteral("s&chall"), QStringLiteral("1 &Drucken")}));
    EXPECT_EQ(withMnemonics({QStringLiteral("A&B"), QStringLiteral("ab"), QStringLiteral("12")}),
              (QStringList{QStringLiteral("&A&&B"), QStringLiteral("a&b"), QStringLiteral("12")}));
}
