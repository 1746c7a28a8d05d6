// The bisection for the critical distance of a cooled ceiling jet, and the plain step-by-step form
// it is checked against. Core layer (fylcore).
#pragma once

#include "frame/record.h"

namespace fyl {

// Bisection for the critical distance of a cooled ceiling jet that has left the ceiling at x0.
// Uses the outlet's trajectory, velocity and zone coefficients. Every formula status it sees is
// also stored into calcStatus. Returns 0 with xk = the last midpoint; 1 when a formula fails or
// the inner walk runs out of steps, with xk = x0 except after a failing trajectory, which leaves
// xk as it was.
int CriticalDistanceSearch(const OutletRecord& outlet, int n, double dT, double vlim, double V, double x0,
                           double& xk, int& calcStatus);

// The same search calling the formulas themselves in every step: several times slower, kept as the
// reference whose results, statuses and errors CriticalDistanceSearch must match bit for bit.
int criticalDistanceSearchPlain(const OutletRecord& outlet, int n, double dT, double vlim, double V,
                                double x0, double& xk, int& calcStatus);

} // namespace fyl
