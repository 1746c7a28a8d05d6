// Rooms worked by hand on a catalogue of the test's own, whose coefficients make every formula
// short (decay exponent 1, one slot, 1 m of slot): the suggestion, its layout and each check's
// figure against the hand calculation.
#include "catalogue/cataloguesource.h"
#include "catalogue/loaders.h"
#include "frame/record.h"
#include "selection/suggestions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace fyl;

namespace {

// One ceiling outlet AAA 100 for 60 … 200 m³/h: LWA = 20 lg V − 15,6, dp = 0,001 V²; along the
// ceiling the velocity is v = 0,004 V / (run + distance), so w min = 0,02 V − h at 0,2 m/s and
// a min twice that.
QJsonObject catalogueSource() {
    const QJsonObject coefficients{
        {"pressure_k", 0.001}, {"pressure_m", 2.0},      {"sound_a", 20.0},        {"sound_b", -15.6},
        {"decay_k", 0.004},    {"decay_b", 1.0},         {"decay_a", 1.0},         {"free_jet_f", 0.7},
        {"detach_c", 0.02},    {"detach_temp_exp", 0.5}, {"detach_flow_exp", 1.0}, {"head_coef", 0.001},
        {"head_exp", 1.0},     {"pen_coef", 0.01},       {"pen_temp_exp", 0.5},    {"pen_flow_exp", 1.0},
        {"angle", 0.0},        {"buoyancy", 5000.0},     {"traj_exp", 3.0},        {"zone_coef", -1.0},
        {"spread", 24.0},      {"width_term", 0.05},     {"value_524", 0.1}};
    const QJsonObject size{{"name", "AAA 100"},
                           {"v_min", 60},
                           {"v_max", 200},
                           {"record", QJsonObject{{"article_number", "A-100"}}},
                           {"jet_forms", QJsonObject{{"01", QJsonObject{{"third_name", "waagerecht"}}}}}};
    const QJsonObject type{{"code", "AAA"},          {"design", "0"},
                           {"data_sheet", "AAA.pdf"}, {"mounting", QJsonArray{1}},
                           {"record", coefficients},  {"sizes", QJsonArray{size}}};
    return {{"characteristic_names_1", QJsonArray{"Decke"}},
            {"characteristic_names_2", QJsonArray{"fest"}},
            {"characteristic_names_3", QJsonArray{"Büro"}},
            {"jet_forms", QJsonArray{"01 waagerecht"}},
            {"installations", QJsonArray{QJsonObject{{"name", "Decke"}, {"types", QJsonArray{"AAA"}}}}},
            {"types", QJsonArray{type}}};
}

const SuggestionCheck* checkNamed(const Suggestion& s, const char* name) {
    for (const SuggestionCheck& c : s.checks)
        if (c.name == QLatin1String(name))
            return &c;
    return nullptr;
}

} // namespace

