// zelkfyl-cli plan: takes an outlet over into a project through the selection window's steps,
// configures a slot outlet, runs the forward step with its evaluation and prints it as JSON.
// Application layer over the core (fylcore).
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/resultjson.h"
#include "cli/session.h"

#include "calc/evaluation.h"
#include "calc/judgement.h"
#include "frame/projectfile.h"
#include "frame/shell.h"
#include "results/judgementview.h"
#include "results/outletresults.h"
#include "selection/planchoice.h"
#include "selection/selectionmodel.h"

#include <QJsonDocument>

#include <limits>

namespace {

using namespace fyl;

const char* const kPlanUsage =
    "plan PROJECT.zol --type TYPE --size SIZE --jet-form N [--length MM --slots N] "
    "[--tube DIAMETER] [--count N] [--write OUT.zol] [--program-dir DIR]";

struct PlanRequest {
    OutletChoice choice;
    std::optional<int> count;
};

PlanRequest requestFrom(const cli::CommandLine& call) {
    PlanRequest request;
    OutletChoice& choice = request.choice;
    choice.type = call.required("type");
    choice.size = call.required("size");
    call.required("jet-form");
    choice.jetForm = *call.integer("jet-form");
    choice.length = call.real("length");
    choice.tube = call.real("tube");
    choice.slotCount = call.integer("slots");
    request.count = call.integer("count", kLeastOutletCount, std::numeric_limits<int>::max());
    return request;
}

// Takes the outlet over as the selection window's steps would, every question answered Yes; the
// planner reached the selection through the main window's "weiter", which the record remembers.
// --count then moves the calculation window's count scroll bar: a second evaluation.
int runPlan(const QStringList& args, QTextStream& out, QTextStream& err) {
    cli::CommandLine call(QString::fromUtf8(kPlanUsage), {"type", "size", "jet-form", "length", "slots",
                                                          "tube", "count", "write", "program-dir"});
    call.parse(args, 1);
    const PlanRequest request = requestFrom(call);
    cli::refuseProjectOutputClash(call, {"write"});

    cli::Session session;
    cli::openProject(session, call.programDir(), call.positional(0), cli::WithCatalogue::Yes);
    CalculationRecord* record = session.record.get();
    cli::AnsweringDialogs dialogs(err);
    InertShell shell;
    record->continueUsed = 1;
    SelectionModel model({*record, session.flags, session.working, session.calcStatus, session.texts, dialogs,
                          session.catalogue, shell, session.folders});
    SelectionOutcome outcome;
    try {
        outcome = planOutlet(model, session.catalogue, request.choice, *record);
    } catch (const ChoiceRefused& refusal) {
        throw cli::Refused{refusal.message()};
    }
    if (!outcome.results || outcome.results->evaluated == JetKind::None)
        throw cli::Refused{
            QStringLiteral("Für die Strahlform \"%1\" gibt es bei Bauart %2 keine Auswertung. Es "
                           "wurde nichts ausgewertet.")
                .arg(record->outlet.jetFormCodeText(), record->designCode.str())};
    ResultsView view = *outcome.results;
    if (request.count) {
        SetOutletCountByHand(*record, session.flags, *request.count);
        const EvaluationParts parts{*record, session.working, session.calcStatus, session.flags,
                                    session.texts};
        applyView(view, record->horizontalJet ? EvaluateHorizontalJet(parts) : EvaluateVerticalJet(parts));
    }
    const std::optional<Judgement> judgement =
        judgeRecord(*record, choiceGeometry(session.catalogue, *record));
    judgementView(judgement, view); // as the calculation window shows it
    QJsonObject result = cli::evaluationJson(*record, session.working, session.calcStatus, view, judgement);
    result.insert(QStringLiteral("designation"), view.form3[form3::Label1].text.value_or(QString()));
    result.insert(QStringLiteral("design"), record->designCode.str());
    if (call.isSet("write")) {
        record->flowPictureShown = 0;
        writeProjectFile(call.value("write"), *record);
    }
    out << QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Indented));
    return 0;
}

const cli::CommandRegistration planRegistration("plan", runPlan, kPlanUsage);

} // namespace
