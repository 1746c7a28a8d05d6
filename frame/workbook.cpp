// Reading the first worksheet of .xlsx and .ods workbooks: the zip archive through minizip from
// memory, its XML parts through QXmlStreamReader; only what a room list needs. Core layer (fylcore).
#include "frame/workbook.h"

#include "frame/errors.h"
#include "frame/numbers.h"

#include <QDir>
#include <QHash>
#include <QXmlStreamReader>

#include <unzip.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace fyl {

namespace {

[[noreturn]] void damaged(const QString& why) {
    throw FileError(QStringLiteral("Die Arbeitsmappe ist beschädigt: %1.").arg(why));
}

const QString kEncrypted =
    QStringLiteral("Die Arbeitsmappe ist mit einem Kennwort verschlüsselt; bitte ohne Kennwort speichern.");

// minizip reads the archive through these from the bytes in memory.
struct MemoryStream {
    const QByteArray* bytes = nullptr;
    ZPOS64_T position = 0;
};

voidpf ZCALLBACK openMemory(voidpf opaque, const void* /*name*/, int /*mode*/) {
    return opaque;
}
uLong ZCALLBACK readMemory(voidpf /*opaque*/, voidpf stream, void* buffer, uLong size) {
    auto* s = static_cast<MemoryStream*>(stream);
    const auto total = static_cast<ZPOS64_T>(s->bytes->size());
    const uLong n =
        s->position >= total ? 0 : static_cast<uLong>(std::min<ZPOS64_T>(size, total - s->position));
    if (n > 0)
        std::memcpy(buffer, s->bytes->constData() + s->position, n);
    s->position += n;
    return n;
}
uLong ZCALLBACK writeMemory(voidpf /*opaque*/, voidpf /*stream*/, const void* /*buffer*/, uLong /*size*/) {
    return 0;
}
ZPOS64_T ZCALLBACK tellMemory(voidpf /*opaque*/, voidpf stream) {
    return static_cast<MemoryStream*>(stream)->position;
}
long ZCALLBACK seekMemory(voidpf /*opaque*/, voidpf stream, ZPOS64_T offset, int origin) {
    auto* s = static_cast<MemoryStream*>(stream);
    const auto total = static_cast<ZPOS64_T>(s->bytes->size());
    const ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_SET   ? 0
                          : origin == ZLIB_FILEFUNC_SEEK_CUR ? s->position
                                                             : total;
    if (offset > total || base > total - offset)
        return -1;
    s->position = base + offset;
    return 0;
}
int ZCALLBACK closeMemory(voidpf /*opaque*/, voidpf /*stream*/) {
    return 0;
}
int ZCALLBACK errorMemory(voidpf /*opaque*/, voidpf /*stream*/) {
    return 0;
}

// The archive with its directory checked: what all parts unpack to is known before any is.
class Archive {
public:
    Archive(const QByteArray& bytes, qint64 unpackLimit) : stream_{&bytes, 0} {
        zlib_filefunc64_def io{openMemory, readMemory,  writeMemory, tellMemory,
                               seekMemory, closeMemory, errorMemory, &stream_};
        zip_ = unzOpen2_64("", &io);
        if (zip_ == nullptr)
            damaged(QStringLiteral("kein lesbares Zip-Archiv (abgeschnitten oder verändert?)"));
        try {
            checkDirectory(unpackLimit);
        } catch (...) {
            unzClose(zip_);
            throw;
        }
    }
    ~Archive() { unzClose(zip_); }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool has(const QString& name) { return unzLocateFile(zip_, name.toUtf8().constData(), 2) == UNZ_OK; }

