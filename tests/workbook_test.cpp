// Workbooks as room lists: the first worksheet of .xlsx and .ods files read as a sheet's rows
// (numbers, shared and inline strings, empty cells, stored formula results, cells that cannot be
// read), and damaged, oversized and foreign archives refused. The workbooks are made by the tests.
#include "frame/errors.h"
#include "frame/workbook.h"
#include "tests/support/workbookfiles.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace fyl;

namespace {

QString refusal(const QByteArray& bytes, const WorkbookLimits& limits = {}) {
    try {
        readWorkbook(bytes, limits);
    } catch (const FileError& e) {
        return e.message();
    }
    return QStringLiteral("accepted");
}

void expectText(const SheetRow& row, std::size_t column, const char* text) {
    ASSERT_LT(column, row.cells.size());
    EXPECT_FALSE(row.cells[column].number);
    EXPECT_EQ(row.cells[column].text, QString::fromUtf8(text)) << column;
}
void expectNumber(const SheetRow& row, std::size_t column, double value, const char* text) {
    ASSERT_LT(column, row.cells.size());
    EXPECT_EQ(row.cells[column].number, value) << column;
    EXPECT_EQ(row.cells[column].text, QString::fromUtf8(text)) << column;
}
void expectRefused(const SheetRow& row, std::size_t column, const char* why) {
    ASSERT_LT(column, row.cells.size());
    EXPECT_FALSE(row.cells[column].number) << column;
    EXPECT_TRUE(row.cells[column].refusal.startsWith(QString::fromUtf8(why)))
        << column << ": " << row.cells[column].refusal.toStdString();
}

TEST(WorkbookReader, XlsxFirstSheetByItsRelationshipWithEveryKindOfCell) {
    const QString data = QStringLiteral(
        "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>0</v></c><c r=\"B2\" "
        "t=\"inlineStr\"><is><r><t>Ra</t></r><r><t>um</t></r>"
        "<rPh><t>x</t></rPh></is></c><c r=\"C2\"><v>5.3</v></c><c r=\"D2\" s=\"1\"/><c r=\"E2\"><f>C2*2</f>"
        "<v>10.6</v></c><c r=\"F2\" t=\"str\"><f>A2</f><v>Büro</v></c></row>"
        "<row r=\"5\"><c><v>1E-3</v></c><c r=\"C5\"><f>1/0</f></c><c r=\"D5\" t=\"b\"><v>1</v></c><c "
        "r=\"E5\" s=\"2\">"
        "<v>45000</v></c><c r=\"F5\" t=\"e\"><v>#DIV/0!</v></c><c r=\"G5\" s=\"3\"><v>2</v></c><c r=\"H5\" "
        "s=\"4\">"
        "<v>3</v></c></row>"
        "<row r=\"6\"><c r=\"BZ6\"><v>1</v></c></row><row r=\"7\"><c r=\"B7\" s=\"1\"/></row>");
    const SheetTable table =
        readWorkbook(test::xlsxWorkbook(QStringLiteral("Räume"), data, {QStringLiteral("Flur 1")},
                                        {0, 0, 14, 164, 165}, {"0.00\" m\"", "[h]:mm"}));
    EXPECT_EQ(table.sheet, QStringLiteral("Räume"));
    ASSERT_EQ(table.rows.size(), 3u); // the row of a styled empty cell holds nothing
    const SheetRow& first = table.rows[0];
    EXPECT_EQ(first.line, 2);
    expectText(first, 0, "Flur 1");
    expectText(first, 1, "Raum");
    expectNumber(first, 2, 5.3, "5,3");
    EXPECT_TRUE(first.cells[3].isEmpty());
    expectNumber(first, 4, 10.6, "10,6"); // the formula's stored result
    expectText(first, 5, "Büro");

    const SheetRow& second = table.rows[1];
    EXPECT_EQ(second.line, 5);
    ASSERT_EQ(second.cells.size(), 8u);
    expectNumber(second, 0, 0.001, "0,001"); // a cell without reference follows the one before
    expectRefused(second, 2, "die Formel hat kein gespeichertes Ergebnis");
    expectRefused(second, 3, "die Zelle enthält einen Wahrheitswert");
    expectRefused(second, 4, "die Zelle enthält ein Datum"); // a built-in date format
    expectRefused(second, 5, "die Zelle enthält den Fehlerwert '#DIV/0!'");
    expectNumber(second, 6, 2, "2");                         // a unit in quotes is no date
    expectRefused(second, 7, "die Zelle enthält ein Datum"); // elapsed hours

    EXPECT_EQ(table.rows[2].line, 6);
    EXPECT_EQ(
        table.rows[2].error,
        QStringLiteral("Räume!BZ6: die Zelle liegt rechts der Spalten eines Raumbuchs und muss leer sein."));
}

TEST(WorkbookReader, OdsFirstTableWithRepeatedRowsAndCells) {
    const QString rows = QStringLiteral(
        "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>Flur<text:s "
        "text:c=\"2\"/>1</text:p>"
        "<office:annotation><text:p>Notiz</text:p></office:annotation></table:table-cell>"
        "<table:table-cell table:number-columns-repeated=\"2\"/>"
        "<table:table-cell office:value-type=\"float\" "
        "office:value=\"5.3\"><text:p>5,30</text:p></table:table-cell>"
        "<table:table-cell table:formula=\"of:=1+1\"/>"
        "<table:table-cell table:formula=\"of:=[.D1]*2\" office:value-type=\"float\" office:value=\"10.6\">"
        "<text:p>10,6</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"3\"><table:table-cell/></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"2\">"
        "<table:table-cell office:value-type=\"boolean\" office:boolean-value=\"true\"><text:p>WAHR</text:p>"
        "</table:table-cell><table:table-cell office:value-type=\"date\" office:date-value=\"2024-01-01\">"
        "<text:p>01.01.24</text:p></table:table-cell><table:table-cell office:value-type=\"string\" "
        "calcext:value-type=\"error\" table:formula=\"of:=1/0\"><text:p>#DIV/0!</text:p></table:table-cell>"
        "<table:covered-table-cell/><table:table-cell><text:p>a</text:p><text:p>b</text:p></table:table-cell>"
        "</table:table-row>"
        "<table:table-row><table:table-cell table:number-columns-repeated=\"100\" "
        "office:value-type=\"float\" "
        "office:value=\"1\"><text:p>1</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"1048569\"><table:table-cell "
        "table:number-columns-repeated=\"1024\"/></table:table-row>");
    const SheetTable table = readWorkbook(test::odsWorkbook(QStringLiteral("Raum liste"), rows));
    EXPECT_EQ(table.sheet, QStringLiteral("Raum liste"));
    ASSERT_EQ(table.rows.size(), 4u);
    const SheetRow& first = table.rows[0];
    EXPECT_EQ(first.line, 1);
    expectText(first, 0, "Flur  1"); // without the note
    EXPECT_TRUE(first.cells[1].isEmpty() && first.cells[2].isEmpty());
    expectNumber(first, 3, 5.3, "5,3"); // the value, not the display
    expectRefused(first, 4, "die Formel hat kein gespeichertes Ergebnis");
    expectNumber(first, 5, 10.6, "10,6");

    for (const int r : {1, 2}) {
        const SheetRow& row = table.rows[static_cast<std::size_t>(r)];
        EXPECT_EQ(row.line, 4 + r);
        expectRefused(row, 0, "die Zelle enthält einen Wahrheitswert");
        expectRefused(row, 1, "die Zelle enthält ein Datum");
        expectRefused(row, 2, "die Zelle enthält den Fehlerwert '#DIV/0!'");
        EXPECT_TRUE(row.cells[3].isEmpty());
        expectText(row, 4, "a\nb");
    }
    EXPECT_EQ(table.rows[3].line, 7);
    EXPECT_EQ(table.rows[3].cells.size(), static_cast<std::size_t>(kMaxWorkbookColumns));
    EXPECT_EQ(
        table.rows[3].error,
        QStringLiteral("'Raum liste'!BM7: die Zelle liegt rechts der Spalten eines Raumbuchs und muss leer "
                       "sein."));

    // A hidden first table is passed over for the first visible one, and the reader says so.
    const SheetTable visible = readWorkbook(test::zipArchive(
        {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet", false},
         {QStringLiteral("content.xml"),
          "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
          "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
          "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
          "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:automatic-styles>"
          "<style:style style:name=\"ta2\" style:family=\"table\"><style:table-properties "
          "table:display=\"false\"/></style:style></office:automatic-styles><office:body><office:spreadsheet>"
          "<table:table table:name=\"Alt\" table:style-name=\"ta2\"><table:table-row><table:table-cell>"
          "<text:p>alt</text:p></table:table-cell></table:table-row></table:table><table:table "
          "table:name=\"Neu\"><table:table-row><table:table-cell><text:p>neu</text:p></table:table-cell>"
          "</table:table-row></table:table></office:spreadsheet></office:body></office:document-content>"}}));
    EXPECT_EQ(visible.sheet, QStringLiteral("Neu"));
    ASSERT_EQ(visible.rows.size(), 1u);
    expectText(visible.rows[0], 0, "neu");
    EXPECT_EQ(visible.notice, QStringLiteral("Das erste Arbeitsblatt 'Alt' ist ausgeblendet; gelesen wurde das "
                                             "erste sichtbare, 'Neu'."));

    // ="" as LibreOffice stores it: an empty cell, as in the same workbook saved as .xlsx.
    const SheetTable empty = readWorkbook(test::odsWorkbook(
        QStringLiteral("T"), QStringLiteral("<table:table-row><table:table-cell><text:p>a</text:p></table:table-cell>"
                                            "<table:table-cell table:formula=\"of:=&quot;&quot;\"><text:p/>"
                                            "</table:table-cell></table:table-row>")));
    ASSERT_EQ(empty.rows.size(), 1u);
    EXPECT_TRUE(empty.rows[0].cells.size() == 1 || empty.rows[0].cells[1].isEmpty());
}

// The most resident memory the process has had since the last call, in MB; -1 where unknown.
long peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    long kilobytes = -1;
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                kilobytes = line.mid(6).trimmed().split(' ').front().toLong();
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (!reset.open(QIODevice::WriteOnly) || reset.write("5") != 1)
        return -1;
    return kilobytes < 0 ? -1 : kilobytes >> 10;
}

