// Room lists kept as workbooks: the first worksheet of an .xlsx (Excel) or .ods (OpenDocument)
// file read as a sheet's rows, as a CSV export of it would give them. Core layer (fylcore), over
// minizip and QXmlStreamReader.
#pragma once

#include "frame/sheet.h"

#include <QByteArray>

namespace fyl {

// What a workbook may unpack to (all its parts, as its zip directory gives their sizes), and how
// many rows with content its first worksheet may have. A room list of 100 000 rooms is far below.
inline constexpr qint64 kMaxWorkbookUnpackedBytes = qint64{256} << 20;
inline constexpr int kMaxWorkbookRows = 200000;
// Cells further right are not kept: a cell beyond them that holds anything makes its row's error.
inline constexpr int kMaxWorkbookColumns = 64;
// What is kept of the sheet, so that its memory stays bounded by what a room list holds whatever
// the workbook repeats or packs: the cells with content, and the characters of their texts (a
// cell's text is at most 32767 characters, as spreadsheets keep it; a longer one is refused).
inline constexpr qint64 kMaxWorkbookCells = 3000000;
inline constexpr qint64 kMaxWorkbookText = qint64{32} << 20;

struct WorkbookLimits {
    qint64 unpackedBytes = kMaxWorkbookUnpackedBytes;
    int rows = kMaxWorkbookRows;
    qint64 cells = kMaxWorkbookCells;
    qint64 text = kMaxWorkbookText;
};

// Whether the bytes are a zip archive, as every .xlsx and .ods file is (and no CSV).
bool isZipArchive(const QByteArray& bytes);

// The rows of the first worksheet that hold anything, each with its cells from column A up to its
// last one that holds anything, the sheet named by its name. A number cell has its value
// (whatever its display format) and that value written out as text; a text cell its text; an empty
// cell nothing. A truth value, a date or time, an error value and a formula without a stored result
// carry why they cannot be read. The workbook is told by its content: an .xlsx has
// xl/workbook.xml, an .ods the mimetype of a spreadsheet. A damaged archive or part, one whose
// parts would unpack beyond `limits` (told by its directory, before anything is unpacked), an
// archive that is neither, and a sheet with more rows, cells or text than `limits` raise
// FileError, the last two naming the cell. A text longer than a cell keeps refuses its cell.
SheetTable readWorkbook(const QByteArray& bytes, const WorkbookLimits& limits = {});

} // namespace fyl
