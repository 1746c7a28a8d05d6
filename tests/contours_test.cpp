// The contour rules of the flow picture: tracing steps, restarts, closing points, limits and
// failures, with coefficients whose formulas reduce to short hand computations. Core group.
#include "flowsim/contours.h"

#include "fixtures/calcfixture.h"
#include "support/scripted.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace fyl;
using fyl::test::ScriptedDialogs;

namespace {

// The evaluation's ceiling diffuser without its width term: K V = 0.032 * 93.75 = 3 and exponent 1
// make the centre-line velocity 3 / run; spread 90° and profile -1 make the zone half-width at path s
// s * sqrt(ln(v / vlim)) * tan 22.5°. Angle 0 and dT 0 (the inputs below): the jet never drops.
OutletRecord simpleJet() {
    OutletRecord o = fyl::test::ceilingDiffuserState()->record.outlet;
    o.widthTerm = 0.0;
    return o;
}

HorizontalContourInput ceilingJet(double right, double left, double roomHeight) {
    HorizontalContourInput in;
    in.V = 93.75;
    in.vlim = 0.2;
    in.roomTemp = 26.0;
    in.roomHeight = roomHeight;
    in.rightDistance = right;
    in.leftDistance = left;
    return in;
}

void expectClosed(const Contour& contour) {
    for (const auto& polygon : contour.polygons) {
        ASSERT_GE(polygon.size(), 2u);
        EXPECT_EQ(polygon.back().x, polygon.front().x);
        EXPECT_EQ(polygon.back().y, polygon.front().y);
    }
}

} // namespace

