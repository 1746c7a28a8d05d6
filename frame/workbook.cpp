// Reading the first worksheet of .xlsx and .ods workbooks: the zip archive through minizip from
// memory, its XML parts through QXmlStreamReader; only what a room list needs. Core layer (fylcore).
#include "frame/workbook.h"

#include "frame/errors.h"
#include "frame/numbers.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <unzip.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace fyl {

namespace {

[[noreturn]] void damaged(const QString& why) {
    throw FileError(QStringLiteral("Die Arbeitsmappe ist beschädigt: %1.").arg(why));
}

const QString kEncrypted =
    QStringLiteral("Die Arbeitsmappe ist mit einem Kennwort verschlüsselt; bitte ohne Kennwort speichern.");

// minizip reads the archive through these from the bytes in memory, up to `total` (the end of the
// directory's last record), with the length of the archive's comment read as 0 at `commentLength`.
struct MemoryStream {
    const QByteArray* bytes = nullptr;
    ZPOS64_T position = 0;
    ZPOS64_T total = 0;
    ZPOS64_T commentLength = ~ZPOS64_T{0};
};

// minizip looks for the end record of the zip directory only in the archive's last 65535 bytes, 22
// short of a record with the longest comment (65535 bytes), so such an archive is read as if it
// ended with the record, without the comment, which nothing reads. The record is the one whose
// comment ends the archive; where none does, minizip's own search decides.
void endAtDirectory(MemoryStream& s) {
    const QByteArray& bytes = *s.bytes;
    s.total = static_cast<ZPOS64_T>(bytes.size());
    const qsizetype earliest = std::max<qsizetype>(0, bytes.size() - 22 - 0xFFFF);
    for (qsizetype at = bytes.lastIndexOf("PK\x05\x06", bytes.size() - 22); at >= earliest;
         at = at > 0 ? bytes.lastIndexOf("PK\x05\x06", at - 1) : -1) {
        const qsizetype comment = static_cast<unsigned char>(bytes[at + 20]) |
                                  (static_cast<unsigned char>(bytes[at + 21]) << 8);
        if (at + 22 + comment == bytes.size()) {
            s.total = static_cast<ZPOS64_T>(at + 22);
            s.commentLength = static_cast<ZPOS64_T>(at + 20);
            return;
        }
    }
}

voidpf ZCALLBACK openMemory(voidpf opaque, const void* /*name*/, int /*mode*/) {
    return opaque;
}
uLong ZCALLBACK readMemory(voidpf /*opaque*/, voidpf stream, void* buffer, uLong size) {
    auto* s = static_cast<MemoryStream*>(stream);
    const ZPOS64_T total = s->total;
    const uLong n =
        s->position >= total ? 0 : static_cast<uLong>(std::min<ZPOS64_T>(size, total - s->position));
    if (n > 0)
        std::memcpy(buffer, s->bytes->constData() + s->position, n);
    for (ZPOS64_T at = s->commentLength; at < s->commentLength + 2; ++at)
        if (at >= s->position && at < s->position + n)
            static_cast<char*>(buffer)[at - s->position] = 0;
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
    const ZPOS64_T total = s->total;
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

// The archive with its directory checked: what all parts unpack to is known before any is. Parts
// are unpacked piece by piece, one at a time, so that no part is ever held whole.
class Archive {
public:
    Archive(const QByteArray& bytes, qint64 unpackLimit) : stream_{&bytes, 0} {
        endAtDirectory(stream_);
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
    ~Archive() {
        if (open_)
            unzCloseCurrentFile(zip_);
        unzClose(zip_);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool has(const QString& name) { return unzLocateFile(zip_, name.toUtf8().constData(), 2) == UNZ_OK; }

    // Opens a part to be read by read(); the part open before is left.
    void open(const QString& name);
    // The next piece of the open part; empty at its end, once the part is found to unpack to the
    // size the directory gives, with the right checksum.
    QByteArray read();
    // Reads the open part to its end, so that a damaged one is found.
    void drain() {
        while (!read().isEmpty()) {
        }
    }
    // A small part whole, as far as `limit` bytes.
    QByteArray part(const QString& name, qsizetype limit) {
        open(name);
        QByteArray data;
        for (QByteArray piece = read(); !piece.isEmpty(); piece = read())
            if (data.size() < limit)
                data += piece.left(limit - data.size());
        return data;
    }

private:
    void checkDirectory(qint64 unpackLimit) {
        ZPOS64_T total = 0;
        QSet<QString> names;
        std::vector<char> name(std::size_t{1} << 16);
        for (int at = unzGoToFirstFile(zip_); at != UNZ_END_OF_LIST_OF_FILE; at = unzGoToNextFile(zip_)) {
            unz_file_info64 info{};
            if (at != UNZ_OK || unzGetCurrentFileInfo64(zip_, &info, name.data(), static_cast<uLong>(name.size()),
                                                        nullptr, 0, nullptr, 0) != UNZ_OK)
                damaged(QStringLiteral("das Inhaltsverzeichnis des Zip-Archivs ist unlesbar"));
            // Parts are found by name, whatever its case; of two alike, readers differ in which
            // they take (this one the first, others the last), so the archive means nothing sure.
            const QString part = QString::fromUtf8(name.data(), static_cast<qsizetype>(info.size_filename));
            if (names.contains(part.toLower()))
                damaged(QStringLiteral("der Teil %1 steht zweimal im Zip-Archiv").arg(part));
            names.insert(part.toLower());
            total += std::min<ZPOS64_T>(info.uncompressed_size, ZPOS64_T{1} << 62);
            if (total > static_cast<ZPOS64_T>(unpackLimit))
                throw FileError(
                    QStringLiteral("Die Arbeitsmappe würde entpackt größer als %1 MB; so groß ist keine "
                                   "Raumliste, sie wird nicht entpackt.")
                        .arg(unpackLimit >> 20));
        }
    }
    [[noreturn]] void unpackFailed() const {
        damaged(QStringLiteral("der Teil %1 lässt sich nicht fehlerfrei entpacken").arg(name_));
    }

    MemoryStream stream_;
    unzFile zip_ = nullptr;
    bool open_ = false;
    QString name_;       // of the open part
    ZPOS64_T size_ = 0;  // as the directory gives it
    ZPOS64_T done_ = 0;  // unpacked so far
    std::vector<char> chunk_ = std::vector<char>(std::size_t{64} << 10);
};

void Archive::open(const QString& name) {
    if (open_)
        unzCloseCurrentFile(zip_);
    open_ = false;
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
    open_ = true;
    name_ = name;
    size_ = info.uncompressed_size;
    done_ = 0;
}

QByteArray Archive::read() {
    if (!open_)
        return QByteArray();
    const int got = unzReadCurrentFile(zip_, chunk_.data(), static_cast<unsigned>(chunk_.size()));
    if (got > 0) {
        done_ += static_cast<ZPOS64_T>(got);
        return QByteArray(chunk_.data(), got);
    }
    open_ = false;
    const int closed = unzCloseCurrentFile(zip_);
    if (got < 0 || closed != UNZ_OK || done_ != size_)
        unpackFailed();
    return QByteArray();
}

// The longest text of one cell that is kept, as spreadsheets bound it; a longer one is refused.
constexpr qsizetype kMaxCellText = 32767;
// No markup of a workbook's parts (a tag with its attributes, a comment) is nearly this long.
constexpr qsizetype kMaxMarkup = qsizetype{1} << 20;

// Bounds what the XML reader holds at once, which is a whole text, tag or comment however long:
// the text between two tags (or in a CDATA section) is cut after one character more than a cell
// keeps, so that a longer one still reads as too long, and markup longer than any a workbook has
// is refused. Works on the decoded characters; entity references count as one character (a
// character beyond the 16-bit range is two), so a cut text is never shorter than the limit.
class TokenBound {
public:
    explicit TokenBound(const QString& part) : part_(part) {}

    QString filter(QStringView in) {
        QString out;
        out.reserve(in.size());
        for (const QChar c : in)
            pass(c, out);
        return out;
    }

private:
    enum class State { Text, Open, Bang, Tag, Comment, CData, Processing, Declaration };

    void pass(QChar c, QString& out) {
        switch (state_) {
        case State::Text:
            if (c == u'<') {
                startMarkup();
                out += c;
            } else {
                text(c, out);
            }
            return;
        case State::Open:
            grow();
            state_ = c == u'!' ? State::Bang : c == u'?' ? State::Processing : State::Tag;
            break;
        case State::Bang:
            // "<!--" opens a comment, "<![CDATA[" a section of text; anything else is a declaration.
            grow();
            lead_ += c;
            if (lead_ == QLatin1String("--")) {
                state_ = State::Comment;
            } else if (lead_ == QLatin1String("[CDATA[")) {
                startText(State::CData);
            } else if (!QLatin1String("--").startsWith(lead_) && !QLatin1String("[CDATA[").startsWith(lead_)) {
                state_ = State::Declaration;
                if (c == u'>')
                    startText();
            }
            break;
        case State::Tag:
            grow();
            if (quote_ != 0) {
                if (c == quote_)
                    quote_ = 0;
            } else if (c == u'"' || c == u'\'') {
                quote_ = c.unicode();
            } else if (c == u'>') {
                startText();
            }
            break;
        case State::Comment:
            grow();
            if (c == u'>' && dashes_ >= 2)
                startText();
            dashes_ = c == u'-' ? dashes_ + 1 : 0;
            break;
        case State::Processing:
            grow();
            if (c == u'>' && previous_ == u'?')
                startText();
            else
                previous_ = c;
            break;
        case State::Declaration:
            grow();
            if (c == u'>')
                startText();
            break;
        case State::CData:
            // Brackets wait until it is known whether they close the section.
            if (c == u']') {
                ++brackets_;
                return;
            }
            if (c == u'>' && brackets_ >= 2) {
                for (; brackets_ > 2; --brackets_)
                    text(u']', out);
                brackets_ = 0;
                out += QStringLiteral("]]>");
                startText();
                return;
            }
            for (; brackets_ > 0; --brackets_)
                text(u']', out);
            text(c, out);
            return;
        }
        out += c;
    }

    // A character of a text: passed on until the text is one character longer than a cell keeps.
    void text(QChar c, QString& out) {
        if (cut_)
            return;
        if (entity_ > 0 || (c == u'&' && state_ == State::Text)) {
            if (++entity_ > 64)
                damaged(QStringLiteral("%1 enthält einen Zeichenverweis, der länger ist als jeder gültige")
                            .arg(part_));
            if (c == u';') {
                entity_ = 0;
                ++counted_;
            }
            out += c;
            return;
        }
        // A line break of CR LF is read as one character.
        if (!(c == u'\n' && previous_ == u'\r'))
            ++counted_;
        previous_ = c;
        if (counted_ > kMaxCellText + 1)
            cut_ = true;
        else
            out += c;
    }
    void startText(State s = State::Text) {
        state_ = s;
        counted_ = 0;
        entity_ = 0;
        brackets_ = 0;
        cut_ = false;
        previous_ = QChar();
    }
    void startMarkup() {
        state_ = State::Open;
        markup_ = 1;
        quote_ = 0;
        dashes_ = 0;
        lead_.clear();
        previous_ = QChar();
    }
    void grow() {
        if (++markup_ > kMaxMarkup)
            damaged(QStringLiteral("%1 enthält ein Element, das länger ist als %2 Zeichen")
                        .arg(part_, QString::number(kMaxMarkup)));
    }

    QString part_;
    State state_ = State::Text;
    qsizetype counted_ = 0; // characters of the text so far
    qsizetype markup_ = 0;  // characters of the markup so far
    int entity_ = 0;        // characters of an entity reference so far
    int dashes_ = 0;        // in a row, in a comment
    int brackets_ = 0;      // in a row, held back, in a CDATA section
    char16_t quote_ = 0;    // the quote of an attribute value being read
    QString lead_;          // after "<!"
    QChar previous_;
    bool cut_ = false; // the rest of this text is left out
};

// A text as it is kept: at most the characters a cell keeps; `tooLong` when there were more.
struct BoundedText {
    QString text;
    bool tooLong = false;
    void add(QStringView more) {
        if (tooLong)
            return;
        if (text.size() + more.size() > kMaxCellText) {
            tooLong = true;
            text.clear();
            return;
        }
        text += more;
    }
    void add(const BoundedText& more) {
        if (more.tooLong) {
            tooLong = true;
            text.clear();
        } else {
            add(QStringView(more.text));
        }
    }
};

// A part's XML read token by token as it is unpacked; a part that is not well-formed, or that
// declares a document type (whose entities could make it grow), is damaged.
class XmlPart {
public:
    XmlPart(Archive& zip, QString name) : zip_(zip), name_(std::move(name)), bound_(name_) { zip_.open(name_); }
    bool next() {
        for (;;) {
            if (xml.atEnd() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
                check();
                return false;
            }
            xml.readNext();
            if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && !ended_) {
                feed();
                continue;
            }
            check();
            return !xml.atEnd();
        }
    }
    bool starts(const char* local) const {
        return xml.isStartElement() && xml.name() == QLatin1String(local);
    }
    bool ends(const char* local) const { return xml.isEndElement() && xml.name() == QLatin1String(local); }
    // The text of the element just started, without the elements inside it.
    BoundedText text() {
        BoundedText t;
        for (int depth = 1; depth > 0 && next();) {
            if (xml.isStartElement())
                ++depth;
            else if (xml.isEndElement())
                --depth;
            else if (depth == 1 && (xml.isCharacters() || xml.isCDATA()))
                t.add(xml.text());
        }
        return t;
    }
    void skip() {
        for (int depth = 1; depth > 0 && next();) {
            if (xml.isStartElement())
                ++depth;
            else if (xml.isEndElement())
                --depth;
        }
    }
    // Reads the rest of the part, so that a damaged one is found; the reader is done with it.
    void finish() { zip_.drain(); }
    QXmlStreamReader xml;

private:
    void feed() {
        const QByteArray raw = zip_.read();
        if (raw.isEmpty()) {
            ended_ = true;
            xml.addData(bound_.filter(QString(decoder_(QByteArray()))));
        } else {
            if (!decoder_.isValid()) {
                // A part is UTF-8 unless its byte order mark says UTF-16.
                const bool little = raw.startsWith("\xFF\xFE"), big = raw.startsWith("\xFE\xFF");
                decoder_ = QStringDecoder(little ? QStringDecoder::Utf16LE
                                          : big  ? QStringDecoder::Utf16BE
                                                 : QStringDecoder::Utf8);
            }
            xml.addData(bound_.filter(QString(decoder_(raw))));
        }
        if (decoder_.hasError()) {
            zip_.drain();
            damaged(QStringLiteral("%1 ist kein gültiges XML (ungültig kodierte Zeichen)").arg(name_));
        }
    }
    void check() {
        if (xml.tokenType() == QXmlStreamReader::DTD)
            damaged(QStringLiteral("%1 enthält eine Dokumenttypdeklaration").arg(name_));
        if (xml.hasError()) {
            zip_.drain(); // a part damaged in the archive is told as such
            damaged(QStringLiteral("%1 ist kein gültiges XML (Zeile %2: %3)")
                        .arg(name_, QString::number(xml.lineNumber()), xml.errorString()));
        }
    }
    Archive& zip_;
    QString name_;
    TokenBound bound_;
    QStringDecoder decoder_;
    bool ended_ = false;
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

QString tooLongText() {
    return QStringLiteral("der Text der Zelle ist länger als %1 Zeichen; so lang ist kein Eintrag einer "
                          "Raumliste.")
        .arg(kMaxCellText);
}

// A text cell, or the refusal of a text longer than a cell keeps.
SheetCell textCell(BoundedText text) {
    SheetCell cell;
    if (text.tooLong)
        cell.refusal = tooLongText();
    else
        cell.text = std::move(text.text);
    return cell;
}

// Where a cell waits for its shared string: the row in the table, the column, the string's index.
struct SharedRef {
    std::size_t row;
    std::size_t column;
    qint64 index;
};

// Rows as the sheets give them: the cells of one row, and the rows kept within the limits.
class RowCollector {
public:
    RowCollector(SheetTable& table, const WorkbookLimits& limits) : table_(table), limits_(limits) {}

    void startRow(qint64 line) {
        if (line < 1 || line > (qint64{1} << 24))
            damaged(QStringLiteral("eine Zeilennummer liegt außerhalb jedes Arbeitsblatts"));
        if (line <= last_)
            damaged(QStringLiteral("die Zeilen des Arbeitsblatts stehen nicht in ihrer Reihenfolge"));
        row_ = SheetRow{};
        row_.line = static_cast<int>(line);
        filled_ = false;
        farColumn_ = -1;
        rowShared_.clear();
        rowCells_ = 0;
        rowText_ = 0;
    }
    // `shared`: the index of the shared string the cell gets once the strings are read.
    void put(qint64 column, const SheetCell& cell, qint64 shared = -1) {
        if (cell.isEmpty() && shared < 0)
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
        if (shared >= 0)
            rowShared_.push_back({0, c, shared});
        ++rowCells_;
        rowText_ += cell.text.size();
    }
    // Ends the row, kept `repeat` times when it holds anything.
    void endRow(qint64 repeat = 1) {
        last_ = row_.line + repeat - 1;
        if (!filled_)
            return;
        for (qint64 k = 0; k < repeat; ++k) {
            const int line = static_cast<int>(row_.line + k);
            if (static_cast<qint64>(table_.rows.size()) >= limits_.rows)
                throw FileError(
                    QStringLiteral("Das Arbeitsblatt %1 hat mehr als %2 Zeilen mit Inhalt; so lang ist "
                                   "keine Raumliste.")
                        .arg(table_.sheet, QString::number(limits_.rows)));
            const int lastColumn = static_cast<int>(row_.cells.size()) - 1;
            keep(rowCells_, rowText_, lastColumn, line);
            SheetRow& row = table_.rows.emplace_back(row_);
            row.line = line;
            if (farColumn_ >= 0)
                row.error = QStringLiteral(
                                "%1: die Zelle liegt rechts der Spalten eines Raumbuchs und muss leer sein.")
                                .arg(sheetCellName(table_.sheet, static_cast<int>(farColumn_), row.line));
            for (SharedRef ref : rowShared_) {
                ref.row = table_.rows.size() - 1;
                shared_.push_back(ref);
            }
        }
    }
    // Counts what the workbook keeps: cells and their texts within what a room list holds.
    void keep(qint64 cells, qint64 text, int column, int line) {
        cells_ += cells;
        text_ += text;
        if (cells_ > limits_.cells)
            throw FileError(QStringLiteral("%1: das Arbeitsblatt hat mehr als %2 Zellen mit Inhalt; so viele hat "
                                           "keine Raumliste.")
                                .arg(sheetCellName(table_.sheet, std::max(column, 0), line),
                                     QString::number(limits_.cells)));
        if (text_ > limits_.text)
            throw FileError(QStringLiteral("%1: die Texte des Arbeitsblatts sind zusammen länger als %2 Zeichen; "
                                           "so viel Text hat keine Raumliste.")
                                .arg(sheetCellName(table_.sheet, std::max(column, 0), line),
                                     QString::number(limits_.text)));
    }
    qint64 lastLine() const { return last_; }
    const std::vector<SharedRef>& shared() const { return shared_; }

private:
    SheetTable& table_;
    WorkbookLimits limits_;
    SheetRow row_;
    bool filled_ = false;
    qint64 farColumn_ = -1; // the first cell right of the kept columns that holds anything
    qint64 last_ = 0;
    std::vector<SharedRef> rowShared_;
    std::vector<SharedRef> shared_;
    qint64 rowCells_ = 0, rowText_ = 0;
    qint64 cells_ = 0, text_ = 0; // kept so far
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
BoundedText richText(XmlPart& p, const char* element) {
    BoundedText text;
    while (p.next() && !p.ends(element)) {
        if (p.starts("rPh"))
            p.skip();
        else if (p.starts("t"))
            text.add(p.text());
    }
    return text;
}

QString hiddenNotice(const QString& hidden, const QString& read) {
    return QStringLiteral("Das erste Arbeitsblatt '%1' ist ausgeblendet; gelesen wurde das erste sichtbare, '%2'.")
        .arg(hidden, read);
}

// The shared strings are read twice: once to count them and to know the blank ones, then, after
// the sheet, to keep only those its cells use, however many the part holds.
struct SharedStrings {
    qint64 count = 0;
    std::vector<bool> blank;
};

SharedStrings countSharedStrings(Archive& zip, const QString& part) {
    SharedStrings strings;
    if (part.isEmpty() || !zip.has(part))
        return strings;
    XmlPart p(zip, part);
    while (p.next())
        if (p.starts("si")) {
            const BoundedText text = richText(p, "si");
            strings.blank.push_back(!text.tooLong && text.text.trimmed().isEmpty());
            ++strings.count;
        }
    p.finish();
    return strings;
}

SheetTable readXlsx(Archive& zip, const WorkbookLimits& limits) {
    SheetTable table;
    QString sheetId;
    {
        // The first visible sheet: a hidden one is not the room list the planner sees first.
        XmlPart p(zip, QStringLiteral("xl/workbook.xml"));
        QString firstName, firstId, hidden;
        while (p.next()) {
            if (!p.starts("sheet"))
                continue;
            QString name, id;
            bool visible = true;
            for (const QXmlStreamAttribute& a : p.xml.attributes()) {
                if (a.name() == QLatin1String("name") && a.namespaceUri().isEmpty())
                    name = a.value().toString();
                else if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                    id = a.value().toString();
                else if (a.name() == QLatin1String("state") && a.namespaceUri().isEmpty())
                    visible = a.value() == QLatin1String("visible");
            }
            if (firstName.isEmpty() && firstId.isEmpty()) {
                firstName = name;
                firstId = id;
            }
            if (visible) {
                table.sheet = name;
                sheetId = id;
                break;
            }
            if (hidden.isEmpty())
                hidden = name;
        }
        p.finish();
        if (table.sheet.isEmpty() && sheetId.isEmpty()) {
            table.sheet = firstName; // every sheet hidden: the first
            sheetId = firstId;
        } else if (!hidden.isEmpty()) {
            table.notice = hiddenNotice(hidden, table.sheet);
        }
    }
    if (table.sheet.isEmpty() || sheetId.isEmpty())
        damaged(QStringLiteral("xl/workbook.xml nennt kein Arbeitsblatt"));

    QString sheetPart, stringsPart, stylesPart;
    {
        XmlPart p(zip, QStringLiteral("xl/_rels/workbook.xml.rels"));
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
        p.finish();
    }
    if (sheetPart.isEmpty())
        damaged(QStringLiteral("das Arbeitsblatt %1 hat keinen Teil im Archiv").arg(table.sheet));

    const SharedStrings strings = countSharedStrings(zip, stringsPart);

    std::vector<bool> dateStyles; // by the cell's style index
    if (!stylesPart.isEmpty() && zip.has(stylesPart)) {
        XmlPart p(zip, stylesPart);
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
        p.finish();
        for (const int id : formats)
            dateStyles.push_back(isDateFormat(id, codes));
    }

    RowCollector rows(table, limits);
    {
        XmlPart p(zip, sheetPart);
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
                std::optional<BoundedText> value;
                BoundedText inlineText;
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
                if (value && !value->tooLong && value->text.trimmed().isEmpty() && type != QLatin1String("str"))
                    value.reset(); // an empty stored value is no value
                SheetCell cell;
                qint64 shared = -1;
                if (type == QLatin1String("inlineStr")) {
                    cell = textCell(inlineText);
                } else if (!value) {
                    if (formula)
                        cell.refusal = formulaWithoutValue();
                } else if (value->tooLong) {
                    cell.refusal = tooLongText();
                } else if (type == QLatin1String("s")) {
                    bool ok = false;
                    const qint64 index = value->text.trimmed().toLongLong(&ok);
                    if (!ok || index < 0 || index >= strings.count)
                        damaged(QStringLiteral("die Zelle %1 verweist auf keinen Text")
                                    .arg(sheetCellName(table.sheet,
                                                       static_cast<int>(std::min<qint64>(column, 1 << 20)),
                                                       static_cast<int>(rows.lastLine() + 1))));
                    if (!strings.blank[static_cast<std::size_t>(index)])
                        shared = index;
                } else if (type == QLatin1String("str")) {
                    cell.text = value->text;
                } else if (type == QLatin1String("b")) {
                    cell.refusal = truthValue();
                } else if (type == QLatin1String("e")) {
                    cell.refusal = errorValue(value->text);
                } else if (type == QLatin1String("d")) {
                    cell.refusal = dateOrTime();
                } else {
                    cell = numberCell(value->text);
                    if (cell.number && dateStyle) {
                        cell.number.reset();
                        cell.refusal = dateOrTime();
                    }
                }
                rows.put(column, cell, shared);
            }
        }
        p.finish();
    }

    // The strings the kept cells use, and nothing of the others.
    const std::vector<SharedRef>& refs = rows.shared();
    if (!refs.empty()) {
        std::vector<qint64> used;
        used.reserve(refs.size());
        for (const SharedRef& ref : refs)
            used.push_back(ref.index);
        std::sort(used.begin(), used.end());
        used.erase(std::unique(used.begin(), used.end()), used.end());
        std::vector<BoundedText> texts(used.size());
        XmlPart p(zip, stringsPart);
        qint64 index = 0;
        auto wanted = used.begin();
        while (p.next() && wanted != used.end()) {
            if (!p.starts("si"))
                continue;
            if (index++ == *wanted)
                texts[static_cast<std::size_t>(wanted++ - used.begin())] = richText(p, "si");
            else
                p.skip();
        }
        p.finish();
        for (const SharedRef& ref : refs) {
            const auto at = std::lower_bound(used.begin(), used.end(), ref.index) - used.begin();
            SheetCell& cell = table.rows[ref.row].cells[ref.column];
            cell = textCell(texts[static_cast<std::size_t>(at)]);
            rows.keep(0, cell.text.size(), static_cast<int>(ref.column), table.rows[ref.row].line);
        }
    }
    return table;
}

// ---- OpenDocument (.ods): content.xml holds the sheets as tables.

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
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
BoundedText cellParagraphs(XmlPart& p, int& paragraphs) {
    BoundedText text;
    int depth = 0; // inside a paragraph: depth > 0
    while (p.next()) {
        if (p.xml.isEndElement() &&
            (isElement(p, kTable, "table-cell") || isElement(p, kTable, "covered-table-cell")))
            break;
        if (p.xml.isStartElement()) {
            if (isElement(p, kOffice, "annotation")) {
                p.skip();
            } else if (isElement(p, kText, "p") || isElement(p, kText, "h")) {
                if (depth == 0 && paragraphs++ > 0)
                    text.add(u"\n");
                ++depth;
            } else if (depth > 0 && isElement(p, kText, "s")) {
                const int count = p.xml.attributes().value(kText, QLatin1String("c")).toInt();
                text.add(QString(std::clamp(count, 1, 1000), u' '));
            } else if (depth > 0 && isElement(p, kText, "tab")) {
                text.add(u"\t");
            } else if (depth > 0 && isElement(p, kText, "line-break")) {
                text.add(u"\n");
            }
        } else if (p.xml.isEndElement() && (isElement(p, kText, "p") || isElement(p, kText, "h"))) {
            --depth;
        } else if (p.xml.isCharacters() && depth > 0) {
            text.add(p.xml.text());
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
    int paragraphs = 0;
    const BoundedText shown = p.xml.isEndElement() ? BoundedText{} : cellParagraphs(p, paragraphs);
    SheetCell cell;
    if (error) {
        cell.refusal = errorValue(shown.text);
    } else if (type == QLatin1String("float") || type == QLatin1String("percentage") ||
               type == QLatin1String("currency")) {
        cell = numberCell(value);
    } else if (type == QLatin1String("date") || type == QLatin1String("time")) {
        cell.refusal = dateOrTime();
    } else if (type == QLatin1String("boolean")) {
        cell.refusal = truthValue();
    } else if (type.isEmpty() && formula) {
        // A formula whose result is the empty text (="") is stored with an empty paragraph and no
        // type; one never calculated has no paragraph.
        if (paragraphs == 0 || shown.tooLong || !shown.text.isEmpty())
            cell.refusal = formulaWithoutValue();
    } else if (a.hasAttribute(kOffice, QLatin1String("string-value"))) {
        BoundedText given;
        given.add(a.value(kOffice, QLatin1String("string-value")));
        cell = textCell(given);
    } else {
        cell = textCell(shown);
    }
    return cell;
}

// Whether the part holds `needle`, read piece by piece.
bool partContains(Archive& zip, const QString& name, const QByteArray& needle) {
    zip.open(name);
    QByteArray tail;
    bool found = false;
    for (QByteArray piece = zip.read(); !piece.isEmpty(); piece = zip.read()) {
        tail += piece;
        found = found || tail.contains(needle);
        tail = tail.right(needle.size());
    }
    return found;
}

SheetTable readOds(Archive& zip, const WorkbookLimits& limits) {
    // A document saved with a password keeps its parts encrypted; the manifest says so.
    const QString manifest = QStringLiteral("META-INF/manifest.xml");
    if (zip.has(manifest) && partContains(zip, manifest, "encryption-data"))
        throw FileError(kEncrypted);
    SheetTable table;
    // The first table not hidden by its style; where all are, the first.
    QSet<QString> hiddenStyles;
    QString firstHidden;
    {
        XmlPart p(zip, QStringLiteral("content.xml"));
        QString style;
        while (p.next()) {
            if (p.xml.isStartElement() && isElement(p, kStyle, "style")) {
                style = p.xml.attributes().value(kStyle, QLatin1String("name")).toString();
            } else if (p.xml.isStartElement() && isElement(p, kStyle, "table-properties") &&
                       p.xml.attributes().value(kTable, QLatin1String("display")) == QLatin1String("false")) {
                hiddenStyles.insert(style);
            } else if (p.xml.isStartElement() && isElement(p, kTable, "table")) {
                if (!hiddenStyles.contains(p.xml.attributes().value(kTable, QLatin1String("style-name")).toString()))
                    break;
                if (firstHidden.isEmpty())
                    firstHidden = p.xml.attributes().value(kTable, QLatin1String("name")).toString();
                p.skip();
            }
        }
        if (!firstHidden.isEmpty() && !p.xml.isStartElement())
            hiddenStyles.clear(); // every table hidden: the first is read
        p.finish();
    }
    XmlPart p(zip, QStringLiteral("content.xml"));
    while (p.next() &&
           !(p.xml.isStartElement() && isElement(p, kTable, "table") &&
             !hiddenStyles.contains(p.xml.attributes().value(kTable, QLatin1String("style-name")).toString()))) {
        if (p.xml.isStartElement() && isElement(p, kTable, "table"))
            p.skip();
    }
    if (!p.xml.isStartElement())
        damaged(QStringLiteral("content.xml enthält kein Tabellenblatt"));
    table.sheet = p.xml.attributes().value(kTable, QLatin1String("name")).toString();
    if (!hiddenStyles.isEmpty() && !firstHidden.isEmpty())
        table.notice = hiddenNotice(firstHidden, table.sheet.isEmpty() ? QStringLiteral("Tabelle1") : table.sheet);
    if (table.sheet.isEmpty())
        table.sheet = QStringLiteral("Tabelle1");
    RowCollector rows(table, limits);
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
    p.finish();
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
        QString::fromUtf8(zip.part(QStringLiteral("mimetype"), 256)).trimmed() == kOdsMimetype)
        return readOds(zip, limits);
    throw FileError(
        QStringLiteral("Die Datei ist ein Zip-Archiv, aber weder eine Excel-Arbeitsmappe (.xlsx) noch "
                       "eine OpenDocument-Tabelle (.ods)."));
}

} // namespace fyl
