// The three formulas of the critical-distance search's inner step, with what stays the same from
// step to step computed once. Core layer (fylcore).
#pragma once

#include "frame/record.h"

namespace fyl {

// The search calls JetTrajectory, CentreVelocity and ZoneHalfWidth up to 120 times per halving, and
// most of what they compute (roots, trig of the angles, quotients of coefficients) depends only on
// the outlet, n, dT, V and vlim. These are those values, computed once. Each is the formula's own
// subexpression over the same operands, kept at the precision the formula keeps it (long double
// where the formula goes on with it unrounded), so a step rounds exactly as the formula does.
struct SearchConstants {
    // JetTrajectory: y = Tan θ · x + (x / cos θ)^a · (b dT / G)
    double trajExp = 0.0;
    long double cosTheta = 0.0L;
    double tanTheta = 0.0;
    long double buoyancyTerm = 0.0L; // b dT / G
    // CentreVelocity with no vertical run: v = √n K V · (1 / (b · 0 + w))^a
    double decayA = 0.0;
    double decayB = 0.0;
    long double velocityFactor = 0.0L; // √n K V
    // ZoneHalfWidth: r = (n a / (2 Tan(θ/2)) + s) · (L / c)^0.5 · Tan(θ/4), L = ln vlim − ln v
    double zoneCoef = 0.0;
    long double lnVlim = 0.0L;
    long double widthBase = 0.0L; // n a / (2 Tan(θ/2))
    double tanQuarter = 0.0;
    bool zoneSignsSafe = false; // c < 0 and Tan(θ/4) >= 0, see zoneCannotFail
};

// Fills k. False when a guard of the three formulas trips or one of the values raises: such an
// outlet fails at the first step that needs the value, and only the formulas themselves give
// that step's status or error exactly.
bool prepareSearchConstants(const OutletRecord& outlet, int n, double dT, double vlim, double V,
                            SearchConstants& k);

// JetTrajectory(n; trajExp, buoyancy, angle, dT, x, V) once its guards have passed: status 0.
double trajectoryStep(const SearchConstants& k, double x);
// CentreVelocity(n; decayA, decayB, decayK, 0, x, V) with its status.
int velocityStep(const SearchConstants& k, double x, double& v);
// ZoneHalfWidth(n; widthTerm, spread, zoneCoef, s, v, vlim) with its status, for v > 0.
int zoneStep(const SearchConstants& k, double s, double v, double& r);
// Whether ZoneHalfWidth at the path length s returns 0 and raises nothing, whatever v > 0 is.
bool zoneCannotFail(const SearchConstants& k, double s);

} // namespace fyl
