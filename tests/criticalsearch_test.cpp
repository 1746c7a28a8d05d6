// The critical-distance search against its plain step-by-step form: the step formulas on their
// per-search values and the whole search must agree with the formulas bit for bit, in results,
// statuses and errors, on random plausible and implausible rooms and outlets.
#include "calc/criticalsearch.h"
#include "calc/evaluation.h"
#include "calc/formulas.h"
#include "calc/searchsteps.h"
#include "fixtures/calcfixture.h"
#include "frame/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace fyl;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0; // NOLINT(bugprone-suspicious-memory-comparison): bit patterns
}

std::string hex(double x) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", x); // NOLINT(cert-err33-c): 40 characters hold any %a
    return text;
}

struct SearchCase {
    OutletRecord outlet{};
    int n = 1;
    double dT = 0.0, vlim = 0.0, V = 0.0, x0 = 0.0;

    std::string describe() const {
        return "angle " + hex(outlet.angle) + " buoyancy " + hex(outlet.buoyancy) + " trajExp " +
               hex(outlet.trajExp) + " K " + hex(outlet.decayK) + " weight " + hex(outlet.decayB) +
               " decayA " + hex(outlet.decayA) + " zoneCoef " + hex(outlet.zoneCoef) + " spread " +
               hex(outlet.spread) + " widthTerm " + hex(outlet.widthTerm) + " n " + std::to_string(n) +
               " dT " + hex(dT) + " vlim " + hex(vlim) + " V " + hex(V) + " x0 " + hex(x0);
    }
};

// Plausible values throughout, and with `oddness` > 0 each value now and then one of the values
// at or beyond the formulas' guards and faults.
class CaseMaker {
public:
    explicit CaseMaker(std::uint64_t seed) : rng_(seed) {}

    double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    template <class T> T oneOf(std::initializer_list<T> values) {
        return values.begin()[std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(rng_)];
    }
    double pick(double lo, double hi, std::initializer_list<double> odd) {
        return oddness_ > 0.0 && chance(oddness_) ? oneOf(odd) : uniform(lo, hi);
    }

    SearchCase make(double oddness) {
        oddness_ = oddness;
        SearchCase c;
        OutletRecord& o = c.outlet;
        o.angle = pick(-30.0, 45.0, {0.0, 90.0, -90.0, 89.99999999, 120.0, kNaN, kInf});
        o.buoyancy = pick(20.0, 600.0, {0.0, -300.0, 1e300, kNaN, kInf});
        o.trajExp = pick(0.5, 2.5, {0.0, -1.0, 60.0, 800.0, kNaN});
        o.decayK = pick(0.002, 0.2, {0.0, -0.03, 1e-300, 1e300});
        o.decayB = pick(0.0, 4.0, {-5.0, 0.0, kInf});
        o.decayA = pick(0.4, 1.6, {0.0, -1.0, 60.0, 800.0, kNaN});
        o.zoneCoef = pick(-4.0, -0.1, {0.0, 1e-9, -1e-9, 1.0000001e-9, -1.0000001e-9, 1.5, kNaN});
        o.spread = pick(5.0, 150.0, {0.0, 360.0, 720.0, -90.0, 1e30, kNaN});
        o.widthTerm = pick(0.0, 30.0, {-10.0, -1e-3, 1e300});
        c.n =
            oddness > 0.0 && chance(oddness) ? oneOf({0, -1, 100, 2147483647}) : oneOf({1, 1, 1, 2, 3, 4, 8});
        c.dT = pick(0.2, 15.0, {0.0, -8.0, 1e-12, 1e300, kNaN});
        c.vlim = pick(0.05, 0.6, {0.0, -0.2, 1e-300, 1e300, 3.0});
        c.V = pick(10.0, 2000.0, {0.0, -100.0, 1e-5, 1e-4, 1e200});
        c.x0 = pick(0.3, 30.0, {0.0, -5.0, 1e-9, 8.0, 4.0, 1e16, 1e300, kNaN, kInf});
        return c;
    }

private:
    std::mt19937_64 rng_;
    double oddness_ = 0.0;
};

