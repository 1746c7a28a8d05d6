// Room schedules: a spreadsheet's list of rooms read row by row, each room planned as the main
// window and the selection plan it, file names safe for any room name, and the summary table.
// Core layer (fylcore); it sits above the main window's model, which it drives.
#pragma once

#include "catalogue/catalogue.h"
#include "frame/record.h"
#include "frame/texttable.h"
#include "room/mainwindowmodel.h"
#include "selection/suggestions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace fyl {

// The columns of a schedule, in their order; the header row spells them as scheduleHeader().
namespace schedule {
enum Column : int {
    Room,
    Width,
    Length,
    Height,
    AirChangeRate,
    VolumeFlow,
    CoolingLoad,
    RoomTemp,
    SupplyTemp,
    HeadHeight,
    MountingHeight,
    AirVelocity,
    SoundPower,
    Type,
    Size,
    JetForm,
    SlotLength,
    SlotCount,
    Tube,
    ColumnCount
};
} // namespace schedule

QStringList scheduleHeader();

// One row of the schedule. A row with an error is not planned; the error names its line and column.
struct RoomRow {
    int line = 0;
    QString name;
    // The room fields with the texts the planner would type, in column order; an empty cell is
    // not typed.
    std::vector<std::pair<RoomField, QString>> fields;
    std::optional<OutletChoice> outlet; // none: the best-ranked feasible suggestion
    QString error;
};

// The rows of a schedule file's bytes (UTF-8 with or without byte order mark, or Windows-1252).
// A header that is not the schedule's raises FileError: then no row can be trusted.
std::vector<RoomRow> readRoomSchedule(const QByteArray& bytes);

// A room name as a file name (without extension) that stays inside its folder on Linux and
// Windows alike: no separators or forbidden characters, no leading dots, no trailing dots or
// blanks, no device name, never empty, of limited length.
QString safeFileName(const QString& roomName);
// Safe names for all rooms, distinct even where the file system ignores case: a name taken before
// gets " (2)", " (3)", …
std::vector<QString> uniqueFileNames(const std::vector<QString>& roomNames);

struct ScheduleContext {
    const Catalogue& catalogue; // read only, shared by all rooms
    const TextTable& texts;
    QString programDir;
};

// What became of a room: planned, or which step failed and why. The message is the reason as the
// summary's notes give it; a refused row's names its line and column already.
struct RoomOutcome {
    enum Kind {
        Planned,
        RowRefused,      // the row could not be read
        PlanningFailed,  // the windows' steps or the outlet's take-over failed
        FilesNotWritten, // planned, but its files could not be made or written
    };
    Kind kind = Planned;
    QString message;
};

// The line standard error gets for a room that was not planned: a refused row's message as it
// stands, any other failure after the row's line and room name. Empty for a planned room.
QString failureLine(const RoomRow& row, const RoomOutcome& outcome);

// A planned room: the project record the windows would save after taking the outlet over, its
// figures, and what the windows said on the way. A room that could not be planned has no record.
struct RoomPlan {
    RoomOutcome outcome;
    QStringList notes;
    Suggestion result;
    std::unique_ptr<CalculationRecord> record;
    bool planned() const { return outcome.kind == RoomOutcome::Planned && record != nullptr; }
};

// Plans one room on its own record, dialogs and flags: a new project, the room fields typed and
// left in column order, "weiter", then the outlet taken over. Safe to run for several rooms at once.
RoomPlan planRoom(const RoomRow& row, const ScheduleContext& context);

// A cell of the summary: a text, or a number shown with `decimals`.
struct SummaryCell {
    QString text;
    std::optional<double> number;
    int decimals = 0;
};
using SummaryRow = std::vector<SummaryCell>;

QStringList summaryHeader();
SummaryRow summaryRow(const QString& roomName, const RoomPlan& plan);
// The summary as the schedule came: semicolons, decimal comma, UTF-8 with byte order mark, CR LF.
QByteArray summaryCsv(const std::vector<SummaryRow>& rows);

} // namespace fyl
