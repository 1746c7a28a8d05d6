// zelkfyl-cli evaluate: what "weiter" runs for a project saved in calculation mode, printed as
// JSON. Application layer over the core (fylcore).
#include "cli/commands.h"

#include "calc/evaluation.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/projectfile.h"
#include "frame/runstate.h"
#include "frame/texttable.h"
#include "results/outletresults.h"

#include <QCommandLineParser>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace {

const char* const kUsage = "evaluate PROJECT.zol [--count N] [--write OUT.zol] [--program-dir DIR]";

QString jetKindName(fyl::JetKind kind) {
    switch (kind) {
    case fyl::JetKind::Horizontal:
        return QStringLiteral("horizontal");
    case fyl::JetKind::Vertical:
        return QStringLiteral("vertical");
    case fyl::JetKind::None:
        break;
    }
    return QStringLiteral("none");
}

// One key per thing shown: the control's name ("Label7"; the flow simulation window's with the
// prefix "TForm4."), and ".color" or ".visible" after it for the colour and the visibility.
template <class View> void insertControls(QJsonObject& display, const View& view, const QString& prefix) {
    for (std::size_t i = 0; i < View::size; ++i) {
        const auto id = static_cast<typename View::Id>(i);
        const fyl::ControlView& control = view[id];
        const QString name = prefix + QLatin1String(fyl::controlName(id));
        if (control.text)
            display.insert(name, *control.text);
        if (control.colour)
            display.insert(name + QStringLiteral(".color"), *control.colour == fyl::LabelColour::Red
                                                                ? QStringLiteral("red")
                                                                : QStringLiteral("normal"));
        if (control.visible)
            display.insert(name + QStringLiteral(".visible"), *control.visible);
    }
}

QJsonObject displayObject(const fyl::ResultsView& view) {
    QJsonObject display;
    insertControls(display, view.form3, QString());
    insertControls(display, view.form4, QStringLiteral("TForm4."));
    if (view.spacingBarPosition)
        display.insert(QStringLiteral("TForm4.ScrollBar2.position"), *view.spacingBarPosition);
    return display;
}

// QJsonDocument writes doubles in their shortest round-trip form, so every real reads back exactly.
QJsonObject resultObject(const fyl::CalculationRecord& rec, const fyl::WorkingValues& working, int calcStatus,
                         const fyl::ResultsView& view) {
    QJsonObject o;
    o.insert(QStringLiteral("jet_kind"), jetKindName(view.evaluated));
    o.insert(QStringLiteral("count"), double(rec.outletCount));
    o.insert(QStringLiteral("flow_per_outlet"), double(rec.flowPerOutlet));
    o.insert(QStringLiteral("dp"), double(rec.dp));
    o.insert(QStringLiteral("lwa"), double(rec.lwa));
    o.insert(QStringLiteral("x_krit"), double(rec.xKrit));
    o.insert(QStringLiteral("critical_distance"), double(rec.criticalDistance));
    o.insert(QStringLiteral("y_max"), double(rec.yMax));
    o.insert(QStringLiteral("a_min"), double(rec.aMin));
    o.insert(QStringLiteral("a_min_13"), double(rec.aMin13));
    o.insert(QStringLiteral("w_min"), double(rec.wMin));
    o.insert(QStringLiteral("w_min_13"), double(rec.wMin13));
    o.insert(QStringLiteral("spacing"), double(rec.spacing));
    o.insert(QStringLiteral("wall_left"), double(rec.wallLeft));
    o.insert(QStringLiteral("wall_right"), double(rec.wallRight));
    o.insert(QStringLiteral("v_mid"), double(rec.vMid));
    o.insert(QStringLiteral("v_left"), double(rec.vLeft));
    o.insert(QStringLiteral("v_right"), double(rec.vRight));
    o.insert(QStringLiteral("count_bound_1"), int(rec.countBound1));
    o.insert(QStringLiteral("count_bound_2"), int(rec.countBound2));
    o.insert(QStringLiteral("v_min_outlet"), double(rec.vMinOutlet));
    o.insert(QStringLiteral("v_max_outlet"), double(rec.vMaxOutlet));
    if (view.countBar) {
        o.insert(QStringLiteral("count_range"), QJsonArray{view.countBar->minimum, view.countBar->maximum});
        o.insert(QStringLiteral("count_position"), view.countBar->position);
    } else {
        o.insert(QStringLiteral("count_range"), QJsonValue());
        o.insert(QStringLiteral("count_position"), QJsonValue());
    }
    o.insert(QStringLiteral("calc_status"), calcStatus);
    o.insert(QStringLiteral("working"), QJsonObject{{QStringLiteral("V"), working.V},
                                                    {QStringLiteral("vlim"), working.vlim},
                                                    {QStringLiteral("h"), working.h},
                                                    {QStringLiteral("dT"), working.dT}});
    o.insert(QStringLiteral("display"), displayObject(view));
    return o;
}

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

    auto record = std::make_unique<fyl::CalculationRecord>();
    fyl::TextTable texts;
    fyl::RuntimeFlags flags;
    fyl::WorkingValues working;
    int calcStatus = 0;
    try {
        // Without a text table the texts stay empty; the numbers do not depend on them.
        texts.load(fyl::joinPath(programDir, QStringLiteral("Fyltext.txt")));
    } catch (const fyl::Error&) {
    }
    try {
        fyl::readProjectFile(parser.positionalArguments().constFirst(), *record);
        const QString jetCode = record->outlet.jetFormCodeText();
        if (fyl::jetKindOfCode(jetCode) == fyl::JetKind::None) {
            err << "Für die Strahlform \"" << jetCode
                << "\" gibt es keine Auswertung (erwartet: 01 bis 06). Es wurde nichts ausgewertet.\n";
            return 2;
        }
        if (countGiven)
            fyl::SetOutletCountByHand(*record, flags, count);
        const fyl::ResultsView view = fyl::ShowOutletResults({*record, working, calcStatus, flags, texts});
        const QJsonObject result = resultObject(*record, working, calcStatus, view);
        if (parser.isSet(writeOption))
            fyl::writeProjectFile(parser.value(writeOption), *record);
        out << QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Indented));
        return 0;
    } catch (const fyl::Error& e) {
        err << e.message() << "\n";
        return 1;
    }
}

const fyl::cli::CommandRegistration registration("evaluate", runEvaluate, kUsage);

} // namespace