struct Outcome {
    bool raised = false;
    QString message;
    int result = -1;
    double xk = -4711.0; // a value neither search writes, so "left as it was" shows
    int calcStatus = -7;

    bool operator==(const Outcome& other) const {
        return raised == other.raised && message == other.message && result == other.result &&
               sameBits(xk, other.xk) && calcStatus == other.calcStatus;
    }
    std::string describe() const {
        return raised ? "raised " + message.toStdString()
                      : "returned " + std::to_string(result) + " xk " + hex(xk) + " status " +
                            std::to_string(calcStatus);
    }
};

using Search = int (*)(const OutletRecord&, int, double, double, double, double, double&, int&);

Outcome run(Search search, const SearchCase& c) {
    Outcome o;
    try {
        o.result = search(c.outlet, c.n, c.dT, c.vlim, c.V, c.x0, o.xk, o.calcStatus);
    } catch (const Error& e) {
        o.raised = true;
        o.message = e.message();
    }
    return o;
}

// How a search ended, to show that the random cases reach every ending on both of the fast
// search's paths (its own steps, and the plain search it leaves guard failures to).
struct Endings {
    int found = 0, walkBound = 0, trajectoryFailed = 0, formulaFailed = 0, raised = 0;

    void count(const Outcome& o) {
        if (o.raised)
            ++raised;
        else if (o.result == 0)
            ++found;
        else if (o.xk == -4711.0)
            ++trajectoryFailed;
        else if (o.calcStatus == 0)
            ++walkBound;
        else
            ++formulaFailed;
    }
};

// Compares both searches on one case; false (with a failure) when they differ.
bool sameSearch(const SearchCase& c, Endings& ownSteps, Endings& leftToPlain) {
    const Outcome plain = run(criticalDistanceSearchPlain, c);
    const Outcome fast = run(CriticalDistanceSearch, c);
    SearchConstants k;
    (prepareSearchConstants(c.outlet, c.n, c.dT, c.vlim, c.V, k) ? ownSteps : leftToPlain).count(plain);
    if (fast == plain)
        return true;
    ADD_FAILURE() << c.describe() << "\n plain: " << plain.describe() << "\n fast:  " << fast.describe();
    return false;
}

} // namespace

// One formula call: the status it returned, the value it wrote, the error it raised.
struct Call {
    int status = -1;
    double value = 0.5;
    QString error;

    bool operator==(const Call& other) const {
        return status == other.status && sameBits(value, other.value) && error == other.error;
    }
    std::string describe() const {
        return std::to_string(status) + " " + hex(value) + " " + error.toStdString();
    }
};

template <class Formula> Call call(Formula formula) {
    Call c;
    try {
        c.status = formula(c.value);
    } catch (const Error& e) {
        c.error = e.message();
    }
    return c;
}

