// Room schedules: reading the spreadsheet's CSV row by row, safe and distinct file names, and
// zelkfyl-cli schedule on the demo catalogue (projects, summary, workbook, parallel runs), and a
// generated schedule of varied rooms run from the program directory with its workbook read back.
#include "catalogue/loaders.h"
#include "frame/errors.h"
#include "frame/projectfile.h"
#include "frame/record.h"
#include "schedule/roomschedule.h"
#include "schedule/schedulerun.h"
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"

#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <memory>

using namespace fyl;

namespace {

const QByteArray kHeader =
    "Raum;Breite;L\xC3\xA4nge;H\xC3\xB6he;Luftwechsel;Volumenstrom;K\xC3\xBChllast;Raumtemperatur;"
    "Zulufttemperatur;Kopfh\xC3\xB6he;Einbauh\xC3\xB6he;Luftgeschwindigkeit;Schallleistung;Typ;"
    "Gr\xC3\xB6\xC3\x9F"
    "e;Strahlform;Schlitzl\xC3\xA4nge;Schlitzanzahl;Rohr";

TEST(ScheduleReader, ReadsSpreadsheetExportsRowByRow) {
    const QByteArray utf8 = "\xEF\xBB\xBF" + kHeader +
                            "\r\n"
                            "\"Flur; \"\"Nord\"\"\";10;8,5;3;;2000;2;22;16;1,8;3;0,2;35;DRL;DRL 400;1;;;\r\n"
                            ";;;;;;;;;;;;;;;;;;\r\n" // an empty spreadsheet row
                            "Lager;12;x;3;4;;0;20;20;1,8;3;0,2;40;;;;;;\n"
                            "Archiv;5;5;3;4;400;0;20;20;1,8;3;0,2;40;;;;;;\n"
                            "Kurz;5;5;3;4\n"
                            "\"offen;5;5;3;4;;0;20;20;1,8;3;0,2;40;;;;;;\n"
                            "Halle;30;20;6;2;;10;22;17;1,8;6;0,25;45;;;;;;\n";
    const std::vector<RoomRow> rows = readRoomSchedule(utf8);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].name, QStringLiteral("Flur; \"Nord\""));
    EXPECT_TRUE(rows[0].error.isEmpty()) << rows[0].error.toStdString();
    ASSERT_TRUE(rows[0].outlet);
    EXPECT_EQ(rows[0].outlet->size, QStringLiteral("DRL 400"));
    EXPECT_EQ(rows[0].outlet->jetForm, 1);
    // The air change rate is left empty: the volume flow is typed, the rate is not.
    ASSERT_EQ(rows[0].fields.size(), 11u);
    EXPECT_EQ(rows[0].fields[1], std::make_pair(RoomField::Length, QStringLiteral("8,5")));
    EXPECT_EQ(rows[0].fields[3].first, RoomField::VolumeFlow);

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
                                   "B\xC3\xBCro;10;8;3;;2000;2;22;16;1,8;3;0,2;35;DRL;DRL 400;1;;;\r\n"
                                   "Leise;10;10;3;10;;2;22;16;1,8;3;0,2;1;;;;;;\r\n"
                                   "Flur;10;8;3;;2000;2;22;16;1,8;3;0,2;35;DRL;DRL 400;1;;;\r\n");
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
    EXPECT_EQ(result.summary[1][2].text, QStringLiteral("DRL 400"));
    EXPECT_TRUE(result.summary[1][16].text.endsWith(QStringLiteral("Bericht")))
        << result.summary[1][16].text.toStdString();
    EXPECT_EQ(result.summary[3][0].text, QStringLiteral("Flur"));
    EXPECT_EQ(result.summary[3][16].text, QStringLiteral("Zeile 1 des Berichts passt nicht."));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("Büro.pdf"), QStringLiteral("Büro.zol")}));
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
                                     "B\xC3\xBCro;10;8;3;;2000;2;22;16;1,8;3;0,2;35;DRL;DRL 400;1;;;\r\n"
                                     "../B\xC3\xBCro;6;5;2,8;6;;1;22;18;1,8;2,8;0,2;35;;;;;;\r\n"
                                     "Leise;10;10;3;10;;2;22;16;1,8;3;0,2;1;;;;;;\r\n"
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
    ASSERT_EQ(office.size(), 17);
    EXPECT_EQ(office[0], QStringLiteral("Büro"));
    EXPECT_EQ(office[2], QStringLiteral("DRL 400"));
    const QStringList ranked = csvCells(csv, 2);
    EXPECT_FALSE(ranked[1].isEmpty()); // a suggestion was taken over
    // A failed room: its name, no figures, the reason.
    EXPECT_TRUE(
        QString::fromUtf8(csv)
            .split(QStringLiteral("\r\n"))
            .at(3)
            .startsWith(QStringLiteral("Leise;;;;;;;;;;;;;;;;\"kein geeigneter Durchlass; am besten ")))
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
              office[6]);
    // The whole count is the one the flow per outlet is for.
    EXPECT_EQ(QString::number(qRound(2000.0 / json.value(QStringLiteral("flow_per_outlet")).toDouble())),
              office[5]);

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
    EXPECT_TRUE(QString::fromUtf8(run.out).startsWith(
        QStringLiteral("%1 Räume: %2 geplant, %3 fehlgeschlagen.")
            .arg(roomCount)
            .arg(roomCount - failures.size())
            .arg(failures.size())))
        << run.out.toStdString();
    EXPECT_EQ(QDir(out).entryList({QStringLiteral("*.zol")}, QDir::Files).size(), roomCount - failures.size());

    const auto checked = python(QStringLiteral("tests/support/summary_workbook_check.py"), {out});
    EXPECT_EQ(checked.first, 0) << checked.second.toStdString();
    EXPECT_EQ(checked.second.trimmed(), QStringLiteral("%1 rooms").arg(roomCount));
}

} // namespace
