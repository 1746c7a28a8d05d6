// The draught rating at head height (EN ISO 7730): the share of people expected to be bothered by
// draught, from the air temperature, the mean air velocity and the turbulence intensity. A figure
// beside the evaluation's results; it changes none of them. Core layer (fylcore).
#pragma once

#include "frame/record.h"

#include <QString>

#include <initializer_list>
#include <optional>

namespace fyl {

inline constexpr double kDefaultTurbulence = 40.0; // [%], mixing ventilation

// DR = (34 − ta)(v − 0,05)^0,62 (0,37·v·Tu + 3,14) in %; v below 0,05 m/s counts as 0,05, a
// negative result (ta above 34 °C) as 0 and one above 100 % as 100 %. Raises ArithmeticError for inputs that are not finite.
double draughtRating(double airTemp, double velocity, double turbulence = kDefaultTurbulence);

// "A" below 10 %, "B" below 20 %, "C" below 30 %, otherwise "-".
QString draughtCategory(double rating);

struct DraughtResult {
    double rating = 0.0;
    QString category;
};

// The worst rating of the given velocities at head height.
DraughtResult worstDraught(double airTemp, std::initializer_list<double> velocities,
                           double turbulence = kDefaultTurbulence);

// The worst rating of the places the evaluation gives velocities for: between the outlets and at
// both walls for a horizontal jet, vk for a vertical one. None before an evaluation.
std::optional<DraughtResult> headHeightDraught(const CalculationRecord& rec, double turbulence = kDefaultTurbulence);

} // namespace fyl