// Each step formula on the search's constants against the formula itself, at runs, paths and
// velocities from ordinary to extreme: the same value to the bit, the same status, the same error.
TEST(CriticalSearchSteps, MatchTheFormulasBitForBit) {
    CaseMaker maker(20240611);
    int prepared = 0, zoneLeftOut = 0, raised = 0, mismatches = 0;
    const auto expectSame = [&](const char* what, const Call& plain, const Call& fast, const SearchCase& c) {
        if (plain == fast)
            return;
        ++mismatches;
        ADD_FAILURE() << what << ": plain " << plain.describe() << ", fast " << fast.describe() << "\n"
                      << c.describe();
    };
    for (int i = 0; i < 4000 && mismatches < 10; ++i) {
        const SearchCase c = maker.make(i % 2 ? 0.15 : 0.0);
        SearchConstants k;
        if (!prepareSearchConstants(c.outlet, c.n, c.dT, c.vlim, c.V, k))
            continue;
        ++prepared;
        const OutletRecord& o = c.outlet;
        // A long double rounded differently shows in a stored double about once in a thousand values.
        std::vector<double> runs = {0.0, maker.uniform(0.0, 0.002), -maker.uniform(0.0, 5.0), 1e-310, 1e300};
        for (int r = 0; r < 40; ++r)
            runs.push_back(maker.uniform(0.0, 40.0));
        for (const double x : runs) {
            // The trajectory's guards have passed, so the formula returns 0 or raises.
            expectSame("trajectory", call([&](double& y) {
                           return JetTrajectory(c.n, o.trajExp, o.buoyancy, o.angle, c.dT, x, c.V, y);
                       }),
                       call([&](double& y) {
                           y = trajectoryStep(k, x);
                           return 0;
                       }),
                       c);
            const Call velocity = call(
                [&](double& v) { return CentreVelocity(c.n, o.decayA, o.decayB, o.decayK, 0.0, x, c.V, v); });
            expectSame("velocity", velocity, call([&](double& v) { return velocityStep(k, x, v); }), c);
            raised += velocity.error.isEmpty() ? 0 : 1;
        }
        for (const double s :
             {maker.uniform(0.0, 40.0), maker.uniform(0.0, 0.01), -maker.uniform(0.0, 40.0)}) {
            for (const double v :
                 {maker.uniform(0.001, 5.0), maker.uniform(0.001, 5.0), c.vlim, std::nextafter(c.vlim, kInf),
                  std::nextafter(c.vlim, 0.0), 1e-6, 1e-300, 1e300}) {
                const Call zone = call([&](double& r) {
                    return ZoneHalfWidth(c.n, o.widthTerm, o.spread, o.zoneCoef, s, v, c.vlim, r);
                });
                expectSame("zone", zone, call([&](double& r) { return zoneStep(k, s, v, r); }), c);
                if (zoneCannotFail(k, s)) {
                    ++zoneLeftOut;
                    expectSame("a zone that cannot fail", zone, Call{0, zone.value, {}}, c);
                }
                raised += zone.error.isEmpty() ? 0 : 1;
            }
        }
    }
    EXPECT_GT(prepared, 2500);
    EXPECT_GT(zoneLeftOut, 20000);
    EXPECT_GT(raised, 500);
}

// Whole searches on random inputs, plausible and beyond the guards: every case must end the same
// way in both, and between them the cases reach every ending.
TEST(CriticalSearch, FastAndPlainAgreeOnRandomInputs) {
    CaseMaker maker(7);
    Endings ownSteps, leftToPlain;
    int mismatches = 0;
    for (int i = 0; i < 4000 && mismatches < 10; ++i)
        mismatches += sameSearch(maker.make(i % 3 ? 0.1 : 0.0), ownSteps, leftToPlain) ? 0 : 1;

    EXPECT_GT(ownSteps.found, 1000);
    EXPECT_GT(ownSteps.walkBound, 50);
    EXPECT_GT(ownSteps.formulaFailed, 50);
    EXPECT_GT(ownSteps.raised, 50);
    EXPECT_GT(leftToPlain.trajectoryFailed, 50);
    EXPECT_GT(leftToPlain.formulaFailed, 20);
    EXPECT_GT(leftToPlain.raised, 50);
}

