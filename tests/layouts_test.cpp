// Layouts of outlets in a room and the order of the suggestion list: even grids, rows of slot
// outlets and wall rows closing on the room, and each step of the order deciding between two
// choices; on the demo catalogue, rankings of random rooms whose feasible suggestions keep every
// check they list, and whose head the search for the head alone finds.
#include "calc/judgement.h"
#include "calc/outletlayout.h"
#include "catalogue/loaders.h"
#include "frame/record.h"
#include "selection/suggestions.h"
#include "tests/support/testfiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <tuple>

using namespace fyl;

TEST(OutletLayouts, GridsRowsAndWallRowsCloseOnTheRoom) {
    struct Case {
        LayoutKind kind;
        double width, length;
        int count;
        double outletLength;
        int layouts; // how many fit
    };
    const Case cases[] = {
        {LayoutKind::Grid, 6.0, 8.0, 6, 0.0, 4},     // 1×6, 2×3, 3×2, 6×1
        {LayoutKind::Grid, 6.0, 8.0, 7, 0.0, 2},     // a prime count: one row either way
        {LayoutKind::Grid, 5.0, 8.0, 1, 0.0, 1},     // one outlet in the middle
        {LayoutKind::SlotRows, 6.0, 8.0, 4, 1.5, 6}, // 1, 2 or 4 rows along either side
        {LayoutKind::SlotRows, 3.5, 4.5, 3, 2.0, 2}, // 3 rows along either side; no row of two fits
        {LayoutKind::WallRow, 6.0, 8.0, 4, 1.5, 2},  // 6 m of slot at either wall
        {LayoutKind::WallRow, 6.0, 8.0, 5, 1.5, 1},  // 7,5 m: only along the 8 m wall
        {LayoutKind::WallRow, 6.0, 8.0, 3, 0.0, 2},  // wall grilles: evenly along either wall
    };
    for (const Case& c : cases) {
        const std::vector<OutletLayout> layouts =
            outletLayouts(c.kind, c.width, c.length, c.count, c.outletLength);
        EXPECT_EQ(static_cast<int>(layouts.size()), c.layouts) << int(c.kind) << " " << c.count;
        for (const OutletLayout& l : layouts)
            EXPECT_TRUE(layoutCloses(l, c.width, c.length, c.count, c.outletLength))
                << int(c.kind) << " " << l.rows << "x" << l.columns;
    }
    // The office grid of six: 2 across and 3 along, each outlet in the middle of 3 × 2,67 m.
    const std::vector<OutletLayout> office = outletLayouts(LayoutKind::Grid, 6.0, 8.0, 6);
    const auto grid = std::find_if(office.begin(), office.end(),
                                   [](const OutletLayout& l) { return l.columns == 2 && l.rows == 3; });
    ASSERT_NE(grid, office.end());
    EXPECT_DOUBLE_EQ(*grid->spacingWidth, 3.0);
    EXPECT_DOUBLE_EQ(*grid->wallWidth, 1.5);
    EXPECT_DOUBLE_EQ(*grid->spacingLength, 8.0 / 3.0);
    EXPECT_DOUBLE_EQ(*grid->wallLength, 4.0 / 3.0);
    EXPECT_EQ(layoutText(*grid), QStringLiteral("2 × 3, 3,00 / 2,67 m"));
    const LayoutDistances d = layoutDistances(*grid);
    EXPECT_DOUBLE_EQ(*d.spacing, 8.0 / 3.0);
    EXPECT_DOUBLE_EQ(*d.wall, 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(d.travel, 1.5); // half the 3 m spacing, or the 1,5 m to the side walls
    // A wall row has no wall behind it; its jets travel the room's depth to the opposite wall.
    const OutletLayout wall = outletLayouts(LayoutKind::WallRow, 6.0, 8.0, 4, 1.5).front();
    EXPECT_DOUBLE_EQ(*wall.depth, 6.0);
    EXPECT_DOUBLE_EQ(*layoutDistances(wall).wall, 6.0);
    EXPECT_FALSE(layoutDistances(wall).spacing);
    // A layout that does not close is told apart.
    OutletLayout off = *grid;
    off.wallWidth = 1.4;
    EXPECT_FALSE(layoutCloses(off, 6.0, 8.0, 6, 0.0));
}

namespace {

JudgementOrder suitable() {
    JudgementOrder k;
    k.feasible = true;
    k.evaluated = true;
    k.categoryMet = true;
    k.count = 4;
    k.dpInside = true;
    k.soundBand = 2;
    k.rating = 15.0;
    k.cellAspect = 1.2;
    return k;
}

} // namespace

// Each step of the order decides between two choices that agree in every step before it, and
// outweighs every step after it.
TEST(SuggestionOrder, EachStepDecides) {
    struct Step {
        const char* name;
        void (*better)(JudgementOrder&);
        void (*worse)(JudgementOrder&);
    };
    const Step steps[] = {
        {"suitable first", [](JudgementOrder& k) { k.count = 9; },
         [](JudgementOrder& k) { k.feasible = false; }},
        {"fewer failing checks",
         [](JudgementOrder& k) {
             k.feasible = false;
             k.failed = 1;
             k.count = 9;
         },
         [](JudgementOrder& k) {
             k.feasible = false;
             k.failed = 2;
         }},
        {"target category met", [](JudgementOrder& k) { k.count = 9; },
         [](JudgementOrder& k) { k.categoryMet = false; }},
        {"fewer pieces",
         [](JudgementOrder& k) {
             k.count = 3;
             k.dpInside = false;
             k.soundBand = 0;
         },
         [](JudgementOrder&) {}},
        {"fewer metres of slot",
         [](JudgementOrder& k) {
             k.slotMetres = 4.8;
             k.dpInside = false;
         },
         [](JudgementOrder& k) { k.slotMetres = 6.0; }},
        {"pressure drop inside 20 … 60 Pa", [](JudgementOrder& k) { k.soundBand = 0; },
         [](JudgementOrder& k) { k.dpInside = false; }},
        {"sound margin of the outlets together, in 3-dB bands", [](JudgementOrder& k) { k.rating = 19.0; },
         [](JudgementOrder& k) { k.soundBand = 1; }},
        {"lower draught rating",
         [](JudgementOrder& k) {
             k.rating = 11.0;
             k.cellAspect = 2.0;
         },
         [](JudgementOrder& k) { k.rating = 12.0; }},
        {"squarer cells", [](JudgementOrder& k) { k.cellAspect = 1.0; }, [](JudgementOrder&) {}},
    };
    for (const Step& step : steps) {
        JudgementOrder a = suitable(), b = suitable();
        step.better(a);
        step.worse(b);
        EXPECT_TRUE(judgedBefore(a, b)) << step.name;
        EXPECT_FALSE(judgedBefore(b, a)) << step.name;
    }
}

// On the demo catalogue: for random rooms, every suitable suggestion's layout closes on the room
// within 1 mm and holds every check it lists, and the list is in the documented order.
TEST(SuggestionLayouts, SuitableSuggestionsCloseOnTheRoomAndHoldTheirChecks) {
    const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
    Catalogue catalogue;
    LoadCatalogue(catalogue, program);
    TextTable texts;
    texts.load(program + QStringLiteral("/Fyltext.txt"));
    Folders folders;
    folders.program = program;
    std::mt19937 rng(2121);
    auto u = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    int suitableSeen = 0;
    for (int i = 0; i < test::randomCases(200); ++i) {
        auto rec = std::make_unique<CalculationRecord>();
        std::memset(rec.get(), 0, sizeof *rec);
        ResetRecord(*rec);
        rec->roomWidth = std::round(u(3.0, 20.0) * 10) / 10;
        rec->roomLength = std::round(u(rec->roomWidth, 30.0) * 10) / 10;
        rec->roomHeight = std::round(u(2.6, 8.0) * 10) / 10;
        rec->floorArea = rec->roomWidth * rec->roomLength;
        rec->roomVolume = rec->floorArea * rec->roomHeight;
        rec->totalFlow = std::round(rec->roomVolume * u(2.0, 8.0));
        rec->mountingHeight = rec->roomHeight;
        rec->roomTemp = std::round(u(18.0, 27.0));
        rec->supplyTemp = rec->roomTemp - std::round(u(-8.0, 8.0));
        rec->maxSoundLevel = std::round(u(30.0, 50.0));
        const std::vector<Suggestion> list = suggestOutlets(catalogue, *rec, texts, folders);
        if (i % 4 == 0 && !list.empty()) {
            // The head alone, found with the search cut short by the best choice so far, is the
            // whole ranking's head.
            const std::optional<Suggestion> head = bestSuggestion(catalogue, *rec, texts, folders);
            ASSERT_TRUE(head);
            const Suggestion& f = list.front();
            EXPECT_EQ(std::tie(head->designation, head->count, head->feasible, head->reasons, head->dp,
                               head->lwa, head->draughtRating),
                      std::tie(f.designation, f.count, f.feasible, f.reasons, f.dp, f.lwa, f.draughtRating))
                << "room " << i;
            EXPECT_EQ(head->layout ? layoutText(*head->layout) : QString(),
                      f.layout ? layoutText(*f.layout) : QString());
        }
        for (std::size_t k = 0; k < list.size(); ++k) {
            const Suggestion& s = list[k];
            SCOPED_TRACE(
                QStringLiteral("room %1, rank %2: %3").arg(i).arg(k + 1).arg(s.designation).toStdString());
            if (k > 0) {
                EXPECT_FALSE(ranksBefore(s, list[k - 1]));
            }
            if (!s.feasible)
                continue;
            ++suitableSeen;
            ASSERT_TRUE(s.layout);
            const double length = s.design == QLatin1String("0") ? 0.0 : double(*s.choice.length) / 1000.0;
            EXPECT_TRUE(layoutCloses(*s.layout, rec->roomWidth, rec->roomLength, s.count, length));
            EXPECT_FALSE(s.checks.empty());
            for (const SuggestionCheck& c : s.checks) {
                EXPECT_TRUE(c.ok) << c.text.toStdString();
                if (!c.decides)
                    continue; // outside the model's range the rating is shown, not judged
                if (c.limit && !c.lowLimit) {
                    EXPECT_TRUE(c.name == QLatin1String("spacing") ||
                                        c.name == QLatin1String("wall_distance") ||
                                        c.name == QLatin1String("detachment") ||
                                        c.name == QLatin1String("penetration") ||
                                        c.name == QLatin1String("throw_reach") ||
                                        c.name == QLatin1String("hall_height")
                                    ? c.value >= *c.limit - 1e-9
                                    : c.value <= *c.limit + 1e-9)
                        << c.text.toStdString();
                }
            }
        }
    }
    EXPECT_GT(suitableSeen, 5 * test::randomCases(200));
}
