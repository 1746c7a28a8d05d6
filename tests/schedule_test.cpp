// Room schedules: reading the spreadsheet's CSV row by row, safe and distinct file names, and
// zelkfyl-cli schedule on the demo catalogue (projects, summary, workbook, parallel runs), and a
// generated schedule of varied rooms run from the program directory with its workbook read back.
#include "catalogue/loaders.h"
#include "fixtures/calcfixture.h"
#include "frame/errors.h"
#include "frame/projectfile.h"
#include "frame/record.h"
#include "schedule/roomschedule.h"
#include "schedule/schedulerun.h"
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"
#include "tests/support/workbookfiles.h"

#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

using namespace fyl;

namespace {

const QByteArray kHeader =
    "Raum;Breite;L\xC3\xA4nge;H\xC3\xB6he;Luftwechsel;Volumenstrom;K\xC3\xBChllast;Raumtemperatur;"
    "Zulufttemperatur;Kopfh\xC3\xB6he;Einbauh\xC3\xB6he;Luftgeschwindigkeit;Schallleistung;Typ;"
    "Gr\xC3\xB6\xC3\x9F"
    "e;Strahlform;Schlitzl\xC3\xA4nge;Schlitzanzahl;Rohr";

// Why a whole file is refused; empty when it is read.
QString scheduleRefusal(const QByteArray& bytes) {
    try {
        readRoomSchedule(bytes);
    } catch (const FileError& e) {
        return e.message();
    }
    return QString();
}

TEST(ScheduleReader, ReadsSpreadsheetExportsRowByRow) {
    const QByteArray utf8 = "\xEF\xBB\xBF" + kHeader +
                            "\r\n"
                            "\"Flur; \"\"Nord\"\"\";10;8,5;3;;2000;;22;16;1,8;3;0,2;35;DRL;DRL 400;1;;;\r\n"
                            ";;;;;;;;;;;;;;;;;;\r\n" // an empty spreadsheet row
                            "Lager;12;x;3;4;;0;20;20;1,8;3;0,2;40;;;;;;\n"
                            "Archiv;5;5;3;4;400;0;20;20;1,8;3;0,2;40;;;;;;\n"
                            "Kurz;5;5;3;4\n"
                            "\"offen;5;5;3;4;;0;20;20;1,8;3;0,2;40;;;;;;\n"
                            "Halle;30;20;6;2;;;22;17;1,8;6;0,25;45;;;;;;\n"
                            "Summe;;;;;2400;;;;;;;;;;;;;\n"
                            "Stadion;1000;45413;3;2;;;22;17;1,8;3;0,25;45;;;;;;\n";
    const std::vector<RoomRow> rows = readRoomSchedule(utf8);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].name, QStringLiteral("Flur; \"Nord\""));
    EXPECT_TRUE(rows[0].error.isEmpty()) << rows[0].error.toStdString();
    ASSERT_TRUE(rows[0].outlet);
    EXPECT_EQ(rows[0].outlet->size, QStringLiteral("DRL 400"));
    EXPECT_EQ(rows[0].outlet->jetForm, 1);
    // The air change rate and the cooling load are left empty: neither is typed.
    ASSERT_EQ(rows[0].fields.size(), 10u);
    EXPECT_EQ(rows[0].fields[1], (RoomEntry{RoomField::Length, QStringLiteral("8,5"), 8.5}));
    EXPECT_EQ(rows[0].fields[3].field, RoomField::VolumeFlow);
    EXPECT_EQ(rows[0].comfortCategory, QLatin1Char('B')); // a file without the column

    EXPECT_EQ(rows[1].line, 4);
    EXPECT_EQ(rows[1].error, QStringLiteral("Zeile 4, Spalte 3 (Länge): 'x' ist keine Zahl."));
    EXPECT_TRUE(rows[2].error.contains(QStringLiteral("Zeile 5, Spalten 5 und 6")))
        << rows[2].error.toStdString();
    EXPECT_TRUE(rows[3].error.contains(QStringLiteral("Zeile 6: 5 Felder statt 19")))
        << rows[3].error.toStdString();
    EXPECT_TRUE(rows[4].error.startsWith(QStringLiteral("Zeile 7: ein Anführungszeichen")))
        << rows[4].error.toStdString();
    // An open quote ends with its line: the row after it is read as a row.
    EXPECT_EQ(rows[5].name, QStringLiteral("Halle"));
    EXPECT_EQ(rows[5].line, 8);
    EXPECT_TRUE(rows[5].error.isEmpty()) << rows[5].error.toStdString();
    EXPECT_FALSE(rows[5].outlet);
    // A sum row is told as one; a date's day number typed into a length is no room's size.
    EXPECT_EQ(rows[6].name, QStringLiteral("Summe"));
    EXPECT_TRUE(rows[6].error.startsWith(
        QStringLiteral("Zeile 9, Spalten 2, 3 und 4 (Breite, Länge, Höhe): die Zeile hat keine Maße")))
        << rows[6].error.toStdString();
    EXPECT_EQ(rows[7].error, QStringLiteral("Zeile 10, Spalte 3 (Länge): 45413 m sind für einen Raum zu groß "
                                            "(höchstens 1000 m); ein Tippfehler oder ein Datum?"));

    // Windows-1252 with an umlaut in the name; a thousands point is refused, not read as 1,2.
    QByteArray ansi = kHeader + "\r\nB\xFC"
                                "ro;5;5;3;;1.200;0;20;20;1,8;3;0,2;40;;;;;;\r\n";
    ansi.replace("\xC3\xA4", "\xE4")
        .replace("\xC3\xB6", "\xF6")
        .replace("\xC3\xBC", "\xFC")
        .replace("\xC3\x9F", "\xDF");
    const std::vector<RoomRow> ansiRows = readRoomSchedule(ansi);
    ASSERT_EQ(ansiRows.size(), 1u);
    EXPECT_EQ(ansiRows[0].name, QStringLiteral("Büro"));
    EXPECT_TRUE(ansiRows[0].error.startsWith(QStringLiteral("Zeile 2, Spalte 6 (Volumenstrom)")))
        << ansiRows[0].error.toStdString();

    EXPECT_THROW(readRoomSchedule("Raum;Breite\r\nA;1\r\n"), FileError);

    // A header with typing errors names each heading that differs, in a workbook by its cell.
    QByteArray typed = QByteArray(kHeader).replace("H\xC3\xB6he;", "Hhe;").replace("K\xC3\xBChllast;", "") +
                       ";Bemerkung\r\n";
    EXPECT_TRUE(scheduleRefusal(typed).startsWith(QStringLiteral(
        "Zeile 1: die Kopfzeile ist nicht die eines Raumbuchs (Spalte 4 'Hhe' statt 'Höhe'; Spalte 7 "
        "'Raumtemperatur' statt 'Kühllast'; Spalte 8 'Zulufttemperatur' statt 'Raumtemperatur'; Spalte 9 "
        "'Kopfhöhe' statt 'Zulufttemperatur'; …). Erwartet wird: Raum;Breite;")))
        << scheduleRefusal(typed).toStdString();
    const QString sheetHeader =
        QString::fromUtf8(kHeader).replace(QStringLiteral("Rohr"), QStringLiteral("Rohr;;x"));
    EXPECT_TRUE(scheduleRefusal(test::xlsxWorkbook(QStringLiteral("Räume"), test::xlsxRow(1, sheetHeader)))
                    .startsWith(QStringLiteral("Räume, Zeile 1: die Kopfzeile ist nicht die eines Raumbuchs "
                                               "(Räume!U1 'x' gehört zu keiner Spalte).")))
        << scheduleRefusal(test::xlsxWorkbook(QStringLiteral("Räume"), test::xlsxRow(1, sheetHeader)))
               .toStdString();

    // A spreadsheet's "Unicode text": UTF-16 with its byte order mark, tab separated.
    const QString unicode =
        QString::fromUtf8(kHeader + "\r\nB\xC3\xBCro;10;8;3;;2000;;22;16;1,8;3;0,2;35;;;;;;\r\n")
            .replace(QLatin1Char(';'), QLatin1Char('\t'));
    QByteArray utf16("\xFF\xFE");
    for (const QChar c : unicode)
        utf16 += static_cast<char>(c.unicode() & 0xFF), utf16 += static_cast<char>(c.unicode() >> 8);
    const std::vector<RoomRow> fromUtf16 = readRoomSchedule(utf16);
    ASSERT_EQ(fromUtf16.size(), 1u);
    EXPECT_EQ(fromUtf16[0].name, QStringLiteral("Büro"));
    EXPECT_TRUE(fromUtf16[0].error.isEmpty()) << fromUtf16[0].error.toStdString();
}

