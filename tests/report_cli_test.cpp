// zelkfyl-cli report: the pages written as PDF, and the failures that must leave an old report
// whole (a missing letterhead picture, a resolution beyond the printer's coordinates).
#include "frame/projectfile.h"
#include "frame/record.h"
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace fyl;

namespace {

using test::CliRun;
using test::runCliOn;

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ReportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        auto rec = std::make_unique<CalculationRecord>();
        std::memset(rec.get(), 0, sizeof *rec);
        ResetRecord(*rec);
        rec->totalFlow = 1200.0;
        rec->mountingHeight = 3.0;
        rec->projectName.assign(QStringLiteral("Büro 2.14"));
        const QString room = dir.filePath(QStringLiteral("room.zol"));
        writeProjectFile(room, *rec);
        project = dir.filePath(QStringLiteral("plan.zol"));
        const CliRun run =
            runCliOn({QStringLiteral("plan"), room, QStringLiteral("--type"), QStringLiteral("DRL"),
                      QStringLiteral("--size"), QStringLiteral("DRL 400"), QStringLiteral("--jet-form"),
                      QStringLiteral("1"), QStringLiteral("--write"), project});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }

    CliRun report(const QStringList& options, const QString& programDir = QStringLiteral(ZELK_PROGRAM_DIR)) {
        return runCliOn(QStringList{QStringLiteral("report"), project, QStringLiteral("--pdf"), pdf} +
                            options,
                        programDir);
    }

    QTemporaryDir dir;
    QString project;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
};

TEST_F(ReportCommand, WritesTheChosenPagesWithTheLetterheadPicture) {
    CliRun run = report({});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QByteArray bytes = contents(pdf);
    ASSERT_TRUE(bytes.startsWith("%PDF"));
    // The data page, the checks of the layout (the horizontal table leaves them no room) and the
    // picture page.
    EXPECT_EQ(test::pdfPageCount(bytes), 3);
    EXPECT_TRUE(bytes.contains("/Subtype /Image")); // the logo

    ASSERT_EQ(report({QStringLiteral("--no-data-page"), QStringLiteral("--no-letterhead")}).exitCode, 0);
    bytes = contents(pdf);
    EXPECT_EQ(test::pdfPageCount(bytes), 1);
    EXPECT_FALSE(bytes.contains("/Subtype /Image"));

    // Nothing ticked: the job is still started and ended, an empty page.
    ASSERT_EQ(report({QStringLiteral("--no-data-page"), QStringLiteral("--no-picture-page")}).exitCode, 0);
    EXPECT_EQ(test::pdfPageCount(contents(pdf)), 1);
}

TEST_F(ReportCommand, AFailedReportLeavesTheOldFileAndWritesNothing) {
    ASSERT_EQ(report({}).exitCode, 0);
    const QByteArray old = contents(pdf);

    // A program directory with the texts and the catalogue but without image4.bmp.
    QTemporaryDir bare;
    const QDir program(QStringLiteral(ZELK_PROGRAM_DIR));
    for (const QString& file : program.entryList(QDir::Files)) {
        if (file != QLatin1String("image4.bmp")) {
            ASSERT_TRUE(QFile::copy(program.filePath(file), bare.filePath(file)));
        }
    }
    CliRun run = report({}, bare.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("image4.bmp")) << run.err.toStdString();
    EXPECT_EQ(contents(pdf), old);
    // Without the letterhead the picture is not needed.
    EXPECT_EQ(report({QStringLiteral("--no-letterhead")}, bare.path()).exitCode, 0);

    // At 12000 dpi the logo would stand at x = 70000, beyond the 16-bit printer coordinates: the
    // resolution is refused with the other arguments.
    ASSERT_EQ(report({}).exitCode, 0);
    const QByteArray good = contents(pdf);
    run = report({QStringLiteral("--dpi"), QStringLiteral("12000")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(contents(pdf), good);

    EXPECT_EQ(report({QStringLiteral("--dpi"), QStringLiteral("0")}).exitCode, 2);
    EXPECT_EQ(report({QStringLiteral("--dpi"), QStringLiteral("300 dpi")}).exitCode, 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3u); // room, plan and the report
}

} // namespace
