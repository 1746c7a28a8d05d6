#include "calc/evaluation.h"

#include "calc/arithmetic.h"
#include "calc/formulas.h"
#include "frame/numbers.h"

#include <cmath>
#include <cstdint>

namespace fyl {

using arith::divide;
using arith::stored;
using arith::truncToInt32;
using numbers::formatFixed;
using numbers::formatGeneral;
using ld = long double;

namespace {

const QString kFlow = QStringLiteral("TForm4.");

QString entryText(const AppState& state, int entry) {
    return state.texts.text(entry);
}

QString integerText(long long value) {
    return formatGeneral(static_cast<long double>(value));
}

double finite(double value) {
    if (!std::isfinite(value))
        arith::invalidOperation("keine endliche Zahl im Datensatz");
    return value;
}

// The first part of both evaluations: the proposed or the hand-set count, the count scroll bar,
// the flow per outlet and the working values.
void countStep(AppState& state, ResultsView& view) {
    CalculationRecord& rec = state.record;
    const int n = rec.slotCount;
    const double totalFlow = rec.totalFlow;
    const double slotLength = rec.effectiveLength;

    double vSound = 0.0; // stays 0 when the sound slope is zero; the count division then fails
    state.calcStatus =
        FlowForSoundLevel(n, rec.outlet.soundA, rec.outlet.soundB, slotLength, rec.maxSoundLevel, vSound);

    const bool byHand = state.flags.countSetByHand;
    const bool countedOneByOne = rec.designCode.str() == QLatin1String("0");
    if (!byHand) {
        if (countedOneByOne) {
            rec.outletCount = stored(divide(totalFlow, vSound));
            const double vMax = finite(rec.outlet.vMax);
            const double vMin = finite(rec.outlet.vMin);
            rec.vMaxOutlet = vMax;
            rec.vMinOutlet = vMin;
            rec.countBound2 = truncToInt32(divide(totalFlow, vMax) + 0.999L);
            rec.countBound1 = truncToInt32(divide(totalFlow, vMin));
        } else {
            // Line outlets: Vsound is a flow per metre, and the count bounds come from the slot
            // configuration.
            rec.outletCount = stored(divide(totalFlow, ld(vSound) * slotLength / 1000.0L));
        }
    }
    // Ordinary outlets: the first bound is the greatest count; line outlets: the least.
    const std::int32_t first = rec.countBound1;
    const std::int32_t second = rec.countBound2;
    ScrollBarView bar;
    bar.minimum = countedOneByOne ? second : first;
    bar.maximum = countedOneByOne ? first : second;
    bar.position =
        byHand ? truncToInt32(ld(rec.outletCount) + 0.99L) : truncToInt32((ld(first) + ld(second)) / 2.0L);
    view.countBar = bar;
    view.setText(QStringLiteral("Edit1"), integerText(bar.position));
    const std::int32_t N = truncToInt32(ld(rec.outletCount) + 0.9L);
    rec.flowPerOutlet = countedOneByOne ? stored(divide(totalFlow, N))
                                        : stored(divide(divide(totalFlow, N), ld(slotLength) / 1000.0L));

    state.working.V = rec.flowPerOutlet;
    state.working.vlim = rec.velocityLimit;
    state.working.h = stored(ld(rec.mountingHeight) - rec.headHeight);
    state.working.dT = stored(ld(rec.roomTemp) - rec.supplyTemp);
}

// Pressure drop and sound power level; each is kept from the previous run when its formula fails.
void pressureAndSound(AppState& state) {
    CalculationRecord& rec = state.record;
    const int n = rec.slotCount;
    const double V = state.working.V;
    double dp = 0.0;
    state.calcStatus = PressureDrop(rec.outlet.pressureM, rec.outlet.pressureK, V, dp);
    if (state.calcStatus == 0)
        rec.dp = dp;
    double lwa = 0.0;
    const double slotLength = stored(divide(rec.effectiveLength, n));
    state.calcStatus = SoundPowerLevel(n, rec.outlet.soundA, rec.outlet.soundB, slotLength, V, lwa);
    if (state.calcStatus == 0)
        rec.lwa = lwa;
}

QString soundLimitText(const CalculationRecord& rec) {
    return QStringLiteral("( ") + formatGeneral(rec.maxSoundLevel, 15) + QStringLiteral(" )");
}

LabelColour soundColour(const CalculationRecord& rec) {
    return rec.maxSoundLevel >= rec.lwa ? LabelColour::Normal : LabelColour::Red;
}

} // namespace

JetKind jetKindOfCode(const QString& code) {
    if (code == QLatin1String("01") || code == QLatin1String("04") || code == QLatin1String("05") ||
        code == QLatin1String("06"))
        return JetKind::Horizontal;
    if (code == QLatin1String("02") || code == QLatin1String("03"))
        return JetKind::Vertical;
    return JetKind::None;
}

void EvaluateHorizontalJet(AppState& state, ResultsView& view) {
    countStep(state, view);
    CalculationRecord& rec = state.record;
    const OutletRecord& outlet = rec.outlet;
    const int n = rec.slotCount;
    const double V = state.working.V;
    const double vlim = state.working.vlim;
    const double h = state.working.h;
    const double dT = state.working.dT;
    const QString jetCode = outlet.jetFormCodeText();

    const bool ceilingMounted = std::fabs(ld(rec.mountingHeight) - rec.roomHeight) < 0.01L;

    double xKrit = 0.0;
    if (ceilingMounted && ld(dT) > 0.1L) {
        state.calcStatus =
            DetachmentDistance(n, outlet.detachFlowExp, outlet.detachTempExp, outlet.detachC, dT, V, xKrit);
        if (state.calcStatus != 0)
            xKrit = 0.0;
    }
    rec.xKrit = xKrit;

    if (xKrit != 0.0) {
        // The search leaves its formulas' statuses in calcStatus; a failing trajectory leaves the value as it
        // was.
        double critical = rec.criticalDistance;
        CriticalDistanceSearch(outlet, n, dT, vlim, V, xKrit, critical, state.calcStatus);
        rec.criticalDistance = critical;
    } else {
        rec.criticalDistance = 0.0;
    }

    pressureAndSound(state);

    const double K = outlet.decayK;
    const double Kd = ceilingMounted ? K : stored(ld(K) * outlet.freeJetF);
    const double a = outlet.decayA;
    const double b = outlet.decayB;

    if (h > 0.0) {
        double value = 0.0;
        state.calcStatus = DoubledDistanceForVelocity(n, a, b, Kd, h, vlim, V, value);
        rec.aMin = state.calcStatus == 0 ? value : 0.0;
        // Weight 1: the jet runs along the ceiling to the wall and down the wall.
        state.calcStatus = DistanceForVelocity(n, a, 1.0, Kd, vlim, h, V, value);
        rec.wMin = state.calcStatus == 0 ? value : 0.0;
        if (ld(rec.headHeight) > 1.3L) {
            const double h13 = stored(ld(rec.mountingHeight) - 1.3L);
            state.calcStatus = DoubledDistanceForVelocity(n, a, b, Kd, h13, vlim, V, value);
            rec.aMin13 = state.calcStatus == 0 ? value : 0.0;
            state.calcStatus = DistanceForVelocity(n, a, 1.0, Kd, vlim, h13, V, value);
            rec.wMin13 = state.calcStatus == 0 ? value : 0.0;
        } else {
            rec.aMin13 = 0.0;
            rec.wMin13 = 0.0;
        }
        if (rec.resultsWindowFlag == 1) {
            const double wMin = rec.wMin;
            const double aMin = rec.aMin;
            const double wall = (ld(wMin) <= 0.001L || jetCode == QLatin1String("04")) ? 0.001 : wMin;
            rec.wallLeft = wall;
            rec.wallRight = wall;
            rec.spacing = ld(aMin) <= 0.001L ? 0.001 : aMin;
            rec.resultsWindowFlag = 0;
        }
        double v = 0.0;
        state.calcStatus = CentreVelocity(n, a, 1.0, Kd, h, rec.wallLeft, V, v);
        rec.vLeft = v;
        state.calcStatus = CentreVelocity(n, a, 1.0, Kd, h, rec.wallRight, V, v);
        rec.vRight = v;
        state.calcStatus = CentreVelocity(n, a, b, Kd, h, stored(ld(rec.spacing) / 2.0L), V, v);
        rec.vMid = v;
    } else {
        rec.aMin = 0.0;
        rec.aMin13 = 0.0;
        rec.wMin = 0.0;
        rec.wMin13 = 0.0;
        if (rec.resultsWindowFlag == 1) {
            rec.wallLeft = 0.001;
            rec.wallRight = 0.001;
            rec.spacing = 0.001;
            rec.resultsWindowFlag = 0;
        }
    }

    // Calculation window.
    const QString design = rec.designCode.str();
    const ld shownFlow = design == QLatin1String("3") ? ld(V) * rec.effectiveLength / 1000.0L : ld(V);
    view.setText(QStringLiteral("Label7"), formatFixed(stored(shownFlow), 5, 2));
    view.setText(QStringLiteral("Label13"), soundLimitText(rec));
    view.setText(QStringLiteral("Label10"), formatFixed(rec.dp, 4, 0));
    view.setColour(QStringLiteral("Label15"), soundColour(rec));
    const double lwa = rec.lwa;
    view.setText(QStringLiteral("Label15"),
                 ld(lwa) >= 25.0L ? formatFixed(lwa, 4, 0) : QStringLiteral(" < 25"));
    const double aMin = rec.aMin;
    const double servedArea = stored(ld(aMin) * aMin * rec.outletCount);
    view.setText(QStringLiteral("Label19"),
                 ld(aMin) < 0.1L ? QStringLiteral("-----") : formatFixed(aMin, 4, 2));
    view.setText(QStringLiteral("Label20"), formatFixed(rec.wMin, 4, 2));
    const bool detaches = rec.xKrit > 0.0;
    for (const char* name : {"Label21", "Label22", "Label23"})
        view.setVisible(QString::fromLatin1(name), detaches);
    if (detaches)
        view.setText(QStringLiteral("Label21"), formatFixed(rec.xKrit, 4, 2));

    // Flow simulation window.
    const double spacing = rec.spacing;
    view.setText(kFlow + QStringLiteral("Edit2"),
                 ld(spacing) > 10.0L ? formatFixed(10.0L, 4, 2) : formatFixed(spacing, 4, 2));
    if (!state.flags.spacingSetInFlowPicture)
        view.spacingBarPosition = truncToInt32(ld(spacing) * -10.0L);
    view.setText(kFlow + QStringLiteral("Edit3"), formatFixed(rec.wallLeft, 4, 2));
    view.setText(kFlow + QStringLiteral("Edit4"), formatFixed(rec.wallRight, 4, 2));
    view.setText(kFlow + QStringLiteral("Label27"), formatFixed(rec.vMid, 4, 2));
    view.setText(kFlow + QStringLiteral("Label28"), formatFixed(rec.vLeft, 4, 2));
    view.setText(kFlow + QStringLiteral("Label29"), formatFixed(rec.vRight, 4, 2));

    int hint = 86;
    if (jetCode == QLatin1String("04"))
        hint = 175;
    else if (jetCode == QLatin1String("05"))
        hint = 176;
    else if (jetCode == QLatin1String("06"))
        hint = 177;
    view.setText(QStringLiteral("Label44"), entryText(state, hint));

    if (design == QLatin1String("0")) {
        for (const char* name : {"Label40", "Label41", "Label39", "Label42"})
            view.setVisible(QString::fromLatin1(name), true);
        view.setText(QStringLiteral("Label40"), entryText(state, 172));
        view.setText(QStringLiteral("Label41"), entryText(state, 27));
        const double floorArea = rec.floorArea;
        view.setText(QStringLiteral("Label42"), formatFixed(floorArea, 4, 0));
        if (servedArea > 0.0)
            view.setText(QStringLiteral("Label39"), formatFixed(servedArea, 4, 0));
        view.setColour(QStringLiteral("Label39"),
                       servedArea > floorArea ? LabelColour::Red : LabelColour::Normal);
    }
}

void EvaluateVerticalJet(AppState& state, ResultsView& view) {
    countStep(state, view);
    CalculationRecord& rec = state.record;
    const OutletRecord& outlet = rec.outlet;
    const int n = rec.slotCount;

    // Nearly isothermal supply: the penetration is taken at a small positive difference.
    if (std::fabs(ld(state.working.dT)) < 0.1L)
        state.working.dT = 0.05;
    const double V = state.working.V;
    const double h = state.working.h;
    const double dT = state.working.dT;

    double yMax = 0.0;
    state.calcStatus =
        VerticalPenetration(n, outlet.penFlowExp, outlet.penTempExp, outlet.penCoef, dT, V, yMax);
    rec.yMax = state.calcStatus == 0 ? yMax : 0.0;
    rec.aMin = 0.0;

    pressureAndSound(state);

    double vk = 0.0;
    state.calcStatus = HeadHeightVelocity(n, outlet.headExp, outlet.headCoef, h, V, vk);
    rec.vMid = vk;

    view.setText(QStringLiteral("Label7"), formatFixed(V, 5, 2));
    view.setText(QStringLiteral("Label13"), soundLimitText(rec));
    view.setText(QStringLiteral("Label10"), formatFixed(rec.dp, 4, 0));
    view.setText(QStringLiteral("Label15"), formatFixed(rec.lwa, 4, 0));
    view.setColour(QStringLiteral("Label15"), soundColour(rec));
    view.setText(QStringLiteral("Label35"), formatFixed(rec.yMax, 4, 2));
    view.setText(QStringLiteral("Label36"), formatFixed(vk, 4, 2));
    for (const char* name : {"Label40", "Label41", "Label39", "Label42"})
        view.setVisible(QString::fromLatin1(name), false);
    view.setColour(QStringLiteral("GroupBox4"), LabelColour::Normal);
    view.setText(QStringLiteral("Label44"),
                 entryText(state, outlet.jetFormCodeText() == QLatin1String("03") ? 174 : 89));

    view.setText(kFlow + QStringLiteral("Edit2"), formatFixed(rec.spacing, 4, 2));
    view.setText(kFlow + QStringLiteral("Edit3"), formatFixed(rec.wallLeft, 4, 2));
    view.setText(kFlow + QStringLiteral("Edit4"), formatFixed(rec.wallRight, 4, 2));
    view.setText(kFlow + QStringLiteral("Label27"), formatFixed(vk, 4, 2));
    view.setText(kFlow + QStringLiteral("Label28"), formatFixed(rec.vLeft, 4, 2));
    view.setText(kFlow + QStringLiteral("Label29"), formatFixed(rec.vRight, 4, 2));
}

JetKind ShowOutletResults(AppState& state, ResultsView& view) {
    const CalculationRecord& rec = state.record;
    const OutletRecord& outlet = rec.outlet;
    const QString design = rec.designCode.str();
    const QString first = outlet.typeNameText();
    const QString second = outlet.sizeNameText();
    const QString slotText = integerText(rec.slotCount);
    const QString label1 = QStringLiteral("Label1");
    if (design == QLatin1String("2")) {
        view.setText(label1, first + QStringLiteral("  ") + second + QStringLiteral("/") +
                                 formatFixed(rec.nominalLength, 4, 0) + QStringLiteral("/") + slotText +
                                 QStringLiteral(" (") + rec.sizeText.str() + QStringLiteral(")"));
    } else if (design == QLatin1String("0")) {
        view.setText(label1,
                     first + QStringLiteral("  ") + second + QStringLiteral(" ") + outlet.thirdNameText());
    } else if (design == QLatin1String("1") || design == QLatin1String("3")) {
        view.setText(label1, first + QStringLiteral("  ") + second + QStringLiteral(" / ") +
                                 formatFixed(rec.nominalLength, 4, 0) + QStringLiteral(" / ") + slotText);
    }
    view.setText(QStringLiteral("Label4"), outlet.articleNumberText());
    if (design == QLatin1String("1") || design == QLatin1String("2")) {
        view.setText(QStringLiteral("Label6"), entryText(state, 99));
        view.setText(QStringLiteral("Label8"), QStringLiteral("[ m³/h m ]"));
    } else {
        view.setText(QStringLiteral("Label6"), entryText(state, 83));
        view.setText(QStringLiteral("Label8"), QStringLiteral("[ m³/h ]"));
    }

    const JetKind kind = jetKindOfCode(outlet.jetFormCodeText());
    if (kind == JetKind::Horizontal) {
        view.setVisible(QStringLiteral("GroupBox1"), true);
        view.setVisible(QStringLiteral("GroupBox2"), false);
        EvaluateHorizontalJet(state, view);
    } else if (kind == JetKind::Vertical) {
        view.setVisible(QStringLiteral("GroupBox1"), false);
        view.setVisible(QStringLiteral("GroupBox2"), true);
        EvaluateVerticalJet(state, view);
    }
    return kind;
}

bool SetOutletCountByHand(AppState& state, int count) {
    CalculationRecord& rec = state.record;
    state.flags.countSetByHand = true;
    rec.outletCount = count;
    const double flow = stored(divide(rec.totalFlow, count));
    rec.flowPerOutlet = flow;
    const double vMin = rec.outlet.vMin;
    const double vMax = rec.outlet.vMax;
    return flow < vMin || flow > vMax;
}

} // namespace fyl
