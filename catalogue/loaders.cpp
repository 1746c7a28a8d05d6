// Reading the catalogue files at start into the tables. Core layer (fylcore).
#include "catalogue/loaders.h"

#include "catalogue/layouts.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"

#include <vector>

namespace fyl {

namespace {

std::vector<QByteArray> readCatalogueFile(const QString& programDir, const char* name, QString* currentFile) {
    if (currentFile != nullptr)
        *currentFile = QString::fromLatin1(name);
    return readAnsiLines(joinPath(programDir, QStringLiteral("\\") + QString::fromLatin1(name)),
                         kMaxCatalogueTextBytes, QStringLiteral("Die Katalogdatei"));
}

[[noreturn]] void tooManyLines(const char* name, std::size_t limit) {
    throw RangeError(
        QStringLiteral("Die Katalogdatei %1 hat mehr als %2 Zeilen; Zeile %3 liegt außerhalb der Tabelle.")
            .arg(QString::fromLatin1(name))
            .arg(limit)
            .arg(limit + 1));
}

// Stores line j into entry j - 1, cut to `width` bytes (one byte is one character in the code
// page). Entries are stored before a surplus line is reported, as a line-by-line reader would.
template <std::size_t N>
int fillTable(std::array<QString, N>& table, const std::vector<QByteArray>& lines, int width,
              const char* name) {
    const std::size_t stored = std::min(lines.size(), N);
    for (std::size_t j = 0; j < stored; ++j)
        table[j] = fromAnsi(width > 0 ? lines[j].left(width) : lines[j]);
    if (lines.size() > N)
        tooManyLines(name, N);
    return static_cast<int>(stored);
}

void buildTypeCodeList(Catalogue& catalogue) {
    auto& list = catalogue.typeCodeList;
    for (QString& entry : list)
        entry.clear();
    for (int j = 0; j < catalogue.indexCount; ++j) {
        const QString code =
            columnText(catalogue.catalogueIndex[static_cast<std::size_t>(j)], indexline::kTypeCode);
        // Entry k of the walk is list[k - 1]. The walk stops at an equal entry, before an empty
        // one, or at entry 25; entry 1 is never filled, so at most 24 codes are kept.
        int k = 1;
        bool equal = false;
        for (;;) {
            if (list[static_cast<std::size_t>(k - 1)] == code) {
                equal = true;
                break;
            }
            if (k >= 25 || list[static_cast<std::size_t>(k)].isEmpty())
                break;
            ++k;
        }
        if (!equal && k < 25)
            list[static_cast<std::size_t>(k)] = code;
    }
}

} // namespace

void LoadNameFiles(Catalogue& catalogue, const QString& programDir, QString* currentFile) {
    for (auto* table : {&catalogue.characteristicNames1, &catalogue.characteristicNames2,
                        &catalogue.characteristicNames3, &catalogue.jetFormNames})
        for (QString& entry : *table)
            entry.clear();
    std::array<QString, 8>* kennTables[3] = {&catalogue.characteristicNames1, &catalogue.characteristicNames2,
                                             &catalogue.characteristicNames3};
    for (int i = 0; i < 3; ++i)
        fillTable(*kennTables[i], readCatalogueFile(programDir, kKennFiles[i], currentFile), kNameWidth,
                  kKennFiles[i]);
    const auto jetLines = readCatalogueFile(programDir, kJetFormFile, currentFile);
    // The count is that of the entries actually stored, so it never points past the table.
    catalogue.jetFormCount = static_cast<int>(std::min<std::size_t>(jetLines.size(), 8));
    fillTable(catalogue.jetFormNames, jetLines, kJetFormWidth, kJetFormFile);
}

void LoadCatalogueIndex(Catalogue& catalogue, const QString& programDir, QString* currentFile) {
    const auto lines = readCatalogueFile(programDir, kIndexFile, currentFile);
    catalogue.indexCount =
        static_cast<int>(std::min<std::size_t>(lines.size(), catalogue.catalogueIndex.size()));
    fillTable(catalogue.catalogueIndex, lines, indexline::kMaxLength, kIndexFile);
    buildTypeCodeList(catalogue);
}

void LoadOutletList(Catalogue& catalogue, const QString& programDir, QString* currentFile) {
    const auto lines = readCatalogueFile(programDir, kOutletListFile, currentFile);
    catalogue.outletListCount =
        static_cast<int>(std::min<std::size_t>(lines.size(), catalogue.outletListLines.size()));
    fillTable(catalogue.outletListLines, lines, 0, kOutletListFile);
}

void LoadCatalogue(Catalogue& catalogue, const QString& programDir, QString* failedFile) {
    QString current;
    try {
        LoadNameFiles(catalogue, programDir, &current);
        LoadCatalogueIndex(catalogue, programDir, &current);
        LoadOutletList(catalogue, programDir, &current);
    } catch (...) {
        if (failedFile != nullptr)
            *failedFile = current;
        throw;
    }
}

} // namespace fyl
