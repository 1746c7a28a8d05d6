// The room schedule against a real spreadsheet program: LibreOffice (soffice, headless) turns a
// generated room list into .xlsx and .ods, each planned as the CSV is, and reads our results.xlsx
// back into a CSV that must be results.csv cell for cell. Skipped where soffice is missing.
#include "frame/csv.h"
#include "frame/workbook.h"
#include "schedule/roomschedule.h"
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace fyl;

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString output;
};

ProgramRun runProgram(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, QStringLiteral("timed out: ") + QString::fromUtf8(p.readAll())};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

// The CSV's cells; a figure compared by its value's text with a decimal comma, a text as it is
// (without the guard ' that our CSV puts before a text a spreadsheet would take for a formula).
std::vector<QStringList> cellsOf(const QByteArray& csv, bool guarded) {
    std::vector<QStringList> rows;
    for (const CsvRecord& record : splitCsv(decodeSpreadsheetText(csv))) {
        QStringList cells;
        for (QString cell : record.fields) {
            if (guarded && cell.size() > 1 && cell.front() == u'\'' &&
                QStringLiteral("=+-@").contains(cell[1]))
                cell.remove(0, 1);
            if (!cell.isEmpty() && (cell.front().isDigit() || cell.front() == u'-'))
                cell.replace(QLatin1Char('.'), QLatin1Char(','));
            cells << cell;
        }
        rows.push_back(cells);
    }
    return rows;
}

TEST(RealSpreadsheet, LibreOfficeWorkbooksPlanAsTheirCsvAndReadOurSummaryBack) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP()
            << "soffice (LibreOffice Calc) is not installed, so no real spreadsheet program can convert the "
               "room lists; tools/setup.sh installs libreoffice-calc-nogui";
    QTemporaryDir dir;
    // A profile of its own: another soffice running on the machine keeps its own.
    const QString profile = QStringLiteral("-env:UserInstallation=") +
                            QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString();
    const auto convert = [&](const QStringList& args) {
        const ProgramRun run = runProgram(soffice,
                                   QStringList{profile, QStringLiteral("--headless")} + args +
                                       QStringList{QStringLiteral("--outdir"), dir.path()},
                                   180000);
        EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    };
    const QString csv = dir.filePath(QStringLiteral("rooms.csv"));
    const QString english = dir.filePath(QStringLiteral("english.csv"));
    for (const auto& [file, extra] :
         {std::pair{csv, QStringList{}}, std::pair{english, QStringList{QStringLiteral("--english")}}}) {
        const ProgramRun made =
            runProgram(QStringLiteral("python3"),
                       QStringList{QStringLiteral(ZELK_SOURCE_DIR "/tools/schedule/make_schedule.py"),
                                   QStringLiteral("20"), QStringLiteral("--out"), file} +
                           extra,
                       60000);
        ASSERT_EQ(made.exitCode, 0) << made.output.toStdString();
    }
    // Semicolons, double quotes, UTF-8, from line 1, German number reading: the numbers become numbers.
    const QString german = QStringLiteral("--infilter=CSV:59,34,76,1,,1031");
    convert({german, QStringLiteral("--convert-to"), QStringLiteral("xlsx"), csv});
    convert({german, QStringLiteral("--convert-to"), QStringLiteral("ods"), csv});

    const auto plan = [&](const QString& input) {
        QString out = input + QStringLiteral(".out");
        const test::CliRun run =
            test::runCli({QStringLiteral("schedule"), input, QStringLiteral("--out"), out,
                          QStringLiteral("--program-dir"), QStringLiteral(ZELK_PROGRAM_DIR)},
                         QString(), 300000);
        EXPECT_TRUE(run.out.startsWith("20 Räume:")) << input.toStdString() << ": " << run.err.toStdString();
        return out;
    };
    const QString expected = plan(csv);
    const QByteArray results = test::readFile(expected + QStringLiteral("/results.csv"));
    ASSERT_FALSE(results.isEmpty());
    for (const char* name : {"rooms.xlsx", "rooms.ods"}) {
        const QString workbook = dir.filePath(QString::fromLatin1(name));
        // The program kept the figures as numbers, not as texts that happen to read alike.
        const SheetTable table = readWorkbook(test::readFile(workbook));
        ASSERT_EQ(table.rows.size(), 21u) << name;
        for (std::size_t r = 1; r < table.rows.size(); ++r)
            EXPECT_TRUE(table.rows[r].cells.at(schedule::Width).number) << name << " row " << r;
        EXPECT_EQ(test::readFile(plan(workbook) + QStringLiteral("/results.csv")), results) << name;
    }
    // The same rooms exported the English way: commas and decimal points.
    EXPECT_EQ(test::readFile(plan(english) + QStringLiteral("/results.csv")), results);

    // Our workbook read back by the spreadsheet program and saved as CSV: the same cells.
    QFile::copy(expected + QStringLiteral("/results.xlsx"), dir.filePath(QStringLiteral("summary.xlsx")));
    convert({QStringLiteral("--convert-to"), QStringLiteral("csv:Text - txt - csv (StarCalc):59,34,76,1"),
             dir.filePath(QStringLiteral("summary.xlsx"))});
    const std::vector<QStringList> ours = cellsOf(results, true);
    const std::vector<QStringList> theirs =
        cellsOf(test::readFile(dir.filePath(QStringLiteral("summary.csv"))), false);
    ASSERT_EQ(theirs.size(), ours.size());
    for (std::size_t r = 0; r < ours.size(); ++r)
        EXPECT_EQ(theirs[r], ours[r]) << "row " << r + 1;
}

} // namespace
