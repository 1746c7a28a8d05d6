// zelkfyl-cli evaluate: what "weiter" runs for a project saved in calculation mode, printed as
// JSON. Application layer over the core (fylcore).
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/resultjson.h"
#include "cli/session.h"

#include "calc/evaluation.h"
#include "calc/judgement.h"
#include "catalogue/loaders.h"
#include "frame/errors.h"
#include "frame/projectfile.h"
#include "results/judgementview.h"

#include <QJsonDocument>

#include <limits>

namespace {

const char* const kEvaluateUsage = "evaluate PROJECT.zol [--count N] [--write OUT.zol] [--program-dir DIR]";

// Runs what "weiter" runs for a project loaded in calculation mode. --count N first does what
// moving the count scroll bar to N does; N is taken as given from one outlet up, since clamping it
// to the scroll bar's range is the window's business.
int runEvaluate(const QStringList& args, QTextStream& out, QTextStream&) {
    fyl::cli::CommandLine call(QString::fromUtf8(kEvaluateUsage), {"count", "write", "program-dir"});
    call.parse(args, 1);
    const std::optional<int> count =
        call.integer("count", fyl::kLeastOutletCount, std::numeric_limits<int>::max());
    fyl::cli::refuseProjectOutputClash(call, {"write"});

    fyl::cli::Session session;
    fyl::cli::openProject(session, call.programDir(), call.positional(0));
    fyl::ResultsView view =
        fyl::cli::evaluateAsShown(session, QStringLiteral("Es wurde nichts ausgewertet."), count);
    // The judgement needs the catalogue's mounting places; a folder with the text table alone still
    // evaluates, without the checks.
    std::optional<fyl::Judgement> judgement;
    try {
        fyl::LoadCatalogue(session.catalogue, call.programDir());
        judgement =
            fyl::judgeRecord(*session.record, fyl::choiceGeometry(session.catalogue, *session.record));
        fyl::judgementView(judgement, view); // as the calculation window shows it
    } catch (const fyl::Error&) {
    }
    const QJsonObject result =
        fyl::cli::evaluationJson(*session.record, session.working, session.calcStatus, view, judgement);
    if (call.isSet("write"))
        fyl::writeProjectFile(call.value("write"), *session.record);
    out << QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Indented));
    return 0;
}

const fyl::cli::CommandRegistration evaluateRegistration("evaluate", runEvaluate, kEvaluateUsage);

} // namespace
