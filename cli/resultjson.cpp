// The JSON of an evaluation as evaluate and plan print it, and the loading of a command's
// session. Application layer over the core.
#include "cli/resultjson.h"

#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/jetkind.h"
#include "frame/projectfile.h"

#include <QJsonArray>

namespace fyl::cli {

namespace {

QString jetKindName(JetKind kind) {
    switch (kind) {
    case JetKind::Horizontal:
        return QStringLiteral("horizontal");
    case JetKind::Vertical:
        return QStringLiteral("vertical");
    case JetKind::None:
        break;
    }
    return QStringLiteral("none");
}

// One key per thing shown: the control's name ("Label7"; the flow simulation window's with the
// prefix "TForm4."), and ".color" or ".visible" after it for the colour and the visibility.
template <class View> void insertControls(QJsonObject& display, const View& view, const QString& prefix) {
    for (std::size_t i = 0; i < View::size; ++i) {
        const auto id = static_cast<typename View::Id>(i);
        const ControlView& control = view[id];
        const QString name = prefix + QLatin1String(controlName(id));
        if (control.text)
            display.insert(name, *control.text);
        if (control.colour)
            display.insert(name + QStringLiteral(".color"), *control.colour == LabelColour::Red
                                                                ? QStringLiteral("red")
                                                                : QStringLiteral("normal"));
        if (control.visible)
            display.insert(name + QStringLiteral(".visible"), *control.visible);
    }
}

QJsonObject displayObject(const ResultsView& view) {
    QJsonObject display;
    insertControls(display, view.form3, QString());
    insertControls(display, view.form4, QStringLiteral("TForm4."));
    if (view.spacingBarPosition)
        display.insert(QStringLiteral("TForm4.ScrollBar2.position"), *view.spacingBarPosition);
    return display;
}

} // namespace

// QJsonDocument writes doubles in their shortest round-trip form, so every real reads back exactly.
QJsonObject evaluationJson(const CalculationRecord& rec, const WorkingValues& working, int calcStatus,
                           const ResultsView& view) {
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

void loadTexts(Session& session, const QString& programDir) {
    try {
        session.texts.load(joinPath(programDir, QStringLiteral("Fyltext.txt")));
    } catch (const Error&) {
    }
}

bool loadEvaluableProject(Session& session, const QString& path, QTextStream& err,
                          const QString& nothingDone) {
    readProjectFile(path, *session.record);
    const QString jetCode = session.record->outlet.jetFormCodeText();
    if (jetFormOf(session.record->designCode.str(), jetCode).kind != JetKind::None)
        return true;
    err << "Für die Strahlform \"" << jetCode << "\" gibt es keine Auswertung (erwartet: 01 bis 06). "
        << nothingDone << "\n";
    return false;
}

} // namespace fyl::cli
