// The critical-distance search: the bisection on the inner-step formulas with their per-call values
// computed once, and the plain form that calls the formulas in every step. Core layer (fylcore).
#include "calc/criticalsearch.h"

#include "calc/arithmetic.h"
#include "calc/formulas.h"
#include "calc/searchsteps.h"

#include <array>
#include <cmath>

namespace fyl {

using arith::sqrtOf;
using arith::stored;
using ld = long double;

int CriticalDistanceSearch(const OutletRecord& outlet, int n, double dT, double vlim, double V, double x0,
                           double& xk, int& calcStatus) {
    SearchConstants k;
    if (!prepareSearchConstants(outlet, n, dT, vlim, V, k))
        return criticalDistanceSearchPlain(outlet, n, dT, vlim, V, x0, xk, calcStatus);

    // A step before the detachment point does not depend on the midpoint: the jet runs along the
    // ceiling, u is 0 and the path is s, and s takes the same values in every halving. A step
    // that passed its formulas there passes them again with the same values, so it is done once
    // and its outcome remembered (calcStatus is then 0 already, from the steps that passed).
    struct CeilingStep {
        bool passed = false;
        double y = 0.0;
        double r = 0.0;
    };
    std::array<CeilingStep, 121> ceilingSteps{}; // by step number j

    ld lo = ld(x0) / 4.0L;
    ld hi = x0;
    int i = 0;
    double mid = 0.0;
    do {
        ++i;
        mid = stored((lo + hi) / 2.0L);
        const double step = stored(ld(x0) / 100.0L);
        double s = stored(1e-7L - step);
        int j = 0;
        double y = 0.0;
        for (;;) {
            s = stored(ld(s) + step);
            ++j;
            const bool dropped = s >= mid;
            double r = 0.0;
            if (!dropped && ceilingSteps[j].passed) {
                y = ceilingSteps[j].y;
                r = ceilingSteps[j].r;
            } else {
                const double u = dropped ? stored(ld(s) - mid) : 0.0;
                y = trajectoryStep(k, u);
                calcStatus = 0;
                const ld along = ld(s) - mid;
                const double w = dropped ? stored(mid + sqrtOf(along * along + ld(y) * y)) : s;
                double v = 0.0;
                int status = velocityStep(k, w, v);
                calcStatus = status;
                if (status != 0) {
                    xk = x0;
                    return 1;
                }
                // Until the jet has dropped 0.1 m the zone decides nothing but the step's failure (r
                // stays 0 then and is not read).
                if (std::fabs(ld(y)) > 0.1L || !zoneCannotFail(k, w)) {
                    status = zoneStep(k, w, v, r);
                    calcStatus = status;
                    if (status != 0) {
                        xk = x0;
                        return 1;
                    }
                }
                if (!dropped)
                    ceilingSteps[j] = {true, y, r};
            }
            const ld dropDepth = std::fabs(ld(y));
            if ((dropDepth > 0.1L && dropDepth - std::fabs(ld(r)) <= 0.1L) || j >= 120)
                break;
        }
        if (j >= 120) {
            xk = x0;
            return 1;
        }
        if (s > x0)
            hi = mid;
        else
            lo = mid;
    } while (hi - lo > 0.2L && i < 50);
    xk = mid;
    return 0;
}

int criticalDistanceSearchPlain(const OutletRecord& outlet, int n, double dT, double vlim, double V,
                                double x0, double& xk, int& calcStatus) {
    const double angle = outlet.angle;
    const double buoyancy = outlet.buoyancy;
    const double trajExp = outlet.trajExp;
    const double K = outlet.decayK;
    const double weight = outlet.decayB;
    const double exponent = outlet.decayA;
    const double zoneCoef = outlet.zoneCoef;
    const double spread = outlet.spread;
    const double widthTerm = outlet.widthTerm;

    ld lo = ld(x0) / 4.0L;
    ld hi = x0;
    int i = 0;
    double mid = 0.0;
    do {
        ++i;
        mid = stored((lo + hi) / 2.0L);
        const double step = stored(ld(x0) / 100.0L);
        double s = stored(1e-7L - step);
        int j = 0;
        double y = 0.0;
        for (;;) {
            s = stored(ld(s) + step);
            ++j;
            // Before the detachment point the jet still runs along the ceiling.
            const bool dropped = s >= mid;
            const double u = dropped ? stored(ld(s) - mid) : 0.0;
            int status = JetTrajectory(n, trajExp, buoyancy, angle, dT, u, V, y);
            calcStatus = status;
            if (status != 0)
                return 1;
            const ld along = ld(s) - mid;
            const double w = dropped ? stored(mid + sqrtOf(along * along + ld(y) * y)) : s;
            double v = 0.0;
            status = CentreVelocity(n, exponent, weight, K, 0.0, w, V, v);
            calcStatus = status;
            if (status != 0) {
                xk = x0;
                return 1;
            }
            double r = 0.0;
            status = ZoneHalfWidth(n, widthTerm, spread, zoneCoef, w, v, vlim, r);
            calcStatus = status;
            if (status != 0) {
                xk = x0;
                return 1;
            }
            const ld dropDepth = std::fabs(ld(y));
            if ((dropDepth > 0.1L && dropDepth - std::fabs(ld(r)) <= 0.1L) || j >= 120)
                break;
        }
        if (j >= 120) {
            xk = x0;
            return 1;
        }
        if (s > x0)
            hi = mid;
        else
            lo = mid;
    } while (hi - lo > 0.2L && i < 50);
    xk = mid;
    return 0;
}

} // namespace fyl
