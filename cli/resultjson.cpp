// The JSON of an evaluation as evaluate and plan print it. Application layer over the core.
#include "cli/resultjson.h"

#include "calc/mountingheight.h"

#include "frame/jetkind.h"
#include "frame/recordfields.h"

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
            display.insert(name + QStringLiteral(".color"),
                           *control.colour == LabelColour::Red     ? QStringLiteral("red")
                           : *control.colour == LabelColour::Green ? QStringLiteral("green")
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

// QJsonDocument writes doubles in their shortest round-trip form, so every real reads back exactly;
// QJsonObject keeps its keys sorted, so the field table's order is not the output's.
QJsonObject evaluationJson(const CalculationRecord& rec, const WorkingValues& working, int calcStatus,
                           const ResultsView& view, const std::optional<Judgement>& judgement) {
    QJsonObject o;
    o.insert(QStringLiteral("jet_kind"), jetKindName(view.evaluated));
    for (const RecordRealField& field : recordRealFields())
        if (field.result)
            o.insert(QLatin1String(field.key), readReal(rec, field));
    for (const RecordIntegerField& field : recordIntegerResults())
        o.insert(QLatin1String(field.key), int(readInteger(rec, field)));
    // The count is the whole one the figures are for; the record's count, which may be a proposal
    // with a fraction, stays readable beside it.
    o.insert(QStringLiteral("count_stored"), o.value(QStringLiteral("count")));
    o.insert(QStringLiteral("count"), outletsOf(rec));
    if (view.countBar) {
        o.insert(QStringLiteral("count_range"), QJsonArray{view.countBar->minimum, view.countBar->maximum});
        o.insert(QStringLiteral("count_position"), view.countBar->position);
    } else {
        o.insert(QStringLiteral("count_range"), QJsonValue());
        o.insert(QStringLiteral("count_position"), QJsonValue());
    }
    // The height the figures are for; the room's own stays in the project.
    o.insert(QStringLiteral("outlet_mounting_height"), outletMountingHeight(rec));
    o.insert(QStringLiteral("calc_status"), calcStatus);
    o.insert(QStringLiteral("working"), QJsonObject{{QStringLiteral("V"), working.V},
                                                    {QStringLiteral("vlim"), working.vlim},
                                                    {QStringLiteral("h"), working.h},
                                                    {QStringLiteral("dT"), working.dT}});
    o.insert(QStringLiteral("display"), displayObject(view));
    if (judgement) {
        o.insert(QStringLiteral("layout"), judgement->placed ? layoutJson(judgement->layout) : QJsonValue());
        o.insert(QStringLiteral("checks"), checksJson(judgement->checks));
        o.insert(QStringLiteral("suitable"), judgement->feasible);
        o.insert(QStringLiteral("draught_rating"),
                 judgement->draught ? QJsonValue(judgement->draught->rating) : QJsonValue());
        o.insert(QStringLiteral("category"),
                 judgement->draught ? QJsonValue(judgement->draught->category) : QJsonValue());
    }
    return o;
}

namespace {

QJsonValue optionalNumber(const std::optional<double>& v) {
    return v ? QJsonValue(*v) : QJsonValue();
}

} // namespace

QJsonValue layoutJson(const OutletLayout& l) {
    const char* kind = l.kind == LayoutKind::Grid       ? "grid"
                       : l.kind == LayoutKind::SlotRows ? "slot_rows"
                                                        : "wall_row";
    return QJsonObject{{QStringLiteral("kind"), QLatin1String(kind)},
                       {QStringLiteral("rows"), l.rows},
                       {QStringLiteral("columns"), l.columns},
                       {QStringLiteral("rows_along_length"), l.rowsAlongLength},
                       {QStringLiteral("spacing_width"), optionalNumber(l.spacingWidth)},
                       {QStringLiteral("spacing_length"), optionalNumber(l.spacingLength)},
                       {QStringLiteral("wall_width"), optionalNumber(l.wallWidth)},
                       {QStringLiteral("wall_length"), optionalNumber(l.wallLength)},
                       {QStringLiteral("depth"), optionalNumber(l.depth)},
                       {QStringLiteral("row_ends"), optionalNumber(l.rowEnds)},
                       {QStringLiteral("text"), layoutText(l)}};
}

QJsonArray checksJson(const std::vector<LayoutCheck>& checks) {
    QJsonArray out;
    for (const LayoutCheck& c : checks) {
        QJsonValue limit = optionalNumber(c.limit);
        if (c.lowLimit && c.limit)
            limit = QJsonArray{*c.lowLimit, *c.limit};
        out.append(QJsonObject{{QStringLiteral("name"), c.name},
                               {QStringLiteral("value"), c.value},
                               {QStringLiteral("limit"), limit},
                               {QStringLiteral("ok"), c.ok},
                               {QStringLiteral("decides"), c.decides},
                               {QStringLiteral("text"), c.text}});
    }
    return out;
}

} // namespace fyl::cli
