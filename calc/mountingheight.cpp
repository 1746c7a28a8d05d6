// The mounting height of the chosen outlet. Core layer (fylcore).
#include "calc/mountingheight.h"

#include "calc/arithmetic.h"
#include "frame/errors.h"
#include "frame/numbers.h"

#include <cmath>

namespace fyl {

using ld = long double;

long double highestTubeMounting(double roomHeight, long double diameter) {
    return ld(roomHeight) - diameter / 1000.0L;
}

bool raisedUnderCeiling(double roomHeight, double mounting) {
    return ld(roomHeight) - mounting > kSlotBelowCeiling;
}

double outletMountingHeight(const CalculationRecord& rec) {
    const double planned = rec.mountingHeight;
    const QString design = rec.designCode.str();
    if (design == QLatin1String("3") && raisedUnderCeiling(rec.roomHeight, planned))
        return arith::stored(ld(rec.roomHeight) - kSlotBelowCeiling);
    if (design == QLatin1String("2")) {
        // The tube's diameter is the size text its configuration stored; without one (a project
        // saved before the tube was chosen) the planner's height stands.
        try {
            const double highest =
                arith::stored(highestTubeMounting(rec.roomHeight, numbers::parseReal(rec.sizeText.str())));
            if (std::isfinite(highest) && planned > highest)
                return highest;
        } catch (const ConversionError&) {
        }
    }
    return planned;
}

} // namespace fyl
