// Fuzz target of the catalogue files: the start-up loaders and the maker's check, which also reads
// the detail records. Fuzzing harness over the core (fylcore).
//
// The input holds the seven files in a fixed order between separators (fuzzsupport.h); a file the
// input does not reach is missing. Loading either succeeds with every table within its bounds, or raises
// fyl::Error naming the file it failed at; the check names one of the seven files in every finding.
#include "fuzz/fuzzsupport.h"

#include "catalogue/checker.h"
#include "catalogue/layouts.h"
#include "catalogue/loaders.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"

#include <QDir>
#include <QFile>

#include <optional>

namespace {

using namespace fyl;
using fuzz::require;

using fuzz::kCatalogueFiles;
using fuzz::kCatalogueFileSeparator;

bool isCatalogueFile(const QString& name) {
    for (const char* file : kCatalogueFiles)
        if (name == QLatin1String(file))
            return true;
    return false;
}

template <std::size_t N> void requireWidth(const std::array<QString, N>& table, int width, const char* what) {
    for (const QString& entry : table)
        if (entry.size() > width) // the detail is made only then: 250 index lines per input
            fuzz::violated("a catalogue entry is wider than its table", QString::fromLatin1(what));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString folder = fuzz::scratchFolder() + QStringLiteral("/catalogue");
    static const bool made = QDir().mkpath(folder);
    require(made, "cannot make the catalogue folder", folder);

    // What each file holds after the last input (none: missing). A mutation mostly changes one
    // file, and the loaders only read them, so a file is written only when it changes.
    static std::array<std::optional<QByteArray>, kCatalogueFiles.size()> written;
    const QByteArray input = fuzz::inputBytes(data, size);
    qsizetype start = 0;
    for (std::size_t i = 0; i < kCatalogueFiles.size(); ++i) {
        const QString path = joinPath(folder, QString::fromLatin1(kCatalogueFiles[i]));
        if (start > input.size()) {
            if (written[i])
                require(QFile::remove(path), "cannot remove a catalogue file", path);
            written[i].reset();
            continue;
        }
        qsizetype end = input.indexOf(kCatalogueFileSeparator, start);
        if (end < 0 || i + 1 == kCatalogueFiles.size())
            end = input.size();
        const QByteArray bytes = input.mid(start, end - start);
        if (written[i] != bytes) {
            fuzz::writeBytes(path, bytes);
            written[i] = bytes;
        }
        start = end + qsizetype(sizeof kCatalogueFileSeparator - 1);
    }

    Catalogue catalogue;
    QString failedFile;
    try {
        LoadCatalogue(catalogue, folder, &failedFile);
        require(failedFile.isEmpty(), "a catalogue that loaded names a failed file", failedFile);
    } catch (const Error& e) {
        require(isCatalogueFile(failedFile), "a failed load names no catalogue file",
                failedFile + QStringLiteral(": ") + e.message());
        require(e.message().contains(failedFile), "the message of a failed load does not name its file",
                e.message());
    }
    require(catalogue.indexCount >= 0 && catalogue.indexCount <= int(catalogue.catalogueIndex.size()),
            "the index count lies outside its table");
    require(catalogue.outletListCount >= 0 &&
                catalogue.outletListCount <= int(catalogue.outletListLines.size()),
            "the outlet list count lies outside its table");
    require(catalogue.jetFormCount >= 0 && catalogue.jetFormCount <= int(catalogue.jetFormNames.size()),
            "the jet form count lies outside its table");
    requireWidth(catalogue.characteristicNames1, kNameWidth, "kenn1.dat");
    requireWidth(catalogue.characteristicNames2, kNameWidth, "kenn2.dat");
    requireWidth(catalogue.characteristicNames3, kNameWidth, "kenn3.dat");
    requireWidth(catalogue.jetFormNames, kJetFormWidth, "Strahl.dat");
    requireWidth(catalogue.catalogueIndex, indexline::kMaxLength, "ZELK.idx");
    require(catalogue.typeCodeList[0].isEmpty(), "the first type code entry was filled");

    for (const CatalogueFinding& finding : checkCatalogue(folder)) {
        const QString text = formatFinding(finding);
        require(isCatalogueFile(finding.file), "a finding names no catalogue file", text);
        require(finding.line >= 0 && finding.column >= 0, "a finding has a negative place", text);
        require(!finding.message.isEmpty(), "a finding says nothing", text);
    }
    return 0;
}
