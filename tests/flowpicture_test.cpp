// The flow picture's display list and the flow simulation window's input rules, without a window.
#include "fixtures/calcfixture.h"
#include "flowsim/flowpicture.h"
#include "flowsim/flowsimmodel.h"
#include "tests/support/scripted.h"
#include "tests/support/testfiles.h"

#include <QTemporaryDir>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace fyl;
using namespace fyl::picturecolours;

namespace {

template <class T> std::vector<T> all(const FlowPicture& picture) {
    std::vector<T> found;
    for (const PicturePrimitive& p : picture.primitives)
        if (const T* t = std::get_if<T>(&p))
            found.push_back(*t);
    return found;
}

// Two outlets 4 m apart, 3 m from either wall, in a room 3 m high: kx = 350 / 10 = 35 and
// ky = 270 / 3 = 90 pixels per metre; the centre line at 10 + trunc(5 * 35) = 185.
FlowPictureInputs twoOutlets() {
    FlowPictureInputs in;
    in.outlets = 2;
    in.spacing = in.s = 4.0;
    in.wallLeft = in.wallRight = 3.0;
    in.W = 10.0;
    in.H = in.mountingHeight = 3.0;
    in.headHeight = 1.8;
    return in;
}

bool isRedZone(const PolygonPrimitive& p) {
    return p.brush == kRed;
}

} // namespace

TEST(FlowPicture, OneOutletDrawsNoSpacingAndOneCircle) {
    CalculationRecord rec{};
    rec.outletCount = 1;
    rec.spacing = 4.0;
    rec.wallLeft = 2.0;
    rec.wallRight = 3.0;
    rec.roomHeight = rec.mountingHeight = 3.0;
    rec.horizontalJet = 1;
    const FlowPictureInputs in = flowPictureInputs(rec, false);
    storePictureInputs(in, rec);
    EXPECT_EQ(rec.spacing, 0.0);
    EXPECT_EQ(rec.sectionWidth, 5.0);
    EXPECT_EQ(rec.pictureOutletCount, 1.0);

    // kx = 70: centre at 10 + trunc(2 * 70) = 150; the outlet 3 m up from the floor sits on the ceiling.
    const auto circles = all<EllipsePrimitive>(drawFlowPicture(in, {}));
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].left, 144);
    EXPECT_EQ(circles[0].top, 74);
    EXPECT_EQ(circles[0].right, 156);
    EXPECT_EQ(circles[0].bottom, 86);
    EXPECT_EQ(circles[0].brush, kYellow);
    EXPECT_EQ(circles[0].pen.colour, kBlue);
}

TEST(FlowPicture, ProportionalHeightMovesTheFloorAndPaintsTheBand) {
    FlowPictureInputs in = twoOutlets();
    in.proportional = true; // ky = 270 / 10 = 27: floor at 80 + trunc(3 * 27) = 161
    const FlowPicture picture = drawFlowPicture(in, {});
    EXPECT_EQ(picture.floorY, 161);
    bool band = false;
    for (const PolygonPrimitive& p : all<PolygonPrimitive>(picture)) {
        if (p.brush == kWindow) {
            band = true;
            EXPECT_EQ(p.points, (std::vector<Pixel>{{10, 171}, {360, 171}, {360, 350}, {10, 350}}));
        }
    }
    EXPECT_TRUE(band);
    const auto lines = all<LinePrimitive>(picture);
    const LinePrimitive floor{{360, 161}, {10, 161}, {kBlack, 3}};
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const LinePrimitive& l) {
        return l.from == floor.from && l.to == floor.to && l.pen == floor.pen;
    }));
}

// A room typed 100 km high: the floor is held to the pixel limit, and the floor-anchored grid must
// still stop above the image instead of adding a line per metre at its top edge.
TEST(FlowPicture, AVeryHighSectionDrawsOnlyTheGridLinesOnTheImage) {
    for (bool proportional : {false, true}) {
        FlowPictureInputs in = twoOutlets();
        in.H = in.mountingHeight = 1e5;
        in.proportional = proportional;
        const FlowPicture picture = drawFlowPicture(in, {});
        int grid = 0;
        for (const LinePrimitive& l : all<LinePrimitive>(picture)) {
            if (l.pen == Pen{kBlack, 1, PenStyle::Solid} && l.from.y == l.to.y) {
                ++grid;
                EXPECT_TRUE(l.from.y >= 0 && l.from.y <= FlowPicture::kHeight) << l.from.y;
            }
        }
        EXPECT_LE(grid, FlowPicture::kHeight / 27 + 2) << proportional; // ky = 27 when proportional
        EXPECT_GE(grid, 1) << proportional;
    }
}

