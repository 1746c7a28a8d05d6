// The jet, sound and load formulas and the critical-distance search, computed by hand.
#include "calc/criticalsearch.h"
#include "calc/formulas.h"
#include "frame/errors.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace fyl;

TEST(MathFunctions, PowerOfZeroAndNegativeBases) {
    EXPECT_EQ(Power(0.0, -1.0), 0.0);
    EXPECT_EQ(Power(0.0, 0.0), 0.0);
    // A negative base takes its sign from the exponent's parity, not from ln|x|.
    EXPECT_DOUBLE_EQ(Power(-30.0, 2.0), 900.0);
    EXPECT_DOUBLE_EQ(Power(-2.0, 3.0), -8.0);
    EXPECT_THROW(Power(-8.0, 1.0 / 3.0), ArithmeticError);
    EXPECT_THROW(Power(10.0, 400.0), ArithmeticError); // beyond double
    EXPECT_THROW(Power(2.0, 1024.0), ArithmeticError);
    EXPECT_EQ(Power(10.0, -400.0), 0.0); // underflow is silent
}

TEST(MathFunctions, LgUsesTheNineDigitFactor) {
    EXPECT_EQ(Lg(0.0), -1e32);
    EXPECT_EQ(Lg(-5.0), -1e32);
    // ln 1000 * 0.434294481 = 6.907755278982137 * 0.434294481
    EXPECT_NEAR(Lg(1000.0), 2.9999999937605573, 1e-15);
}

TEST(MathFunctions, TanAndItsFaults) {
    EXPECT_NEAR(Tan(kPi / 4), 1.0, 1e-15);
    EXPECT_THROW(Tan(1e19), ArithmeticError); // sine and cosine out of range give 0 / 0
}

TEST(SoundAndPressure, LevelsAndTheirInverse) {
    double dp = -1;
    EXPECT_EQ(PressureDrop(2.0, 0.01, 93.75, dp), 0);
    EXPECT_NEAR(dp, 87.890625, 1e-12); // 0.01 * 93.75^2
    EXPECT_EQ(PressureDrop(2.0, -0.01, 93.75, dp), 1);
    EXPECT_NEAR(dp, -87.890625, 1e-12); // written all the same

    double lwa = 0;
    // n = 1, l = 1000: A lg V + B = 20 * 1.9999999958403718 - 5
    EXPECT_EQ(SoundPowerLevel(1, 20.0, -5.0, 1000.0, 100.0, lwa), 0);
    EXPECT_NEAR(lwa, 34.999999916807436, 1e-12);
    // n = 4, l = 500: 20 lg 100 - 5 + 10 * 0.6020599900757895 + 10 * (-0.30102999503789474)
    EXPECT_EQ(SoundPowerLevel(4, 20.0, -5.0, 500.0, 100.0, lwa), 0);
    EXPECT_NEAR(lwa, 34.999999916807436 + 3.0102999503789476, 1e-12);

    double V = 7.0;
    EXPECT_EQ(FlowForSoundLevel(1, 5e-10, 0.0, 1000.0, 35.0, V), 2);
    EXPECT_EQ(V, 7.0);
    // 10^((35 - (-5)) / 20) = 10^2
    EXPECT_EQ(FlowForSoundLevel(1, 20.0, -5.0, 1000.0, 35.0, V), 0);
    EXPECT_NEAR(V, 100.0, 1e-12);
    // A negative target level still writes the flow: 10^((-1 + 41) / 20)
    EXPECT_EQ(FlowForSoundLevel(1, 20.0, -41.0, 1000.0, -1.0, V), 1);
    EXPECT_NEAR(V, 100.0, 1e-12);
}

TEST(JetVelocity, CentreVelocityAndDistances) {
    double v = 0;
    EXPECT_EQ(CentreVelocity(1, 1.0, 2.0, 0.0, 1.0, 0.0005, 100.0, v), 0);
    EXPECT_EQ(v, 1e-6);
    // sqrt 4 * 0.5 * 100 * (1 / (2 * 1 + 3))^1 = 20
    EXPECT_EQ(CentreVelocity(4, 1.0, 2.0, 0.5, 1.0, 3.0, 100.0, v), 0);
    EXPECT_NEAR(v, 20.0, 1e-13);
    EXPECT_EQ(CentreVelocity(1, 1.0, 0.0, -1.0, 0.0, 4.0, 10.0, v), 1);
    EXPECT_NEAR(v, -2.5, 1e-14);
    EXPECT_THROW(CentreVelocity(1, 1.0, 2.0, 1.0, -1.0, 2.0, 10.0, v), ArithmeticError); // b*y + x = 0

    double x = 9.0;
    EXPECT_EQ(DistanceForVelocity(1, 5e-10, 2.0, 0.5, 0.25, 1.0, 4.0, x), 2);
    EXPECT_EQ(x, 9.0);
    // g = 0.5 * 4 = 2; (0.25 / 2)^(-1) - 2 * 1 = 8 - 2
    EXPECT_EQ(DistanceForVelocity(1, 1.0, 2.0, 0.5, 0.25, 1.0, 4.0, x), 0);
    EXPECT_NEAR(x, 6.0, 1e-14);
    EXPECT_EQ(DistanceForVelocity(1, 1.0, 10.0, 0.5, 0.25, 1.0, 4.0, x), 1); // 8 - 10
    EXPECT_NEAR(x, -2.0, 1e-14);
}

