// Reading and writing spreadsheet text (semicolon, comma or tab separated). Core layer (fylcore).
#include "frame/csv.h"

#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/filetext.h"

#include <QStringDecoder>

namespace fyl {

namespace {

// The length of the UTF-8 character at `i` (2 to 4 bytes), or 0 where none begins.
int utf8Sequence(const QByteArray& bytes, qsizetype i) {
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    const int length = lead >= 0xC2 && lead <= 0xDF   ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
    if (length == 0 || i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k)
        if ((at(i + k) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates and code points beyond U+10FFFF are no characters.
    const unsigned char second = at(i + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
        return 0;
    return length;
}

} // namespace

QString decodeSpreadsheetText(const QByteArray& bytes) {
    // "Unicode text" of a spreadsheet is UTF-16 with its byte order mark.
    const bool little = bytes.startsWith("\xFF\xFE"), big = bytes.startsWith("\xFE\xFF");
    if (little || big) {
        QStringDecoder utf16(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        QString text = utf16(bytes.mid(2));
        if (utf16.hasError())
            throw FileError(QStringLiteral("Die Datei ist UTF-16 kodiert, enthält aber Bytes, die kein UTF-16 "
                                           "sind; bitte die Datei als UTF-8 neu speichern."));
        return text;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        bool utf8Seen = bytes.startsWith("\xEF\xBB\xBF");
        qsizetype bad = -1;
        for (qsizetype i = 0; i < bytes.size();) {
            if (static_cast<unsigned char>(bytes[i]) < 0x80) {
                ++i;
            } else if (const int length = utf8Sequence(bytes, i)) {
                utf8Seen = true;
                i += length;
            } else {
                if (bad < 0)
                    bad = i;
                ++i;
            }
        }
        if (!utf8Seen || bad < 0)
            return fromAnsi(bytes);
        const qsizetype lineStart = bytes.lastIndexOf('\n', bad) + 1;
        throw FileError(
            QStringLiteral("Die Datei ist UTF-8 kodiert, aber Zeile %1 hat an Byte %2 (0x%3) kein "
                           "gültiges UTF-8-Zeichen; bitte die Datei als UTF-8 neu speichern.")
                .arg(QString::number(bytes.left(bad).count('\n') + 1), QString::number(bad - lineStart + 1),
                     QString::number(static_cast<unsigned char>(bytes[bad]), 16).toUpper()));
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

std::vector<CsvRecord> splitCsv(const QString& text, QChar separator) {
    std::vector<CsvRecord> records;
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    while (i < n) {
        CsvRecord rec;
        rec.line = line;
        QString field;
        bool lineEnded = false;
        while (i < n && !lineEnded) {
            const QChar c = text[i];
            if (c == QLatin1Char('"') && field.trimmed().isEmpty()) {
                // A quoted field: up to the lone closing quote; blanks before the quote are dropped.
                field.clear();
                const qsizetype opened = i;
                const int openedLine = line;
                ++i;
                bool closed = false;
                while (i < n) {
                    const QChar q = text[i];
                    if (q == QLatin1Char('"')) {
                        if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                            field += QLatin1Char('"');
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (q == QLatin1Char('\n') ||
                        (q == QLatin1Char('\r') && !(i + 1 < n && text[i + 1] == QLatin1Char('\n'))))
                        ++line;
                    field += q;
                    ++i;
                }
                if (!closed) {
                    // Taking the rest of the file as one field would swallow every later row: the
                    // record ends with its line, and the rows after it are read as rows.
                    if (rec.error.isEmpty())
                        rec.error = QStringLiteral("ein Anführungszeichen wird nicht geschlossen");
                    qsizetype end = opened;
                    while (end < n && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
                        ++end;
                    field = text.mid(opened, end - opened);
                    i = end;
                    line = openedLine;
                    continue;
                }
                // Blanks may follow the closing quote (not a tab that separates); anything else is malformed.
                while (i < n && text[i] != separator &&
                       (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
                    ++i;
                if (i < n && text[i] != separator && text[i] != QLatin1Char('\r') &&
                    text[i] != QLatin1Char('\n') && rec.error.isEmpty())
                    rec.error = QStringLiteral("Text nach einem schließenden Anführungszeichen");
                continue;
            }
            if (c == separator) {
                rec.fields << field;
                field.clear();
                ++i;
            } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                i += (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ? 2 : 1;
                ++line;
                lineEnded = true;
            } else {
                field += c;
                ++i;
            }
        }
        rec.fields << field;
        const bool empty = rec.fields.size() == 1 && rec.fields.constFirst().trimmed().isEmpty();
        if (!empty || !rec.error.isEmpty())
            records.push_back(std::move(rec));
    }
    return records;
}

QChar headerSeparator(const QString& text) {
    const QChar candidates[] = {QLatin1Char(';'), QLatin1Char(','), QLatin1Char('\t')};
    const char* const names[] = {"Semikolon", "Komma", "Tabulator"};
    bool seen[3] = {false, false, false};
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    // The header is the first line that is not blank.
    while (i < n &&
           (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n') || text[i] == QLatin1Char(' '))) {
        if (text[i] == QLatin1Char('\n') ||
            (text[i] == QLatin1Char('\r') && !(i + 1 < n && text[i + 1] == QLatin1Char('\n'))))
            ++line;
        ++i;
    }
    bool quoted = false;
    for (; i < n && (quoted || (text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))); ++i) {
        if (text[i] == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted)
            for (int k = 0; k < 3; ++k)
                seen[k] = seen[k] || text[i] == candidates[k];
    }
    QStringList found;
    for (int k = 0; k < 3; ++k)
        if (seen[k])
            found << QString::fromLatin1(names[k]);
    if (found.size() > 1)
        throw FileError(QStringLiteral("Zeile %1: die Kopfzeile trennt ihre Felder mit %2; erwartet wird ein "
                                       "Trennzeichen (Semikolon, Komma oder Tabulator).")
                            .arg(QString::number(line), found.join(QStringLiteral(" und "))));
    for (int k = 0; k < 3; ++k)
        if (seen[k])
            return candidates[k];
    return candidates[0];
}

QString csvField(QString text) {
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        text = QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return text;
}

QString csvLine(const QStringList& fields) {
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& f : fields)
        quoted << csvField(singleLineText(f));
    return quoted.join(QLatin1Char(';')) + QStringLiteral("\r\n");
}

} // namespace fyl
