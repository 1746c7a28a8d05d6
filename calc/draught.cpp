// The draught rating at head height. Core layer (fylcore).
#include "calc/draught.h"

#include "frame/errors.h"

#include <algorithm>
#include <cmath>

namespace fyl {

double draughtRating(double airTemp, double velocity, double turbulence) {
    requireFinite(airTemp, "Raumtemperatur");
    requireFinite(velocity, "Luftgeschwindigkeit");
    requireFinite(turbulence, "Turbulenzgrad");
    const double v = std::max(velocity, 0.05);
    const double dr = (34.0 - airTemp) * std::pow(v - 0.05, 0.62) * (0.37 * v * turbulence + 3.14);
    // A share of people: the standard's own limits, 0 above 34 °C and 100 % for a strong draught.
    return std::clamp(static_cast<double>(requireFinite(dr, "Zugluftrisiko")), 0.0, 100.0);
}

QString draughtCategory(double rating) {
    if (rating < 10.0)
        return QStringLiteral("A");
    if (rating < 20.0)
        return QStringLiteral("B");
    if (rating < 30.0)
        return QStringLiteral("C");
    return QStringLiteral("-");
}

DraughtResult worstDraught(double airTemp, std::initializer_list<double> velocities, double turbulence) {
    double worst = 0.0;
    for (double v : velocities)
        worst = std::max(worst, draughtRating(airTemp, v, turbulence));
    return DraughtResult{worst, draughtCategory(worst)};
}

std::optional<DraughtResult> headHeightDraught(const CalculationRecord& rec, double turbulence) {
    if (rec.horizontalJet)
        return worstDraught(rec.roomTemp, {rec.vMid, rec.vLeft, rec.vRight}, turbulence);
    if (rec.verticalJet)
        return worstDraught(rec.roomTemp, {rec.vMid}, turbulence);
    return std::nullopt;
}

} // namespace fyl
