// zelkfyl-cli catalogue build|check|dump|record|tree: the maker's tools for the outlet catalogue,
// and the catalogue as the selection window lists it. Application layer over the core.

#include "catalogue/cataloguejson.h"
#include "catalogue/cataloguesource.h"
#include "catalogue/checker.h"
#include "catalogue/loaders.h"
#include "catalogue/lookups.h"
#include "cli/commands.h"
#include "frame/errors.h"
#include "frame/numbers.h"
#include "selection/selectionlists.h"

#include <QCommandLineParser>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr const char* kUsage =
    "catalogue build SOURCE.json OUTDIR | check DIR | dump DIR | record DIR N | tree [--program-dir DIR]";

int build(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 2) {
        err << "Aufruf: zelkfyl-cli catalogue build SOURCE.json OUTDIR\n";
        return 2;
    }
    const fyl::BuiltCatalogue built = fyl::buildCatalogueFromFile(args[0]);
    fyl::writeCatalogueFiles(built, args[1]);
    out << "Katalog geschrieben: " << built.files.size() << " Dateien, " << built.recordCount
        << " Datensätze in " << args[1] << "\n";
    return 0;
}

int check(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 1) {
        err << "Aufruf: zelkfyl-cli catalogue check DIR\n";
        return 2;
    }
    const auto findings = fyl::checkCatalogue(args[0]);
    for (const auto& finding : findings)
        out << fyl::formatFinding(finding) << "\n";
    if (findings.empty())
        out << "Katalog in Ordnung.\n";
    return findings.empty() ? 0 : 1;
}

int dump(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 1) {
        err << "Aufruf: zelkfyl-cli catalogue dump DIR\n";
        return 2;
    }
    fyl::Catalogue catalogue;
    std::optional<fyl::CatalogueLoadFailure> failure;
    QString failedFile;
    try {
        fyl::LoadCatalogue(catalogue, args[0], &failedFile);
    } catch (const fyl::Error& e) {
        failure = fyl::CatalogueLoadFailure{failedFile, e.message()};
    }
    out << fyl::catalogueDumpJson(catalogue, failure);
    return failure ? 1 : 0;
}

int record(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 2) {
        err << "Aufruf: zelkfyl-cli catalogue record DIR N\n";
        return 2;
    }
    const int index = fyl::numbers::parseInt(args[1]);
    out << fyl::outletRecordJson(fyl::ReadOutletRecord(args[0], index));
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
int tree(const QStringList& args, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption programDirOption(QStringLiteral("program-dir"), QString(),
                                              QStringLiteral("DIR"));
    parser.addOption(programDirOption);
    if (!parser.parse(QStringList{QStringLiteral("tree")} + args) ||
        !parser.positionalArguments().isEmpty()) {
        err << "Aufruf: zelkfyl-cli catalogue tree [--program-dir DIR]\n";
        return 2;
    }
    fyl::Catalogue catalogue;
    fyl::LoadCatalogue(catalogue,
                       parser.isSet(programDirOption) ? parser.value(programDirOption) : QDir::currentPath());
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
    try {
        if (sub == QLatin1String("build"))
            return build(rest, out, err);
        if (sub == QLatin1String("check"))
            return check(rest, out, err);
        if (sub == QLatin1String("dump"))
            return dump(rest, out, err);
        if (sub == QLatin1String("record"))
            return record(rest, out, err);
        if (sub == QLatin1String("tree"))
            return tree(rest, out, err);
    } catch (const fyl::Error& e) {
        out.flush();
        err << e.message() << "\n";
        return 1;
    }
    err << "Aufruf: zelkfyl-cli " << kUsage << "\n";
    return 2;
}

const fyl::cli::CommandRegistration registration("catalogue", runCatalogue, kUsage);

} // namespace