TEST(FlowPicture, GridsAndZonesInTheirOrder) {
    OutletContour failed;
    failed.error = 3;
    OutletContour second;
    // Second outlet, axis at 3 + 4 m: (0.6, 1) -> 10 + round(7.6 * 35) = 276, 80 + 90; 4 m right
    // of it lies beyond the right wall and is clamped to 10 + 350; the repeated first point is
    // not drawn.
    second.contour.polygons = {{{0.6f, 1.0f}, {4.0f, 0.5f}, {-1.0f, 2.0f}, {0.6f, 1.0f}}};
    const FlowPicture picture = drawFlowPicture(twoOutlets(), {failed, second});

    std::vector<int> horizontalGrid, verticalGrid;
    std::size_t zoneAt = 0, firstVertical = 0, lastHorizontal = 0;
    for (std::size_t i = 0; i < picture.primitives.size(); ++i) {
        if (const auto* p = std::get_if<PolygonPrimitive>(&picture.primitives[i]);
            p != nullptr && isRedZone(*p)) {
            EXPECT_EQ(zoneAt, 0u) << "one zone only";
            zoneAt = i;
            EXPECT_EQ(p->points, (std::vector<Pixel>{{276, 170}, {360, 125}, {220, 260}}));
        }
        const auto* l = std::get_if<LinePrimitive>(&picture.primitives[i]);
        if (l == nullptr || l->pen != Pen{kBlack, 1})
            continue;
        if (l->from.y == l->to.y) {
            horizontalGrid.push_back(l->from.y);
            lastHorizontal = i;
        } else {
            verticalGrid.push_back(l->from.x);
            firstVertical = firstVertical ? firstVertical : i;
        }
    }
    // Floor-anchored every trunc(90) pixels under the zones; centre-anchored every trunc(35)
    // pixels over them, the red centre line at 185 left visible.
    EXPECT_EQ(horizontalGrid, (std::vector<int>{260, 170, 80}));
    EXPECT_EQ(verticalGrid, (std::vector<int>{150, 115, 80, 45, 220, 255, 290, 325}));
    EXPECT_LT(lastHorizontal, zoneAt);
    EXPECT_GT(firstVertical, zoneAt);
    EXPECT_EQ(picture.contourError, 0);
}

TEST(FlowPicture, ContourRequestsAndFailedRoutines) {
    CalculationRecord rec{};
    rec.outletCount = 5;
    rec.spacing = 4.0;
    rec.wallLeft = 1.0;
    rec.wallRight = 2.0;
    rec.roomHeight = 3.5;
    rec.mountingHeight = 3.0;
    rec.roomTemp = 22.0;
    rec.supplyTemp = 16.0;
    rec.horizontalJet = 1;
    const auto requests = pictureContourInputs(flowPictureInputs(rec, false), rec);
    ASSERT_EQ(requests.size(), 2u);
    const auto& left = std::get<HorizontalContourInput>(requests[0]);
    const auto& right = std::get<HorizontalContourInput>(requests[1]);
    EXPECT_EQ(left.leftType, BoundaryType::Wall);
    EXPECT_EQ(left.leftDistance, 1.0);
    EXPECT_EQ(left.rightType, BoundaryType::Symmetry);
    EXPECT_EQ(left.rightDistance, 2.0);
    EXPECT_EQ(right.leftType, BoundaryType::Symmetry);
    EXPECT_EQ(right.rightType, BoundaryType::Wall);
    EXPECT_EQ(right.rightDistance, 2.0);
    EXPECT_EQ(left.dT, 6.0);
    EXPECT_EQ(left.y0, 0.5);

    rec.horizontalJet = 0;
    rec.verticalJet = 1;
    const auto cooling = pictureContourInputs(flowPictureInputs(rec, false), rec);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(cooling[0])); // cold air: no zone
    rec.supplyTemp = 30.0;
    const auto heating = pictureContourInputs(flowPictureInputs(rec, false), rec);
    EXPECT_EQ(std::get<VerticalContourInput>(heating[0]).rightDistance, 6.0);
    EXPECT_EQ(std::get<VerticalContourInput>(heating[1]).leftDistance, 5.0);

    // A point that is not finite fails the routine, so it never reaches a pixel.
    const auto zones = computeContours(heating, [](const ContourRequest&, Contour& c) {
        c.polygons = {{{0.0f, 0.0f}, {std::numeric_limits<float>::quiet_NaN(), 1.0f}, {0.0f, 0.0f}}};
        return 0;
    });
    EXPECT_EQ(zones[0].error, -1);
    EXPECT_TRUE(zones[0].contour.polygons.empty());
}