// The same rooms as a German and an English spreadsheet export them: semicolon and decimal comma,
// comma or tab and decimal point. The file decides its decimal mark; where nothing decides, a
// grouped "1.000" or "1,000" is refused, and a file with both marks is refused whole.
TEST(ScheduleReader, EitherDecimalMarkWithTheSeparatorOfTheHeader) {
    const auto dialect = [](QByteArray csv, char separator, bool point) {
        if (point)
            csv.replace(',', '.');
        return csv.replace(';', separator);
    };
    const QByteArray german = kHeader +
                              "\r\n\"Flur; Nord\";10;8,5;3;;2000;4,024;22;;1,8;3;0,2;35;;;;;;\r\n"
                              "Halle;30;20;6;2;;;22;17,5;1,8;6;0,25;45;STR;STR 25;5;3000,5;4;250\r\n";
    const std::vector<RoomRow> expected = readRoomSchedule(german);
    ASSERT_EQ(expected.size(), 2u);
    for (const auto& [separator, point] :
         {std::pair{',', true}, std::pair{'\t', true}, std::pair{'\t', false}}) {
        SCOPED_TRACE(std::string(1, separator) + (point ? " ." : " ,"));
        const std::vector<RoomRow> rows = readRoomSchedule(dialect(german, separator, point));
        ASSERT_EQ(rows.size(), 2u);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_TRUE(rows[i].error.isEmpty()) << rows[i].error.toStdString();
            EXPECT_EQ(rows[i].fields, expected[i].fields); // the texts as typed into the window: "8,5"
            ASSERT_TRUE(rows[i].cooling);
            EXPECT_EQ(rows[i].cooling->supplyTemp, expected[i].cooling->supplyTemp);
        }
        EXPECT_EQ(rows[1].outlet->length, 3000.5L);
    }
    EXPECT_EQ(readRoomSchedule(dialect(german, ',', true))[0].name, QStringLiteral("Flur, Nord"));

    const QByteArray wholeNumbers = "Raum;10;8;3;;2000;;22;16;2;3;1;35;;;;;;";
    const std::pair<QByteArray, const char*> cells[] = {
        // Nothing else decides: 1 or 1000?
        {"Raum;10;8;3;;1.000;;22;16;2;3;1;35;;;;;;", "Zeile 3, Spalte 6 (Volumenstrom): '1.000' ist "
                                                     "mehrdeutig: keine andere Zahl der Datei zeigt, ob sie "
                                                     "Dezimalkomma oder Dezimalpunkt schreibt, und hier kann "
                                                     "das Zeichen auch Tausender trennen. Bitte ohne "
                                                     "Tausendertrennzeichen schreiben."},
        {"Raum;10;8;3;;\"1,000\";;22;16;2;3;1;35;;;;;;",
         "Zeile 3, Spalte 6 (Volumenstrom): '1,000' ist mehrdeutig"},
        // A decimal point decides: a grouped point is a decimal point then, a comma is no mark.
        {"Raum;10;8.5;3;;1.000;;22;16;2;3;1;35;;;;;;", ""},
        {"Raum;10;8.5;3;;2000;\"1,200\";22;;2;3;1;35;;;;;;",
         "Zeile 3, Spalte 7 (Kühllast): '1,200' ist keine Zahl mit Dezimalpunkt (ohne Tausenderkomma)."},
        // A decimal comma decides as it always did: a point is refused as a thousands separator.
        {"Raum;10;8,5;3;;1.000;;22;16;2;3;1;35;;;;;;",
         "Zeile 3, Spalte 6 (Volumenstrom): '1.000' ist keine Zahl mit Dezimalkomma (ohne Tausenderpunkt)."},
    };
    for (const auto& [row, refusal] : cells) {
        SCOPED_TRACE(row.toStdString());
        const std::vector<RoomRow> rows =
            readRoomSchedule(kHeader + "\r\n" + wholeNumbers + "\r\n" + row + "\r\n");
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_TRUE(rows[0].error.isEmpty()) << rows[0].error.toStdString();
        EXPECT_EQ(rows[1].error.left(QString::fromUtf8(refusal).size()), QString::fromUtf8(refusal));
        if (!*refusal) {
            EXPECT_EQ(rows[1].cooling->flow, 1.0);
        }
    }

    EXPECT_EQ(scheduleRefusal(
                  kHeader +
                  "\r\nA;10;8,5;3;;2000;;22;16;2;3;1;35;;;;;;\r\nB;10;8;3;;2000;;22;16.5;2;3;1;35;;;;;;\r\n"),
              QStringLiteral(
                  "Zeile 3, Spalte 9 (Zulufttemperatur): '16.5' hat einen Dezimalpunkt, aber Zeile 2, "
                  "Spalte 3 (Länge) '8,5' ein Dezimalkomma; eine Datei schreibt ihre Zahlen durchgehend mit "
                  "Dezimalkomma oder durchgehend mit Dezimalpunkt."));
    EXPECT_EQ(
        scheduleRefusal("\r\nRaum;Breite,L\xC3\xA4nge\r\n"),
        QStringLiteral("Zeile 2: die Kopfzeile trennt ihre Felder mit Semikolon und Komma; erwartet wird ein "
                       "Trennzeichen (Semikolon, Komma oder Tabulator)."));
}

