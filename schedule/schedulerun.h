// The run of a whole room schedule: the rooms planned in parallel, each planned room's files
// written as one set, and every room's outcome and summary row collected in input order. Core
// layer (fylcore), above the room schedules.
#pragma once

#include "schedule/roomschedule.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace fyl {

struct ScheduleRun {
    QString outDir; // each planned room's files go here, named after the room
    int jobs = 1;   // rooms planned at a time
    // A further file of a planned room, "<room>.pdf" (its report), made on the room's thread; it
    // may add notes. None when empty.
    std::function<QByteArray(const RoomPlan& plan, QStringList& notes)> report;
};

// Every room's outcome and its summary row, in the rows' order whatever the number of jobs.
struct ScheduleResult {
    std::vector<RoomOutcome> outcomes;
    std::vector<SummaryRow> summary;
    int failed() const;
};

// Plans every row on its own record, dialogs and files (what rooms share is only read) and
// writes each planned room's project, and its report when asked for, as one set: both or
// neither; without a report, an earlier run's report of the room is removed in the same set. A
// room whose files cannot be made or written counts as failed and leaves the files an earlier run
// left for it as they were; the project and report an earlier run left for a room that cannot be
// planned now are removed. The room's message says which. An exception other than a room's failure
// ends the run after the rooms under way: it is rethrown here.
// What is the same for every room is done once per run, so that a room costs the same however many
// there are: the detail records of the catalogue are read once (withDetailRecords), the output
// folder is made, listed and given its one staging folder once (FileSetWriter).
ScheduleResult runRoomSchedule(const std::vector<RoomRow>& rows, const ScheduleContext& context,
                               const ScheduleRun& run);

// Runs work(0) … work(count - 1) on up to `jobs` threads and returns when all are done. The first
// exception a work item throws is rethrown here after the others have ended.
void runParallel(std::size_t count, int jobs, const std::function<void(std::size_t)>& work);

} // namespace fyl
