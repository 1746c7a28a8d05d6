// Workbooks made from their XML parts and zipped with minizip, so that no test or seed carries a
// binary file typed by hand. Test support (also the fuzz seeds'), over QtCore and minizip.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace fyl::test {

struct ZipPart {
    QString name;
    QByteArray bytes;
    bool deflated = true; // else stored as it is
};
// The parts as a zip archive; empty when it cannot be written.
QByteArray zipArchive(const std::vector<ZipPart>& parts);

// An .xlsx whose first sheet, named `sheet`, holds `sheetData` (its <row> elements), with the
// shared strings and, per cell style index, the number format id (`numFmts` adds formats 164, …).
// A second, empty sheet follows; the first one's part is worksheets/sheet2.xml, so that only
// the relationships lead to it.
QByteArray xlsxWorkbook(const QString& sheet, const QString& sheetData, const QStringList& shared = {},
                        const QList<int>& styleFormats = {}, const QStringList& numFmts = {},
                        bool deflated = true);

// The <row> of a sheet with cells from column A: a field that reads as a C-locale number
// becomes a number cell, any other non-empty one an inline string; fields separated by ';'.
QString xlsxRow(int line, const QString& fields);

// The same as a table:table-row of an .ods: number cells hold the value, their paragraph shows it
// with a decimal comma.
QString odsRow(const QString& fields);

// An .ods whose first table, named `table`, holds `rows` (its table:table-row elements); a second
// table follows. Prefixes: table, office, text, calcext.
QByteArray odsWorkbook(const QString& table, const QString& rows, bool deflated = true);

} // namespace fyl::test
