// Views of the evaluation results and the all-or-nothing entry points. Core layer (fylcore).
#include "results/outletresults.h"

#include "calc/arithmetic.h"
#include "frame/errors.h"
#include "frame/jetkind.h"
#include "frame/numbers.h"
#include "results/judgementview.h"

#include <algorithm>

namespace fyl {

using arith::stored;
using arith::truncToInt32;
using numbers::formatFixed;
using numbers::formatGeneral;
using ld = long double;

namespace {

QString integerText(long long value) {
    return formatGeneral(static_cast<long double>(value));
}

QString soundLimitText(const CalculationRecord& rec) {
    return QStringLiteral("( ") + formatGeneral(rec.maxSoundLevel, 15) + QStringLiteral(" )");
}

LabelColour soundColour(const CalculationRecord& rec, double lwa) {
    return rec.maxSoundLevel >= lwa ? LabelColour::Normal : LabelColour::Red;
}

// The flow simulation window's three distances and velocities at head height.
void flowPictureView(double spacingShown, double wallLeft, double wallRight, double vMid, double vLeft,
                     double vRight, ResultsView& view) {
    view.form4.setText(form4::Edit2, formatFixed(spacingShown, 4, 2));
    view.form4.setText(form4::Edit3, formatFixed(wallLeft, 4, 2));
    view.form4.setText(form4::Edit4, formatFixed(wallRight, 4, 2));
    view.form4.setText(form4::Label27, formatFixed(vMid, 4, 2));
    view.form4.setText(form4::Label28, formatFixed(vLeft, 4, 2));
    view.form4.setText(form4::Label29, formatFixed(vRight, 4, 2));
}

} // namespace

void headingView(const CalculationRecord& rec, const TextTable& texts, ResultsView& view) {
    const OutletRecord& outlet = rec.outlet;
    const QString design = rec.designCode.str();
    const QString first = outlet.typeNameText();
    const QString second = outlet.sizeNameText();
    const QString slotText = integerText(rec.slotCount);
    if (design == QLatin1String("2")) {
        view.form3.setText(form3::Label1, first + QStringLiteral("  ") + second + QStringLiteral("/") +
                                              formatFixed(rec.nominalLength, 4, 0) + QStringLiteral("/") +
                                              slotText + QStringLiteral(" (") + rec.sizeText.str() +
                                              QStringLiteral(")"));
    } else if (design == QLatin1String("0")) {
        view.form3.setText(form3::Label1, first + QStringLiteral("  ") + second + QStringLiteral(" ") +
                                              outlet.thirdNameText());
    } else if (design == QLatin1String("1") || design == QLatin1String("3")) {
        view.form3.setText(form3::Label1, first + QStringLiteral("  ") + second + QStringLiteral(" / ") +
                                              formatFixed(rec.nominalLength, 4, 0) + QStringLiteral(" / ") +
                                              slotText);
    }
    view.form3.setText(form3::Label4, outlet.articleNumberText());
    hideJudgement(view); // a new outlet: until its evaluation is judged
    // The floor-area hint belongs to ordinary outlets; a slot outlet taken over after one must not
    // show the area the earlier outlet needed.
    if (design != QLatin1String("0"))
        for (form3::Control id : {form3::Label39, form3::Label40, form3::Label41, form3::Label42})
            view.form3.setVisible(id, false);
    const bool perMetre = design == QLatin1String("1") || design == QLatin1String("2");
    view.form3.setText(form3::Label6, texts.text(perMetre ? 99 : 83));
    view.form3.setText(form3::Label8, perMetre ? QStringLiteral("[ m³/h m ]") : QStringLiteral("[ m³/h ]"));
}

void countView(const CountResult& count, ResultsView& view) {
    CountBar bar = count.bar;
    // A small total flow can give a least count above the greatest; the scroll bar then offers
    // the least one alone.
    if (bar.minimum > bar.maximum)
        bar.maximum = bar.minimum;
    // The field always shows the count the figures are for; a count outside the range leaves
    // the bar at the nearer end and the field red.
    bar.position = std::clamp(count.outlets, bar.minimum, bar.maximum);
    view.countBar = bar;
    view.form3.setText(form3::Edit1, integerText(count.outlets));
}

namespace {

bool countWarning(const CalculationRecord& rec, const CountResult& count) {
    const CountBar& bar = count.bar;
    const int greatest = std::max(bar.minimum, bar.maximum);
    if (count.outlets < bar.minimum || count.outlets > greatest)
        return true;
    return count.outlets >= 1 && countOutsideFlowRange(rec, count.outlets);
}

} // namespace

void horizontalFigures(const CalculationRecord& rec, const HorizontalResult& r, bool spacingSetInFlowPicture,
                       ResultsView& view) {
    view.evaluated = JetKind::Horizontal;
    view.form3.setText(form3::Label7,
                       formatFixed(shownFlowPerOutlet(rec, JetKind::Horizontal, r.working.V), 5, 2));
    // Flow simulation window; its slider covers 0 to 10 m.
    if (!spacingSetInFlowPicture)
        view.spacingBarPosition = truncToInt32(ld(r.spacing) * -10.0L);
}

void horizontalView(const CalculationRecord& rec, const HorizontalResult& r, const TextTable& texts,
                    bool spacingSetInFlowPicture, ResultsView& view) {
    horizontalFigures(rec, r, spacingSetInFlowPicture, view);
    countView(r.count, view);
    const QString design = rec.designCode.str();
    const QString jetCode = rec.outlet.jetFormCodeText();

    view.form3.setText(form3::Label13, soundLimitText(rec));
    view.form3.setText(form3::Label10, formatFixed(r.dp, 4, 0));
    view.form3.setColour(form3::Label15, soundColour(rec, r.lwa));
    view.form3.setText(form3::Label15,
                       ld(r.lwa) >= 25.0L ? formatFixed(r.lwa, 4, 0) : QStringLiteral(" < 25"));
    view.form3.setText(form3::Label19,
                       ld(r.aMin) < 0.1L ? QStringLiteral("-----") : formatFixed(r.aMin, 4, 2));
    view.form3.setText(form3::Label20, formatFixed(r.wMin, 4, 2));
    const bool detaches = r.xKrit > 0.0;
    for (form3::Control id : {form3::Label21, form3::Label22, form3::Label23})
        view.form3.setVisible(id, detaches);
    if (detaches)
        view.form3.setText(form3::Label21, formatFixed(r.xKrit, 4, 2));

    const double spacingShown = ld(r.spacing) > 10.0L ? 10.0 : r.spacing;
    flowPictureView(spacingShown, r.wallLeft, r.wallRight, r.vMid, r.vLeft, r.vRight, view);

    view.form3.setText(form3::Label44, texts.text(jetFormAs(JetKind::Horizontal, design, jetCode).hintEntry));

    if (design == QLatin1String("0")) {
        for (form3::Control id : {form3::Label40, form3::Label41, form3::Label39, form3::Label42})
            view.form3.setVisible(id, true);
        view.form3.setText(form3::Label40, texts.text(172));
        view.form3.setText(form3::Label41, texts.text(27));
        const double floorArea = rec.floorArea;
        view.form3.setText(form3::Label42, formatFixed(floorArea, 4, 0));
        if (r.servedArea > 0.0)
            view.form3.setText(form3::Label39, formatFixed(r.servedArea, 4, 0));
        view.form3.setColour(form3::Label39,
                             r.servedArea > floorArea ? LabelColour::Red : LabelColour::Normal);
    }
}

double shownFlowPerOutlet(const CalculationRecord& rec, JetKind kind, double V) {
    // Design "3" is rated per metre but sold as whole outlets, so its window shows a whole outlet.
    if (kind == JetKind::Horizontal && rec.designCode.str() == QLatin1String("3"))
        return stored(ld(V) * rec.effectiveLength / 1000.0L);
    return V;
}

void verticalFigures(const CalculationRecord& rec, const VerticalResult& r, ResultsView& view) {
    view.evaluated = JetKind::Vertical;
    view.form3.setText(form3::Label7,
                       formatFixed(shownFlowPerOutlet(rec, JetKind::Vertical, r.working.V), 5, 2));
}

void verticalView(const CalculationRecord& rec, const VerticalResult& r, const TextTable& texts,
                  ResultsView& view) {
    verticalFigures(rec, r, view);
    countView(r.count, view);
    view.form3.setText(form3::Label13, soundLimitText(rec));
    view.form3.setText(form3::Label10, formatFixed(r.dp, 4, 0));
    view.form3.setText(form3::Label15, formatFixed(r.lwa, 4, 0));
    view.form3.setColour(form3::Label15, soundColour(rec, r.lwa));
    view.form3.setText(form3::Label35, formatFixed(r.yMax, 4, 2));
    view.form3.setText(form3::Label36, formatFixed(r.vk, 4, 2));
    for (form3::Control id : {form3::Label40, form3::Label41, form3::Label39, form3::Label42})
        view.form3.setVisible(id, false);
    view.form3.setColour(form3::GroupBox4, LabelColour::Normal);
    view.form3.setText(
        form3::Label44,
        texts.text(
            jetFormAs(JetKind::Vertical, rec.designCode.str(), rec.outlet.jetFormCodeText()).hintEntry));
    flowPictureView(rec.spacing, rec.wallLeft, rec.wallRight, r.vk, rec.vLeft, rec.vRight, view);
}

namespace {

void setCountColour(const CalculationRecord& rec, const CountResult& count, ResultsView& view) {
    view.form3.setColour(form3::Edit1, countWarning(rec, count) ? LabelColour::Red : LabelColour::Normal);
}

// Evaluates, adds what the result shows to `view`, and commits only when all of it succeeded, so
// that a fault leaves the record, the working values and the windows as they were.
ResultsView evaluateAndCommit(EvaluationParts parts, JetKind kind, ResultsView view) {
    try {
        // Red in the count field warns about a count outside the scroll bar's range or whose flow
        // leaves the outlet's range; it follows every evaluation, since the total flow may have
        // changed.
        if (kind == JetKind::Horizontal) {
            const HorizontalResult r = evaluateHorizontal(parts.record, parts.flags.countSetByHand,
                                                          !parts.flags.criticalSearchLeftOut);
            requireFiniteResult(r);
            if (parts.flags.figuresOnly)
                horizontalFigures(parts.record, r, parts.flags.spacingSetInFlowPicture, view);
            else
                horizontalView(parts.record, r, parts.texts, parts.flags.spacingSetInFlowPicture, view);
            storeResults(parts.record, r);
            setCountColour(parts.record, r.count, view);
            parts.working = r.working;
            parts.calcStatus = r.calcStatus;
        } else if (kind == JetKind::Vertical) {
            const VerticalResult r = evaluateVertical(parts.record, parts.flags.countSetByHand);
            requireFiniteResult(r);
            if (parts.flags.figuresOnly)
                verticalFigures(parts.record, r, view);
            else
                verticalView(parts.record, r, parts.texts, view);
            storeResults(parts.record, r);
            setCountColour(parts.record, r.count, view);
            parts.working = r.working;
            parts.calcStatus = r.calcStatus;
        }
        return view;
    } catch (const ArithmeticError& e) {
        throw ArithmeticError(e.message() +
                              QStringLiteral(" Die Auswertung wurde abgebrochen; es wurde nichts geändert."));
    }
}

} // namespace

ResultsView EvaluateHorizontalJet(EvaluationParts parts) {
    return evaluateAndCommit(parts, JetKind::Horizontal, {});
}

ResultsView EvaluateVerticalJet(EvaluationParts parts) {
    return evaluateAndCommit(parts, JetKind::Vertical, {});
}

ResultsView ShowOutletResults(EvaluationParts parts) {
    const JetKind kind = jetFormOf(parts.record.designCode.str(), parts.record.outlet.jetFormCodeText()).kind;
    ResultsView view;
    headingView(parts.record, parts.texts, view);
    if (kind != JetKind::None) {
        view.form3.setVisible(form3::GroupBox1, kind == JetKind::Horizontal);
        view.form3.setVisible(form3::GroupBox2, kind == JetKind::Vertical);
    }
    view = evaluateAndCommit(parts, kind, std::move(view));
    // After a reload the kind flags follow the evaluation that ran, so that a count changed later,
    // the report and the exchange files see the same jet kind as these results.
    if (kind != JetKind::None) {
        parts.record.horizontalJet = kind == JetKind::Horizontal ? 1 : 0;
        parts.record.verticalJet = kind == JetKind::Vertical ? 1 : 0;
    }
    return view;
}

} // namespace fyl