// A room list kept as a workbook reads as its CSV: number cells by their value, text cells as the
// CSV's fields, and a refused row names the sheet, the cell and the column heading.
TEST(ScheduleReader, WorkbooksGiveTheRowsOfTheirCsv) {
    const QString header = QString::fromUtf8(kHeader) + QStringLiteral(";Komfortkategorie");
    const QStringList rooms = {
        QStringLiteral("Flur;10;8.5;3;;2000;4.024;22;;1.8;3;0.2;35;;;;;;;A"),
        QStringLiteral("Halle;30;20;6;2;;;22;17.5;1.8;6;0.25;45;STR;STR 25;5;3000.5;4;250;"),
        QStringLiteral("Text;10;8,5;3;;2000;;22;16;1,8;3;0,2;35;;;;;;;"), // numbers typed as texts
    };
    QByteArray csv = kHeader + ";Komfortkategorie\r\n";
    QString xlsxRows = test::xlsxRow(1, header), odsRows = test::odsRow(header);
    for (int i = 0; i < rooms.size(); ++i) {
        csv += QString(rooms[i]).replace(QLatin1Char('.'), QLatin1Char(',')).toUtf8() + "\r\n";
        xlsxRows += test::xlsxRow(i + 2, rooms[i]);
        odsRows += test::odsRow(rooms[i]);
    }
    const std::vector<RoomRow> expected = readRoomSchedule(csv);
    ASSERT_EQ(expected.size(), 3u);
    for (const QByteArray& workbook : {test::xlsxWorkbook(QStringLiteral("Tabelle1"), xlsxRows),
                                       test::odsWorkbook(QStringLiteral("Tabelle1"), odsRows)}) {
        const std::vector<RoomRow> rows = readRoomSchedule(workbook);
        ASSERT_EQ(rows.size(), expected.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_TRUE(rows[i].error.isEmpty()) << rows[i].error.toStdString();
            EXPECT_EQ(rows[i].line, expected[i].line);
            EXPECT_EQ(rows[i].name, expected[i].name);
            EXPECT_EQ(rows[i].fields, expected[i].fields);
            EXPECT_EQ(rows[i].comfortCategory, expected[i].comfortCategory);
            EXPECT_EQ(rows[i].outlet.has_value(), expected[i].outlet.has_value());
        }
    }

    const QString room = QStringLiteral("%1;10;%2;3;;2000;;22;16;2;3;1;35");
    const QString data =
        test::xlsxRow(1, header) + test::xlsxRow(2, room.arg(QStringLiteral("A"), QStringLiteral("x"))) +
        test::xlsxRow(7, room.arg(QStringLiteral("B"), QStringLiteral("8")))
            .replace(QStringLiteral("<c r=\"C7\"><v>8</v></c>"),
                     QStringLiteral("<c r=\"C7\"><f>B7*2</f></c>")) +
        test::xlsxRow(8, room.arg(QStringLiteral("C"), QStringLiteral("8")))
            .replace(QStringLiteral("<c r=\"D8\">"), QStringLiteral("<c r=\"D8\" s=\"1\">")) +
        test::xlsxRow(9, room.arg(QStringLiteral("D"), QStringLiteral("8")) + QStringLiteral(";;;;;;;;x"));
    const std::vector<RoomRow> refused =
        readRoomSchedule(test::xlsxWorkbook(QStringLiteral("Tabelle1"), data, {}, {0, 14}));
    ASSERT_EQ(refused.size(), 4u);
    EXPECT_EQ(refused[0].error, QStringLiteral("Tabelle1!C2 (Länge): 'x' ist keine Zahl."));
    EXPECT_EQ(refused[1].error,
              QStringLiteral("Tabelle1!C7 (Länge): die Formel hat kein gespeichertes Ergebnis; bitte "
                             "die Mappe in der Tabellenkalkulation neu berechnen lassen und wieder "
                             "speichern."));
    EXPECT_EQ(refused[2].error,
              QStringLiteral("Tabelle1!D8 (Höhe): die Zelle enthält ein Datum oder eine Uhrzeit, keine "
                             "Zahl; bitte als Zahl formatieren."));
    EXPECT_EQ(refused[3].error,
              QStringLiteral(
                  "Tabelle1!U9: die Zelle liegt rechts der letzten Spalte (Komfortkategorie) und muss leer "
                  "sein."));

    // An .xls, or an .xlsx encrypted with a password, is a compound document: named, not read as text.
    const QString compound =
        scheduleRefusal(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0'));
    EXPECT_TRUE(compound.contains(QStringLiteral("(.xls) oder eine mit Kennwort verschlüsselte")))
        << compound.toStdString();
}

// A schedule of the demo catalogue's rooms, with the comfort category column.
const QByteArray kComfortHeader = kHeader + ";Komfortkategorie";

struct DemoProgram {
    QString dir = QStringLiteral(ZELK_PROGRAM_DIR);
    Catalogue catalogue;
    TextTable texts;
    DemoProgram() {
        LoadCatalogue(catalogue, dir);
        texts.load(dir + QStringLiteral("/Fyltext.txt"));
    }
    ScheduleContext context() const { return {catalogue, texts, dir}; }
};

RoomRow onlyRow(const QByteArray& csv) {
    std::vector<RoomRow> rows = readRoomSchedule(csv);
    if (rows.size() == 1)
        return rows.front();
    RoomRow none;
    none.error = QStringLiteral("not one row");
    return none;
}

// The cooling columns Luftwechsel;Volumenstrom;Kühllast;Raumtemperatur;Zulufttemperatur of a room of
// 10 × 8 × 3 m (240 m³), figured by hand: load [kW] = flow [m³/h] · ΔT [K] · 1,2072 / 3600.
struct CoolingCase {
    const char* cells;
    double flow, load, supplyTemp; // as planned
    const char* refusal;           // the row's error; planned when empty
};
const CoolingCase kCoolingCases[] = {
    {";2000;;22;16", 2000, 4.024, 16, ""},    // the load from flow and ΔT
    {";2000;4,024;22;", 2000, 4.024, 16, ""}, // the supply temperature from flow and load
    {";;4,024;22;16", 2000, 4.024, 16, ""},   // the flow from load and ΔT
    {";1572;;24;19", 1572, 2.63572, 19, ""},  // the same with figures that do not come out even
    {";1572;2,5;22;", 1572, 2.5, 17.257463, ""},
    {";100;0,1;22;", 100, 0.1, 19.017893, ""},
    {";;2,5;22;17,3", 1586.227317, 2.5, 17.3, ""},
    {"5;;;22;17", 1200, 2.012, 17, ""},        // the flow from air change rate and volume
    {";2000;4,2;22;16", 2000, 4.024, 16, ""},  // 4,4 % above: the temperatures' load
    {";2000;3,85;22;16", 2000, 4.024, 16, ""}, // 4,3 % below
    {";2000;;22;10", 2000, 8.048, 10, ""},     // 12 K at most
    {";2000;;22;", 2000, 0, 22, ""},           // the flow alone: isothermal
    {";2000;0;22;22", 2000, 0, 22, ""},
    {";2000;4,3;22;16", 0, 0, 0,
     "Zeile 2, Spalten 6, 7 und 9 (Volumenstrom, Kühllast, Zulufttemperatur): 2000 m³/h mit Zuluft von 16 °C "
     "(ΔT = 6 K) führen 4,024 kW ab, nicht 4,3 kW (mehr als 5 % Abweichung)."},
    {";2000;3,8;22;16", 0, 0, 0,
     "Zeile 2, Spalten 6, 7 und 9 (Volumenstrom, Kühllast, Zulufttemperatur): 2000 m³/h mit Zuluft von 16 °C "
     "(ΔT = 6 K) führen 4,024 kW ab, nicht 3,8 kW (mehr als 5 % Abweichung)."},
    {"5;;2,2;22;17", 0, 0, 0,
     "Zeile 2, Spalten 5, 7 und 9 (Luftwechsel, Kühllast, Zulufttemperatur): 1200 m³/h mit Zuluft von 17 °C "
     "(ΔT = 5 K) führen 2,012 kW ab, nicht 2,2 kW (mehr als 5 % Abweichung)."},
    {";2000;;22;9", 0, 0, 0,
     "Zeile 2, Spalten 8 und 9 (Raumtemperatur, Zulufttemperatur): ΔT = 13 K ist mehr als 12 K."},
    {";1000;5;22;", 0, 0, 0,
     "Zeile 2, Spalten 6 und 7 (Volumenstrom, Kühllast): 5 kW bei 1000 m³/h ergeben ΔT = 14,91 K, mehr als "
     "12 K."},
    {";2000;;;16", 0, 0, 0, "Zeile 2, Spalte 8 (Raumtemperatur): der Wert fehlt."},
    // Heating: warm supply air carries no cooling load; a load given with it is a contradiction.
    {";2000;;22;24", 2000, 0, 24, ""},
    {";2000;0;22;30", 2000, 0, 30, ""},
    {"5;;;22;30", 1200, 0, 30, ""},
    {";2000;2;22;24", 0, 0, 0,
     "Zeile 2, Spalten 7, 8 und 9 (Kühllast, Raumtemperatur, Zulufttemperatur): eine Kühllast von 2 kW passt "
     "nicht zu Zuluft von 24 °C, wärmer als der Raum (22 °C); zum Heizen die Kühllast leer lassen oder 0 "
     "angeben."},
    {";;2;22;24", 0, 0, 0,
     "Zeile 2, Spalten 7, 8 und 9 (Kühllast, Raumtemperatur, Zulufttemperatur): eine Kühllast von 2 kW passt "
     "nicht zu Zuluft von 24 °C, wärmer als der Raum (22 °C); zum Heizen die Kühllast leer lassen oder 0 "
     "angeben."},
    {";;4;22;", 0, 0, 0,
     "Zeile 2, Spalten 5 und 6 (Luftwechsel, Volumenstrom): eines von beiden fehlt (ohne beide Kühllast und "
     "Zulufttemperatur angeben)."},
    {";;0;22;16", 0, 0, 0,
     "Zeile 2, Spalten 7 und 9 (Kühllast, Zulufttemperatur): aus 0 kW bei ΔT = 6 K folgt kein Volumenstrom; "
     "Luftwechsel oder Volumenstrom angeben."},
};

// A planned row's figures are the hand's, and the room's record ends with exactly those figures,
// whatever the window derives on the way.
TEST(ScheduleCooling, TwoOfFlowLoadAndSupplyGiveTheThirdAndTheRestIsRefused) {
    const DemoProgram demo;
    for (const CoolingCase& c : kCoolingCases) {
        SCOPED_TRACE(c.cells);
        const RoomRow row =
            onlyRow(kComfortHeader + "\r\nRaum;10;8;3;" + c.cells + ";1,8;3;0,2;40;DRL;DRL 400;1;;;;A\r\n");
        EXPECT_EQ(row.error.toStdString(), c.refusal);
        if (!row.error.isEmpty())
            continue;
        ASSERT_TRUE(row.cooling);
        const CoolingFigures& figures = *row.cooling;
        EXPECT_NEAR(figures.flow, c.flow, 1e-6);
        EXPECT_NEAR(figures.load, c.load, 1e-6);
        EXPECT_NEAR(figures.supplyTemp, c.supplyTemp, 1e-6);

        const RoomPlan plan = planRoom(row, demo.context());
        ASSERT_TRUE(plan.planned()) << plan.outcome.message.toStdString();
        EXPECT_EQ(plan.comfortCategory, QLatin1Char('A'));
        EXPECT_EQ(plan.record->totalFlow, figures.flow);
        EXPECT_EQ(plan.record->coolingLoad, figures.load);
        EXPECT_EQ(plan.record->roomTemp, figures.roomTemp);
        EXPECT_EQ(plan.record->supplyTemp, figures.supplyTemp);
    }
}

TEST(ScheduleReader, ComfortCategoryIsAnOptionalLastColumn) {
    const QByteArray room = "Raum;10;8;3;;2000;;22;16;1,8;3;0,2;35;;;;;;";
    const std::pair<const char*, const char*> cases[] = {
        {";A", "A"},
        {";B", "B"},
        {"; C ", "C"},
        {";", "B"},
        {";a",
         "Zeile 2, Spalte 20 (Komfortkategorie): 'a' ist keine Komfortkategorie (A, B oder C; leer: B)."},
        {";AB",
         "Zeile 2, Spalte 20 (Komfortkategorie): 'AB' ist keine Komfortkategorie (A, B oder C; leer: B)."},
        {"", "Zeile 2: 19 Felder statt 20."},
    };
    for (const auto& [cell, expected] : cases) {
        SCOPED_TRACE(cell);
        const RoomRow row = onlyRow(kComfortHeader + "\r\n" + room + cell + "\r\n");
        if (std::strlen(expected) == 1) {
            EXPECT_TRUE(row.error.isEmpty()) << row.error.toStdString();
            EXPECT_EQ(row.comfortCategory, QLatin1Char(expected[0]));
        } else {
            EXPECT_EQ(row.error.toStdString(), expected);
        }
    }
    // Without the column in the header, a row with it has a field too many.
    EXPECT_EQ(onlyRow(kHeader + "\r\n" + room + ";A\r\n").error,
              QStringLiteral("Zeile 2: 20 Felder statt 19."));
    EXPECT_THROW(readRoomSchedule(kHeader + ";Komfort\r\n" + room + ";A\r\n"), FileError);
}

// The flow per outlet is a whole outlet's, a slot outlet's too; the flow per metre of slot only
// for slot outlets. The cooling columns hold the figures the room was planned with.
TEST(ScheduleSummary, FlowPerOutletAndPerMetreOfSlotInColumnsOfTheirOwn) {
    const DemoProgram demo;
    const QStringList header = summaryHeader();
    const auto column = [&](const char* name) { return header.indexOf(QString::fromUtf8(name)); };
    const std::vector<RoomRow> rows = readRoomSchedule(
        kHeader + "\r\n"
                  "B\xC3\xBCro;10;8;3;;2000;4,024;22;;1,8;3;0,2;35;DRL;DRL 400;1;;;\r\n"
                  "Rohr;4,58;7,05;3,16;4,7;;;22;18,6;1,8;3,16;0,2;40;STR;STR 25;5;3000;4;250\r\n");
    ASSERT_EQ(rows.size(), 2u);
    for (const RoomRow& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        const RoomPlan plan = planRoom(row, demo.context());
        ASSERT_TRUE(plan.planned()) << plan.outcome.message.toStdString();
        const CalculationRecord& rec = *plan.record;
        const SummaryRow cells = summaryRow(row.name, plan);
        ASSERT_EQ(cells.size(), static_cast<std::size_t>(header.size()));
        const SummaryCell& perOutlet = cells[column("Volumenstrom je Durchlass")];
        const SummaryCell& perMetre = cells[column("Volumenstrom je m Schlitz")];
        ASSERT_TRUE(perOutlet.number);
        EXPECT_NEAR(*perOutlet.number * plan.result.count, rec.totalFlow, 0.005 * plan.result.count);
        const bool slot = row.name == QLatin1String("Rohr");
        EXPECT_EQ(rec.designCode.str() != QLatin1String("0"), slot);
        EXPECT_EQ(perMetre.number.has_value(), slot);
        if (slot) {
            const double metres = rec.effectiveLength / 1000.0;
            EXPECT_NEAR(*perMetre.number * metres, *perOutlet.number, 0.005 * metres + 0.005);
        }
        EXPECT_EQ(cells[column("Betrieb")].text, QStringLiteral("Kühlen"));
        if (!slot) { // the supply temperature derived from the load
            EXPECT_EQ(cells[column("Kühllast")].number, 4.024);
            EXPECT_EQ(cells[column("ΔT")].number, 6.0);
            EXPECT_EQ(cells[column("Zulufttemperatur")].number, 16.0);
        }
    }
}

TEST(ScheduleNames, StayInsideTheFolderAndDistinct) {
    const std::pair<const char*, const char*> cases[] = {
        {"../x", "_x"},        {"a/b", "a_b"},     {"CON", "_CON"}, {"lpt1.txt", "_lpt1.txt"},
        {".hidden", "hidden"}, {"..", "Raum"},     {"  ", "Raum"},  {"Raum 1. ", "Raum 1"},
        {"a:b*c?", "a_b_c_"},  {"COM10", "COM10"}, {"Büro", "Büro"}};
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(safeFileName(QString::fromUtf8(name)), QString::fromUtf8(expected)) << name;
    EXPECT_LE(safeFileName(QString(300, QChar(0x00FC))).toUtf8().size(), 200);

    const std::vector<QString> names =
        uniqueFileNames({QStringLiteral("Büro"), QStringLiteral("büro"), QStringLiteral("Büro (2)"),
                         QStringLiteral("a/b"), QStringLiteral("a:b")});
    EXPECT_EQ(names, (std::vector<QString>{QStringLiteral("Büro"), QStringLiteral("büro (2)"),
                                           QStringLiteral("Büro (2) (2)"), QStringLiteral("a_b"),
                                           QStringLiteral("a_b (2)")}));
}

// A refused row, a planned room, a room no outlet suits, and a planned room whose files cannot be
// made: each outcome is told by its kind, not by its text, and comes in input order.
TEST(ScheduleRun, EachRoomsOutcomeIsItsKindInInputOrder) {
    const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
    Catalogue catalogue;
    LoadCatalogue(catalogue, program);
    TextTable texts;
    texts.load(program + QStringLiteral("/Fyltext.txt"));
    const std::vector<RoomRow> rows =
        readRoomSchedule(kHeader + "\r\n"
                                   "Lager;12;x;3;4;;0;20;20;1,8;3;0,2;40;;;;;;\r\n"
                                   "B\xC3\xBCro;10;8;3;;2000;;22;16;1,8;3;0,2;35;DRL;DRL 400;1;;;\r\n"
                                   "Leise;10;10;3;10;;;22;16;1,8;3;0,2;1;;;;;;\r\n"
                                   "Flur;10;8;3;;2000;;22;16;1,8;3;0,2;35;DRL;DRL 400;1;;;\r\n");
    QTemporaryDir dir;
    ScheduleRun run{dir.path(), 2, [](const RoomPlan& plan, QStringList& notes) {
                        if (plan.record->projectName.str() == QStringLiteral("Flur"))
                            throw FileError(QStringLiteral("Zeile 1 des Berichts passt nicht."));
                        notes << QStringLiteral("Bericht");
                        return QByteArray("%PDF");
                    }};
    const ScheduleResult result = runRoomSchedule(rows, {catalogue, texts, program}, run);

    ASSERT_EQ(result.outcomes.size(), 4u);
    EXPECT_EQ(result.outcomes[0].kind, RoomOutcome::RowRefused);
    EXPECT_EQ(result.outcomes[1].kind, RoomOutcome::Planned);
    EXPECT_EQ(result.outcomes[2].kind, RoomOutcome::PlanningFailed);
    EXPECT_EQ(result.outcomes[3].kind, RoomOutcome::FilesNotWritten);
    EXPECT_EQ(result.failed(), 3);
    EXPECT_EQ(failureLine(rows[0], result.outcomes[0]),
              QStringLiteral("Zeile 2, Spalte 3 (Länge): 'x' ist keine Zahl."));
    EXPECT_TRUE(failureLine(rows[1], result.outcomes[1]).isEmpty());
    EXPECT_TRUE(failureLine(rows[2], result.outcomes[2])
                    .startsWith(QStringLiteral("Zeile 4 (Leise): kein geeigneter")));
    // A reason that begins like a refused row's still gets the room's line and name.
    EXPECT_EQ(failureLine(rows[3], result.outcomes[3]),
              QStringLiteral("Zeile 5 (Flur): Zeile 1 des Berichts passt nicht."));

    // The summary in input order; a room's files are written as a set, or none of them.
    ASSERT_EQ(result.summary.size(), 4u);
    const qsizetype notes = summaryHeader().indexOf(QStringLiteral("Hinweise"));
    EXPECT_EQ(result.summary[1][2].text, QStringLiteral("DRL 400"));
    EXPECT_TRUE(result.summary[1][notes].text.endsWith(QStringLiteral("Bericht")))
        << result.summary[1][notes].text.toStdString();
    EXPECT_EQ(result.summary[3][0].text, QStringLiteral("Flur"));
    EXPECT_EQ(result.summary[3][notes].text, QStringLiteral("Zeile 1 des Berichts passt nicht."));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("Büro.pdf"), QStringLiteral("Büro.zol")}));
}

