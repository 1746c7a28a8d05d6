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
    QString type, size;
    int jetForm = 0;
    std::optional<long double> length, tube;
    std::optional<int> slotCount, count;
};

QString withoutTrailingBlanks(QString text) {
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QString offered(const QStringList& items) {
    QStringList shown;
    for (const QString& item : items)
        shown << withoutTrailingBlanks(item).trimmed();
    return shown.join(QStringLiteral(", "));
}

int indexOfText(const QStringList& items, const QString& wanted) {
    for (int i = 0; i < items.size(); ++i)
        if (withoutTrailingBlanks(items[i]) == wanted)
            return i;
    return -1;
}

// Offered lengths, counts and diameters are compared by value: " 1000" is 1000.
int indexOfValue(const QStringList& items, long double wanted) {
    for (int i = 0; i < items.size(); ++i) {
        try {
            if (numbers::parseReal(items[i]) == wanted)
                return i;
        } catch (const ConversionError&) {
        }
    }
    return -1;
}

int clickable(int index, const QString& what, long double value, const QStringList& items) {
    if (index < 0)
        throw Refusal{QStringLiteral("%1 %2 wird nicht angeboten; angeboten: %3.")
                          .arg(what, numbers::formatGeneral(value), offered(items))};
    return index;
}

// Installation kind, type, size and jet form, clicked as a planner clicks them; a step the window
// takes by itself (a single size, a single jet form) is not clicked again.
void chooseOutlet(SelectionModel& model, const Catalogue& catalogue, const PlanRequest& request,
                  const CalculationRecord& record) {
    const SelectionState& s = model.state();
    int type = -1;
    bool dataSheetOnly = false;
    for (int kind = 0; kind < s.listbox1.items.size() && type < 0; ++kind) {
        model.listbox1Click(kind);
        type = indexOfText(s.ListBox8.items, request.type);
        dataSheetOnly = dataSheetOnly || indexOfText(s.ListBox2.items, request.type) >= 0;
    }
    if (type < 0)
        throw Refusal{dataSheetOnly ? QStringLiteral("Für den Typ \"%1\" gibt es nur ein Datenblatt, keine "
                                                     "Berechnungsdaten.")
                                          .arg(request.type)
                                    : QStringLiteral("Unbekannter Typ \"%1\".").arg(request.type)};
    model.ListBox8Click(type);

    const int size = indexOfText(s.ListBox9.items, request.size);
    if (size < 0)
        throw Refusal{QStringLiteral("Der Typ \"%1\" hat keine Größe \"%2\"; angeboten: %3.")
                          .arg(request.type, request.size, offered(s.ListBox9.items))};
    const QString sizeName = s.ListBox9.items[size];
    if (!(s.groupbox1Visible && s.Label17 == sizeName))
        model.ListBox9Click(size);

    const QString design = record.designCode.str();
    const bool slotted = design == QLatin1String("1") || design == QLatin1String("3");
    const bool tube = design == QLatin1String("2");
    if (!slotted && !tube && (request.length || request.slotCount || request.tube))
        throw Refusal{QStringLiteral("Die Größe \"%1\" (Bauart %2) wird nicht nach Länge, Schlitzen oder "
                                     "Rohr gewählt.")
                          .arg(request.size, design)};
    if ((slotted || tube) && (!request.length || !request.slotCount))
        throw Refusal{QStringLiteral("Die Größe \"%1\" ist ein Schlitzdurchlass (Bauart %2): --length und "
                                     "--slots fehlen.")
                          .arg(request.size, design)};
    if (tube != request.tube.has_value())
        throw Refusal{
            tube ? QStringLiteral("Die Größe \"%1\" ist ein Schlitzrohr: --tube fehlt.").arg(request.size)
                 : QStringLiteral("Die Größe \"%1\" ist kein Schlitzrohr: --tube entfällt.")
                       .arg(request.size)};

    const std::vector<JetFormItem> forms = jetFormsOfSize(catalogue, sizeName);
    int jetForm = -1;
    QStringList formNumbers;
    for (std::size_t i = 0; i < forms.size(); ++i) {
        formNumbers << numbers::formatGeneral(forms[i].number);
        if (forms[i].number == request.jetForm)
            jetForm = static_cast<int>(i);
    }
    if (jetForm < 0)
        throw Refusal{
            QStringLiteral("Die Größe \"%1\" hat keine Strahlform %2; angeboten: %3.")
                .arg(request.size)
                .arg(numbers::formatGeneral(request.jetForm), formNumbers.join(QStringLiteral(", ")))};
    if (!(s.ListBox10.items.size() == 1 && s.weiterEnabled))
        model.ListBox10Click(jetForm);
    if (!s.weiterEnabled)
        throw Error(QStringLiteral("Für die Strahlform %1 der Größe \"%2\" ist kein Katalogsatz lesbar.")
                        .arg(numbers::formatGeneral(request.jetForm), request.size));
}

// The forward step, and for slot outlets the configuration and its forward button.
SelectionOutcome goForward(SelectionModel& model, const PlanRequest& request,
                           const CalculationRecord& record) {
    const SelectionState& s = model.state();
    SelectionOutcome outcome = model.weiterClick();
    const QString design = record.designCode.str();
    if (design == QLatin1String("2")) {
        QStringList diameters;
        for (const QString& entry : s.ListBox14.items)
            diameters << splitSizeTableEntry(entry).diameter;
        model.ListBox14Click(clickable(indexOfValue(diameters, *request.tube),
                                       QStringLiteral("Der Rohrdurchmesser"), *request.tube, diameters));
        model.ListBox15Click(clickable(indexOfValue(s.ListBox15.items, *request.length),
                                       QStringLiteral("Die Länge"), *request.length, s.ListBox15.items));
        model.ListBox16Click(clickable(indexOfValue(s.ListBox16.items, *request.slotCount),
                                       QStringLiteral("Die Schlitzanzahl"), *request.slotCount,
                                       s.ListBox16.items));
        outcome = model.Button3Click();
    } else if (design == QLatin1String("1") || design == QLatin1String("3")) {
        model.ListBox17Click(clickable(indexOfValue(s.ListBox17.items, *request.length),
                                       QStringLiteral("Die Länge"), *request.length, s.ListBox17.items));
        const int count =
            clickable(indexOfValue(s.ListBox18.items, *request.slotCount),
                      QStringLiteral("Die Schlitzanzahl"), *request.slotCount, s.ListBox18.items);
        if (s.ListBox18.items.size() > 1) // a single count is taken with the length
            model.ListBox18Click(count);
        outcome = model.Button5Click();
    }
    return outcome;
}

PlanRequest requestFrom(const QCommandLineParser& parser) {
    PlanRequest request;
    request.type = parser.value(QStringLiteral("type"));
    request.size = parser.value(QStringLiteral("size"));
    try {
        request.jetForm = numbers::parseInt(parser.value(QStringLiteral("jet-form")));
        if (parser.isSet(QStringLiteral("length")))
            request.length = numbers::parseReal(parser.value(QStringLiteral("length")));
        if (parser.isSet(QStringLiteral("tube")))
            request.tube = numbers::parseReal(parser.value(QStringLiteral("tube")));
        if (parser.isSet(QStringLiteral("slots")))
            request.slotCount = numbers::parseInt(parser.value(QStringLiteral("slots")));
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
    cli::NoShell shell;
    try {
        const PlanRequest request = requestFrom(parser);
        LoadCatalogue(catalogue, programDir);
        readProjectFile(parser.positionalArguments().constFirst(), *record);
        record->continueUsed = 1;
        SelectionModel model(
            {*record, flags, working, calcStatus, texts, dialogs, catalogue, shell, folders});
        chooseOutlet(model, catalogue, request, *record);
        const SelectionOutcome outcome = goForward(model, request, *record);
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
    } catch (const Error& e) {
        err << e.message() << "\n";
        return 1;
    }
}

const cli::CommandRegistration registration("plan", runPlan, kUsage);

} // namespace
