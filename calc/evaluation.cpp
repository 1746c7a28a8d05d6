// The count step and the two jet evaluations as pure functions of the record, and the commit of
// their results. Core layer (fylcore).
#include "calc/evaluation.h"

#include "calc/arithmetic.h"
#include "calc/criticalsearch.h"
#include "calc/formulas.h"
#include "calc/mountingheight.h"
#include "frame/recordfields.h"

#include <cmath>

namespace fyl {

using arith::divide;
using arith::stored;
using arith::truncToInt32;
using ld = long double;

namespace {

// The reals both evaluations read; each kind adds its own coefficients.
#define FYL_COMMON_READS                                                                                     \
    "v_min", "v_max", "pressure_k", "pressure_m", "sound_a", "sound_b", "total_flow", "effective_length",    \
        "max_sound_level", "count", "velocity_limit", "mounting_height", "head_height", "room_temp",         \
        "supply_temp", "dp", "lwa", "spacing", "wall_left", "wall_right"

} // namespace

std::int32_t wholeOutletCount(double outletCount) {
    return truncToInt32(ld(outletCount) + 0.9L);
}

std::int32_t outletsOf(const CalculationRecord& rec) {
    return wholeOutletCount(rec.outletCount);
}

namespace {

// The flow per outlet at N outlets; per metre of slot for line outlets.
double flowPerOutletAt(const CalculationRecord& rec, std::int32_t N) {
    return rec.designCode.str() == QLatin1String("0")
               ? stored(divide(rec.totalFlow, N))
               : stored(divide(divide(rec.totalFlow, N), ld(rec.effectiveLength) / 1000.0L));
}

// The sound power level at flow V per outlet (status of the formula; 0: `lwa` written).
int soundPowerAt(const CalculationRecord& rec, double V, double& lwa) {
    const int n = rec.slotCount;
    const double slotLength = stored(divide(rec.effectiveLength, n));
    return SoundPowerLevel(n, rec.outlet.soundA, rec.outlet.soundB, slotLength, V, lwa);
}

// The first part of both evaluations: the proposed or the hand-set count, the count scroll bar,
// the flow per outlet and the working values. `status` receives the sound formula's status.
// `again`: the record was evaluated before at another count, so the flow at the sound limit, which
// a count set by hand does not use and which does not depend on the count, is known to succeed.
CountResult countStep(const CalculationRecord& rec, bool byHand, WorkingValues& working, int& status,
                      bool again = false) {
    CountResult c;
    c.outletCount = rec.outletCount;
    c.vMinOutlet = rec.vMinOutlet;
    c.vMaxOutlet = rec.vMaxOutlet;
    c.countBound1 = rec.countBound1;
    c.countBound2 = rec.countBound2;

    const int n = rec.slotCount;
    const double totalFlow = rec.totalFlow;
    const double slotLength = rec.effectiveLength;
    double vSound = 0.0; // stays 0 when the sound slope is zero; the count division then fails
    status = 0;
    if (!(byHand && again))
        status =
            FlowForSoundLevel(n, rec.outlet.soundA, rec.outlet.soundB, slotLength, rec.maxSoundLevel, vSound);

    // A sound limit that allows more flow than the outlet carries no longer bounds it: the outlet's
    // largest flow does (per metre of slot, as Vsound, for line outlets). However loose the limit,
    // the proposal is at least one outlet; a count below 0,1 would give none and the flow per
    // outlet a division by zero.
    const double outletMax = rec.outlet.vMax;
    const double flowBound =
        std::isfinite(outletMax) && outletMax > 0.0 && vSound > outletMax ? outletMax : vSound;
    const auto atLeastOne = [](double count) {
        return count > 0.0 && wholeOutletCount(count) < 1 ? 1.0 : count;
    };
    const bool countedOneByOne = rec.designCode.str() == QLatin1String("0");
    if (!byHand) {
        if (countedOneByOne) {
            c.outletCount = atLeastOne(stored(divide(totalFlow, flowBound)));
            c.vMaxOutlet = rec.outlet.vMax;
            c.vMinOutlet = rec.outlet.vMin;
            c.countBound2 = truncToInt32(divide(totalFlow, c.vMaxOutlet) + 0.999L);
            c.countBound1 = truncToInt32(divide(totalFlow, c.vMinOutlet));
        } else {
            // Line outlets: Vsound is a flow per metre, and the count bounds come from the slot
            // configuration.
            c.outletCount = atLeastOne(stored(divide(totalFlow, ld(flowBound) * slotLength / 1000.0L)));
        }
    }
    c.bar.minimum = countedOneByOne ? c.countBound2 : c.countBound1;
    c.bar.maximum = countedOneByOne ? c.countBound1 : c.countBound2;
    // The bar stands at the count the figures are for, proposed or set by hand.
    const std::int32_t N = wholeOutletCount(c.outletCount);
    c.outlets = N;
    c.bar.position = N;
    c.flowPerOutlet = flowPerOutletAt(rec, N);

    working.V = c.flowPerOutlet;
    working.vlim = rec.velocityLimit;
    working.h = stored(ld(outletMountingHeight(rec)) - rec.headHeight);
    working.dT = stored(ld(rec.roomTemp) - rec.supplyTemp);
    return c;
}

// Pressure drop and sound power level; each keeps the record's value when its formula fails.
void pressureAndSound(const CalculationRecord& rec, double V, double& dp, double& lwa, int& status) {
    dp = rec.dp;
    lwa = rec.lwa;
    double value = 0.0;
    status = PressureDrop(rec.outlet.pressureM, rec.outlet.pressureK, V, value);
    if (status == 0)
        dp = value;
    status = soundPowerAt(rec, V, value);
    if (status == 0)
        lwa = value;
}

void storeCount(CalculationRecord& rec, const CountResult& c) {
    rec.outletCount = c.outletCount;
    rec.flowPerOutlet = c.flowPerOutlet;
    rec.vMinOutlet = c.vMinOutlet;
    rec.vMaxOutlet = c.vMaxOutlet;
    rec.countBound1 = c.countBound1;
    rec.countBound2 = c.countBound2;
}

// The decay coefficient: a free jet decays faster than one along the ceiling.
double decayCoefficient(const CalculationRecord& rec, const HorizontalResult& r) {
    const double K = rec.outlet.decayK;
    return r.ceilingMounted ? K : stored(ld(K) * rec.outlet.freeJetF);
}

// The velocity at head height where a jet comes down a wall `wall` away (vertical weight 1: the
// jet runs along the ceiling to the wall and down the wall), and midway between two outlets
// `spacing` apart.
int wallVelocity(const CalculationRecord& rec, const HorizontalResult& r, double wall, double& v) {
    return CentreVelocity(rec.slotCount, rec.outlet.decayA, 1.0, decayCoefficient(rec, r), r.working.h, wall,
                          r.working.V, v);
}

int midwayVelocity(const CalculationRecord& rec, const HorizontalResult& r, double spacing, double& v) {
    return CentreVelocity(rec.slotCount, rec.outlet.decayA, rec.outlet.decayB, decayCoefficient(rec, r),
                          r.working.h, stored(ld(spacing) / 2.0L), r.working.V, v);
}

} // namespace

SectionVelocities sectionVelocities(const CalculationRecord& rec, const HorizontalResult& r, double spacing,
                                    double wall) {
    SectionVelocities s;
    if (!(r.working.h > 0.0))
        return s;
    double v = 0.0;
    if (wallVelocity(rec, r, wall, v) == 0)
        s.wall = v;
    v = 0.0;
    if (midwayVelocity(rec, r, spacing, v) == 0)
        s.mid = v;
    return s;
}

namespace {

// `search`: one of many counts a layout search tries; it leaves out, besides the critical-distance
// search, the figures at a seated head height and the flow picture's velocities, which a layout
// search computes at its own distances, and what its first evaluation checked.
HorizontalResult horizontalAt(const CalculationRecord& rec, bool countSetByHand, bool searchCriticalDistance,
                              CountSearch* search) {
    const bool onlyWhatLayoutsCompare = search != nullptr;
    const bool again = search != nullptr && search->recordChecked;
    searchCriticalDistance = searchCriticalDistance && !onlyWhatLayoutsCompare;
    static const RealFieldSet reads = {
        FYL_COMMON_READS,  "decay_k",         "decay_b",     "decay_a",          "free_jet_f", "detach_c",
        "detach_temp_exp", "detach_flow_exp", "angle",       "buoyancy",         "traj_exp",   "zone_coef",
        "spread",          "width_term",      "room_height", "critical_distance"};
    if (!again)
        reads.requireFinite(rec);
    HorizontalResult r;
    r.count = countStep(rec, countSetByHand, r.working, r.calcStatus, again);
    if (search != nullptr)
        search->recordChecked = true;
    const OutletRecord& outlet = rec.outlet;
    const int n = rec.slotCount;
    const double V = r.working.V;
    const double vlim = r.working.vlim;
    const double h = r.working.h;
    const double dT = r.working.dT;

    r.ceilingMounted = std::fabs(ld(outletMountingHeight(rec)) - rec.roomHeight) < 0.01L;
    if (r.ceilingMounted && ld(dT) > 0.1L) {
        r.calcStatus =
            DetachmentDistance(n, outlet.detachFlowExp, outlet.detachTempExp, outlet.detachC, dT, V, r.xKrit);
        if (r.calcStatus != 0)
            r.xKrit = 0.0;
    }
    if (r.xKrit != 0.0) {
        // A failing trajectory leaves the distance as it was.
        r.criticalDistance = rec.criticalDistance;
        if (searchCriticalDistance)
            CriticalDistanceSearch(outlet, n, dT, vlim, V, r.xKrit, r.criticalDistance, r.calcStatus);
    }

    pressureAndSound(rec, V, r.dp, r.lwa, r.calcStatus);

    const double Kd = decayCoefficient(rec, r);
    const double a = outlet.decayA;
    const double b = outlet.decayB;

    r.spacing = rec.spacing;
    r.wallLeft = rec.wallLeft;
    r.wallRight = rec.wallRight;
    r.resultsWindowFlag = rec.resultsWindowFlag;
    r.vMid = rec.vMid;
    r.vLeft = rec.vLeft;
    r.vRight = rec.vRight;
    if (h > 0.0) {
        double value = 0.0;
        r.calcStatus = DoubledDistanceForVelocity(n, a, b, Kd, h, vlim, V, value);
        r.aMin = r.calcStatus == 0 ? value : 0.0;
        // Weight 1: the jet runs along the ceiling to the wall and down the wall.
        r.calcStatus = DistanceForVelocity(n, a, 1.0, Kd, vlim, h, V, value);
        r.wMin = r.calcStatus == 0 ? value : 0.0;
        if (onlyWhatLayoutsCompare)
            return r;
        if (ld(rec.headHeight) > 1.3L) {
            const double h13 = stored(ld(outletMountingHeight(rec)) - 1.3L);
            r.calcStatus = DoubledDistanceForVelocity(n, a, b, Kd, h13, vlim, V, value);
            r.aMin13 = r.calcStatus == 0 ? value : 0.0;
            r.calcStatus = DistanceForVelocity(n, a, 1.0, Kd, vlim, h13, V, value);
            r.wMin13 = r.calcStatus == 0 ? value : 0.0;
        }
        if (r.resultsWindowFlag == 1) {
            // A one-sided jet comes from an outlet at the wall.
            const bool atWall = jetFormOf(rec.designCode.str(), outlet.jetFormCodeText()).oneSided;
            const double wall = (ld(r.wMin) <= 0.001L || atWall) ? 0.001 : r.wMin;
            r.wallLeft = wall;
            r.wallRight = wall;
            r.spacing = ld(r.aMin) <= 0.001L ? 0.001 : r.aMin;
            r.resultsWindowFlag = 0;
        }
        // Written whatever the status; a formula that writes nothing passes on the value before it.
        double v = 0.0;
        r.calcStatus = wallVelocity(rec, r, r.wallLeft, v);
        r.vLeft = v;
        r.calcStatus = wallVelocity(rec, r, r.wallRight, v);
        r.vRight = v;
        r.calcStatus = midwayVelocity(rec, r, r.spacing, v);
        r.vMid = v;
    } else if (r.resultsWindowFlag == 1) {
        r.wallLeft = 0.001;
        r.wallRight = 0.001;
        r.spacing = 0.001;
        r.resultsWindowFlag = 0;
    }
    r.servedArea = stored(ld(r.aMin) * r.aMin * r.count.outlets);
    return r;
}

VerticalResult verticalAt(const CalculationRecord& rec, bool countSetByHand, CountSearch* search) {
    const bool again = search != nullptr && search->recordChecked;
    static const RealFieldSet reads = {FYL_COMMON_READS, "head_coef",    "head_exp", "pen_coef",
                                       "pen_temp_exp",   "pen_flow_exp", "v_left",   "v_right"};
    if (!again)
        reads.requireFinite(rec);
    VerticalResult r;
    r.count = countStep(rec, countSetByHand, r.working, r.calcStatus, again);
    if (search != nullptr)
        search->recordChecked = true;
    const OutletRecord& outlet = rec.outlet;
    const int n = rec.slotCount;

    // Nearly isothermal supply: the penetration is taken at a small positive difference.
    if (std::fabs(ld(r.working.dT)) < 0.1L)
        r.working.dT = 0.05;
    const double V = r.working.V;
    const double h = r.working.h;
    const double dT = r.working.dT;

    double yMax = 0.0;
    r.calcStatus = VerticalPenetration(n, outlet.penFlowExp, outlet.penTempExp, outlet.penCoef, dT, V, yMax);
    r.yMax = r.calcStatus == 0 ? yMax : 0.0;

    pressureAndSound(rec, V, r.dp, r.lwa, r.calcStatus);

    // Written whatever the status: a failing formula leaves 0.
    r.calcStatus = HeadHeightVelocity(n, outlet.headExp, outlet.headCoef, h, V, r.vk);
    return r;
}

} // namespace

HorizontalResult evaluateHorizontal(const CalculationRecord& rec, bool countSetByHand,
                                    bool searchCriticalDistance) {
    return horizontalAt(rec, countSetByHand, searchCriticalDistance, nullptr);
}

VerticalResult evaluateVertical(const CalculationRecord& rec, bool countSetByHand) {
    return verticalAt(rec, countSetByHand, nullptr);
}

HorizontalResult evaluateHorizontalAtCount(const CalculationRecord& rec, CountSearch& search) {
    return horizontalAt(rec, true, false, &search);
}

VerticalResult evaluateVerticalAtCount(const CalculationRecord& rec, CountSearch& search) {
    return verticalAt(rec, true, &search);
}

double soundPowerAtCount(const CalculationRecord& rec, int count) {
    double lwa = rec.lwa;
    double value = 0.0;
    if (soundPowerAt(rec, flowPerOutletAt(rec, wholeOutletCount(count)), value) == 0)
        lwa = value;
    return lwa;
}

namespace {

void requireFiniteFigures(std::initializer_list<double> figures) {
    for (const double figure : figures)
        requireFinite(figure, "ein Ergebnis der Auswertung");
}

void requireFiniteShared(const CountResult& c, const WorkingValues& w) {
    requireFiniteFigures(
        {c.outletCount, c.flowPerOutlet, c.vMinOutlet, c.vMaxOutlet, w.V, w.vlim, w.h, w.dT});
}

} // namespace

void requireFiniteResult(const HorizontalResult& r) {
    requireFiniteShared(r.count, r.working);
    requireFiniteFigures({r.xKrit, r.criticalDistance, r.dp, r.lwa, r.aMin, r.aMin13, r.wMin, r.wMin13,
                          r.spacing, r.wallLeft, r.wallRight, r.vMid, r.vLeft, r.vRight, r.servedArea});
}

void requireFiniteResult(const VerticalResult& r) {
    requireFiniteShared(r.count, r.working);
    requireFiniteFigures({r.yMax, r.dp, r.lwa, r.vk});
}

void storeResults(CalculationRecord& rec, const HorizontalResult& r) {
    storeCount(rec, r.count);
    rec.xKrit = r.xKrit;
    rec.criticalDistance = r.criticalDistance;
    rec.dp = r.dp;
    rec.lwa = r.lwa;
    rec.aMin = r.aMin;
    rec.aMin13 = r.aMin13;
    rec.wMin = r.wMin;
    rec.wMin13 = r.wMin13;
    rec.spacing = r.spacing;
    rec.wallLeft = r.wallLeft;
    rec.wallRight = r.wallRight;
    rec.resultsWindowFlag = r.resultsWindowFlag;
    rec.vMid = r.vMid;
    rec.vLeft = r.vLeft;
    rec.vRight = r.vRight;
}

void storeResults(CalculationRecord& rec, const VerticalResult& r) {
    storeCount(rec, r.count);
    rec.yMax = r.yMax;
    rec.aMin = 0.0;
    rec.dp = r.dp;
    rec.lwa = r.lwa;
    rec.vMid = r.vk;
}

bool countOutsideFlowRange(const CalculationRecord& rec, int count) {
    static const RealFieldSet reads = {"total_flow", "v_min", "v_max", "v_min_outlet", "v_max_outlet"};
    reads.requireFinite(rec);
    const double flow = stored(divide(rec.totalFlow, count));
    const bool perOutlet = rec.designCode.str() == QLatin1String("0");
    const double vMin = perOutlet ? rec.outlet.vMin : rec.vMinOutlet;
    const double vMax = perOutlet ? rec.outlet.vMax : rec.vMaxOutlet;
    return flow < vMin || flow > vMax;
}

bool SetOutletCountByHand(CalculationRecord& rec, RuntimeFlags& flags, int count) {
    const bool outside = countOutsideFlowRange(rec, count);
    flags.countSetByHand = true;
    rec.outletCount = count;
    rec.flowPerOutlet = stored(divide(rec.totalFlow, count));
    return outside;
}

} // namespace fyl
