// The jet, sound and load formulas. Core layer (fylcore).
#include "calc/formulas.h"

#include "calc/arithmetic.h"

#include <cmath>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64, "long double must be 80-bit extended");

namespace fyl {

using arith::divide;
using arith::sqrtOf;
using arith::stored;
using ld = long double;

double Power(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y))
        arith::invalidOperation("Potenz einer nicht endlichen Zahl");
    if (x == 0.0)
        return 0.0;
    if (x > 0.0)
        return stored(std::exp(ld(y) * std::log(ld(x))));
    // A negative base has a real power only for a whole-number exponent, whose parity gives the sign.
    const ld whole = std::trunc(ld(y));
    if (whole != ld(y))
        arith::invalidOperation("negative Basis mit nicht ganzzahligem Exponenten");
    const ld magnitude = std::exp(ld(y) * std::log(-ld(x)));
    const bool odd = std::fmod(whole, 2.0L) != 0.0L;
    return stored(odd ? -magnitude : magnitude);
}

double Lg(double x) {
    if (std::isnan(x))
        arith::invalidOperation("Logarithmus einer ungültigen Zahl");
    if (x > 0.0)
        return stored(std::log(ld(x)) * 0.434294481L);
    return -1e32;
}

double Tan(double x) {
    ld s = 0.0L;
    ld c = 0.0L;
    // FSIN and FCOS leave the result at 0 outside their range.
    if (std::fabs(ld(x)) < 0x1p63L) {
        s = std::sin(ld(x));
        c = std::cos(ld(x));
    }
    return stored(divide(s, c));
}

int PressureDrop(double m, double k, double V, double& dp) {
    dp = stored(ld(k) * Power(V, m));
    return dp < 0.0 ? 1 : 0;
}

int SoundPowerLevel(int n, double A, double B, double l, double V, double& lwa) {
    lwa = stored(ld(A) * Lg(V) + B + 10.0L * Lg(n) + 10.0L * Lg(stored(ld(l) / 1000.0L)));
    return lwa < 0.0 ? 1 : 0;
}

int FlowForSoundLevel(int n, double A, double B, double l, double LWmax, double& V) {
    if (std::fabs(ld(A)) < 1e-9L)
        return 2;
    const ld exponent = divide(ld(LWmax) - B - 10.0L * Lg(n) - 10.0L * Lg(stored(ld(l) / 1000.0L)), A);
    V = Power(10.0, stored(exponent));
    return LWmax < 0.0 ? 1 : 0;
}

int CentreVelocity(int n, double a, double b, double K, double y, double x, double V, double& v) {
    if (std::fabs(ld(x)) < 0.001L) {
        v = 1e-6;
        return 0;
    }
    const double inverseRun = stored(divide(1.0L, ld(b) * y + x));
    v = stored(sqrtOf(n) * K * V * Power(inverseRun, a));
    return v > 0.0 ? 0 : 1;
}

int DistanceForVelocity(int n, double a, double b, double K, double vt, double y, double V, double& x) {
    if (std::fabs(ld(a)) < 1e-9L)
        return 2;
    const double g = stored(sqrtOf(n) * (ld(K) * V));
    if (std::fabs(ld(g)) < 1e-9L)
        return 2;
    x = stored(Power(stored(divide(vt, g)), stored(divide(-1.0L, a))) - ld(b) * y);
    return x > 0.0 ? 0 : 1;
}

int DoubledDistanceForVelocity(int n, double a, double b, double K, double y, double vt, double V,
                               double& s) {
    double x = 0.0;
    if (DistanceForVelocity(n, a, b, K, vt, y, V, x) != 0)
        return 1;
    s = stored(2.0L * x);
    return 0;
}

int DetachmentDistance(int n, double a, double b, double C, double dT, double V, double& x) {
    if (std::fabs(ld(dT)) <= 1e-4L)
        return 40;
    const ld numerator = ld(C) * Power(stored(sqrtOf(n) * V), a);
    x = stored(divide(numerator, Power(std::fabs(dT), b)));
    return x > 0.0 ? 0 : 41;
}

int HeadHeightVelocity(int n, double a, double b, double h, double V, double& v) {
    v = stored(ld(Power(h, -a)) * b * V * sqrtOf(n));
    return v >= 0.0 ? 0 : 1;
}

int VerticalPenetration(int n, double a, double b, double C, double dT, double V, double& y) {
    if (std::fabs(ld(b)) < 1e-9L)
        return 80;
    y = stored(ld(C) * Power(stored(sqrtOf(n) * V), a) * Power(std::fabs(dT), -b));
    return y >= 0.0 ? 0 : 81;
}

int JetTrajectory(int n, double a, double b, double angle, double dT, double x, double V, double& y) {
    const double G = stored(divide(ld(V) * V, sqrtOf(n)));
    if (std::fabs(ld(G)) < 1e-9L)
        return 2;
    if (std::fabs(ld(angle)) >= 90.0L)
        return 2;
    const double theta = stored(-ld(angle) * 2.0L * kPi / 360.0L);
    const double run = stored(divide(x, std::cos(ld(theta))));
    y = stored(ld(Tan(theta)) * x + ld(Power(run, a)) * divide(ld(b) * dT, G));
    return 0;
}

int ZoneHalfWidth(int n, double a, double spread, double c, double s, double v, double vlim, double& r) {
    if (std::fabs(ld(c)) <= 1e-9L)
        return 2;
    const double theta = stored(ld(spread) * 2.0L * kPi / 360.0L);
    const double L = stored(arith::ln(vlim) - arith::ln(v));
    if (L > 0.0) {
        r = 0.0; // the centre line is already slower than the limit
    } else {
        const ld width = divide(ld(n) * a, 2.0L * Tan(theta / 2)) + s;
        r = stored(width * Power(stored(divide(L, c)), 0.5) * Tan(theta / 4));
    }
    return r >= 0.0 ? 0 : 1;
}

int FlowForCoolingLoad(double dT, double Q, double& V) {
    if (!(dT > 0.0))
        return 1;
    V = stored(divide(ld(Q) * 3600.0L, ld(dT) * 1.2072L));
    return 0;
}

int CoolingLoadForFlow(double dT, double V, double& Q) {
    Q = stored(ld(V) / 3600.0L * 1.2L * 1.006L * dT);
    return 0;
}

} // namespace fyl