TEST(WorkbookReader, WhatIsKeptStaysWithinWhatARoomListHolds) {
    QByteArray xlsx, ods;
    {
        // A text of 40 MB packs to a few kilobytes; a million strings no cell uses.
        QStringList shared{QStringLiteral("Flur"), QString(40 << 20, u'x')};
        for (int i = 0; i < 1000000; ++i)
            shared << QStringLiteral("s");
        xlsx = test::xlsxWorkbook(QStringLiteral("T"),
                                  QStringLiteral("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" "
                                                 "t=\"s\"><v>1</v></c></row>"),
                                  shared);
        ods = test::odsWorkbook(QStringLiteral("T"),
                                QStringLiteral("<table:table-row><table:table-cell><text:p>%1</text:p>"
                                               "</table:table-cell></table:table-row>")
                                    .arg(QString(40 << 20, u'x')));
    }
    peakMegabytes();
    const SheetTable fromXlsx = readWorkbook(xlsx);
    const SheetTable fromOds = readWorkbook(ods);
    const long peak = peakMegabytes();
#if defined(__SANITIZE_ADDRESS__)
    // The address sanitizer keeps freed memory aside to catch late uses; what it holds is its own.
    const long bound = 1024;
#else
    const long bound = 150;
#endif
    if (peak >= 0) {
        EXPECT_LT(peak, bound);
    }
    ASSERT_EQ(fromXlsx.rows.size(), 1u);
    expectText(fromXlsx.rows[0], 0, "Flur");
    expectRefused(fromXlsx.rows[0], 1, "der Text der Zelle ist länger als 32767 Zeichen");
    ASSERT_EQ(fromOds.rows.size(), 1u);
    expectRefused(fromOds.rows[0], 0, "der Text der Zelle ist länger als 32767 Zeichen");

    // A text of exactly what a cell keeps, written with references, is kept whole.
    const QString most = QString(32766, u'a') + QStringLiteral("&amp;");
    const SheetTable whole = readWorkbook(test::odsWorkbook(
        QStringLiteral("T"),
        QStringLiteral("<table:table-row><table:table-cell><text:p>%1</text:p></table:table-cell>"
                       "</table:table-row>")
            .arg(most)));
    ASSERT_EQ(whole.rows.size(), 1u);
    EXPECT_EQ(whole.rows[0].cells[0].text.size(), 32767);

    // A row repeated past what a room list holds is refused at the cell where it ran out.
    EXPECT_EQ(refusal(test::odsWorkbook(QStringLiteral("T"),
                                        QStringLiteral("<table:table-row table:number-rows-repeated=\"9\">"
                                                       "<table:table-cell table:number-columns-repeated=\"4\">"
                                                       "<text:p>a</text:p></table:table-cell></table:table-row>")),
                      {kMaxWorkbookUnpackedBytes, kMaxWorkbookRows, 30, kMaxWorkbookText}),
              QStringLiteral("T!D8: das Arbeitsblatt hat mehr als 30 Zellen mit Inhalt; so viele hat keine "
                             "Raumliste."));
}