TEST(FlowPicture, ZeroSectionDrawsTheEmptySection) {
    OutletContour zone;
    zone.contour.polygons = {{{0.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}, {0.0f, 0.0f}}};
    FlowPictureInputs narrow = twoOutlets();
    narrow.outlets = 1;
    narrow.spacing = narrow.s = narrow.wallLeft = narrow.wallRight = narrow.W = 0.0;
    FlowPictureInputs flat = twoOutlets();
    flat.H = 0.0;
    for (FlowPictureInputs in : {narrow, flat}) {
        for (bool proportional : {false, true}) {
            in.proportional = proportional;
            const FlowPicture picture = drawFlowPicture(in, {zone, zone});
            EXPECT_EQ(picture.floorY, 350);
            EXPECT_TRUE(all<EllipsePrimitive>(picture).empty());
            for (const PolygonPrimitive& p : all<PolygonPrimitive>(picture))
                EXPECT_FALSE(isRedZone(p));
            EXPECT_GE(all<LinePrimitive>(picture).size(), 4u); // ceiling, walls and floor
        }
    }
}

namespace {

// The ceiling diffuser of the evaluation tests in a room 10 m wide and 12 m long, eight outlets.
struct ModelFixture {
    std::unique_ptr<test::CalcState> calc = test::ceilingDiffuserState("01");
    test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    FlowSimModel model{{calc->record, calc->flags, calc->working, calc->calcStatus, calc->texts, dialogs}};

    ModelFixture() {
        const QString path = dir.filePath(QStringLiteral("Fyltext.txt"));
        test::writeAnsiLines(path, test::textTableLines(200, [](int n) {
                                 return n == 185 ? QStringLiteral("zu eng") : QStringLiteral("T%1").arg(n);
                             }));
        calc->texts.load(path);
        calc->record.roomWidth = 10.0;
        calc->record.roomLength = 12.0;
        calc->record.spacing = 4.0;
        calc->record.flowPictureShown = 1;
    }
};

} // namespace

TEST(FlowSimModel, SpacingTypedBeyondTheSliderStopsAtTenMetres) {
    ModelFixture f;
    const int position = FlowSimModel::editPosition(QStringLiteral("12"));
    EXPECT_EQ(position, -100);
    const FlowSimOutcome out = f.model.ScrollBar2Change(position);
    EXPECT_EQ(f.calc->record.spacing, 10.0);
    ASSERT_TRUE(out.results);
    EXPECT_EQ(*out.results->form4[form4::Edit2].text, "10");
    EXPECT_TRUE(out.redraw);
    EXPECT_TRUE(f.calc->flags.spacingSetInFlowPicture);
    EXPECT_EQ(FlowSimModel::textInUse(QStringLiteral("12"), -100), QStringLiteral("10"));
}

TEST(FlowSimModel, RoomWidthSpreadsTheWallsAndTheFallbackTakesTheWidth) {
    ModelFixture f;
    const FlowSimOutcome out = f.model.CheckBox1Click(true);
    EXPECT_EQ(f.calc->record.wallLeft, 3.0);
    EXPECT_EQ(f.calc->record.wallRight, 3.0);
    EXPECT_EQ(*out.results->form4[form4::Edit3].text, "3");
    EXPECT_EQ(out.bar3, -30);
    f.model.picture(nullptr);
    EXPECT_EQ(f.calc->record.sectionWidth, 10.0);

    // With the room length ticked, 10 m left of a 4 m spacing leaves -2 m of a 12 m length:
    // the right distance becomes 0 and the left one comes from the width, 10 - 4 = 6 m.
    f.model.CheckBox2Click(true);
    EXPECT_FALSE(f.model.checkBox1());
    const FlowSimOutcome fallback = f.model.ScrollBar3Change(-100);
    EXPECT_EQ(f.dialogs.texts(test::ScriptedDialogs::Shown::Information), QStringList{"zu eng"});
    EXPECT_EQ(f.calc->record.wallLeft, 6.0);
    EXPECT_EQ(f.calc->record.wallRight, 0.0);
    EXPECT_EQ(*fallback.results->form4[form4::Edit3].text, "6,00");
    EXPECT_EQ(fallback.bar3, -60);
    EXPECT_EQ(fallback.bar4, 0);
}
