// The evaluation of the chosen outlet in the room, as physics only: the count step and the
// horizontal-jet and vertical-jet evaluations compute a result struct from the record without
// changing anything; storeResults commits one to the record. Core layer (fylcore).
#pragma once

#include "frame/jetkind.h"
#include "frame/record.h"
#include "frame/runstate.h"

#include <QString>

#include <cstdint>

namespace fyl {

// Values the evaluation publishes for the flow picture and the report.
struct WorkingValues {
    double V = 0.0;    // flow per outlet (per metre for line outlets)
    double vlim = 0.0; // admissible velocity
    double h = 0.0;    // vertical run from the outlet to head height
    double dT = 0.0;   // room minus supply temperature
};

// The calculation window's count scroll bar as the count step sets it: the range as computed and
// the position at the count the figures are for, which may lie outside the range.
struct CountBar {
    int minimum = 0;
    int maximum = 0;
    int position = 0;
};

// The first part of both evaluations. Fields the step leaves alone hold the record's values.
struct CountResult {
    double outletCount = 0.0;   // proposed, or as set by hand
    std::int32_t outlets = 0;   // the whole count the figures are for (wholeOutletCount)
    double flowPerOutlet = 0.0;
    double vMinOutlet = 0.0;
    double vMaxOutlet = 0.0;
    std::int32_t countBound1 = 0; // ordinary outlets: the greatest count; line outlets: the least
    std::int32_t countBound2 = 0;
    CountBar bar;
};

struct HorizontalResult {
    CountResult count;
    bool ceilingMounted = false;
    double xKrit = 0.0;            // detachment distance; 0 when the jet does not detach
    double criticalDistance = 0.0; // from the bisection; 0 without detachment
    double dp = 0.0;               // kept from the record when its formula fails
    double lwa = 0.0;              // likewise
    double aMin = 0.0, aMin13 = 0.0, wMin = 0.0, wMin13 = 0.0;
    double spacing = 0.0, wallLeft = 0.0, wallRight = 0.0; // flow picture distances
    std::uint8_t resultsWindowFlag = 0;                    // cleared once the distances were set
    double vMid = 0.0, vLeft = 0.0, vRight = 0.0;          // velocities at head height
    double servedArea = 0.0;                               // a min² · count
    WorkingValues working;
    int calcStatus = 0; // status of the last formula called
};

struct VerticalResult {
    CountResult count;
    double yMax = 0.0;
    double dp = 0.0;  // kept from the record when its formula fails
    double lwa = 0.0; // likewise
    double vk = 0.0;  // velocity at head height, stored as the midway velocity
    WorkingValues working;
    int calcStatus = 0;
};

// The evaluations. They read the record and the count-by-hand flag and change nothing; an
// arithmetic fault the formulas do not guard, or a non-finite real among the values they read,
// raises ArithmeticError naming what failed.
// Without `searchCriticalDistance` the critical distance stays as the record holds it and nothing
// else changes: the search gives only its own figures, or fails.
HorizontalResult evaluateHorizontal(const CalculationRecord& rec, bool countSetByHand,
                                    bool searchCriticalDistance = true);
VerticalResult evaluateVertical(const CalculationRecord& rec, bool countSetByHand);

// A layout search evaluates one record at many counts set by hand (the record's count is the only
// field that changes between them). What does not depend on the count (the finite check of the
// record's reals, the flow at the sound limit) is done until one evaluation has got past it. The
// horizontal figures leave out the critical-distance search, the figures at a seated head height
// and the flow picture's velocities, which the search computes at its own distances.
struct CountSearch {
    bool recordChecked = false;
};
HorizontalResult evaluateHorizontalAtCount(const CalculationRecord& rec, CountSearch& search);
VerticalResult evaluateVerticalAtCount(const CalculationRecord& rec, CountSearch& search);
// The sound power level either evaluation gives at `count` outlets set by hand: a search can pass
// over a count that is too loud before evaluating it.
double soundPowerAtCount(const CalculationRecord& rec, int count);

// The velocities at head height of a horizontal jet, as its evaluation computes them for the flow
// picture, at any distances: midway between two outlets `spacing` apart, and where a jet comes
// down a wall `wall` away. 0 where the formula gives none (no run to head height).
struct SectionVelocities {
    double mid = 0.0;
    double wall = 0.0;
};
SectionVelocities sectionVelocities(const CalculationRecord& rec, const HorizontalResult& result, double spacing,
                                    double wall);

// The whole number of outlets the flow per outlet is computed for: the count (as proposed, with its
// fraction, or as set by hand) rounded up from a tenth above a whole number.
std::int32_t wholeOutletCount(double outletCount);
// That number for the record's count: the one count the window, the report, the exchange files, the
// flow picture and the command line show next to the figures.
std::int32_t outletsOf(const CalculationRecord& rec);

// Raises ArithmeticError when a figure of the result is not finite, so that none reaches the
// record, whether or not a view shows it.
void requireFiniteResult(const HorizontalResult& result);
void requireFiniteResult(const VerticalResult& result);

// Writes a result's values into the record; nothing here can fail.
void storeResults(CalculationRecord& rec, const HorizontalResult& result);
void storeResults(CalculationRecord& rec, const VerticalResult& result);

// Whether `count` outlets would each carry a flow outside the outlet's range: the detail record's
// range for an ordinary outlet, the stored per-outlet range (slot length × the per-metre range) for
// slot outlets, whose detail record is rated per metre. A count of 0 raises ArithmeticError.
bool countOutsideFlowRange(const CalculationRecord& rec, int count);

// A count set by hand is a whole number of outlets, one at least: fewer share the flow by nothing
// or give negative flows.
inline constexpr int kLeastOutletCount = 1;

// What moving the calculation window's count scroll bar to `count` does before the evaluation
// runs again: the count is taken as given, marked as set by hand, and the flow per outlet is
// the total flow shared by it. Returns true when that flow lies outside the outlet's range
// (the count edit turns red). A count of 0 raises ArithmeticError and changes nothing.
bool SetOutletCountByHand(CalculationRecord& rec, RuntimeFlags& flags, int count);

} // namespace fyl
