// Fuzz target of the text table reader (Fyltext.txt). Fuzzing harness over the core (fylcore).
//
// The table keeps one entry per line, cut to 180 characters, at most 235 of them: a longer file
// raises RangeError after storing 235; every entry is its line from the seventh character on,
// and entries past the last line are empty.
#include "fuzz/fuzzsupport.h"

#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/texttable.h"

#include <algorithm>
#include <vector>

namespace {

using namespace fyl;
using fuzz::require;

// The lines as the file holds them: CR LF, CR and LF each end one; a last line without an end
// still counts. Kept apart from the reader so that the two are held against each other: every
// line end becomes LF, then the text is split there.
std::vector<QByteArray> linesOf(QByteArray bytes) {
    bytes.replace("\r\n", "\n").replace('\r', '\n');
    const QList<QByteArray> pieces = bytes.split('\n');
    std::vector<QByteArray> lines(pieces.begin(), pieces.end());
    if (lines.back().isEmpty()) // after the last line end, or an empty file
        lines.pop_back();
    return lines;
}

// What an entry shows of its line: characters 7 to 180.
QByteArrayView entryBytes(const QByteArray& line) {
    const QByteArrayView kept = QByteArrayView(line).first(std::min<qsizetype>(line.size(), TextTable::kLineLength));
    return kept.size() > TextTable::kPrefixLength ? kept.sliced(TextTable::kPrefixLength) : QByteArrayView();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString path = fuzz::scratchFolder() + QStringLiteral("/Fyltext.txt");
    const QByteArray input = fuzz::inputBytes(data, size);
    fuzz::writeBytes(path, input);

    const std::vector<QByteArray> lines = linesOf(input);
    const bool tooMany = lines.size() > std::size_t(TextTable::kEntries);
    TextTable table;
    try {
        table.load(path);
        require(!tooMany, "a text table of more than 235 lines was accepted");
    } catch (const RangeError&) {
        require(tooMany, "a text table of at most 235 lines was refused");
    }
    const std::size_t stored = std::min<std::size_t>(lines.size(), TextTable::kEntries);
    require(table.lineCount() == int(stored), "the line count is not that of the lines stored");
    for (int n = 1; n <= TextTable::kEntries; ++n) {
        const QString expected =
            std::size_t(n) <= stored ? fromAnsi(entryBytes(lines[std::size_t(n - 1)])) : QString();
        if (table.text(n) != expected) // the detail is made only then: 235 entries per input
            fuzz::violated("an entry is not its line", QString::number(n));
    }
    for (const int n : {0, -1, TextTable::kEntries + 1}) {
        try {
            table.text(n);
            fuzz::violated("an entry number outside 1 to 235 was taken", QString::number(n));
        } catch (const RangeError&) {
        }
    }
    return 0;
}