    // A part unpacked; it must unpack to the size the directory gives, with the right checksum.
    QByteArray part(const QString& name);

private:
    void checkDirectory(qint64 unpackLimit) {
        ZPOS64_T total = 0;
        for (int at = unzGoToFirstFile(zip_); at != UNZ_END_OF_LIST_OF_FILE; at = unzGoToNextFile(zip_)) {
            unz_file_info64 info{};
            if (at != UNZ_OK ||
                unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
                damaged(QStringLiteral("das Inhaltsverzeichnis des Zip-Archivs ist unlesbar"));
            total += std::min<ZPOS64_T>(info.uncompressed_size, ZPOS64_T{1} << 62);
            if (total > static_cast<ZPOS64_T>(unpackLimit))
                throw FileError(
                    QStringLiteral("Die Arbeitsmappe würde entpackt größer als %1 MB; so groß ist keine "
                                   "Raumliste, sie wird nicht entpackt.")
                        .arg(unpackLimit >> 20));
        }
    }

    MemoryStream stream_;
    unzFile zip_ = nullptr;
};

QByteArray Archive::part(const QString& name) {
    if (!has(name))
        damaged(QStringLiteral("der Teil %1 fehlt").arg(name));
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        damaged(QStringLiteral("das Inhaltsverzeichnis des Zip-Archivs ist unlesbar"));
    if ((info.flag & 1U) != 0)
        throw FileError(kEncrypted);
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
        damaged(QStringLiteral("der Teil %1 ist mit einem unbekannten Verfahren gepackt").arg(name));
    if (unzOpenCurrentFile(zip_) != UNZ_OK)
        damaged(QStringLiteral("der Teil %1 lässt sich nicht öffnen").arg(name));
    QByteArray data;
    data.reserve(static_cast<qsizetype>(std::min<ZPOS64_T>(info.uncompressed_size, 1U << 20)));
    char chunk[65536];
    int read = 0;
    while ((read = unzReadCurrentFile(zip_, chunk, sizeof chunk)) > 0)
        data.append(chunk, read);
    const int closed = unzCloseCurrentFile(zip_);
    if (read < 0 || closed != UNZ_OK || static_cast<ZPOS64_T>(data.size()) != info.uncompressed_size)
        damaged(QStringLiteral("der Teil %1 lässt sich nicht fehlerfrei entpacken").arg(name));
    return data;
}

// A part's XML read token by token; a part that is not well-formed, or that declares a document
// type (whose entities could make it grow), is damaged.
class XmlPart {
public:
    XmlPart(const QByteArray& bytes, QString name) : xml(bytes), name_(std::move(name)) {}
    bool next() {
        if (xml.atEnd()) {
            check();
            return false;
        }
        xml.readNext();
        check();
        return !xml.atEnd();
    }
    bool starts(const char* local) const {
        return xml.isStartElement() && xml.name() == QLatin1String(local);
    }
    bool ends(const char* local) const { return xml.isEndElement() && xml.name() == QLatin1String(local); }
    // The text of the element just started, without the elements inside it.
    QString text() {
        QString t = xml.readElementText(QXmlStreamReader::SkipChildElements);
        check();
        return t;
    }
    void skip() {
        xml.skipCurrentElement();
        check();
    }
    QXmlStreamReader xml;

private:
    void check() {
        if (xml.tokenType() == QXmlStreamReader::DTD)
            damaged(QStringLiteral("%1 enthält eine Dokumenttypdeklaration").arg(name_));
        if (xml.hasError())
            damaged(QStringLiteral("%1 ist kein gültiges XML (Zeile %2: %3)")
                        .arg(name_, QString::number(xml.lineNumber()), xml.errorString()));
    }
    QString name_;
};

const QString kOdsMimetype = QStringLiteral("application/vnd.oasis.opendocument.spreadsheet");

QString formulaWithoutValue() {
    return QStringLiteral(
        "die Formel hat kein gespeichertes Ergebnis; bitte die Mappe in der Tabellenkalkulation "
        "neu berechnen lassen und wieder speichern.");
}
QString dateOrTime() {
    return QStringLiteral(
        "die Zelle enthält ein Datum oder eine Uhrzeit, keine Zahl; bitte als Zahl formatieren.");
}
QString truthValue() {
    return QStringLiteral("die Zelle enthält einen Wahrheitswert (WAHR oder FALSCH), keine Zahl.");
}
QString errorValue(const QString& shown) {
    return QStringLiteral("die Zelle enthält den Fehlerwert '%1'.").arg(shown);
}

// A number as the file stores it: a C-locale decimal, finite.
SheetCell numberCell(QStringView stored) {
    SheetCell cell;
    bool ok = false;
    const double value = stored.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        cell.text = stored.toString();
        cell.refusal = QStringLiteral("'%1' ist als Zahl gespeichert, ist aber keine.").arg(cell.text);
        return cell;
    }
    cell.number = value;
    cell.text = numbers::formatGeneral(value, 15);
    return cell;
}

// Rows as the sheets give them: the cells of one row, and the rows kept within the limits.
class RowCollector {
public:
    RowCollector(SheetTable& table, int rowLimit) : table_(table), limit_(rowLimit) {}