// Zip directory entries: their uncompressed size lies at byte 24 of each "PK\1\2" header.
QByteArray claimingSize(QByteArray zip, quint32 size) {
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0; at = zip.indexOf("PK\x01\x02", at + 4))
        for (int i = 0; i < 4; ++i)
            zip[at + 24 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    return zip;
}

TEST(WorkbookReader, DamagedOversizedAndForeignArchivesAreRefused) {
    const QString row = test::xlsxRow(1, QStringLiteral("Flur;5"));
    const QByteArray stored = test::xlsxWorkbook(QStringLiteral("T"), row, {}, {}, {}, false);
    ASSERT_EQ(readWorkbook(stored).rows.size(), 1u);

    EXPECT_EQ(refusal(stored.left(stored.size() / 2)),
              QStringLiteral("Die Arbeitsmappe ist beschädigt: kein lesbares Zip-Archiv (abgeschnitten oder "
                             "verändert?)."));
    QByteArray flipped = stored;
    flipped[flipped.indexOf("Flur")] = 'G';
    EXPECT_EQ(refusal(flipped),
              QStringLiteral("Die Arbeitsmappe ist beschädigt: der Teil xl/worksheets/sheet2.xml "
                             "lässt sich nicht fehlerfrei entpacken."));
    // The directory is believed before anything is unpacked: parts claiming 4 GB are not unpacked.
    const QString tooLarge =
        QStringLiteral("Die Arbeitsmappe würde entpackt größer als 256 MB; so groß ist keine "
                       "Raumliste, sie wird nicht entpackt.");
    EXPECT_EQ(refusal(claimingSize(stored, 0xFFFFFF00U)), tooLarge);
    // A part of 3 MB of blanks packs to a few kilobytes.
    const QByteArray bomb = test::xlsxWorkbook(QStringLiteral("T"), row + QString(3 << 20, u' '));
    EXPECT_LT(bomb.size(), 64 << 10);
    EXPECT_EQ(refusal(bomb, {qint64{2} << 20, kMaxWorkbookRows}),
              QStringLiteral(
                  "Die Arbeitsmappe würde entpackt größer als 2 MB; so groß ist keine Raumliste, sie wird "
                  "nicht entpackt."));
    EXPECT_EQ(
        refusal(test::odsWorkbook(QStringLiteral("T"), test::odsRow(QStringLiteral("a")).repeated(3)),
                {kMaxWorkbookUnpackedBytes, 2}),
        QStringLiteral("Das Arbeitsblatt T hat mehr als 2 Zeilen mit Inhalt; so lang ist keine Raumliste."));

    EXPECT_EQ(
        refusal(test::zipArchive({{QStringLiteral("notes.txt"), "Raum"}})),
        QStringLiteral("Die Datei ist ein Zip-Archiv, aber weder eine Excel-Arbeitsmappe (.xlsx) noch eine "
                       "OpenDocument-Tabelle (.ods)."));
    EXPECT_EQ(refusal(test::zipArchive({{QStringLiteral("xl/workbook.xml"),
                                         "<!DOCTYPE w [<!ENTITY a \"aaaa\">]><workbook>&a;</workbook>"}})),
              QStringLiteral(
                  "Die Arbeitsmappe ist beschädigt: xl/workbook.xml enthält eine Dokumenttypdeklaration."));
    EXPECT_TRUE(refusal(test::odsWorkbook(QStringLiteral("T"), QStringLiteral("<table:table-row>")))
                    .startsWith(QStringLiteral(
                        "Die Arbeitsmappe ist beschädigt: content.xml ist kein gültiges XML")));
    // A document saved with a password: its content is not XML, and not damaged either.
    EXPECT_EQ(refusal(test::zipArchive(
                  {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet", false},
                   {QStringLiteral("META-INF/manifest.xml"),
                    "<manifest:manifest><manifest:file-entry manifest:full-path=\"content.xml\">"
                    "<manifest:encryption-data/></manifest:file-entry></manifest:manifest>"},
                   {QStringLiteral("content.xml"), "\x8f\x02\xc1"}})),
              QStringLiteral("Die Arbeitsmappe ist mit einem Kennwort verschlüsselt; bitte ohne Kennwort "
                             "speichern."));
    // A zip comment of any length, up to the longest the end record can give.
    for (const int length : {65513, 65535}) {
        QByteArray commented = stored + QByteArray(length, 'c');
        commented[stored.size() - 2] = static_cast<char>(length & 0xFF);
        commented[stored.size() - 1] = static_cast<char>(length >> 8);
        EXPECT_EQ(refusal(commented), QStringLiteral("accepted")) << length;
    }
    // Two parts of one name: other readers take the last, so the archive is refused.
    EXPECT_EQ(refusal(test::zipArchive({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
                                        {QStringLiteral("content.xml"), "<a/>"},
                                        {QStringLiteral("content.xml"), "<b/>"}})),
              QStringLiteral("Die Arbeitsmappe ist beschädigt: der Teil content.xml steht zweimal im Zip-Archiv."));
    EXPECT_TRUE(isZipArchive(stored));
    EXPECT_FALSE(isZipArchive("Raum;Breite"));
}

} // namespace