TEST(ScheduleRun, ARoomWhoseFilesCannotBeWrittenLeavesTheEarlierOnesAsTheyWere) {
    const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
    Catalogue catalogue;
    LoadCatalogue(catalogue, program);
    TextTable texts;
    texts.load(program + QStringLiteral("/Fyltext.txt"));
    const std::vector<RoomRow> rows =
        readRoomSchedule(kHeader + "\r\nB\xC3\xBCro;10;8;3;;2000;;22;16;1,8;3;0,2;35;DRL;DRL 400;1;;;\r\n");
    QTemporaryDir dir;
    const auto report = [](const QByteArray& bytes) {
        return [bytes](const RoomPlan&, QStringList&) { return bytes; };
    };
    ASSERT_EQ(
        runRoomSchedule(rows, {catalogue, texts, program}, {dir.path(), 1, report("%PDF alt")}).failed(), 0);
    const QByteArray project = test::readFile(dir.filePath(QStringLiteral("Büro.zol")));

    // The disk is full when the report is made.
    ScheduleRun full{dir.path(), 1, [](const RoomPlan&, QStringList&) -> QByteArray {
                         throw FileError(QStringLiteral("Kein Platz."));
                     }};
    const ScheduleResult result = runRoomSchedule(rows, {catalogue, texts, program}, full);
    EXPECT_EQ(result.outcomes[0].kind, RoomOutcome::FilesNotWritten);
    EXPECT_EQ(test::readFile(dir.filePath(QStringLiteral("Büro.zol"))), project);
    EXPECT_EQ(test::readFile(dir.filePath(QStringLiteral("Büro.pdf"))), "%PDF alt");
    EXPECT_TRUE(result.outcomes[0].message.contains(
        QStringLiteral("Die Datei Büro.zol eines früheren Laufs bleibt unverändert")))
        << result.outcomes[0].message.toStdString();
    // A run without reports takes the earlier report away with the project it replaces.
    const ScheduleResult again = runRoomSchedule(rows, {catalogue, texts, program}, {dir.path(), 1, {}});
    EXPECT_EQ(again.failed(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Büro.zol")});
}

// On the demo catalogue of the build.
test::CliRun cli(QStringList args) {
    return test::runCli(args << QStringLiteral("--program-dir") << QStringLiteral(ZELK_PROGRAM_DIR));
}

QStringList csvCells(const QByteArray& csv, int row) {
    return QString::fromUtf8(csv).split(QStringLiteral("\r\n")).at(row).split(QLatin1Char(';'));
}

TEST(ScheduleCli, PlansEachRoomAsTheWindowsWouldAndSummarises) {
    QTemporaryDir dir;
    const QString rooms = dir.filePath(QStringLiteral("rooms.csv"));
    test::writeFile(rooms, kHeader + "\r\n"
                                     "B\xC3\xBCro;10;8;3;;2000;;22;16;1,8;3;0,2;35;DRL;DRL 400;1;;;\r\n"
                                     "../B\xC3\xBCro;6;5;2,8;6;;;22;18;1,8;2,8;0,2;35;;;;;;\r\n"
                                     "Leise;10;10;3;10;;;22;16;1,8;3;0,2;1;;;;;;\r\n"
                                     "Lager;12;x;3;4;;0;20;20;1,8;3;0,2;40;;;;;;\r\n");
    const QString out1 = dir.filePath(QStringLiteral("out1"));
    const test::CliRun run = cli({QStringLiteral("schedule"), rooms, QStringLiteral("--out"), out1,
                                  QStringLiteral("--jobs"), QStringLiteral("1")});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Zeile 5, Spalte 3")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Zeile 4 (Leise): kein geeigneter Durchlass")) << run.err.toStdString();

    const QByteArray csv = test::readFile(out1 + QStringLiteral("/results.csv"));
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBFRaum;Typ;")) << csv.toStdString();
    const QStringList office = csvCells(csv, 1);
    ASSERT_EQ(office.size(), summaryHeader().size());
    EXPECT_EQ(office[0], QStringLiteral("Büro"));
    EXPECT_EQ(office[2], QStringLiteral("DRL 400"));
    const QStringList ranked = csvCells(csv, 2);
    EXPECT_FALSE(ranked[1].isEmpty()); // a suggestion was taken over
    // A failed room: its name, no figures, the reason.
    EXPECT_TRUE(QString::fromUtf8(csv)
                    .split(QStringLiteral("\r\n"))
                    .at(3)
                    .startsWith(QStringLiteral("Leise") +
                                QString(summaryHeader().size() - 1, QLatin1Char(';')) +
                                QStringLiteral("\"kein geeigneter Durchlass; am besten ")))
        << csv.toStdString();

    // The projects: the fixed outlet and the suggestion; none for the failed rooms, none outside.
    EXPECT_TRUE(QFileInfo::exists(out1 + QStringLiteral("/_Büro.zol")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("Büro.zol"))));
    EXPECT_EQ(QDir(out1).entryList(QDir::Files).size(), 4)
        << QDir(out1).entryList(QDir::Files).join(QLatin1Char(' ')).toStdString();

    // The record holds what the window derives: the air change rate from the volume flow, not as
    // the field shows it ("8,3").
    auto rec = std::make_unique<CalculationRecord>();
    readProjectFile(out1 + QStringLiteral("/Büro.zol"), *rec);
    EXPECT_DOUBLE_EQ(rec->airChangeRate, 2000.0 / 240.0);
    EXPECT_EQ(rec->floorArea, 80.0);
    EXPECT_EQ(rec->projectName.str(), QStringLiteral("Büro"));

    // evaluate of the saved project gives the summary's count and flow per outlet.
    const test::CliRun evaluated = cli({QStringLiteral("evaluate"), out1 + QStringLiteral("/Büro.zol")});
    ASSERT_EQ(evaluated.exitCode, 0) << evaluated.err.toStdString();
    const QJsonObject json = evaluated.json();
    EXPECT_EQ(QString::number(json.value(QStringLiteral("flow_per_outlet")).toDouble(), 'f', 2)
                  .replace(QLatin1Char('.'), QLatin1Char(',')),
              office[summaryHeader().indexOf(QStringLiteral("Volumenstrom je Durchlass"))]);
    // The whole count is the one the flow per outlet is for, and evaluate's count.
    const QString count = office[summaryHeader().indexOf(QStringLiteral("Anzahl"))];
    EXPECT_EQ(QString::number(qRound(2000.0 / json.value(QStringLiteral("flow_per_outlet")).toDouble())),
              count);
    EXPECT_EQ(QString::number(json.value(QStringLiteral("count")).toInt()), count);
    EXPECT_FALSE(office[summaryHeader().indexOf(QStringLiteral("Anordnung"))].isEmpty());

    // Two threads give the same summary, byte for byte.
    const QString out2 = dir.filePath(QStringLiteral("out2"));
    EXPECT_EQ(cli({QStringLiteral("schedule"), rooms, QStringLiteral("--out"), out2, QStringLiteral("--jobs"),
                   QStringLiteral("2")})
                  .exitCode,
              1);
    EXPECT_EQ(test::readFile(out2 + QStringLiteral("/results.csv")), csv);

    // The workbook is a zip whose sheet and shared strings hold the rooms.
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral(
                      "import sys,zipfile;z=zipfile.ZipFile(sys.argv[1]);"
                      "s=z.read('xl/worksheets/sheet1.xml').decode()+z.read('xl/sharedStrings.xml').decode();"
                      "print(all(n in s for n in ['Büro','../Büro','Leise','Lager','pane ySplit=\"1\"']))"),
                  out1 + QStringLiteral("/results.xlsx")});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.readAllStandardOutput().trimmed(), "True")
        << python.readAllStandardError().toStdString();

    EXPECT_EQ(cli({QStringLiteral("schedule"), rooms}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("schedule"), rooms, QStringLiteral("--out"), out2, QStringLiteral("--jobs"),
                   QStringLiteral("0")})
                  .exitCode,
              2);
}