    void startRow(qint64 line) {
        if (line < 1 || line > (qint64{1} << 24))
            damaged(QStringLiteral("eine Zeilennummer liegt außerhalb jedes Arbeitsblatts"));
        if (line <= last_)
            damaged(QStringLiteral("die Zeilen des Arbeitsblatts stehen nicht in ihrer Reihenfolge"));
        row_ = SheetRow{};
        row_.line = static_cast<int>(line);
        filled_ = false;
        farColumn_ = -1;
    }
    void put(qint64 column, const SheetCell& cell) {
        if (cell.isEmpty())
            return;
        filled_ = true;
        if (column >= kMaxWorkbookColumns) {
            if (farColumn_ < 0)
                farColumn_ = std::min<qint64>(column, qint64{1} << 20);
            return;
        }
        const auto c = static_cast<std::size_t>(column);
        if (row_.cells.size() <= c)
            row_.cells.resize(c + 1);
        row_.cells[c] = cell;
    }
    // Ends the row, kept `repeat` times when it holds anything.
    void endRow(qint64 repeat = 1) {
        last_ = row_.line + repeat - 1;
        if (!filled_)
            return;
        for (qint64 k = 0; k < repeat; ++k) {
            if (static_cast<qint64>(table_.rows.size()) >= limit_)
                throw FileError(
                    QStringLiteral("Das Arbeitsblatt %1 hat mehr als %2 Zeilen mit Inhalt; so lang ist "
                                   "keine Raumliste.")
                        .arg(table_.sheet, QString::number(limit_)));
            SheetRow& row = table_.rows.emplace_back(row_);
            row.line = static_cast<int>(row_.line + k);
            if (farColumn_ >= 0)
                row.error = QStringLiteral(
                                "%1: die Zelle liegt rechts der Spalten eines Raumbuchs und muss leer sein.")
                                .arg(sheetCellName(table_.sheet, static_cast<int>(farColumn_), row.line));
        }
    }
    qint64 lastLine() const { return last_; }

private:
    SheetTable& table_;
    int limit_;
    SheetRow row_;
    bool filled_ = false;
    qint64 farColumn_ = -1; // the first cell right of the kept columns that holds anything
    qint64 last_ = 0;
};

// ---- Excel (.xlsx): xl/workbook.xml names the sheets, its relationships their parts.

// "C7" → column 2; -1 where the reference has no letters.
qint64 referenceColumn(QStringView reference) {
    qint64 column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i] >= u'A' && reference[i] <= u'Z' && i < 4; ++i)
        column = column * 26 + (reference[i].unicode() - u'A' + 1);
    return i == 0 ? -1 : column - 1;
}

// Whether a number format shows a date or a time: a built-in date format, or a code with day,
// month, year, hour or second outside quoted text and colour or condition brackets.
bool isDateFormat(int id, const QHash<int, QString>& codes) {
    if (!codes.contains(id))
        return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
               (id >= 50 && id <= 58);
    const QString code = codes.value(id);
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"') {
            const qsizetype close = code.indexOf(u'"', i + 1);
            i = close < 0 ? code.size() : close;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i + 1);
            const QString inside = code.mid(i + 1, close < 0 ? -1 : close - i - 1).toLower();
            if (!inside.isEmpty() && inside.count(inside.front()) == inside.size() &&
                QStringLiteral("hms").contains(inside.front()))
                return true; // elapsed time: [h], [mm], [ss]
            i = close < 0 ? code.size() : close;
        } else if (QStringLiteral("dmyhsDMYHS").contains(c)) {
            return true;
        }
    }
    return false;
}

// The texts of a shared string or an inline string: its runs, without phonetic hints.
QString richText(XmlPart& p, const char* element) {
    QString text;
    while (p.next() && !p.ends(element)) {
        if (p.starts("rPh"))
            p.skip();
        else if (p.starts("t"))
            text += p.text();
    }
    return text;
}