TEST(VerticalJetContour, RestartsWithTenTimesTheStepAfter125PointsAndMirrors) {
    // 3 / y stays above 0.2 m/s down to 15 m: 0.05 m steps would need 200 points to the 10 m floor.
    VerticalContourInput in{93.75, 0.2, 10.0, 10.0, 2.0, 2.0, 1};
    ScriptedDialogs dialogs;
    Contour contour;
    ASSERT_EQ(VerticalJetContour(simpleJet(), in, contour, dialogs), 0);
    ASSERT_EQ(contour.polygons.size(), 2u);
    const auto& left = contour.polygons[0];
    const auto& right = contour.polygons[1];
    // 20 points of 0.5 m to the floor, the axis point there, the outlet and the first point again.
    ASSERT_EQ(right.size(), 23u);
    ASSERT_EQ(left.size(), right.size());
    // At 0.5 m: v = 6, half-width 0.5 * sqrt(ln 30) * tan 22.5° = 0.381953.
    EXPECT_NEAR(right[0].x, 0.381953, 1e-5);
    EXPECT_FLOAT_EQ(right[0].y, 0.5f);
    EXPECT_FLOAT_EQ(right[19].y, 10.0f);
    EXPECT_EQ(right[20].x, 0.0f);
    EXPECT_FLOAT_EQ(right[20].y, 10.0f);
    EXPECT_EQ(right[21].x, 0.0f);
    EXPECT_EQ(right[21].y, 0.0f);
    for (std::size_t i = 0; i < right.size(); ++i) {
        EXPECT_EQ(left[i].x, -right[i].x);
        EXPECT_EQ(left[i].y, right[i].y);
    }
    expectClosed(contour);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(VerticalJetContour, FailingFormulaShowsBerechnungsfehlerAndLeavesNoOutline) {
    OutletRecord o = simpleJet();
    o.zoneCoef = 0.0; // the zone width degenerates
    VerticalContourInput in{93.75, 0.2, 3.0, 2.0, 1.0, 1.0, 1};
    ScriptedDialogs dialogs;
    Contour contour;
    contour.polygons.push_back({ContourPoint{1.0f, 1.0f}});
    EXPECT_NE(VerticalJetContour(o, in, contour, dialogs), 0);
    EXPECT_TRUE(contour.polygons.empty());
    EXPECT_EQ(dialogs.texts(ScriptedDialogs::Shown::Information),
              QStringList{QStringLiteral("Berechnungsfehler")});
}

TEST(HorizontalJetContour, SidesWithinOneCentimetreGetNoPointsAndTheUpperEdgeStopsAtTheRoomHeight) {
    Contour contour;
    ASSERT_EQ(HorizontalJetContour(simpleJet(), ceilingJet(0.0099, 0.005, 0.5), contour), 0);
    EXPECT_TRUE(contour.polygons.empty());

    ASSERT_EQ(HorizontalJetContour(simpleJet(), ceilingJet(1.0, 0.0099, 0.5), contour), 0);
    ASSERT_FALSE(contour.polygons.empty());
    for (const auto& polygon : contour.polygons)
        for (const ContourPoint& p : polygon)
            EXPECT_GE(p.x, 0.0f);
    // Ceiling part in 0.02 m steps: 51 upper points, 51 lower, the first again. At 1 m the zone
    // reaches sqrt(ln 15) * tan 22.5° = 0.68 m below the ceiling, more than the 0.5 m room.
    const auto& ceiling = contour.polygons[0];
    ASSERT_EQ(ceiling.size(), 103u);
    EXPECT_FLOAT_EQ(ceiling[50].x, 1.0f);
    EXPECT_EQ(ceiling[50].y, 0.5f);
    EXPECT_EQ(ceiling[51].y, 0.0f);
    expectClosed(contour);
}

TEST(HorizontalJetContour, BoundaryPartIsMirroredToTheBoundaryAndCappedAtTheRoomHeight) {
    // The ceiling part ends at 1 m with path 1 m, depth 0 and angle 0; the boundary part steps 2 / 50.
    // Wall: v = 3 / (0.04 + 1), w = 1.04 * sqrt(ln(v / 0.2)) * tan 22.5° = 0.703750.
    // Symmetry plane, weight 2: v = 3 / (2 * 0.04 + 1), w = 0.698756.
    struct Case {
        BoundaryType type;
        double x;
    };
    for (const Case& c :
         {Case{BoundaryType::Wall, 1.0 - 0.703750}, Case{BoundaryType::Symmetry, 1.0 - 0.698756}}) {
        HorizontalContourInput in = ceilingJet(1.0, 0.0, 2.0);
        in.rightType = c.type;
        Contour contour;
        ASSERT_EQ(HorizontalJetContour(simpleJet(), in, contour), 0);
        ASSERT_GE(contour.polygons.size(), 2u);
        const auto& down = contour.polygons[1];
        ASSERT_GE(down.size(), 5u);
        EXPECT_NEAR(down[0].x, c.x, 1e-5);
        EXPECT_FLOAT_EQ(down[0].y, 0.04f);
        // 3 / 3 m/s at the floor is still fast: the last point lies past 2 m and is held at 2 m.
        const std::size_t n = down.size();
        EXPECT_EQ(down[n - 4].y, 2.0f);
        EXPECT_EQ(down[n - 3].x, 1.0f);
        EXPECT_EQ(down[n - 3].y, 2.0f);
        EXPECT_EQ(down[n - 2].x, 1.0f);
        EXPECT_EQ(down[n - 2].y, 0.0f);
        expectClosed(contour);
    }
}

TEST(HorizontalJetContour, DensityFallsToTenWhenFiftyWouldPassFourHundredPoints) {
    // At density 50 each side has 103 ceiling, 54 boundary and 53 floor points: 420 in all. At 10:
    // 11 + 11 + 1 ceiling; 11 boundary steps of 0.25 m to 2.75 m, past the 2.5 m room, + 3; 10 floor
    // steps + 3.
    Contour contour;
    ASSERT_EQ(HorizontalJetContour(simpleJet(), ceilingJet(2.5, 2.5, 2.5), contour), 0);
    std::vector<std::size_t> sizes;
    int total = 0;
    for (const auto& polygon : contour.polygons) {
        sizes.push_back(polygon.size());
        total += static_cast<int>(polygon.size());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{23, 14, 13, 23, 14, 13}));
    EXPECT_LE(total, Contour::kMaxPoints);
    // The left side is the right one negated.
    EXPECT_FLOAT_EQ(contour.polygons[4][0].x, -contour.polygons[1][0].x);
    EXPECT_EQ(contour.polygons[1][10].y, 2.5f);
    expectClosed(contour);
}

TEST(HorizontalJetContour, ARoomTooLowForItsStepsEndsWithoutOutline) {
    // 4.9e-324 m divided into 50 steps is 0: the boundary part never got deeper than the room.
    Contour contour;
    EXPECT_NE(HorizontalJetContour(simpleJet(), ceilingJet(1.0, 1.0, 4.9e-324), contour), 0);
    EXPECT_TRUE(contour.polygons.empty());
}

TEST(HorizontalJetContour, FailingFormulaGivesAnErrorAndNoPolygons) {
    OutletRecord o = simpleJet();
    o.zoneCoef = 0.0;
    Contour contour;
    EXPECT_NE(HorizontalJetContour(o, ceilingJet(2.0, 2.0, 3.0), contour), 0);
    EXPECT_TRUE(contour.polygons.empty());
    // A velocity limit of 0 has no logarithm.
    HorizontalContourInput in = ceilingJet(2.0, 2.0, 3.0);
    in.vlim = 0.0;
    EXPECT_NE(HorizontalJetContour(simpleJet(), in, contour), 0);
    EXPECT_TRUE(contour.polygons.empty());
}
