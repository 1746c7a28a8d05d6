// zelkfyl-cli plan: takes an outlet over into a project through the selection window's steps,
// configures a slot outlet, runs the forward step with its evaluation and prints it as JSON.
// Application layer over the core (fylcore).
#include "cli/commands.h"
#include "cli/resultjson.h"

#include "calc/evaluation.h"
#include "catalogue/loaders.h"
#include "catalogue/lookups.h"
#include "frame/ansi.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/numbers.h"
#include "frame/projectfile.h"
#include "frame/shell.h"
#include "results/outletresults.h"
#include "selection/planchoice.h"
#include "selection/selectionlists.h"
#include "selection/selectionmodel.h"

#include <QCommandLineParser>
#include <QDir>
#include <QJsonDocument>

#include <memory>

namespace {

using namespace fyl;

const char* const kUsage = "plan PROJECT.zol --type TYPE --size SIZE --jet-form N [--length MM --slots N] "
                           "[--tube DIAMETER] [--count N] [--write OUT.zol] [--program-dir DIR]";

// A call that asks for what the catalogue does not offer: exit status 2.
struct Refusal {
    QString message;
};

struct PlanRequest {
    OutletChoice choice;
    std::optional<int> count;
};

PlanRequest requestFrom(const QCommandLineParser& parser) {
    PlanRequest request;
    OutletChoice& choice = request.choice;
    choice.type = parser.value(QStringLiteral("type"));
    choice.size = parser.value(QStringLiteral("size"));
    try {
        choice.jetForm = numbers::parseInt(parser.value(QStringLiteral("jet-form")));
        if (parser.isSet(QStringLiteral("length")))
            choice.length = numbers::parseReal(parser.value(QStringLiteral("length")));
        if (parser.isSet(QStringLiteral("tube")))
            choice.tube = numbers::parseReal(parser.value(QStringLiteral("tube")));
        if (parser.isSet(QStringLiteral("slots")))
            choice.slotCount = numbers::parseInt(parser.value(QStringLiteral("slots")));
        if (parser.isSet(QStringLiteral("count")))
            request.count = numbers::parseInt(parser.value(QStringLiteral("count")));
    } catch (const ConversionError& e) {
        throw Refusal{e.message()};
    }
    return request;
}

// Takes the outlet over as the selection window's steps would, every question answered Yes; the
// planner reached the selection through the main window's "weiter", which the record remembers.
// --count then moves the calculation window's count scroll bar: a second evaluation.
int runPlan(const QStringList& args, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    for (const char* name :
         {"type", "size", "jet-form", "length", "slots", "tube", "count", "write", "program-dir"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("VALUE")));
    if (!parser.parse(QStringList{QStringLiteral("plan")} + args) ||
        parser.positionalArguments().size() != 1 || !parser.isSet(QStringLiteral("type")) ||
        !parser.isSet(QStringLiteral("size")) || !parser.isSet(QStringLiteral("jet-form"))) {
        if (!parser.errorText().isEmpty())
            err << parser.errorText() << "\n";
        err << "Aufruf: zelkfyl-cli " << kUsage << "\n";
        return 2;
    }
    const QString programDir = parser.isSet(QStringLiteral("program-dir"))
                                   ? parser.value(QStringLiteral("program-dir"))
                                   : QDir::currentPath();

    cli::Session session;
    cli::loadTexts(session, programDir);
    CalculationRecord* record = session.record.get();
    TextTable& texts = session.texts;
    RuntimeFlags& flags = session.flags;
    WorkingValues& working = session.working;
    int& calcStatus = session.calcStatus;
    Catalogue catalogue;
    Folders folders;
    folders.program = programDir;
    cli::AnsweringDialogs dialogs(err);
    InertShell shell;
    try {
        const PlanRequest request = requestFrom(parser);
        LoadCatalogue(catalogue, programDir);
        readProjectFile(parser.positionalArguments().constFirst(), *record);
        record->continueUsed = 1;
        SelectionModel model(
            {*record, flags, working, calcStatus, texts, dialogs, catalogue, shell, folders});
        const SelectionOutcome outcome = planOutlet(model, catalogue, request.choice, *record);
        if (!outcome.results || outcome.results->evaluated == JetKind::None)
            throw Refusal{
                QStringLiteral("Für die Strahlform \"%1\" gibt es bei Bauart %2 keine Auswertung. Es "
                               "wurde nichts ausgewertet.")
                    .arg(record->outlet.jetFormCodeText(), record->designCode.str())};
        ResultsView view = *outcome.results;
        if (request.count) {
            SetOutletCountByHand(*record, flags, *request.count);
            const EvaluationParts parts{*record, working, calcStatus, flags, texts};
            applyView(view,
                      record->horizontalJet ? EvaluateHorizontalJet(parts) : EvaluateVerticalJet(parts));
        }
        QJsonObject result = cli::evaluationJson(*record, working, calcStatus, view);
        result.insert(QStringLiteral("designation"), view.form3[form3::Label1].text.value_or(QString()));
        result.insert(QStringLiteral("design"), record->designCode.str());
        if (parser.isSet(QStringLiteral("write"))) {
            record->flowPictureShown = 0;
            writeProjectFile(parser.value(QStringLiteral("write")), *record);
        }
        out << QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Indented));
        return 0;
    } catch (const Refusal& refusal) {
        err << refusal.message << "\n";
        return 2;
    } catch (const ChoiceRefused& refusal) {
        err << refusal.message() << "\n";
        return 2;
    } catch (const Error& e) {
        err << e.message() << "\n";
        return 1;
    }
}

const cli::CommandRegistration registration("plan", runPlan, kUsage);

} // namespace
