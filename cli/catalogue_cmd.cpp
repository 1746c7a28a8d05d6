// zelkfyl-cli catalogue build|check|dump|record|tree: the maker's tools for the outlet catalogue,
// and the catalogue as the selection window lists it. Application layer over the core.

#include "catalogue/cataloguejson.h"
#include "catalogue/cataloguesource.h"
#include "catalogue/checker.h"
#include "catalogue/loaders.h"
#include "catalogue/lookups.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "selection/selectionlists.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

namespace {

constexpr const char* kCatalogueUsage =
    "catalogue build SOURCE.json OUTDIR | check DIR | dump DIR | record DIR N | tree [--program-dir DIR]";

// The arguments of a subcommand that takes `count` of them and no option.
QStringList arguments(const char* usage, const QStringList& args, int count) {
    fyl::cli::CommandLine call(QString::fromUtf8(usage), {});
    call.parse(args, count);
    return call.positionals();
}

int build(const QStringList& args, QTextStream& out) {
    const char* const usage = "catalogue build SOURCE.json OUTDIR";
    const QStringList given = arguments(usage, args, 2);
    QStringList outputs;
    for (const char* name : {fyl::kKennFiles[0], fyl::kKennFiles[1], fyl::kKennFiles[2], fyl::kJetFormFile,
                             fyl::kIndexFile, fyl::kOutletListFile, fyl::kDetailFile})
        outputs << fyl::joinPath(given[1], QString::fromLatin1(name));
    if (const QString clash = fyl::outputClash({given[0]}, outputs); !clash.isEmpty())
        throw fyl::cli::WrongCall{clash, QString::fromUtf8(usage)};
    const fyl::BuiltCatalogue built = fyl::buildCatalogueFromFile(given[0]);
    fyl::writeCatalogueFiles(built, given[1]);
    out << "Katalog geschrieben: " << built.files.size() << " Dateien, " << built.recordCount
        << " Datensätze in " << given[1] << "\n";
    return 0;
}

int check(const QStringList& args, QTextStream& out) {
    const auto findings = fyl::checkCatalogue(arguments("catalogue check DIR", args, 1)[0]);
    for (const auto& finding : findings)
        out << fyl::formatFinding(finding) << "\n";
    if (findings.empty())
        out << "Katalog in Ordnung.\n";
    return findings.empty() ? 0 : 1;
}

int dump(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString dir = arguments("catalogue dump DIR", args, 1)[0];
    // No folder is no catalogue to show in part: the error alone, where errors go.
    if (!QFileInfo(dir).isDir())
        throw fyl::FileError(
            QStringLiteral("Der Katalogordner %1 existiert nicht.").arg(QDir::toNativeSeparators(dir)));
    fyl::Catalogue catalogue;
    std::optional<fyl::CatalogueLoadFailure> failure;
    QString failedFile;
    try {
        fyl::LoadCatalogue(catalogue, dir, &failedFile);
    } catch (const fyl::Error& e) {
        failure = fyl::CatalogueLoadFailure{failedFile, e.message()};
    }
    out << fyl::catalogueDumpJson(catalogue, failure);
    if (!failure)
        return 0;
    out.flush();
    err << failure->message << "\n";
    return 1;
}

// N counts from 0; a number past the file's end is a read failure, found only by reading.
int record(const QStringList& args, QTextStream& out) {
    const char* const usage = "catalogue record DIR N";
    const QStringList given = arguments(usage, args, 2);
    const int index =
        fyl::cli::integerArgument(given[1], 0, std::numeric_limits<int>::max(), QString::fromUtf8(usage));
    out << fyl::outletRecordJson(fyl::ReadOutletRecord(given[0], index));
    return 0;
}

QJsonArray sizesOf(const fyl::Catalogue& catalogue, const QString& type) {
    QJsonArray sizes;
    for (const fyl::OfferedSize& offered : fyl::offeredSizes(catalogue, type)) {
        QJsonObject size{{QStringLiteral("name"), offered.name}};
        if (offered.line) {
            size.insert(QStringLiteral("design"), offered.line->design);
            size.insert(QStringLiteral("flow_min"), offered.line->smallestFlow);
            size.insert(QStringLiteral("flow_max"), offered.line->largestFlow);
        }
        QJsonArray forms;
        for (const fyl::OfferedJetForm& form : offered.jetForms)
            forms.append(
                QJsonObject{{QStringLiteral("number"), form.number}, {QStringLiteral("name"), form.name}});
        size.insert(QStringLiteral("jet_forms"), forms);
        sizes.append(size);
    }
    return sizes;
}

// The kinds, types, sizes and jet forms as the selection window lists them without the flow
// filter; names without the blanks that pad them.
int tree(const QStringList& args, QTextStream& out) {
    fyl::cli::CommandLine call(QStringLiteral("catalogue tree [--program-dir DIR]"), {"program-dir"});
    call.parse(args, 0);
    fyl::Catalogue catalogue;
    fyl::LoadCatalogue(catalogue, call.programDir());
    const QStringList codes = fyl::typeCodes(catalogue);
    QJsonArray kinds;
    for (const QString& kind : fyl::installationKinds(catalogue)) {
        const fyl::KindTypes types = fyl::typesOfKind(catalogue, kind, codes);
        QJsonArray typeArray;
        for (const QString& type : types.calculable)
            typeArray.append(QJsonObject{{QStringLiteral("name"), fyl::withoutTrailingBlanks(type)},
                                         {QStringLiteral("calculable"), true},
                                         {QStringLiteral("sizes"), sizesOf(catalogue, type)}});
        for (const QString& type : types.dataSheetOnly)
            typeArray.append(QJsonObject{{QStringLiteral("name"), fyl::withoutTrailingBlanks(type)},
                                         {QStringLiteral("calculable"), false},
                                         {QStringLiteral("sizes"), QJsonArray()}});
        kinds.append(QJsonObject{{QStringLiteral("name"), fyl::withoutTrailingBlanks(kind)},
                                 {QStringLiteral("types"), typeArray}});
    }
    out << QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("kinds"), kinds}}).toJson(QJsonDocument::Indented));
    return 0;
}

int runCatalogue(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString sub = args.value(0);
    const QStringList rest = args.mid(1);
    if (sub == QLatin1String("build"))
        return build(rest, out);
    if (sub == QLatin1String("check"))
        return check(rest, out);
    if (sub == QLatin1String("dump"))
        return dump(rest, out, err);
    if (sub == QLatin1String("record"))
        return record(rest, out);
    if (sub == QLatin1String("tree"))
        return tree(rest, out);
    throw fyl::cli::WrongCall{
        args.isEmpty() ? QString() : QStringLiteral("Unbekannter Unterbefehl: %1").arg(sub), {}};
}

const fyl::cli::CommandRegistration catalogueRegistration("catalogue", runCatalogue, kCatalogueUsage);

} // namespace