// A hall heated with air 10 K warmer than the room, from a room list, gets the outlet, count and
// figures the ranking of the same room's project puts first, and its summary says "Heizen".
TEST(ScheduleCli, AHeatedHallIsPlannedAsTheRankingOfItsProjectPlansIt) {
    QTemporaryDir dir;
    // 12 000 m³/h, 0,3 m/s, 45 dB, draught category C: the suggestions' heated hall.
    test::writeFile(dir.filePath(QStringLiteral("rooms.csv")),
                    kComfortHeader + "\r\nHalle;20;30;6;;12000;;20;30;1,8;6;0,3;45;;;;;;;C\r\n");
    ASSERT_EQ(cli({QStringLiteral("schedule"), dir.filePath(QStringLiteral("rooms.csv")),
                   QStringLiteral("--out"), dir.path()})
                  .exitCode,
              0);
    const QStringList hall = csvCells(test::readFile(dir.filePath(QStringLiteral("results.csv"))), 1);
    const auto cell = [&](const QString& name) { return hall.value(summaryHeader().indexOf(name)); };
    EXPECT_EQ(cell(QStringLiteral("Betrieb")), QStringLiteral("Heizen"));
    EXPECT_EQ(cell(QStringLiteral("ΔT")), QStringLiteral("-10,00"));

    const std::unique_ptr<CalculationRecord> room = test::newRoom(20, 30, 6, 12000, 20, 30);
    room->airChangeRate = 12000.0 / 3600.0;
    room->velocityLimit = 0.3;
    room->maxSoundLevel = 45;
    writeProjectFile(dir.filePath(QStringLiteral("Raum.zol")), *room);
    const QByteArray ranked =
        cli({QStringLiteral("rank"), dir.filePath(QStringLiteral("Raum.zol")), QStringLiteral("--csv"),
             QStringLiteral("--target-category"), QStringLiteral("C")})
            .out;
    const QStringList header = csvCells(ranked, 0);
    QStringList best;
    for (int row = 1;
         best.isEmpty() || best[header.indexOf(QStringLiteral("geeignet"))] != QLatin1String("ja"); ++row)
        ASSERT_GT((best = csvCells(ranked, row)).size(), 1) << "no suitable choice";
    for (const char* column : {"Typ", "Größe", "Strahlform", "Anzahl", "Anordnung",
                               "Volumenstrom je Durchlass", "dp", "LWA", "y max", "vk", "DR", "Kategorie"})
        EXPECT_EQ(cell(QString::fromUtf8(column)), best[header.indexOf(QString::fromUtf8(column))]) << column;
}

