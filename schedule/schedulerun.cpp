// Running a room schedule: rooms in parallel, per-room file sets, outcomes in input order. Core
// layer (fylcore), above the room schedules.
#include "schedule/schedulerun.h"

#include "frame/errors.h"
#include "frame/files.h"
#include "frame/projectfile.h"
#include "selection/selectionlists.h"


#include <algorithm>
#include <atomic>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

namespace fyl {

int ScheduleResult::failed() const {
    return static_cast<int>(std::count_if(outcomes.begin(), outcomes.end(), [](const RoomOutcome& o) {
        return o.kind != RoomOutcome::Planned;
    }));
}

namespace {

const char* const kRoomFiles[] = {".zol", ".pdf"};

// A room that fails now may have left its project (and report) in the folder in an earlier run;
// they would pass for this run's. Removes them, both or neither, and says so for the room's notes.
QString removeEarlierFiles(FileSetWriter& writer, const QString& fileName) {
    QStringList earlier;
    for (const char* extension : kRoomFiles)
        if (const QString name = fileName + QLatin1String(extension); writer.heldBefore(name))
            earlier << name;
    if (earlier.isEmpty())
        return QString();
    QString said;
    try {
        writer.write({}, earlier);
        for (const QString& name : earlier)
            said += QStringLiteral("; die Datei %1 eines früheren Laufs wurde entfernt").arg(name);
    } catch (const Error& e) {
        for (const QString& name : earlier)
            said += QStringLiteral("; die Datei %1 eines früheren Laufs liegt noch im Ordner und gehört nicht "
                                   "zu diesem Ergebnis")
                        .arg(name);
        said += QStringLiteral(" (%1)").arg(e.message());
    }
    return said;
}

// A room whose files could not be written leaves the folder as it was: its earlier files stay, and
// its notes say that they are not this run's.
QString earlierFilesKept(const FileSetWriter& writer, const QString& fileName) {
    QString said;
    for (const char* extension : kRoomFiles)
        if (const QString name = fileName + QLatin1String(extension); writer.heldBefore(name))
            said += QStringLiteral(" Die Datei %1 eines früheren Laufs bleibt unverändert; sie gehört nicht zu "
                                   "diesem Ergebnis.")
                        .arg(name);
    return said;
}

} // namespace

ScheduleResult runRoomSchedule(const std::vector<RoomRow>& rows, const ScheduleContext& context,
                               const ScheduleRun& run) {
    std::vector<QString> roomNames;
    roomNames.reserve(rows.size());
    for (const RoomRow& row : rows)
        roomNames.push_back(row.name);
    const std::vector<QString> fileNames = uniqueFileNames(roomNames);
    // Every room takes its outlets over from the same detail records, read once.
    const Catalogue catalogue = withDetailRecords(context.catalogue, context.programDir);
    const ScheduleContext shared{catalogue, context.texts, context.programDir};
    // The folder is listed once: only this run writes the rooms' names, each room its own.
    FileSetWriter writer(run.outDir);
    ScheduleResult result;
    result.outcomes.resize(rows.size());
    result.summary.resize(rows.size());

    // Each room writes only its own slots of the result.
    const auto planAndWrite = [&](std::size_t i) {
        RoomPlan plan = planRoom(rows[i], shared);
        if (plan.planned()) {
            try {
                std::map<QString, QByteArray> files;
                files[fileNames[i] + QStringLiteral(".zol")] = projectFileBytes(*plan.record);
                const QString report = fileNames[i] + QStringLiteral(".pdf");
                QStringList removed;
                if (run.report) {
                    files[report] = run.report(plan, plan.notes);
                } else if (writer.heldBefore(report)) {
                    // The report of an earlier run would pass for this project's.
                    removed << report;
                }
                writer.write(files, removed);
                if (!removed.isEmpty())
                    plan.notes << QStringLiteral("der Bericht %1 eines früheren Laufs wurde entfernt").arg(report);
            } catch (const Error& e) {
                plan.outcome = {RoomOutcome::FilesNotWritten, e.message()};
            }
        }
        if (plan.outcome.kind == RoomOutcome::FilesNotWritten)
            plan.outcome.message += earlierFilesKept(writer, fileNames[i]);
        else if (!plan.planned())
            plan.outcome.message += removeEarlierFiles(writer, fileNames[i]);
        result.summary[i] = summaryRow(rows[i].name, plan);
        result.outcomes[i] = plan.outcome;
    };
    runParallel(rows.size(), run.jobs, planAndWrite);
    return result;
}

void runParallel(std::size_t count, int jobs, const std::function<void(std::size_t)>& work) {
    const std::size_t threads = std::min<std::size_t>(count, static_cast<std::size_t>(std::max(1, jobs)));
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto worker = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                work(i);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
            }
        }
    };
    if (threads <= 1) {
        worker();
    } else {
        std::vector<std::thread> pool;
        pool.reserve(threads);
        for (std::size_t t = 0; t < threads; ++t)
            pool.emplace_back(worker);
        for (std::thread& t : pool)
            t.join();
    }
    if (failure)
        std::rethrow_exception(failure);
}
} // namespace fyl
