// Spreadsheet text as spreadsheets export and import it: decoding, the field separator, splitting
// into records with their line numbers, and quoting for output. Core layer (fylcore).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace fyl {

// A spreadsheet's export: UTF-8 (with or without byte order mark) when the bytes are valid UTF-8,
// otherwise Windows-1252, which is what a German spreadsheet writes as "CSV". Bytes that are UTF-8
// (a byte order mark, or characters of several bytes) but for a few bad ones raise FileError
// naming the line and the byte of the first: read as Windows-1252 they would pass for garbage.
// UTF-16 (a spreadsheet's "Unicode text") is read by its byte order mark.
QString decodeSpreadsheetText(const QByteArray& bytes);

// One record: the line it starts on (1-based) and its fields. A quoted field may hold the
// separator, doubled quotes and line breaks; `error` says what is wrong with the record's syntax
// (a quote left open, text after a closing quote), and then the fields are not to be trusted.
struct CsvRecord {
    int line = 0;
    QStringList fields;
    QString error;
};

// Splits `text` at `separator` and at CR LF, LF or CR. An empty line gives no record.
std::vector<CsvRecord> splitCsv(const QString& text, QChar separator = QLatin1Char(';'));

// The field separator of a file whose first line is a header of plain names: the one of ';', ','
// and tab that it holds outside quotes, ';' when it holds none. A header holding several raises
// FileError naming them: its fields cannot be told apart.
QChar headerSeparator(const QString& text);

// A field for output: quoted when it holds the separator, a quote or a line break.
QString csvField(QString text);
// The fields made one line each (singleLineText), quoted and joined, ended with CR LF.
QString csvLine(const QStringList& fields);

} // namespace fyl
