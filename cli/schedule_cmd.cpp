// zelkfyl-cli schedule: plans every room of a room schedule (a spreadsheet's CSV), writes a project
// per room (and its report), and a summary as CSV and workbook. Application layer over the core and
// the drawing layer.
#include "cli/commands.h"
#include "cli/resultjson.h"
#include "cli/summaryworkbook.h"

#include "catalogue/loaders.h"
#include "flowsim/flowpicture.h"
#include "frame/ansi.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/projectfile.h"
#include "print/reportprint.h"
#include "results/resultswindow.h"
#include "schedule/roomschedule.h"

#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QTemporaryDir>

#include <thread>

namespace {

using namespace fyl;

const char* const kUsage = "schedule ROOMS.csv --out DIR [--program-dir DIR] [--report] [--jobs N]";

// The report as the print window prints it after the outlet was taken over: both pages, the
// picture page only where the window offers it.
QByteArray reportOf(const RoomPlan& plan, const TextTable& texts, const QString& programDir, QStringList& notes) {
    CollectingDialogs dialogs;
    const ReportInputs in{*plan.record,
                          texts,
                          plan.result.designation,
                          programDir,
                          QDate::currentDate(),
                          600,
                          PrintChoices{true, picturePageAvailable(*plan.record), false},
                          false};
    QByteArray bytes = reportPdfBytes(in, jetContours(*plan.record, dialogs));
    notes << dialogs.messages;
    return bytes;
}

int runSchedule(const QStringList& args, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Ausgabeordner"), QStringLiteral("DIR"));
    const QCommandLineOption programDirOption(QStringLiteral("program-dir"), QStringLiteral("Programmverzeichnis"),
                                              QStringLiteral("DIR"));
    const QCommandLineOption reportOption(QStringLiteral("report"), QStringLiteral("Bericht je Raum als PDF"));
    const QCommandLineOption jobsOption(QStringLiteral("jobs"), QStringLiteral("parallele Räume"), QStringLiteral("N"));
    parser.addOptions({outOption, programDirOption, reportOption, jobsOption});
    const bool parsed = parser.parse(QStringList{QStringLiteral("schedule")} + args);
    bool jobsOk = true;
    int jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (parsed && parser.isSet(jobsOption)) {
        jobs = parser.value(jobsOption).trimmed().toInt(&jobsOk);
        jobsOk = jobsOk && jobs >= 1 && jobs <= 256;
    }
    if (!parsed || parser.positionalArguments().size() != 1 || !parser.isSet(outOption) ||
        parser.value(outOption).isEmpty() || !jobsOk) {
        if (!parser.errorText().isEmpty())
            err << parser.errorText() << "\n";
        else if (!jobsOk)
            err << "'" << parser.value(jobsOption) << "' ist keine Anzahl paralleler Räume (1 bis 256).\n";
        err << "Aufruf: zelkfyl-cli " << kUsage << "\n";
        return 2;
    }
    const QString programDir =
        parser.isSet(programDirOption) ? parser.value(programDirOption) : QDir::currentPath();
    const QString outDir = parser.value(outOption);
    const bool report = parser.isSet(reportOption);

    cli::Session session;
    cli::loadTexts(session, programDir);
    Catalogue catalogue;
    std::vector<RoomRow> rows;
    try {
        LoadCatalogue(catalogue, programDir);
        rows = readRoomSchedule(readWholeFile(parser.positionalArguments().constFirst()));
        if (!QDir().mkpath(outDir))
            throw FileError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(QDir::toNativeSeparators(outDir)));
    } catch (const Error& e) {
        err << e.message() << "\n";
        return 1;
    }
    QTemporaryDir scratch(joinPath(outDir, QStringLiteral(".ZELK-Raumbuch-XXXXXX")));
    if (!scratch.isValid()) {
        err << "Im Ordner " << QDir::toNativeSeparators(outDir) << " kann kein Arbeitsordner angelegt werden ("
            << scratch.errorString() << ").\n";
        return 1;
    }

    std::vector<QString> roomNames;
    roomNames.reserve(rows.size());
    for (const RoomRow& row : rows)
        roomNames.push_back(row.name);
    const std::vector<QString> fileNames = uniqueFileNames(roomNames);
    const ScheduleContext context{catalogue, session.texts, programDir};
    std::vector<SummaryRow> summary(rows.size());
    std::vector<QString> failures(rows.size());

    // Each room works on its own record, dialogs and files; what rooms share is only read.
    const auto planAndWrite = [&](std::size_t i) {
        RoomPlan plan = planRoom(rows[i], context);
        if (plan.planned()) {
            try {
                std::map<QString, QByteArray> files;
                files[fileNames[i] + QStringLiteral(".zol")] = projectFileBytes(*plan.record);
                if (report)
                    files[fileNames[i] + QStringLiteral(".pdf")] = reportOf(plan, session.texts, programDir, plan.notes);
                writeFileSet(files, outDir);
            } catch (const Error& e) {
                plan.failure = e.message();
            }
        }
        summary[i] = summaryRow(rows[i].name, plan);
        plan.record.reset();
        failures[i] = plan.failure;
    };
    try {
        runParallel(rows.size(), jobs, planAndWrite);
    } catch (const std::exception& e) {
        err << "Abbruch: " << e.what() << "\n";
        return 1;
    }

    int failed = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (failures[i].isEmpty())
            continue;
        ++failed;
        if (failures[i].startsWith(QLatin1String("Zeile ")))
            err << failures[i] << "\n";
        else
            err << "Zeile " << rows[i].line << " (" << rows[i].name << "): " << failures[i] << "\n";
    }
    try {
        writeFileSet({{QStringLiteral("results.csv"), summaryCsv(summary)},
                      {QStringLiteral("results.xlsx"), cli::summaryWorkbook(summary, scratch.path())}},
                     outDir);
    } catch (const Error& e) {
        err << e.message() << "\n";
        return 1;
    }
    out << rows.size() << " Räume: " << (rows.size() - static_cast<std::size_t>(failed)) << " geplant, " << failed
        << " fehlgeschlagen. Ergebnisse in " << QDir::toNativeSeparators(outDir) << "\n";
    return failed > 0 ? 1 : 0;
}

const cli::CommandRegistration registration("schedule", runSchedule, kUsage, true);

} // namespace
