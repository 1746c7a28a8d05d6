// Fuzz target of the workbook reader (a room list kept as .xlsx or .ods: zip archive and XML parts)
// and of the room schedule read from it. Fuzzing harness over the core (fylcore).
//
// A workbook is refused with FileError, or gives its first sheet's rows: the sheet named, rows in
// line order and within the row limit, each holding something in at most the kept columns; a
// number cell is finite and written out, a cell that cannot be read holds no number, and a row's
// error names a cell of the sheet. Read as a room schedule, the rows come in the same order, and a
// refused one names a cell of the sheet and keeps nothing it read.
//
// An input that is no zip archive is taken for the XML of a sheet: zipped as the worksheet of an
// .xlsx and as the content of an .ods (with the right checksums), so that changes reach the XML
// parsing instead of failing the archive's checksum.
#include "fuzz/fuzzsupport.h"

#include "frame/errors.h"
#include "frame/numbers.h"
#include "frame/workbook.h"
#include "schedule/roomschedule.h"
#include "tests/support/workbookfiles.h"

#include <algorithm>
#include <cmath>

using namespace fyl;
using fuzz::require;

namespace {

void checkWorkbook(const QByteArray& bytes) {
    SheetTable table;
    try {
        table = readWorkbook(bytes);
    } catch (const FileError&) {
        return;
    }
    require(!table.sheet.isEmpty(), "a sheet without a name");
    require(table.rows.size() <= static_cast<std::size_t>(kMaxWorkbookRows), "more rows than the limit");
    // "Tabelle1!", "'Raum liste'!": how every message about a cell of the sheet begins.
    const QString sheetPrefix = sheetCellName(table.sheet, 0, 1).chopped(2);
    int previousLine = 0;
    for (const SheetRow& row : table.rows) {
        const QString line = QString::number(row.line);
        require(row.line > previousLine, "rows out of line order", line);
        previousLine = row.line;
        require(row.cells.size() <= static_cast<std::size_t>(kMaxWorkbookColumns), "more cells than kept",
                line);
        require(!row.error.isEmpty() || std::any_of(row.cells.begin(), row.cells.end(),
                                                    [](const SheetCell& c) { return !c.isEmpty(); }),
                "a row that holds nothing", line);
        require(row.error.isEmpty() || row.error.startsWith(sheetPrefix), "a row's error names no cell",
                row.error);
        for (const SheetCell& cell : row.cells) {
            if (cell.number) {
                require(std::isfinite(*cell.number) && cell.refusal.isEmpty(),
                        "a number cell that is no number", line);
                require(cell.text == numbers::formatGeneral(*cell.number, 15), "a number written otherwise",
                        cell.text);
            }
        }
    }

    std::vector<RoomRow> rows;
    try {
        rows = readRoomSchedule(bytes);
    } catch (const FileError&) {
        return;
    }
    previousLine = 1;
    for (const RoomRow& row : rows) {
        require(row.line > previousLine, "rooms out of line order", QString::number(row.line));
        previousLine = row.line;
        if (row.error.isEmpty())
            continue;
        require(row.error.startsWith(sheetPrefix), "a refused row names no cell of the sheet", row.error);
        require(row.fields.empty() && !row.cooling && !row.outlet, "a refused row keeps what it read",
                row.error);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::inputBytes(data, size);
    if (isZipArchive(bytes)) {
        checkWorkbook(bytes);
        return 0;
    }
    const QString xml = QString::fromUtf8(bytes);
    const auto afterFirst = [&xml](const char* open) {
        const qsizetype at = xml.indexOf(QLatin1String(open));
        return at < 0 ? xml : xml.mid(at);
    };
    // As sheet data (from the first row on) of an .xlsx with one shared string and a date style,
    // and as rows of an .ods table; the XML itself may break the frame around it.
    checkWorkbook(test::xlsxWorkbook(QStringLiteral("Tabelle1"), afterFirst("<row"), {QStringLiteral("Raum")},
                                     {0, 14}));
    checkWorkbook(test::odsWorkbook(QStringLiteral("Tabelle1"), afterFirst("<table:table-row")));
    return 0;
}