// An outcome flips where in some step |y| or |y| - |r| crosses 0.1, or s crosses the midpoint or
// x0. Bisecting an input down to two neighbouring doubles that end the plain search differently
// gives cases whose intermediate values lie within a rounding of such a decision: there a single
// bit rounded differently would change the outcome of one search and not of the other.
TEST(CriticalSearch, FastAndPlainAgreeAtTheDecisions) {
    // The sequence of halvings, read from where the last midpoint lies between x0 / 4 and x0.
    const auto decisions = [](const SearchCase& c) {
        const Outcome o = run(criticalDistanceSearchPlain, c);
        return std::tuple(o.raised, o.result, o.calcStatus, std::llround(std::ldexp(o.xk / c.x0, 24)));
    };
    using Setter = void (*)(SearchCase&, double);
    const Setter inputs[] = {
        [](SearchCase& c, double b) { c.outlet.buoyancy = b; }, [](SearchCase& c, double dT) { c.dT = dT; },
        [](SearchCase& c, double vlim) { c.vlim = vlim; }, [](SearchCase& c, double x0) { c.x0 = x0; }};
    const auto valueOf = [](const SearchCase& c, int input) {
        const double values[] = {c.outlet.buoyancy, c.dT, c.vlim, c.x0};
        return values[input];
    };
    const auto bits = [](double x) {
        std::uint64_t b;
        std::memcpy(&b, &x, sizeof b);
        return b;
    };
    const auto fromBits = [](std::uint64_t b) {
        double x;
        std::memcpy(&x, &b, sizeof x);
        return x;
    };

    CaseMaker maker(99);
    Endings ownSteps, leftToPlain;
    int boundaries = 0, mismatches = 0;
    for (int base = 0; base < 200 && boundaries < 40 && mismatches < 10; ++base) {
        const int input = base % 4;
        SearchCase c = maker.make(0.0);
        const double start = valueOf(c, input);
        double previous = start / 4.0;
        inputs[input](c, previous);
        const auto before = decisions(c);
        for (int k = 1; k <= 24; ++k) {
            const double value = start * std::exp2((k - 12) / 6.0);
            inputs[input](c, value);
            const auto after = decisions(c);
            if (after == before) {
                previous = value;
                continue;
            }
            // Positive doubles order as their bit patterns do.
            std::uint64_t lo = bits(previous), hi = bits(value);
            while (hi - lo > 1) {
                const std::uint64_t m = lo + (hi - lo) / 2;
                inputs[input](c, fromBits(m));
                (decisions(c) == before ? lo : hi) = m;
            }
            ++boundaries;
            for (const std::uint64_t b : {lo - 1, lo, hi, hi + 1}) {
                inputs[input](c, fromBits(b));
                mismatches += sameSearch(c, ownSteps, leftToPlain) ? 0 : 1;
            }
            break;
        }
    }
    EXPECT_GE(boundaries, 40);

    // x0 = 8 makes the step 0.08 and the first midpoint 5, so s lands within 1e-7 of the midpoints.
    for (int k = 0; k < 100 && mismatches < 10; ++k) {
        SearchCase c = maker.make(0.0);
        c.x0 = k % 2 ? 8.0 : 4.0;
        mismatches += sameSearch(c, ownSteps, leftToPlain) ? 0 : 1;
    }
    EXPECT_GT(ownSteps.found, 100);
}

// The two iteration limits: a level isothermal jet never drops and runs into the 120-step bound,
// and with x0 = 1e16 the bracket is still 13 m wide after 49 halvings, so a found distance means
// the search stopped at its 50th.
TEST(CriticalSearch, FastAndPlainAgreeAtTheIterationLimits) {
    CaseMaker maker(3);
    Endings ownSteps, leftToPlain;
    SearchCase level = maker.make(0.0);
    level.outlet.angle = 0.0;
    level.dT = 0.0;
    EXPECT_TRUE(sameSearch(level, ownSteps, leftToPlain));
    EXPECT_EQ(ownSteps.walkBound, 1);

    // y = 0.1 u and v = 1e17 / w: the zone stays wide enough to end every walk after the drop.
    SearchCase far;
    far.outlet.angle = 0.0;
    far.outlet.buoyancy = 1.0;
    far.outlet.trajExp = 1.0;
    far.outlet.decayK = 1e16;
    far.outlet.decayB = 2.0;
    far.outlet.decayA = 1.0;
    far.outlet.zoneCoef = -1.0;
    far.outlet.spread = 90.0;
    far.outlet.widthTerm = 0.2;
    far.n = 1;
    far.dT = 10.0;
    far.vlim = 0.2;
    far.V = 10.0;
    far.x0 = 1e16;
    EXPECT_TRUE(sameSearch(far, ownSteps, leftToPlain));
    EXPECT_EQ(ownSteps.found, 1);
}