TEST(JetVelocity, DoubledDistanceTakesTheVerticalRunBeforeTheVelocity) {
    double s = 5.0;
    // y = 1, vt = 0.25: 2 * (8 - 2 * 1) = 12. Read the other way round (vt = 1, y = 0.25) it
    // would be 2 * (2 - 0.5) = 3.
    EXPECT_EQ(DoubledDistanceForVelocity(1, 1.0, 2.0, 0.5, 1.0, 0.25, 4.0, s), 0);
    EXPECT_NEAR(s, 12.0, 1e-13);
    s = 5.0;
    EXPECT_EQ(DoubledDistanceForVelocity(1, 1.0, 10.0, 0.5, 1.0, 0.25, 4.0, s), 1); // inner status 1
    EXPECT_EQ(DoubledDistanceForVelocity(1, 0.0, 2.0, 0.5, 1.0, 0.25, 4.0, s), 1);  // inner status 2
    EXPECT_EQ(s, 5.0);
}

TEST(ThermalJets, DetachmentPenetrationAndHeadHeight) {
    double x = 3.0;
    EXPECT_EQ(DetachmentDistance(1, 1.0, 1.0, 0.64, 0.00005, 93.75, x), 40);
    EXPECT_EQ(DetachmentDistance(1, 1.0, 1.0, 0.64, -0.0001, 93.75, x),
              0); // the double 1e-4 lies above 1e-4L
    // 0.64 * (sqrt 4 * 93.75)^1 / |-8|^1 = 0.64 * 187.5 / 8
    EXPECT_EQ(DetachmentDistance(4, 1.0, 1.0, 0.64, -8.0, 93.75, x), 0);
    EXPECT_NEAR(x, 15.0, 1e-13);
    EXPECT_EQ(DetachmentDistance(1, 1.0, 1.0, -0.64, 8.0, 93.75, x), 41);
    EXPECT_NEAR(x, -7.5, 1e-13);

    double y = 1.0;
    EXPECT_EQ(VerticalPenetration(1, 1.0, 5e-10, 0.001, 0.05, 100.0, y), 80);
    EXPECT_EQ(y, 1.0);
    // 0.001 * (2 * 100) * 0.05^-1 = 4
    EXPECT_EQ(VerticalPenetration(4, 1.0, 1.0, 0.001, 0.05, 100.0, y), 0);
    EXPECT_NEAR(y, 4.0, 1e-13);
    EXPECT_EQ(VerticalPenetration(1, 1.0, 1.0, -0.001, 0.05, 100.0, y), 81);
    EXPECT_NEAR(y, -2.0, 1e-13);

    double v = 0;
    // 1.2^-1 * 0.003 * 100 * sqrt 4 = 0.5
    EXPECT_EQ(HeadHeightVelocity(4, 1.0, 0.003, 1.2, 100.0, v), 0);
    EXPECT_NEAR(v, 0.5, 1e-15);
    EXPECT_EQ(HeadHeightVelocity(1, 1.0, 0.003, -1.2, 100.0, v), 1); // (-1.2)^-1 is negative
    EXPECT_THROW(HeadHeightVelocity(1, 0.5, 0.003, -1.2, 100.0, v), ArithmeticError);
}

TEST(ThermalJets, TrajectoryAndZoneWidth) {
    double y = 7.0;
    EXPECT_EQ(JetTrajectory(1, 1.0, 1.0, 90.0, 5.0, 2.0, 10.0, y), 2);
    EXPECT_EQ(JetTrajectory(1, 1.0, 1.0, 0.0, 5.0, 2.0, 1e-5, y), 2); // G = 1e-10
    EXPECT_EQ(y, 7.0);
    // G = 10^2 / sqrt 4 = 50; 2^2 * (5 * 10 / 50) = 4
    EXPECT_EQ(JetTrajectory(4, 2.0, 5.0, 0.0, 10.0, 2.0, 10.0, y), 0);
    EXPECT_NEAR(y, 4.0, 1e-14);
    // Angle 45: theta = -pi/4, Tan = -1, so y = -x without buoyancy.
    EXPECT_EQ(JetTrajectory(1, 1.0, 1.0, 45.0, 0.0, 2.0, 10.0, y), 0);
    EXPECT_NEAR(y, -2.0, 1e-14);
    EXPECT_THROW(JetTrajectory(0, 1.0, 1.0, 0.0, 5.0, 2.0, 10.0, y), ArithmeticError); // V^2 / sqrt 0

    double r = 3.0;
    EXPECT_EQ(ZoneHalfWidth(1, 0.2, 90.0, 0.0, 0.9, 1.0, 0.2, r), 2);
    EXPECT_EQ(r, 3.0);
    EXPECT_EQ(ZoneHalfWidth(1, 0.2, 90.0, -1.0, 0.9, 0.1, 0.2, r), 0); // already below the limit
    EXPECT_EQ(r, 0.0);
    // L = ln 0.2 - ln(0.2 e^4) = -4; (1 * 0.2 / (2 Tan 45°) + 0.9) * (4)^0.5 * Tan 22.5° = 2 * 0.41421356
    EXPECT_EQ(ZoneHalfWidth(1, 0.2, 90.0, -1.0, 0.9, 10.919630006628848, 0.2, r), 0);
    EXPECT_NEAR(r, 0.8284271247461901, 1e-12);
    EXPECT_THROW(ZoneHalfWidth(1, 0.2, 90.0, -1.0, 0.9, 0.0, 0.2, r), ArithmeticError); // ln 0
    EXPECT_THROW(ZoneHalfWidth(1, 0.2, 0.0, -1.0, 0.9, 1.0, 0.2, r), ArithmeticError);  // Tan 0 divisor
    EXPECT_THROW(ZoneHalfWidth(1, 0.2, 90.0, 1.0, 0.9, 1.0, 0.2, r),
                 ArithmeticError); // (L / c)^0.5 of L / c < 0
}

