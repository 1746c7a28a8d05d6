// The horizontal-jet and vertical-jet contours: the zones faster than the velocity limit, traced
// point by point with the jet formulas. Core layer (fylcore).
#include "flowsim/contours.h"

#include "calc/arithmetic.h"
#include "calc/formulas.h"
#include "frame/errors.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fyl {

namespace {

using arith::divide;
using arith::sqrtOf;
using arith::stored;
using ld = long double;
using Polygon = std::vector<ContourPoint>;

// Error codes: a formula reported a status or an arithmetic fault; the room has no height to trace
// along; the outline does not fit the point limit at any density.
constexpr int kFormulaFailed = 1;
constexpr int kNoRoomHeight = 2;
constexpr int kTooManyPoints = 3;

// Thrown inside the tracing when a formula reports a non-zero status; ends the routine.
struct FormulaFailed {};

void check(int status) {
    if (status != 0)
        throw FormulaFailed{};
}

// Points are single precision; a coordinate beyond its range counts as a failed formula.
ContourPoint pointAt(double x, double y) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (!(std::fabs(x) <= kLargest) || !(std::fabs(y) <= kLargest))
        throw FormulaFailed{};
    return {static_cast<float>(x), static_cast<float>(y)};
}

// A traced part with more points than a contour may hold in all: the tracing ends, as it would
// for a room whose height (a value such as 4.9e-324) its steps cannot divide.
struct TooManyPoints {};

void stillFits(const Polygon& polygon) {
    if (polygon.size() > static_cast<std::size_t>(Contour::kMaxPoints))
        throw TooManyPoints{};
}

void close(Polygon& polygon) {
    if (!polygon.empty())
        polygon.push_back(polygon.front());
}

// The coefficients the contours take from the outlet. Below the ceiling the decay coefficient
// carries the free-jet factor, as in the evaluation, so the zones agree with its velocities.
struct Jet {
    int n;
    double K;  // decay coefficient in use
    double Kb; // catalogue decay coefficient: the buoyancy term of the boundary part
    double weight;
    double exponent;
    const OutletRecord& o;

    // Centre-line velocity after the vertical run y (weighted) and the horizontal run x.
    double velocity(double weightOfY, double y, double x, double V) const {
        double v = 0.0;
        check(CentreVelocity(n, exponent, weightOfY, K, y, x, V, v));
        return v;
    }
    double halfWidth(double path, double v, double vlim) const {
        double r = 0.0;
        check(ZoneHalfWidth(n, o.widthTerm, o.spread, o.zoneCoef, path, v, vlim, r));
        return r;
    }
};

struct CeilingTrace {
    Polygon outline;
    double reach = 0.0;
    double depth = 0.0; // of the centre line
    double path = 0.0;
    double angle = 0.0; // radians, downward positive
};

CeilingTrace traceCeiling(const Jet& jet, const HorizontalContourInput& in, double D, int density) {
    const double H = in.roomHeight;
    const bool atCeiling = ld(in.y0) <= 0.01L;
    const double step = stored(divide(D, density));
    Polygon upper;
    Polygon lower;
    bool upperCapped = false;
    CeilingTrace t;
    double x = 1e-7;
    for (int i = 0;; ++i) {
        if (i > 0)
            x = stored(ld(x) + step);
        const double s = !atCeiling ? x : (x < in.c ? 0.0 : stored(ld(x) - in.c));
        double drop = 0.0;
        check(JetTrajectory(jet.n, jet.o.trajExp, jet.o.buoyancy, jet.o.angle, in.dT, s, in.V, drop));
        const double yc = std::max(0.0, stored(ld(in.y0) + drop));
        double path = 0.0;
        if (!atCeiling) {
            const ld dy = ld(yc) - in.y0;
            path = stored(sqrtOf(ld(x) * x + dy * dy));
        } else if (x < in.c) {
            path = x;
        } else {
            const ld dx = ld(x) - in.c;
            path = stored(in.c + sqrtOf(dx * dx + ld(yc) * yc));
        }
        const double v = jet.velocity(jet.weight, 0.0, path, in.V);
        const double b = jet.halfWidth(path, v, in.vlim);
        double top = stored(ld(yc) + b);
        if (top > H)
            upperCapped = true;
        if (upperCapped)
            top = H;
        const double bottom = stored(ld(yc) - b);
        upper.push_back(pointAt(x, top));
        lower.push_back(pointAt(x, bottom > 0.0 ? bottom : 0.0));
        stillFits(upper);
        t.reach = x;
        t.depth = yc;
        t.path = path;
        t.angle = stored(std::atan(divide(ld(yc) - in.y0, x)));
        if ((b < 0.01 && upper.size() >= 6) || x >= D || bottom > H)
            break;
    }
    t.outline = std::move(upper);
    t.outline.insert(t.outline.end(), lower.rbegin(), lower.rend());
    close(t.outline);
    return t;
}

