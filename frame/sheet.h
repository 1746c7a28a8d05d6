// A spreadsheet's rows as the room schedule reads them, whether they came from a CSV export or
// from a workbook's first worksheet, and the names of its cells ("Tabelle1!C7"). Core layer (fylcore).
#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace fyl {

// One cell: a CSV field, or a workbook cell's text or number.
struct SheetCell {
    QString text;                 // a number cell's value written out
    std::optional<double> number; // a workbook's number cell: the value it holds, finite
    QString refusal; // why the cell holds nothing usable (a truth value, a date, a formula without value)
    bool isEmpty() const { return !number && refusal.isEmpty() && text.trimmed().isEmpty(); }
};

struct SheetRow {
    int line = 0; // the CSV line the row starts on, or the worksheet's row number
    std::vector<SheetCell> cells;
    QString error; // what makes the whole row unreadable (CSV syntax)
};

struct SheetTable {
    QString sheet; // the worksheet's name; empty for a CSV
    std::vector<SheetRow> rows;
    QString notice; // why the sheet read is not the workbook's first one (that one is hidden)
};

// "A", "Z", "AA", … for the column index from 0.
QString columnLetters(int column);
// A cell by the spreadsheet's name for it, "C7", after the sheet as a formula would name it:
// "Tabelle1!C7", "'Raum liste'!C7". Column from 0, row from 1.
QString sheetCellName(const QString& sheet, int column, int row);

} // namespace fyl
