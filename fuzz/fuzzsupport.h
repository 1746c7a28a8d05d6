// What the fuzz targets share: one scratch folder per process, inputs written to files, the texts
// of the program directory and the checks that end a run on a violated invariant. Fuzzing harness
// over the core (fylcore).
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

namespace fyl {
class TextTable;
}

namespace fyl::fuzz {

// A folder of this process for the files the readers need, removed when the process ends.
// The fuzzers reuse fixed names in it, so a long run leaves no trail of files.
const QString& scratchFolder();

// The input as bytes; the data stays owned by libFuzzer.
QByteArray inputBytes(const std::uint8_t* data, std::size_t size);

// Writes `bytes` as `path`, replacing what was there. Ends the run when it cannot: a full disk
// is no finding of the reader, but going on would test a stale file.
void writeBytes(const QString& path, const QByteArray& bytes);

// The text table of the committed program data (data/Fyltext.txt), so that views carry the texts
// the planner reads; loaded once.
const TextTable& programTexts();
// A file of the committed program data.
QString dataFile(const char* name);

// An input of the catalogue target: the seven catalogue files in this order, each ended by the
// separator except the last (a file the input does not reach is missing).
inline constexpr std::array<const char*, 7> kCatalogueFiles = {
    "kenn1.dat", "kenn2.dat", "kenn3.dat", "Strahl.dat", "ZELK.idx", "Durchlassdatei.txt", "ZELK.emd"};
inline constexpr char kCatalogueFileSeparator[] = "\x1c" "ZELK" "\x1c";

// Prints what was violated and aborts, which libFuzzer records as a crash with the input.
[[noreturn]] void violated(const char* what, const QString& detail = QString());
inline void require(bool holds, const char* what, const QString& detail = QString()) {
    if (!holds)
        violated(what, detail);
}

// Whether a text shows a non-finite number the way Qt and printf spell them ("nan", "-inf",
// "infinity", any case), as a word of its own so that "Info" or "Finanz" do not count.
bool showsNonFinite(const QString& text);

} // namespace fyl::fuzz