// One side of the section as seen from the outlet, the boundary at distance D: the ceiling part,
// and where the jet reaches the boundary the part down it and, when it arrives at the floor still
// faster than the limit, the part back along the floor.
std::vector<Polygon> traceSide(const Jet& jet, const HorizontalContourInput& in, double D, BoundaryType type,
                               int direction, int density) {
    std::vector<Polygon> parts;
    const CeilingTrace ceiling = traceCeiling(jet, in, D, density);
    parts.push_back(ceiling.outline);
    if (ld(ceiling.reach) < ld(D) - 0.01L)
        return parts;

    const double H = in.roomHeight;
    const double Lb = ceiling.path;
    const double db = ceiling.depth;
    // Two jets meeting at a symmetry plane turn down slower than one along a wall: the outlet's
    // vertical weight, which the evaluation uses midway between outlets, against 1 at a wall.
    const double factor = type == BoundaryType::Wall ? 1.0 : jet.weight;
    const double buoyancy = stored(1.0L + ld(jet.Kb) * in.dT * std::cos(ld(ceiling.angle)));
    const double widening = stored(1.0L + direction * std::sin(ld(ceiling.angle)));
    const double stepZ = stored(divide(H, density));

    Polygon down;
    double v = 0.0;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop sets it first; never left undefined
    double depth = db;
    // Counted steps rather than a running sum, so the last depth does not depend on rounding.
    for (int k = 1;; ++k) {
        const double z = stored(ld(k) * stepZ);
        v = stored(ld(jet.velocity(factor, z, Lb, in.V)) * buoyancy);
        const double w = stored(ld(jet.halfWidth(stored(ld(Lb) + z), v, in.vlim)) * widening);
        depth = stored(ld(db) + z);
        down.push_back(pointAt(stored(ld(D) - w), depth));
        stillFits(down);
        if (depth > H || v < in.vlim)
            break;
    }
    down.push_back(pointAt(D, depth));
    down.push_back(pointAt(D, db));
    close(down);
    parts.push_back(std::move(down));
    if (!(depth > H) || v < in.vlim)
        return parts;

    // Along the floor the jet has run the whole drop; it is traced back toward the outlet with the
    // ceiling part's step, the velocity and width continuing those at the foot of the boundary.
    const double drop = stored(ld(H) - db);
    const double step = stored(divide(D, density));
    Polygon floor;
    double u = 0.0;
    for (int k = 1;; ++k) {
        u = k < density ? stored(ld(k) * step) : D;
        v = stored(ld(jet.velocity(factor, drop, stored(ld(Lb) + u), in.V)) * buoyancy);
        const double w = jet.halfWidth(stored(ld(Lb) + drop + u), v, in.vlim);
        floor.push_back(pointAt(stored(ld(D) - u), stored(ld(H) - w)));
        stillFits(floor);
        if (u >= D || v < in.vlim)
            break;
    }
    floor.push_back(pointAt(stored(ld(D) - u), H));
    floor.push_back(pointAt(D, H));
    close(floor);
    parts.push_back(std::move(floor));
    return parts;
}

void limitDepths(Polygon& polygon, float roomHeight) {
    for (ContourPoint& p : polygon)
        p.y = p.y > roomHeight ? roomHeight : (p.y <= 0.0f ? 0.0f : p.y);
}