SheetTable readXlsx(Archive& zip, const WorkbookLimits& limits) {
    SheetTable table;
    QString sheetId;
    {
        XmlPart p(zip.part(QStringLiteral("xl/workbook.xml")), QStringLiteral("xl/workbook.xml"));
        while (p.next()) {
            if (!p.starts("sheet"))
                continue;
            for (const QXmlStreamAttribute& a : p.xml.attributes()) {
                if (a.name() == QLatin1String("name") && a.namespaceUri().isEmpty())
                    table.sheet = a.value().toString();
                else if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                    sheetId = a.value().toString();
            }
            break;
        }
    }
    if (table.sheet.isEmpty() || sheetId.isEmpty())
        damaged(QStringLiteral("xl/workbook.xml nennt kein Arbeitsblatt"));

    QString sheetPart, stringsPart, stylesPart;
    {
        XmlPart p(zip.part(QStringLiteral("xl/_rels/workbook.xml.rels")),
                  QStringLiteral("xl/_rels/workbook.xml.rels"));
        while (p.next()) {
            if (!p.starts("Relationship"))
                continue;
            const QXmlStreamAttributes a = p.xml.attributes();
            const QString target = a.value(QLatin1String("Target")).toString();
            const QString part =
                target.startsWith(u'/') ? target.mid(1) : QDir::cleanPath(QStringLiteral("xl/") + target);
            const QStringView type = a.value(QLatin1String("Type"));
            if (a.value(QLatin1String("Id")) == sheetId)
                sheetPart = part;
            else if (type.endsWith(QLatin1String("/sharedStrings")))
                stringsPart = part;
            else if (type.endsWith(QLatin1String("/styles")))
                stylesPart = part;
        }
    }
    if (sheetPart.isEmpty())
        damaged(QStringLiteral("das Arbeitsblatt %1 hat keinen Teil im Archiv").arg(table.sheet));

    QStringList strings;
    if (!stringsPart.isEmpty() && zip.has(stringsPart)) {
        XmlPart p(zip.part(stringsPart), stringsPart);
        while (p.next())
            if (p.starts("si"))
                strings << richText(p, "si");
    }

    std::vector<bool> dateStyles; // by the cell's style index
    if (!stylesPart.isEmpty() && zip.has(stylesPart)) {
        XmlPart p(zip.part(stylesPart), stylesPart);
        QHash<int, QString> codes;
        std::vector<int> formats;
        bool cellFormats = false;
        while (p.next()) {
            if (p.starts("numFmt"))
                codes.insert(p.xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                             p.xml.attributes().value(QLatin1String("formatCode")).toString());
            else if (p.starts("cellXfs"))
                cellFormats = true;
            else if (p.ends("cellXfs"))
                cellFormats = false;
            else if (cellFormats && p.starts("xf"))
                formats.push_back(p.xml.attributes().value(QLatin1String("numFmtId")).toInt());
        }
        for (const int id : formats)
            dateStyles.push_back(isDateFormat(id, codes));
    }

    XmlPart p(zip.part(sheetPart), sheetPart);
    RowCollector rows(table, limits.rows);
    bool inRow = false;
    qint64 column = -1;
    while (p.next()) {
        if (p.starts("row")) {
            const QStringView r = p.xml.attributes().value(QLatin1String("r"));
            rows.startRow(r.isEmpty() ? rows.lastLine() + 1 : r.toLongLong());
            inRow = true;
            column = -1;
        } else if (p.ends("row") && inRow) {
            rows.endRow();
            inRow = false;
        } else if (p.starts("c") && inRow) {
            const QXmlStreamAttributes a = p.xml.attributes();
            const QString type = a.value(QLatin1String("t")).toString();
            const qint64 at = a.hasAttribute(QLatin1String("r"))
                                  ? referenceColumn(a.value(QLatin1String("r")))
                                  : column + 1;
            if (at <= column)
                damaged(QStringLiteral("die Zellen der Zeile %1 stehen nicht in ihrer Reihenfolge")
                            .arg(rows.lastLine() + 1));
            column = at;
            const qsizetype style = a.value(QLatin1String("s")).toLongLong();
            const bool dateStyle = style >= 0 && static_cast<std::size_t>(style) < dateStyles.size() &&
                                   dateStyles[static_cast<std::size_t>(style)];
            bool formula = false;
            std::optional<QString> value;
            QString inlineText;
            while (p.next() && !p.ends("c")) {
                if (p.starts("f")) {
                    formula = true;
                    p.skip();
                } else if (p.starts("v")) {
                    value = p.text();
                } else if (p.starts("is")) {
                    inlineText = richText(p, "is");
                }
            }
            if (value && value->trimmed().isEmpty() && type != QLatin1String("str"))
                value.reset(); // an empty stored value is no value
            SheetCell cell;
            if (type == QLatin1String("inlineStr")) {
                cell.text = inlineText;
            } else if (!value) {
                if (formula)
                    cell.refusal = formulaWithoutValue();
            } else if (type == QLatin1String("s")) {
                bool ok = false;
                const qsizetype index = value->trimmed().toLongLong(&ok);
                if (!ok || index < 0 || index >= strings.size())
                    damaged(QStringLiteral("die Zelle %1 verweist auf keinen Text")
                                .arg(sheetCellName(table.sheet,
                                                   static_cast<int>(std::min<qint64>(column, 1 << 20)),
                                                   static_cast<int>(rows.lastLine() + 1))));
                cell.text = strings[index];
            } else if (type == QLatin1String("str")) {
                cell.text = *value;
            } else if (type == QLatin1String("b")) {
                cell.refusal = truthValue();
            } else if (type == QLatin1String("e")) {
                cell.refusal = errorValue(*value);
            } else if (type == QLatin1String("d")) {
                cell.refusal = dateOrTime();
            } else {
                cell = numberCell(*value);
                if (cell.number && dateStyle) {
                    cell.number.reset();
                    cell.refusal = dateOrTime();
                }
            }
            rows.put(column, cell);
        }
    }
    return table;
}

