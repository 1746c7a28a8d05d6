// The inner-step formulas of the critical-distance search on values computed once per search.
// Core layer (fylcore).
#include "calc/searchsteps.h"

#include "calc/arithmetic.h"
#include "calc/formulas.h"
#include "frame/constants.h"

#include <cmath>

namespace fyl {

using arith::divide;
using arith::sqrtOf;
using arith::stored;
using ld = long double;

bool prepareSearchConstants(const OutletRecord& outlet, int n, double dT, double vlim, double V,
                            SearchConstants& k) {
    try {
        const double G = stored(divide(ld(V) * V, sqrtOf(n)));
        if (std::fabs(ld(G)) < 1e-9L || std::fabs(ld(outlet.angle)) >= 90.0L)
            return false;
        const double theta = stored(-ld(outlet.angle) * 2.0L * kPi / 360.0L);
        k.trajExp = outlet.trajExp;
        k.cosTheta = std::cos(ld(theta));
        k.tanTheta = Tan(theta);
        k.buoyancyTerm = divide(ld(outlet.buoyancy) * dT, G);

        const double K = outlet.decayK;
        k.decayA = outlet.decayA;
        k.decayB = outlet.decayB;
        k.velocityFactor = sqrtOf(n) * K * V;

        const double c = outlet.zoneCoef;
        if (std::fabs(ld(c)) <= 1e-9L)
            return false;
        const double spreadTheta = stored(ld(outlet.spread) * 2.0L * kPi / 360.0L);
        k.zoneCoef = c;
        k.lnVlim = arith::ln(vlim);
        k.widthBase = divide(ld(n) * outlet.widthTerm, 2.0L * Tan(spreadTheta / 2));
        k.tanQuarter = Tan(spreadTheta / 4);
        k.zoneSignsSafe = c < 0.0 && k.tanQuarter >= 0.0;
        return true;
    } catch (const ArithmeticError&) {
        return false;
    }
}

double trajectoryStep(const SearchConstants& k, double x) {
    const double run = stored(divide(x, k.cosTheta));
    return stored(ld(k.tanTheta) * x + ld(Power(run, k.trajExp)) * k.buoyancyTerm);
}

int velocityStep(const SearchConstants& k, double x, double& v) {
    if (std::fabs(ld(x)) < 0.001L) {
        v = 1e-6;
        return 0;
    }
    const double y = 0.0;
    const double inverseRun = stored(divide(1.0L, ld(k.decayB) * y + x));
    v = stored(k.velocityFactor * Power(inverseRun, k.decayA));
    return v > 0.0 ? 0 : 1;
}

int zoneStep(const SearchConstants& k, double s, double v, double& r) {
    const double L = stored(k.lnVlim - arith::ln(v));
    if (L > 0.0)
        r = 0.0;
    else
        r = stored((k.widthBase + s) * Power(stored(divide(L, k.zoneCoef)), 0.5) * k.tanQuarter);
    return r >= 0.0 ? 0 : 1;
}

// With c < 0 the root (L / c)^0.5 is real for every L <= 0 and below 1.4e154, the root of the
// largest double; times a width and a Tan(θ/4) that are neither negative nor too large, r is a
// finite number >= 0.
bool zoneCannotFail(const SearchConstants& k, double s) {
    if (!k.zoneSignsSafe)
        return false;
    const ld width = k.widthBase + s;
    return width >= 0.0L && width * 1.4e154L * k.tanQuarter <= 1e300L;
}

} // namespace fyl