TEST(CoolingLoad, ConversionsBothWays) {
    double V = 1.0;
    EXPECT_EQ(FlowForCoolingLoad(0.0, 10.0, V), 1);
    EXPECT_EQ(V, 1.0);
    // 10 * 3600 / (6 * 1.2072)
    EXPECT_EQ(FlowForCoolingLoad(6.0, 10.0, V), 0);
    EXPECT_NEAR(V, 4970.178926441352, 1e-9);
    double Q = 0;
    EXPECT_EQ(CoolingLoadForFlow(6.0, V, Q), 0);
    EXPECT_NEAR(Q, 10.0, 1e-13);
    EXPECT_THROW(FlowForCoolingLoad(1e-300, 1e300, V), ArithmeticError);
}

namespace {

// y = 0.1 u after the detachment point (angle 0, G = 10^2, b dT / G = 0.1), v = 10 / w, and a
// zone wide enough that |y| - |r| <= 0.1 holds wherever the jet is faster than the limit.
OutletRecord searchOutlet() {
    OutletRecord o{};
    o.angle = 0.0;
    o.buoyancy = 1.0;
    o.trajExp = 1.0;
    o.decayK = 1.0;
    o.decayB = 2.0;
    o.decayA = 1.0;
    o.zoneCoef = -1.0;
    o.spread = 90.0;
    o.widthTerm = 0.2;
    return o;
}

} // namespace

TEST(CriticalDistance, BisectionBrackets) {
    // x0 = 8: lo 2, hi 8, step 0.08. The walk ends at the first s with u = s - mid > 1:
    // mid 5 -> s 6.0000001 <= 8, lo = 5; mid 6.5 -> s 7.5200001, lo = 6.5; mid 7.25 -> s 8.3200001 > 8,
    // hi = 7.25; mid 6.875 -> s 7.9200001, lo = 6.875; mid 7.0625 -> s 8.0800001, hi = 7.0625;
    // bracket 0.1875 <= 0.2, so xk = 7.0625.
    double xk = 0;
    int status = -1;
    EXPECT_EQ(CriticalDistanceSearch(searchOutlet(), 1, 10.0, 0.2, 10.0, 8.0, xk, status), 0);
    EXPECT_NEAR(xk, 7.0625, 1e-12);
    EXPECT_EQ(status, 0);
}

TEST(CriticalDistance, FailuresAndTheIsothermalJet) {
    double xk = 0;
    int status = -1;
    // Level and isothermal: y stays 0, the walk runs into its 120-step bound.
    EXPECT_EQ(CriticalDistanceSearch(searchOutlet(), 1, 0.0, 0.2, 10.0, 8.0, xk, status), 1);
    EXPECT_EQ(xk, 8.0);

    OutletRecord o = searchOutlet();
    o.angle = 90.0;
    xk = 3.0;
    EXPECT_EQ(CriticalDistanceSearch(o, 1, 10.0, 0.2, 10.0, 8.0, xk, status), 1);
    EXPECT_EQ(xk, 3.0); // a failing trajectory writes nothing
    EXPECT_EQ(status, 2);

    o = searchOutlet();
    o.decayK = 0.0; // v = 0 at the second step
    EXPECT_EQ(CriticalDistanceSearch(o, 1, 10.0, 0.2, 10.0, 8.0, xk, status), 1);
    EXPECT_EQ(xk, 8.0);
    EXPECT_EQ(status, 1);

    o = searchOutlet();
    o.zoneCoef = 0.0;
    xk = 3.0;
    EXPECT_EQ(CriticalDistanceSearch(o, 1, 10.0, 0.2, 10.0, 8.0, xk, status), 1);
    EXPECT_EQ(xk, 8.0);
    EXPECT_EQ(status, 2);
}