// ---- OpenDocument (.ods): content.xml holds the sheets as tables.

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kCalcExt =
    QStringLiteral("urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0");

bool isElement(const XmlPart& p, const QString& ns, const char* local) {
    return p.xml.namespaceUri() == ns && p.xml.name() == QLatin1String(local);
}

// A repetition count: 1 when not given.
qint64 repeated(const QXmlStreamAttributes& a, const char* local) {
    const QStringView v = a.value(kTable, QLatin1String(local));
    if (v.isEmpty())
        return 1;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (!ok || n < 1 || n > (qint64{1} << 24))
        damaged(QStringLiteral("content.xml wiederholt eine Zeile oder Zelle %1-mal").arg(v.toString()));
    return n;
}

// A cell's paragraphs as one text, lines joined by line breaks; notes attached to it left out.
QString cellParagraphs(XmlPart& p) {
    QString text;
    int paragraphs = 0, depth = 0; // inside a paragraph: depth > 0
    while (p.next()) {
        if (p.xml.isEndElement() &&
            (isElement(p, kTable, "table-cell") || isElement(p, kTable, "covered-table-cell")))
            break;
        if (p.xml.isStartElement()) {
            if (isElement(p, kOffice, "annotation")) {
                p.skip();
            } else if (isElement(p, kText, "p") || isElement(p, kText, "h")) {
                if (depth == 0 && paragraphs++ > 0)
                    text += u'\n';
                ++depth;
            } else if (depth > 0 && isElement(p, kText, "s")) {
                const int count = p.xml.attributes().value(kText, QLatin1String("c")).toInt();
                text += QString(std::clamp(count, 1, 1000), u' ');
            } else if (depth > 0 && isElement(p, kText, "tab")) {
                text += u'\t';
            } else if (depth > 0 && isElement(p, kText, "line-break")) {
                text += u'\n';
            }
        } else if (p.xml.isEndElement() && (isElement(p, kText, "p") || isElement(p, kText, "h"))) {
            --depth;
        } else if (p.xml.isCharacters() && depth > 0) {
            text += p.xml.text();
        }
    }
    return text;
}