int traceHorizontal(const Jet& jet, const HorizontalContourInput& in, Contour& contour) {
    if (!(in.roomHeight > 0.0))
        return kNoRoomHeight;
    struct Side {
        double distance;
        BoundaryType type;
        int direction;
    };
    // The right side first, then the left, mirrored to negative X.
    const Side sides[] = {{in.rightDistance, in.rightType, 1}, {in.leftDistance, in.leftType, -1}};
    for (int density = 50; density > 0; density /= 5) {
        contour.polygons.clear();
        int points = 0;
        bool fits = true;
        for (const Side& side : sides) {
            if (!(ld(side.distance) > 0.01L))
                continue;
            std::vector<Polygon> parts;
            try {
                parts = traceSide(jet, in, side.distance, side.type, side.direction, density);
            } catch (const TooManyPoints&) {
                fits = false;
                break;
            }
            for (Polygon& part : parts) {
                points += static_cast<int>(part.size());
                if (points > Contour::kMaxPoints || contour.polygons.size() >= Contour::kMaxPolygons) {
                    fits = false;
                    break;
                }
                limitDepths(part, static_cast<float>(in.roomHeight));
                if (side.direction < 0) {
                    for (ContourPoint& p : part)
                        p.x = -p.x;
                }
                contour.polygons.push_back(std::move(part));
            }
            if (!fits)
                break;
        }
        if (fits)
            return 0;
    }
    contour.polygons.clear();
    return kTooManyPoints;
}

// The half-outline of a vertical jet on the right of its axis, or nothing when a formula fails.
Polygon traceVertical(const Jet& jet, const VerticalContourInput& in) {
    constexpr int kMaxTraced = 125;
    Polygon half;
    bool atBottom = false;
    for (double step = 0.05;; step = stored(ld(step) * 10.0L)) {
        half.clear();
        double y = 0.0;
        bool slow = false;
        do {
            y = stored(ld(y) + step);
            // The jet runs straight down: its whole run is the depth.
            const double v = jet.velocity(jet.weight, 0.0, y, in.V);
            half.push_back(pointAt(jet.halfWidth(y, v, in.vlim), y));
            slow = v < in.vlim;
            atBottom = y >= in.yMax || y >= in.mountingHeight;
        } while (!slow && !atBottom && static_cast<int>(half.size()) < kMaxTraced);
        if (slow || atBottom)
            break;
    }
    if (atBottom)
        half.push_back(pointAt(0.0, half.back().y));
    half.push_back(pointAt(0.0, 0.0));
    close(half);
    return half;
}

} // namespace

int HorizontalJetContour(const OutletRecord& outlet, const HorizontalContourInput& input, Contour& contour) {
    contour.polygons.clear();
    try {
        const bool atCeiling = ld(input.y0) <= 0.01L;
        const double K = atCeiling ? outlet.decayK : stored(ld(outlet.decayK) * outlet.freeJetF);
        const Jet jet{input.slotCount, K, outlet.decayK, outlet.decayB, outlet.decayA, outlet};
        return traceHorizontal(jet, input, contour);
    } catch (const FormulaFailed&) {
    } catch (const Error&) {
    }
    contour.polygons.clear();
    return kFormulaFailed;
}

int VerticalJetContour(const OutletRecord& outlet, const VerticalContourInput& input, Contour& contour,
                       Dialogs& dialogs) {
    contour.polygons.clear();
    try {
        // A vertical outlet blows freely from its own face; its catalogue triple describes that jet.
        const Jet jet{input.slotCount, outlet.decayK, outlet.decayK, outlet.decayB, outlet.decayA, outlet};
        Polygon right = traceVertical(jet, input);
        Polygon left = right;
        for (ContourPoint& p : left)
            p.x = -p.x;
        contour.polygons.push_back(std::move(left));
        contour.polygons.push_back(std::move(right));
        return 0;
    } catch (const FormulaFailed&) {
    } catch (const Error&) {
    }
    contour.polygons.clear();
    dialogs.information(QStringLiteral("Berechnungsfehler"));
    return kFormulaFailed;
}

} // namespace fyl
