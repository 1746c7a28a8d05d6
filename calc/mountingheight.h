// The height an outlet is mounted at. The planner gives the room's mounting height; a design that
// cannot hang there takes a height of its own, for that outlet alone: a slot tube hangs below the
// ceiling by its diameter, a design "3" slot sits just under the ceiling. The room keeps the
// planner's height, so every outlet tried after one of these starts from it again.
// Core layer (fylcore).
#pragma once

#include "frame/record.h"

namespace fyl {

// A design "3" outlet sits this far under the ceiling [m].
inline constexpr long double kSlotBelowCeiling = 0.1L;

// The highest a tube of `diameter` mm hangs in a room of `roomHeight` m: its top at the ceiling.
long double highestTubeMounting(double roomHeight, long double diameter);

// Whether a design "3" outlet planned at `mounting` must be raised to just under the ceiling.
bool raisedUnderCeiling(double roomHeight, double mounting);

// The height the record's outlet is evaluated, drawn, printed and handed on at: the planner's,
// lowered for a slot tube that would reach through the ceiling, raised for a design "3" outlet
// planned lower than just under it.
double outletMountingHeight(const CalculationRecord& rec);

} // namespace fyl
