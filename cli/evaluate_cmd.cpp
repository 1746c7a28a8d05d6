// zelkfyl-cli evaluate: what "weiter" runs for a project saved in calculation mode, printed as
// JSON. Application layer over the core (fylcore).
#include "cli/commands.h"
#include "cli/resultjson.h"

#include "calc/evaluation.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/projectfile.h"
#include "frame/runstate.h"
#include "frame/texttable.h"
#include "results/outletresults.h"

#include <QCommandLineParser>
#include <QDir>
#include <QJsonDocument>

#include <memory>

namespace {

const char* const kUsage = "evaluate PROJECT.zol [--count N] [--write OUT.zol] [--program-dir DIR]";

// Runs what "weiter" runs for a project loaded in calculation mode. --count N first does what
// moving the count scroll bar to N does; N is taken as given, since clamping it to the scroll
// bar's range is the window's business.
int runEvaluate(const QStringList& args, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption countOption(QStringLiteral("count"), QStringLiteral("Anzahl der Durchlässe"),
                                         QStringLiteral("N"));
    const QCommandLineOption writeOption(QStringLiteral("write"), QStringLiteral("Ergebnisdatei"),
                                         QStringLiteral("OUT.zol"));
    const QCommandLineOption programDirOption(QStringLiteral("program-dir"),
                                              QStringLiteral("Programmverzeichnis"), QStringLiteral("DIR"));
    parser.addOptions({countOption, writeOption, programDirOption});
    if (!parser.parse(QStringList{QStringLiteral("evaluate")} + args) ||
        parser.positionalArguments().size() != 1) {
        if (!parser.errorText().isEmpty())
            err << parser.errorText() << "\n";
        err << "Aufruf: zelkfyl-cli " << kUsage << "\n";
        return 2;
    }
    bool countGiven = parser.isSet(countOption);
    int count = 0;
    if (countGiven) {
        bool ok = false;
        count = parser.value(countOption).trimmed().toInt(&ok);
        if (!ok) {
            err << "'" << parser.value(countOption) << "' ist kein gültiger Integerwert.\n";
            return 2;
        }
    }
    const QString programDir =
        parser.isSet(programDirOption) ? parser.value(programDirOption) : QDir::currentPath();

    fyl::cli::Session session;
    fyl::cli::loadTexts(session, programDir);
    try {
        if (!fyl::cli::loadEvaluableProject(session, parser.positionalArguments().constFirst(), err,
                                            QStringLiteral("Es wurde nichts ausgewertet.")))
            return 2;
        if (countGiven)
            fyl::SetOutletCountByHand(*session.record, session.flags, count);
        const fyl::ResultsView view = fyl::ShowOutletResults(
            {*session.record, session.working, session.calcStatus, session.flags, session.texts});
        const QJsonObject result =
            fyl::cli::evaluationJson(*session.record, session.working, session.calcStatus, view);
        if (parser.isSet(writeOption))
            fyl::writeProjectFile(parser.value(writeOption), *session.record);
        out << QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Indented));
        return 0;
    } catch (const fyl::Error& e) {
        err << e.message() << "\n";
        return 1;
    }
}

const fyl::cli::CommandRegistration registration("evaluate", runEvaluate, kUsage);

} // namespace