// The example of the manual, as tools/schedule/make_workbook.py writes it now: every room planned.
TEST(ScheduleCli, ExampleWorkbookPlansEveryRoom) {
    QTemporaryDir dir;
    for (const char* extension : {".xlsx", ".ods"}) {
        const QString name = QStringLiteral("Raumbuch-Beispiel") + QLatin1String(extension);
        const QString committed = QStringLiteral(ZELK_SOURCE_DIR "/tools/schedule/") + name;
        QProcess script;
        script.start(
            QStringLiteral("python3"),
            {QStringLiteral(ZELK_SOURCE_DIR "/tools/schedule/make_workbook.py"), dir.filePath(name)});
        ASSERT_TRUE(script.waitForFinished(60000) && script.exitCode() == 0)
            << script.readAllStandardError().toStdString();
        const std::vector<RoomRow> rows = readRoomSchedule(test::readFile(committed));
        const std::vector<RoomRow> made = readRoomSchedule(test::readFile(dir.filePath(name)));
        ASSERT_EQ(rows.size(), made.size()) << name.toStdString();
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows[i].fields, made[i].fields) << name.toStdString();
        const test::CliRun run = cli({QStringLiteral("schedule"), committed, QStringLiteral("--out"),
                                      dir.filePath(QStringLiteral("out")) + QLatin1String(extension)});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith("5 Räume: 5 geplant, 0 fehlgeschlagen.")) << run.out.toStdString();
    }
}