// An office of 6 × 8 × 3 m with 600 m³/h at 22 °C without under-temperature, head height 1,80 m
// (a run of 1,20 m), 0,2 m/s and 35 dB. The count range is trunc(600 / 200 + 0,999) = 3 to
// trunc(600 / 60) = 10.
// - 3 to 5 outlets: w min = 0,02 · 600 / N − 1,2 is 2,8, 1,8, 1,2 m and a min twice that; no grid of
//   them keeps both in 6 × 8 m.
// - 6 to 10 outlets fit, and the draught category is B for each; the sound margin decides: 10 outlets
//   of 60 m³/h give LWA 19,96 dB, 15,04 dB below the limit (band 5), more than 8 or 9 (band 4).
// - Of the grids of 10, 2 × 5 (3,00 / 1,60 m) is the calmest: 0,24 / (1,2 + 0,8) = 0,12 m/s at worst,
//   DR = 12 · 0,07^0,62 · (0,37 · 0,12 · 40 + 3,14) = 11,34 %; 5 × 2 has 0,24 / 1,8 = 0,133 m/s, 13,15 %.
TEST(HandWorkedRooms, AnOfficeGetsTheGridWithTheMostSoundMarginAndTheLeastDraught) {
    QTemporaryDir folder;
    writeCatalogueFiles(buildCatalogue(QJsonDocument(catalogueSource()).toJson()), folder.path());
    Catalogue catalogue;
    LoadCatalogue(catalogue, folder.path());
    TextTable texts;
    texts.load(QStringLiteral(ZELK_PROGRAM_DIR "/Fyltext.txt"));
    Folders folders;
    folders.program = folder.path();

    auto room = std::make_unique<CalculationRecord>();
    std::memset(room.get(), 0, sizeof *room);
    ResetRecord(*room);
    room->roomWidth = 6.0;
    room->roomLength = 8.0;
    room->floorArea = 48.0;
    room->roomVolume = 144.0;
    room->totalFlow = 600.0;
    room->roomTemp = 22.0;
    room->supplyTemp = 22.0;
    const std::vector<Suggestion> list = suggestOutlets(catalogue, *room, texts, folders);
    ASSERT_EQ(list.size(), 1u);
    const Suggestion& s = list.front();
    ASSERT_TRUE(s.feasible) << s.reasons.join(QLatin1Char(';')).toStdString();
    EXPECT_EQ(s.count, 10);
    ASSERT_TRUE(s.layout);
    EXPECT_EQ(layoutText(*s.layout), QStringLiteral("2 × 5, 3,00 / 1,60 m"));
    EXPECT_DOUBLE_EQ(s.flowPerOutlet, 60.0);
    EXPECT_NEAR(s.lwa, 19.963025, 1e-5);
    EXPECT_NEAR(s.dp, 3.6, 1e-12);
    ASSERT_TRUE(s.draughtRating);
    EXPECT_NEAR(*s.draughtRating, 11.3437, 1e-3);
    EXPECT_EQ(s.draughtCategory, QStringLiteral("B"));
    // The flow picture stands at the worse section, along the length: 1,60 m apart, 0,80 m from the walls.
    EXPECT_DOUBLE_EQ(*s.pictureSpacing, 1.6);
    EXPECT_DOUBLE_EQ(*s.pictureWall, 0.8);
    EXPECT_NEAR(s.vMid, 0.12, 1e-12);

    const SuggestionCheck* flow = checkNamed(s, "flow_range");
    ASSERT_NE(flow, nullptr);
    EXPECT_DOUBLE_EQ(flow->value, 60.0);
    EXPECT_EQ(flow->lowLimit, 60.0);
    EXPECT_EQ(flow->limit, 200.0);
    const SuggestionCheck* count = checkNamed(s, "count_range");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->lowLimit, 3.0);
    EXPECT_EQ(count->limit, 10.0);
    const SuggestionCheck* sound = checkNamed(s, "sound");
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->limit, 35.0);
    const SuggestionCheck* draught = checkNamed(s, "draught");
    ASSERT_NE(draught, nullptr);
    EXPECT_EQ(draught->limit, 20.0); // category B
    // At 60 m³/h the jet is below 0,2 m/s before it reaches head height: no least spacing to keep.
    EXPECT_EQ(checkNamed(s, "spacing"), nullptr);
    EXPECT_EQ(checkNamed(s, "detachment"), nullptr); // no under-temperature

    // Category A asked for: no grid of the range reaches below 10 %, so none is suitable, and the
    // least unsuitable one names the draught.
    RankingOptions strict;
    strict.targetCategory = QLatin1Char('A');
    const Suggestion a = suggestOutlets(catalogue, *room, texts, folders, strict).front();
    EXPECT_FALSE(a.feasible);
    const SuggestionCheck* failing = checkNamed(a, "draught");
    ASSERT_NE(failing, nullptr);
    EXPECT_FALSE(failing->ok);
    EXPECT_EQ(failing->limit, 10.0);
}