SheetCell odsCell(XmlPart& p) {
    const QXmlStreamAttributes a = p.xml.attributes();
    const QStringView type = a.value(kOffice, QLatin1String("value-type"));
    const bool formula = a.hasAttribute(kTable, QLatin1String("formula"));
    const bool error = a.value(kCalcExt, QLatin1String("value-type")) == QLatin1String("error");
    const QString value = a.value(kOffice, QLatin1String("value")).toString();
    const QString shown = p.xml.isEndElement() ? QString() : cellParagraphs(p);
    SheetCell cell;
    if (error) {
        cell.refusal = errorValue(shown);
    } else if (type == QLatin1String("float") || type == QLatin1String("percentage") ||
               type == QLatin1String("currency")) {
        cell = numberCell(value);
    } else if (type == QLatin1String("date") || type == QLatin1String("time")) {
        cell.refusal = dateOrTime();
    } else if (type == QLatin1String("boolean")) {
        cell.refusal = truthValue();
    } else if (type.isEmpty() && formula) {
        cell.refusal = formulaWithoutValue();
    } else {
        cell.text = a.hasAttribute(kOffice, QLatin1String("string-value"))
                        ? a.value(kOffice, QLatin1String("string-value")).toString()
                        : shown;
    }
    return cell;
}

SheetTable readOds(Archive& zip, const WorkbookLimits& limits) {
    // A document saved with a password keeps its parts encrypted; the manifest says so.
    const QString manifest = QStringLiteral("META-INF/manifest.xml");
    if (zip.has(manifest) && zip.part(manifest).contains("encryption-data"))
        throw FileError(kEncrypted);
    SheetTable table;
    XmlPart p(zip.part(QStringLiteral("content.xml")), QStringLiteral("content.xml"));
    while (p.next() && !(p.xml.isStartElement() && isElement(p, kTable, "table"))) {
    }
    if (!p.xml.isStartElement())
        damaged(QStringLiteral("content.xml enthält kein Tabellenblatt"));
    table.sheet = p.xml.attributes().value(kTable, QLatin1String("name")).toString();
    if (table.sheet.isEmpty())
        table.sheet = QStringLiteral("Tabelle1");
    RowCollector rows(table, limits.rows);
    int tables = 1; // a table inside the sheet's cells is not read
    qint64 rowRepeat = 1, column = 0;
    bool inRow = false;
    while (p.next()) {
        if (p.xml.isStartElement() && isElement(p, kTable, "table")) {
            ++tables;
        } else if (p.xml.isEndElement() && isElement(p, kTable, "table")) {
            if (--tables == 0)
                break;
        } else if (tables > 1) {
            continue;
        } else if (p.xml.isStartElement() && isElement(p, kTable, "table-row")) {
            rowRepeat = repeated(p.xml.attributes(), "number-rows-repeated");
            rows.startRow(rows.lastLine() + 1);
            inRow = true;
            column = 0;
        } else if (p.xml.isEndElement() && isElement(p, kTable, "table-row") && inRow) {
            rows.endRow(rowRepeat);
            inRow = false;
        } else if (p.xml.isStartElement() && inRow &&
                   (isElement(p, kTable, "table-cell") || isElement(p, kTable, "covered-table-cell"))) {
            const qint64 repeat = repeated(p.xml.attributes(), "number-columns-repeated");
            const SheetCell cell = odsCell(p);
            for (qint64 c = column; c < column + repeat && !cell.isEmpty(); ++c) {
                rows.put(c, cell);
                if (c >= kMaxWorkbookColumns)
                    break; // the row's error; no more of it is kept
            }
            column += repeat;
        }
    }
    return table;
}

} // namespace

bool isZipArchive(const QByteArray& bytes) {
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06");
}

SheetTable readWorkbook(const QByteArray& bytes, const WorkbookLimits& limits) {
    Archive zip(bytes, limits.unpackedBytes);
    if (zip.has(QStringLiteral("xl/workbook.xml")))
        return readXlsx(zip, limits);
    if (zip.has(QStringLiteral("mimetype")) &&
        QString::fromUtf8(zip.part(QStringLiteral("mimetype"))).trimmed() == kOdsMimetype)
        return readOds(zip, limits);
    throw FileError(
        QStringLiteral("Die Datei ist ein Zip-Archiv, aber weder eine Excel-Arbeitsmappe (.xlsx) noch "
                       "eine OpenDocument-Tabelle (.ods)."));
}

} // namespace fyl