// As a new user runs it: the generator's varied rooms (ZELK_SCHEDULE_ROOMS of them, 50 unless set),
// the command started in the program directory without naming it, and the workbook read back with
// the standard library against the CSV, cell by cell.
TEST(ScheduleCli, VariedRoomsFromTheProgramDirectoryGiveAWorkbookThatIsTheCsv) {
    bool set = false;
    const int count = qEnvironmentVariableIntValue("ZELK_SCHEDULE_ROOMS", &set);
    const int roomCount = set && count > 0 ? count : 50;
    QTemporaryDir dir;
    const QString rooms = dir.filePath(QStringLiteral("rooms.csv"));
    const QString out = dir.filePath(QStringLiteral("out"));
    const auto python = [](const QString& script, const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral("python3"), QStringList{QStringLiteral(ZELK_SOURCE_DIR "/") + script} + args);
        const bool finished = p.waitForFinished(60000);
        return std::make_pair(finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                              QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()));
    };
    const auto made = python(QStringLiteral("tools/schedule/make_schedule.py"),
                             {QString::number(roomCount), QStringLiteral("--out"), rooms});
    ASSERT_EQ(made.first, 0) << made.second.toStdString();

    const test::CliRun run = test::runCli({QStringLiteral("schedule"), rooms, QStringLiteral("--out"), out},
                                          QStringLiteral(ZELK_PROGRAM_DIR), 300000);
    // A room no outlet suits is named with the best unsuitable one; every other room is planned.
    const QStringList failures = QString::fromUtf8(run.err).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : failures)
        EXPECT_TRUE(line.contains(QStringLiteral("kein geeigneter Durchlass"))) << line.toStdString();
    EXPECT_EQ(run.exitCode, failures.isEmpty() ? 0 : 1);
    EXPECT_LT(failures.size(), roomCount / 5) << run.err.toStdString();
    EXPECT_TRUE(
        QString::fromUtf8(run.out).startsWith(QStringLiteral("%1 Räume: %2 geplant, %3 fehlgeschlagen.")
                                                  .arg(roomCount)
                                                  .arg(roomCount - failures.size())
                                                  .arg(failures.size())))
        << run.out.toStdString();
    EXPECT_EQ(QDir(out).entryList({QStringLiteral("*.zol")}, QDir::Files).size(),
              roomCount - failures.size());

    const auto checked = python(QStringLiteral("tests/support/summary_workbook_check.py"), {out});
    EXPECT_EQ(checked.first, 0) << checked.second.toStdString();
    EXPECT_EQ(checked.second.trimmed(), QStringLiteral("%1 rooms").arg(roomCount));
}

} // namespace
