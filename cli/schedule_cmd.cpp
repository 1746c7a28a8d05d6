// zelkfyl-cli schedule: plans every room of a room schedule (a spreadsheet's CSV, or its workbook),
// writes a project per room (and its report), and a summary as CSV and workbook. Application layer
// over the core and the drawing layer.
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/session.h"
#include "cli/summaryworkbook.h"

#include "catalogue/loaders.h"
#include "flowsim/flowpicture.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "print/reportprint.h"
#include "results/resultswindow.h"
#include "schedule/schedulerun.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>

#include <thread>

namespace {

using namespace fyl;

const char* const kScheduleUsage =
    "schedule ROOMS.csv|.xlsx|.ods --out DIR [--program-dir DIR] [--report] [--jobs N]";

// The report as the print window prints it after the outlet was taken over: both pages, the
// picture page only where the window offers it.
QByteArray reportOf(const RoomPlan& plan, const TextTable& texts, const Catalogue& catalogue,
                    const QString& programDir, const QString& scratchFolder, QStringList& notes) {
    CollectingDialogs dialogs;
    // Judged against the room's own category, as its suggestion was ranked.
    const ReportInputs in{.record = *plan.record,
                          .texts = texts,
                          .catalogue = catalogue,
                          .designation = plan.result.designation,
                          .programDir = programDir,
                          .today = QDate::currentDate(),
                          .choices = PrintChoices{true, picturePageAvailable(*plan.record), false},
                          .targetCategory = plan.comfortCategory};
    QByteArray bytes = reportPdfBytes(in, jetContours(*plan.record, dialogs), scratchFolder);
    notes << dialogs.messages;
    return bytes;
}

int runSchedule(const QStringList& args, QTextStream& out, QTextStream& err) {
    cli::CommandLine call(QString::fromUtf8(kScheduleUsage), {"out", "program-dir", "jobs"}, {"report"});
    call.parse(args, 1);
    const QString outDir = call.required("out");
    if (outDir.isEmpty())
        call.wrongCall(QStringLiteral("Der Ausgabeordner (--out) ist leer."));
    const int jobs = call.integer("jobs", 1, 256, "Anzahl paralleler Räume (1 bis 256)")
                         .value_or(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    const QString programDir = call.programDir();
    const QString schedule = call.positional(0);
    const QStringList inputs = cli::programDataFiles(programDir) << schedule;
    const QStringList summaryFiles{joinPath(outDir, QStringLiteral("results.csv")),
                                   joinPath(outDir, QStringLiteral("results.xlsx"))};
    cli::refuseOutputClash(call, inputs, summaryFiles);

    TextTable texts;
    cli::loadProgramTexts(texts, programDir);
    Catalogue catalogue;
    LoadCatalogue(catalogue, programDir);
    QString notice;
    const std::vector<RoomRow> rows = readRoomSchedule(
        readWholeFile(schedule, kMaxRoomScheduleBytes, QStringLiteral("Das Raumbuch")), &notice);
    if (!notice.isEmpty())
        err << "Hinweis: " << notice << "\n";
    // The rooms' files are named only now; none may replace an input.
    std::vector<QString> names;
    names.reserve(rows.size());
    for (const RoomRow& row : rows)
        names.push_back(row.name);
    QStringList outputs = summaryFiles;
    for (const QString& name : uniqueFileNames(names))
        for (const char* extension : {".zol", ".pdf"})
            outputs << joinPath(outDir, name + QLatin1String(extension));
    cli::refuseOutputClash(call, inputs, outputs);
    if (!QDir().mkpath(outDir))
        throw FileError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                            .arg(QDir::toNativeSeparators(outDir)));
    const WorkFolder scratch(outDir, QStringLiteral("Raumbuch"));
    if (!scratch.isValid())
        throw FileError(QStringLiteral("Im Ordner %1 kann kein Arbeitsordner angelegt werden (%2).")
                            .arg(QDir::toNativeSeparators(outDir), scratch.errorString()));

    ScheduleRun run{outDir, jobs, {}};
    if (call.isSet("report"))
        run.report = [&](const RoomPlan& plan, QStringList& notes) {
            return reportOf(plan, texts, catalogue, programDir, scratch.path(), notes);
        };
    ScheduleResult result;
    try {
        result = runRoomSchedule(rows, {catalogue, texts, programDir}, run);
    } catch (const std::exception& e) {
        err << "Abbruch: " << e.what() << "\n";
        return 1;
    }
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (const QString line = failureLine(rows[i], result.outcomes[i]); !line.isEmpty())
            err << line << "\n";
    // The summary's two files as one set, after every room.
    writeFileSet({{QStringLiteral("results.csv"), summaryCsv(result.summary)},
                  {QStringLiteral("results.xlsx"),
                   cli::summaryWorkbook(result.summary, scratch.path(), summaryFiles[1])}},
                 outDir);
    const int failed = result.failed();
    out << rows.size() << " Räume: " << (rows.size() - static_cast<std::size_t>(failed)) << " geplant, "
        << failed << " fehlgeschlagen. Ergebnisse in " << QDir::toNativeSeparators(outDir) << "\n";
    return failed > 0 ? 1 : 0;
}

const cli::CommandRegistration scheduleRegistration("schedule", runSchedule, kScheduleUsage, true);

} // namespace
