// Room schedules: a spreadsheet's list of rooms read row by row, each room planned as the main
// window and the selection plan it, file names safe for any room name, and the summary table.
// Core layer (fylcore); it sits above the main window's model, which it drives.
#pragma once

#include "catalogue/catalogue.h"
#include "frame/files.h"
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
#include <variant>
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
    ComfortCategory, // may be left out of the file, header and rows alike
    ColumnCount
};
} // namespace schedule

// Every column's name, the optional last one included.
QStringList scheduleHeader();

// The cooling of a room. Of volume flow, cooling load and supply temperature any two give the
// third, by the main window's own formulas (cooling load [kW] = flow [m³/h] / 3600 · 1,2 · 1,006 ·
// ΔT [K], ΔT = room − supply temperature); with the flow alone the supply air is isothermal.
struct CoolingCells {
    std::optional<double> flow; // m³/h: the volume flow, or air change rate × volume
    std::optional<double> load; // kW
    double roomTemp = 0;
    std::optional<double> supplyTemp;
};
struct CoolingFigures {
    enum Derived { Load, SupplyTemp, Flow, Isothermal };
    double flow = 0, load = 0, roomTemp = 0, supplyTemp = 0;
    Derived derived = Isothermal; // which figure was computed
    double dT() const { return static_cast<double>(static_cast<long double>(roomTemp) - supplyTemp); }
};
// Why cells cannot be planned together, and which: a set of CoolingRefusal::Cell.
struct CoolingRefusal {
    enum Cell : unsigned { Flow = 1, Load = 2, RoomTemp = 4, SupplyTemp = 8 };
    unsigned cells = 0;
    QString message;
};
// The figures a room is planned with, or why not. Supply air warmer than the room heats it and
// carries no load: a flow is needed, and a cooling load other than 0 beside it is refused. Refused
// too: a ΔT above 12 K, all three given and the load that flow and ΔT carry more than 5 % off the
// given one, no flow. Where the load follows from the temperatures it is what the window computes
// on leaving them, 0 below 0,05 K; given too (within the 5 %), it gives way to that.
std::variant<CoolingFigures, CoolingRefusal> coolingFigures(const CoolingCells& cells);

// A room field as the schedule fills it: the cell's text with the value the window reads from it,
// or a figure the schedule derived, shown as the window would show it. The value goes with the
// text, so that a field still showing a rounded figure the window wrote with that very text takes
// the schedule's value, not the one behind the figure.
struct RoomEntry {
    RoomField field{};
    QString text;
    double value = 0;
    bool operator==(const RoomEntry&) const = default;
};

// One row of the schedule. A row with an error is not planned; the error names its line and column.
struct RoomRow {
    int line = 0;
    QString name;
    // The room fields in the order they are filled: the column order, but the cooling load (typed
    // only where the supply temperature is derived from it) after the temperatures. An empty cell
    // is not typed.
    std::vector<RoomEntry> fields;
    std::optional<CoolingFigures> cooling;    // set for a row that was read
    std::optional<OutletChoice> outlet;       // none: the best-ranked feasible suggestion
    QChar comfortCategory = QLatin1Char('B'); // the draught category the room must reach
    QString error;
};

// A schedule of 100 000 rooms is about 20 MB; a larger file is refused before it is read.
inline constexpr qint64 kMaxRoomScheduleBytes = qint64{32} << 20;

// The rows of a schedule file's bytes (UTF-8 with or without byte order mark, or Windows-1252),
// its fields separated by semicolons, commas or tabs as the header row shows. The header names
// every column or all but the last; each row has as many fields as the header. Numbers are written
// with a decimal comma or a decimal point, one of them throughout the file. A header that is not
// the schedule's, or both decimal marks, raise FileError: then no row can be trusted.
// A workbook (.xlsx, .ods; a zip archive) gives the rows of its first worksheet, read alike: its
// number cells are numbers whatever their display format, its texts are read as a CSV's fields,
// and a refused row names the sheet and cell ("Tabelle1!C7 (Länge): …").
// `notice`, when given, receives why the sheet read is not the workbook's first (that one is hidden).
std::vector<RoomRow> readRoomSchedule(const QByteArray& bytes, QString* notice = nullptr);

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
    QChar comfortCategory = QLatin1Char('B'); // the draught category the room must reach
    QStringList notes;
    Suggestion result;
    std::unique_ptr<CalculationRecord> record;
    bool planned() const { return outcome.kind == RoomOutcome::Planned && record != nullptr; }
};

// Plans one room on its own record, dialogs and flags: a new project, the row's fields filled and
// left in their order, "weiter", then the outlet taken over. The record ends with the row's cooling
// figures exactly. Safe to run for several rooms at once.
RoomPlan planRoom(const RoomRow& row, const ScheduleContext& context);

// A cell of the summary: a text, or a number shown with `decimals` (0 to 3).
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
