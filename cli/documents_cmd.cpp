// zelkfyl-cli documents SOURCE.json PROGRAMDIR: the catalogue's tender texts (Aus_texte) and data
// sheets (catalog) beside the catalogue files of a program directory. Application layer over the
// core; the build runs it after the catalogue files and the type pictures are in place.

#include "catalogue/cataloguesource.h"
#include "catalogue/loaders.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "drawing/pagespdf.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "print/cataloguedocuments.h"
#include "print/datasheet.h"

#include <QDir>
#include <QFileInfo>

#include <utility>
#include <vector>

namespace {

constexpr const char* kDocumentsUsage = "documents SOURCE.json PROGRAMDIR";
constexpr int kSheetDpi = 300;

// The sketch the selection window shows for the type, or its fallback.
QString pictureOf(const QString& programDir, const QString& type) {
    const QString own =
        fyl::joinPath(programDir, QStringLiteral("Fyl_Bilder/") + type + QStringLiteral(".bmp"));
    return QFileInfo(own).isFile() ? own : fyl::joinPath(programDir, QStringLiteral("Fyl_Bilder/image5.bmp"));
}

int runDocuments(const QStringList& args, QTextStream& out, QTextStream&) {
    fyl::cli::CommandLine call(QString::fromUtf8(kDocumentsUsage), {});
    call.parse(args, 2);
    const QString programDir = call.positional(1);
    const fyl::CatalogueDocuments documents = fyl::readCatalogueDocuments(fyl::readWholeFile(
        call.positional(0), fyl::kMaxCatalogueSourceBytes, QStringLiteral("Die Katalogquelle")));
    fyl::Catalogue catalogue;
    fyl::LoadCatalogue(catalogue, programDir);
    const std::vector<fyl::DocumentedType> types = fyl::documentedTypes(catalogue, programDir, documents);

    // Everything is made before anything is written.
    const std::map<QString, QByteArray> texts = fyl::tenderTextFiles(types);
    std::map<QString, QByteArray> sheets;
    for (const fyl::DocumentedType& type : types) {
        const QByteArray pdf =
            fyl::pagesAsPdf(fyl::dataSheetPages({type, pictureOf(programDir, type.name), kSheetDpi}),
                            kSheetDpi, QStringLiteral("Datenblatt ") + type.name);
        for (const QString& name : fyl::dataSheetNames(type))
            sheets[name] = pdf;
    }
    const QString textFolder = fyl::joinPath(programDir, QStringLiteral("Aus_texte"));
    const QString sheetFolder = fyl::joinPath(programDir, QStringLiteral("catalog"));
    // Both folders as one set: a failure leaves the texts and the sheets as they were.
    std::vector<std::pair<QString, QByteArray>> files;
    using Set = std::pair<QString, const std::map<QString, QByteArray>*>;
    for (const auto& [folder, set] : {Set{textFolder, &texts}, Set{sheetFolder, &sheets}}) {
        if (!QDir().mkpath(folder))
            throw fyl::FileError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                                     .arg(QDir::toNativeSeparators(folder)));
        for (const auto& [name, bytes] : *set)
            files.emplace_back(fyl::joinPath(folder, name), bytes);
    }
    fyl::writeFilesTogether(files);
    out << texts.size() << " Ausschreibungstexte in " << textFolder << ", " << sheets.size()
        << " Datenblätter in " << sheetFolder << "\n";
    return 0;
}

const fyl::cli::CommandRegistration documentsRegistration("documents", runDocuments, kDocumentsUsage, true);

} // namespace