// Random ceiling rooms and outlets through the evaluation: the distance it stores is the plain
// search's to the bit, and both searches agree on the evaluation's own inputs.
TEST(CriticalSearch, EvaluationOfRandomRoomsStoresThePlainResult) {
    CaseMaker maker(1234);
    Endings ownSteps, leftToPlain;
    int searched = 0, mismatches = 0;
    for (int i = 0; i < 1500 && mismatches < 10; ++i) {
        auto state = test::ceilingDiffuserState("01");
        CalculationRecord& rec = state->record;
        const SearchCase c = maker.make(i % 4 ? 0.0 : 0.05);
        const double oddFree[] = {c.outlet.angle,  c.outlet.buoyancy, c.outlet.trajExp,
                                  c.outlet.decayA, c.outlet.zoneCoef, c.outlet.spread};
        if (!std::isfinite(oddFree[0] + oddFree[1] + oddFree[2] + oddFree[3] + oddFree[4] + oddFree[5]))
            continue; // the evaluation refuses a record holding a non-finite real
        rec.outlet.angle = c.outlet.angle;
        rec.outlet.buoyancy = c.outlet.buoyancy;
        rec.outlet.trajExp = c.outlet.trajExp;
        rec.outlet.decayK = c.outlet.decayK;
        rec.outlet.decayB = c.outlet.decayB;
        rec.outlet.decayA = c.outlet.decayA;
        rec.outlet.zoneCoef = c.outlet.zoneCoef;
        rec.outlet.spread = c.outlet.spread;
        rec.outlet.widthTerm = c.outlet.widthTerm;
        rec.outlet.detachC = maker.uniform(0.05, 3.0);
        rec.outlet.detachFlowExp = maker.uniform(0.5, 1.5);
        rec.outlet.detachTempExp = maker.uniform(0.3, 1.5);
        rec.outlet.vMin = maker.uniform(10.0, 100.0);
        rec.outlet.vMax = rec.outlet.vMin + maker.uniform(10.0, 1000.0);
        rec.totalFlow = maker.uniform(100.0, 8000.0);
        rec.roomTemp = maker.uniform(20.0, 30.0);
        rec.supplyTemp = rec.roomTemp - maker.uniform(-1.0, 14.0);
        rec.velocityLimit = c.vlim;
        rec.maxSoundLevel = maker.uniform(25.0, 50.0);
        rec.criticalDistance = maker.uniform(0.0, 10.0);

        HorizontalResult r;
        try {
            r = evaluateHorizontal(rec, false);
        } catch (const Error&) {
            continue; // a fault the plain search raises alike is covered above
        }
        if (r.xKrit == 0.0)
            continue;
        ++searched;
        SearchCase fromRoom = c;
        fromRoom.outlet = rec.outlet;
        fromRoom.n = rec.slotCount;
        fromRoom.dT = r.working.dT;
        fromRoom.vlim = r.working.vlim;
        fromRoom.V = r.working.V;
        fromRoom.x0 = r.xKrit;
        mismatches += sameSearch(fromRoom, ownSteps, leftToPlain) ? 0 : 1;

        double xk = rec.criticalDistance;
        int status = 0;
        try {
            criticalDistanceSearchPlain(rec.outlet, rec.slotCount, r.working.dT, r.working.vlim, r.working.V,
                                        r.xKrit, xk, status);
        } catch (const Error&) {
            ADD_FAILURE() << "the evaluation passed where the plain search raises: " << fromRoom.describe();
        }
        if (!sameBits(xk, r.criticalDistance)) {
            ++mismatches;
            ADD_FAILURE() << "stored " << hex(r.criticalDistance) << ", plain " << hex(xk) << "\n"
                          << fromRoom.describe();
        }
    }
    EXPECT_GT(searched, 800);
    EXPECT_GT(ownSteps.found, 500);
}
