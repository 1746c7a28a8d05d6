// Fuzz target of the room schedule reader (the spreadsheet's CSV of rooms) and of the file names
// the rooms' projects get. Fuzzing harness over the core (fylcore).
//
// A file whose header is not the schedule's raises FileError. Otherwise rows come in line order;
// a refused row names its line and carries no fields, cooling figures or outlet; an accepted one
// types no empty cell, has a comfort category A, B or C and cooling figures with a positive flow, a
// load not below 0 and a ΔT from 0 to 12 K. The file names of all rows are never empty, hold no
// separator or forbidden character, neither start with a dot or blank nor end with one, and differ
// even without case. The summary of the rows (each as a room that was not planned: its name and
// its reason) is one line per row in the CSV and well-formed XML in every part of the workbook.
#include "fuzz/fuzzsupport.h"
#include "fuzz/workbookcheck.h"

#include "cli/summaryworkbook.h"
#include "frame/errors.h"
#include "frame/workbook.h"
#include "schedule/roomschedule.h"

#include <QSet>

using namespace fyl;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::inputBytes(data, size);
    if (isZipArchive(bytes))
        return 0; // a workbook: the workbook target's
    std::vector<RoomRow> rows;
    try {
        rows = readRoomSchedule(bytes);
    } catch (const FileError&) {
        return 0;
    }
    int previousLine = 1; // the header's
    std::vector<QString> names;
    for (const RoomRow& row : rows) {
        require(row.line > previousLine, "rows out of line order", QString::number(row.line));
        previousLine = row.line;
        if (!row.error.isEmpty()) {
            const QString place = QStringLiteral("Zeile %1").arg(row.line); // then ":" or ", Spalte …"
            require(row.error.startsWith(place + QLatin1Char(':')) || row.error.startsWith(place + QLatin1Char(',')),
                    "a refused row does not name its line", row.error);
            require(row.fields.empty() && !row.cooling && !row.outlet, "a refused row keeps what it read",
                    row.error);
        } else {
            for (const RoomEntry& field : row.fields)
                if (field.text.isEmpty())
                    fuzz::violated("an empty cell would be typed", QString::number(row.line));
            require(QStringLiteral("ABC").contains(row.comfortCategory), "no comfort category",
                    QString::number(row.line));
            require(row.cooling.has_value(), "an accepted row without cooling figures",
                    QString::number(row.line));
            const CoolingFigures& c = *row.cooling;
            // The supply temperature derived from a load of ΔT 12 K may lie a rounding below. Warm
            // supply (a heated room) comes without a cooling load.
            require(c.flow > 0 && c.load >= 0 && c.dT() <= 12 + 1e-9 && (c.dT() >= 0 || c.load == 0),
                    "cooling figures outside the rule", QString::number(row.line));
        }
        names.push_back(row.name);
    }
    std::vector<SummaryRow> summary;
    for (const RoomRow& row : rows) {
        RoomPlan plan;
        plan.outcome = {RoomOutcome::RowRefused, row.error};
        summary.push_back(summaryRow(row.name, plan));
    }
    const QByteArray csv = summaryCsv(summary);
    require(csv.count("\r\n") == static_cast<qsizetype>(rows.size()) + 1 &&
                csv.count('\n') == csv.count("\r\n") && csv.count('\r') == csv.count("\r\n"),
            "the summary CSV is not one line per room");
    QByteArray workbook;
    try {
        workbook = cli::summaryWorkbook(summary, fuzz::scratchFolder());
    } catch (const FileError& e) {
        fuzz::violated("the summary workbook cannot be written", e.message());
    }
    if (const QString malformed = fuzz::malformedWorkbookPart(workbook); !malformed.isEmpty())
        fuzz::violated("the summary workbook is not well-formed XML", malformed);

    QSet<QString> taken;
    for (const QString& name : uniqueFileNames(names)) {
        require(!name.isEmpty(), "an empty file name");
        for (const QChar c : name)
            require(c.unicode() >= 0x20 && c.unicode() != 0x7F && !QStringLiteral("<>:\"/\\|?*").contains(c),
                    "a file name holds a forbidden character", name);
        require(!name.startsWith(QLatin1Char('.')) && !name.startsWith(QLatin1Char(' ')) &&
                    !name.endsWith(QLatin1Char('.')) && !name.endsWith(QLatin1Char(' ')),
                "a file name starts or ends with a dot or blank", name);
        require(!taken.contains(name.toCaseFolded()), "two rooms get the same file name", name);
        taken.insert(name.toCaseFolded());
    }
    return 0;
}
