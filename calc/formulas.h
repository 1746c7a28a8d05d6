// The jet, sound and load formulas with their status codes. Core layer (fylcore).
#pragma once

#include "frame/constants.h"
#include "frame/record.h"

// The jet, sound and load formulas. Each takes its inputs as values, works in long double and
// rounds to double where a value is stored. Every formula except the three math functions
// returns a status and writes its result through the last parameter:
//   0 valid; 1 out of range (written where the formula says so); 2 degenerate input, nothing
//   written; 40/41 detachment distance isothermal / not positive; 80/81 penetration exponent
//   zero / negative.
// Guarded cases never throw. A fault the guards do not catch (a division by an exact zero, the
// logarithm of a value that is not positive, a negative base with a fractional exponent, a
// result beyond the range of double) raises ArithmeticError, so no NaN or infinity escapes.
namespace fyl {

// x raised to y. Power(0, y) is 0 for every y. A negative base takes the sign from the parity of
// a whole-number exponent; with a fractional exponent it has no real value and raises.
double Power(double x, double y);
// Decimal logarithm with the nine-digit factor 0.434294481; -1e32 for x <= 0.
double Lg(double x);
// Tangent of a radian argument; sine and cosine count as 0 beyond |x| >= 2^63.
double Tan(double x);

// 1: dp = k * V^m [Pa].
int PressureDrop(double m, double k, double V, double& dp);
// 2: LWA = A lg V + B + 10 lg n + 10 lg(l / 1000) [dB]; l is a slot length in mm.
int SoundPowerLevel(int n, double A, double B, double l, double V, double& lwa);
// 3: the flow at which formula 2 reaches LWmax.
int FlowForSoundLevel(int n, double A, double B, double l, double LWmax, double& V);
// 4: centre-line velocity after the vertical run y and the horizontal run x.
int CentreVelocity(int n, double a, double b, double K, double y, double x, double V, double& v);
// 5: the horizontal run at which the centre-line velocity has fallen to vt.
int DistanceForVelocity(int n, double a, double b, double K, double vt, double y, double V, double& x);
// 6: twice formula 5; note the order: the vertical run comes before the target velocity here.
int DoubledDistanceForVelocity(int n, double a, double b, double K, double y, double vt, double V, double& s);
// 7: distance after which a cooled ceiling jet leaves the ceiling.
int DetachmentDistance(int n, double a, double b, double C, double dT, double V, double& x);
// 8: velocity of a vertical jet at head height, h below the outlet.
int HeadHeightVelocity(int n, double a, double b, double h, double V, double& v);
// 9: greatest penetration of a vertical jet.
int VerticalPenetration(int n, double a, double b, double C, double dT, double V, double& y);
// 10: vertical deflection at the horizontal distance x after the jet has left the ceiling.
int JetTrajectory(int n, double a, double b, double angle, double dT, double x, double V, double& y);
// 11: half-width of the cross-section faster than vlim at path length s.
int ZoneHalfWidth(int n, double a, double spread, double c, double s, double v, double vlim, double& r);
// 12: V = Q * 3600 / (dT * 1.2072); with a flow in place of dT it gives the temperature difference.
int FlowForCoolingLoad(double dT, double Q, double& V);
// 13: Q = V / 3600 * 1.2 * 1.006 * dT [kW].
int CoolingLoadForFlow(double dT, double V, double& Q);

} // namespace fyl
