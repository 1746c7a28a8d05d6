// Suggestions on the demo catalogue: the ranking over whole lists of varied rooms, the reasons of
// unsuitable choices, the slot configurations offered, the figures against zelkfyl-cli plan, and
// the draught rating with the calculation window's line.
#include "calc/draught.h"
#include "catalogue/loaders.h"
#include "fixtures/calcfixture.h"
#include "frame/errors.h"
#include "frame/numbers.h"
#include "frame/projectfile.h"
#include "frame/record.h"
#include "selection/suggestions.h"
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <tuple>

using namespace fyl;

namespace {

class Suggestions : public testing::Test {
protected:
    void SetUp() override {
        LoadCatalogue(catalogue, program);
        texts.load(program + QStringLiteral("/Fyltext.txt"));
        folders.program = program;
    }
    // A new project's room (10 x 10 x 3 m, head height 1,80 m, 35 dB, 0,2 m/s) with its flow.
    static std::unique_ptr<CalculationRecord> room(double totalFlow) {
        auto rec = std::make_unique<CalculationRecord>();
        std::memset(rec.get(), 0, sizeof *rec);
        ResetRecord(*rec);
        rec->totalFlow = totalFlow;
        return rec;
    }
    static bool hasReason(const Suggestion& s, const QString& start) {
        for (const QString& r : s.reasons)
            if (r.startsWith(start))
                return true;
        return false;
    }

    const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
    Catalogue catalogue;
    TextTable texts;
    Folders folders;
};

// The catalogue source, read here to know what the configuration step must offer.
QJsonObject sourceType(const char* code) {
    const QJsonDocument doc = QJsonDocument::fromJson(
        test::readFile(QStringLiteral(ZELK_SOURCE_DIR "/tools/catalogue/zelk-catalogue.json")));
    for (const QJsonValue t : doc.object()[QStringLiteral("types")].toArray())
        if (t[QStringLiteral("code")].toString() == QLatin1String(code))
            return t.toObject();
    return {};
}

} // namespace

TEST_F(Suggestions, UnsuitableNeverRankAboveSuitableAndNameTheLimitTheyBreak) {
    struct Room {
        const char* name;
        double flow, soundLimit, velocityLimit, roomTemp, supplyTemp;
    };
    const Room rooms[] = {
        {"office, cooled", 1700.0, 35.0, 0.2, 26.0, 18.0},
        {"quiet room", 1700.0, 25.0, 0.2, 22.0, 20.0},        // LWA fails for most outlets
        {"ventilated, strict air", 3000.0, 45.0, 0.12, 20.0, 20.0}, // vk fails for many vertical jets
    };
    bool sawSoundReason = false, sawVelocityReason = false;
    for (const Room& r : rooms) {
        SCOPED_TRACE(r.name);
        auto rec = room(r.flow);
        rec->maxSoundLevel = r.soundLimit;
        rec->velocityLimit = r.velocityLimit;
        rec->roomTemp = r.roomTemp;
        rec->supplyTemp = r.supplyTemp;
        const std::vector<Suggestion> list = suggestOutlets(catalogue, *rec, texts, folders);
        ASSERT_GT(list.size(), 20u);
        bool infeasibleSeen = false;
        int feasible = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Suggestion& s = list[i];
            SCOPED_TRACE(s.designation.toStdString() + " " + s.reasons.join(QStringLiteral("; ")).toStdString());
            EXPECT_FALSE(s.feasible && infeasibleSeen) << "rank " << i;
            infeasibleSeen = infeasibleSeen || !s.feasible;
            feasible += s.feasible ? 1 : 0;
            EXPECT_EQ(s.feasible, s.reasons.isEmpty());
            if (i > 0) { // sorted: no row ranks before the one above it
                EXPECT_FALSE(ranksBefore(s, list[i - 1])) << "rank " << i;
            }
            if (!s.evaluated)
                continue;
            // Every check that fails is named with its figures, and no other.
            for (const SuggestionCheck& c : s.checks)
                EXPECT_EQ(!c.ok, s.reasons.contains(c.text)) << c.text.toStdString();
            EXPECT_EQ(s.lwa > r.soundLimit, hasReason(s, QStringLiteral("LWA ")));
            if (s.lwa > r.soundLimit) {
                const QString reasons = s.reasons.join(QLatin1Char(';'));
                EXPECT_TRUE(
                    reasons.contains(QStringLiteral("dB > %1 dB").arg(numbers::formatGeneral(r.soundLimit))));
                // The level as named reads above the limit, however close it is.
                const QString level =
                    reasons.section(QStringLiteral("LWA "), 1).section(QLatin1Char(' '), 0, 0);
                EXPECT_GT(numbers::parseReal(level), r.soundLimit) << level.toStdString();
                sawSoundReason = true;
            }
            EXPECT_EQ(s.vertical && s.vMid > r.velocityLimit, hasReason(s, QStringLiteral("vk ")));
            sawVelocityReason = sawVelocityReason || hasReason(s, QStringLiteral("vk "));
            EXPECT_GE(s.count, 1);
        }
        EXPECT_GT(feasible, 0) << "a room every outlet fails tests nothing about the order";
        EXPECT_TRUE(infeasibleSeen);
    }
    EXPECT_TRUE(sawSoundReason);
    EXPECT_TRUE(sawVelocityReason);
}

TEST_F(Suggestions, SlotConfigurationsAreExactlyThoseTheCatalogueOffers) {
    auto rec = room(1200.0);
    const std::vector<OutletChoice> all = offeredChoices(catalogue, *rec, texts, folders);
    using Config = std::tuple<double, double, int>; // tube, length, slots
    auto configurations = [&](const QString& size, int jetForm) {
        std::vector<Config> found;
        for (const OutletChoice& c : all)
            if (c.size == size && c.jetForm == jetForm)
                found.emplace_back(c.tube ? double(*c.tube) : 0.0, c.length ? double(*c.length) : 0.0,
                                   c.slotCount.value_or(0));
        return found;
    };

    // A linear slot: every length with every slot count, in the lists' order.
    const QJsonObject lsa = sourceType("LSA")[QStringLiteral("record")].toObject();
    std::vector<Config> expected;
    for (const QJsonValue length : lsa[QStringLiteral("lengths_list")].toArray())
        for (const QJsonValue count : lsa[QStringLiteral("counts_list")].toArray())
            expected.emplace_back(0.0, length.toDouble(), count.toInt());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(configurations(QStringLiteral("LSA 20"), 4), expected);

    // A slot tube: per diameter its lengths and counts.
    expected.clear();
    for (const QJsonValue size : sourceType("STR")[QStringLiteral("sizes")].toArray()) {
        if (size[QStringLiteral("name")].toString() != QLatin1String("STR 15"))
            continue;
        for (const QJsonValue row : size[QStringLiteral("record")][QStringLiteral("size_table")].toArray())
            for (const QJsonValue length : row[QStringLiteral("lengths")].toArray())
                for (const QJsonValue count : row[QStringLiteral("counts")].toArray())
                    expected.emplace_back(row[QStringLiteral("diameter")].toDouble(), length.toDouble(),
                                          count.toInt());
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(configurations(QStringLiteral("STR 15"), 5), expected);

    // An ordinary outlet once per jet form, without a configuration.
    EXPECT_EQ(configurations(QStringLiteral("DRL 400"), 1), (std::vector<Config>{{0.0, 0.0, 0}}));
}

TEST_F(Suggestions, FiguresAreThoseOfThePlanCommand) {
    // A slot tube: the choice with the most steps, the mounting height corrected on the way.
    QTemporaryDir dir;
    auto rec = room(600.0);
    rec->mountingHeight = 2.9;
    const QString path = dir.filePath(QStringLiteral("room.zol"));
    writeProjectFile(path, *rec);
    const OutletChoice choice{QStringLiteral("STR"), QStringLiteral("STR 15"), 5, 1500.0L, 2, 200.0L};
    const Suggestion s = evaluateChoice(catalogue, *rec, texts, folders, choice);
    ASSERT_TRUE(s.evaluated) << s.reasons.join(QLatin1Char(';')).toStdString();
    // The suggestion's count is its layout's: the plan command given that count by hand.

    const test::CliRun run = test::runCli(
        {QStringLiteral("plan"), path, QStringLiteral("--type"), choice.type, QStringLiteral("--size"), choice.size,
         QStringLiteral("--jet-form"), QStringLiteral("5"), QStringLiteral("--tube"), QStringLiteral("200"),
         QStringLiteral("--length"), QStringLiteral("1500"), QStringLiteral("--slots"), QStringLiteral("2"),
         QStringLiteral("--count"), QString::number(s.count), QStringLiteral("--program-dir"), program});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject j = run.json();
    EXPECT_EQ(s.designation, j[QStringLiteral("designation")].toString());
    EXPECT_EQ(s.count, j[QStringLiteral("count")].toInt());
    EXPECT_EQ(s.flowPerOutlet, j[QStringLiteral("flow_per_outlet")].toDouble());
    EXPECT_EQ(s.dp, j[QStringLiteral("dp")].toDouble());
    EXPECT_EQ(s.lwa, j[QStringLiteral("lwa")].toDouble());
    EXPECT_EQ(s.aMin, j[QStringLiteral("a_min")].toDouble());
}

TEST_F(Suggestions, RankingFromSharedStepsEqualsEachChoiceTakenOverOnItsOwn) {
    // The ranking clicks the steps a size and jet form share once; each choice taken over alone
    // through every step (with every result text) must give the very same list, figure for figure
    // and bit for bit. Cooling from the ceiling runs the critical-distance search.
    struct Case {
        double flow, mounting, roomTemp, supplyTemp;
    };
    for (const Case& c : {Case{600.0, 2.5, 22.0, 28.0}, Case{2500.0, 2.5, 22.0, 28.0}, Case{1200.0, 3.0, 26.0, 16.0},
                          Case{4000.0, 3.0, 24.0, 17.5}}) {
        auto rec = room(c.flow);
        rec->mountingHeight = c.mounting; // slot outlets below the ceiling ask a question on the way
        rec->roomTemp = c.roomTemp;
        rec->supplyTemp = c.supplyTemp;
        std::vector<Suggestion> plain;
        for (const OutletChoice& choice : offeredChoices(catalogue, *rec, texts, folders))
            plain.push_back(evaluateChoice(catalogue, *rec, texts, folders, choice));
        std::stable_sort(plain.begin(), plain.end(), ranksBefore);
        // The list shows choices with the same figures as one row, the others as its alternatives:
        // each row is compared with its choice taken over alone, in the order of the plain list.
        const std::vector<Suggestion> rows = suggestOutlets(catalogue, *rec, texts, folders);
        std::vector<Suggestion> fast;
        std::vector<Suggestion> plainRows;
        std::size_t listed = 0;
        for (const Suggestion& row : rows) {
            listed += 1 + static_cast<std::size_t>(row.alternatives.size());
            fast.push_back(row);
        }
        ASSERT_EQ(listed, plain.size());
        for (const Suggestion& p : plain)
            for (const Suggestion& row : rows)
                if (std::tie(p.choice.type, p.choice.size, p.choice.jetForm, p.choice.length, p.choice.slotCount,
                             p.choice.tube) == std::tie(row.choice.type, row.choice.size, row.choice.jetForm,
                                                        row.choice.length, row.choice.slotCount, row.choice.tube))
                    plainRows.push_back(p);
        plain = plainRows;
        ASSERT_EQ(fast.size(), plain.size());
        const bool searched = std::any_of(fast.begin(), fast.end(), [](const Suggestion& s) {
            return s.criticalDistance && *s.criticalDistance > 0.0;
        });
        EXPECT_EQ(searched, c.mounting == 3.0 && c.roomTemp > c.supplyTemp);
        for (std::size_t i = 0; i < fast.size(); ++i) {
            const Suggestion &a = fast[i], &b = plain[i];
            SCOPED_TRACE(b.designation.toStdString());
            EXPECT_EQ(std::tie(a.choice.type, a.choice.size, a.choice.jetForm, a.choice.length, a.choice.slotCount,
                               a.choice.tube),
                      std::tie(b.choice.type, b.choice.size, b.choice.jetForm, b.choice.length, b.choice.slotCount,
                               b.choice.tube));
            EXPECT_EQ(std::tie(a.design, a.designation, a.evaluated, a.feasible, a.reasons, a.vertical, a.count,
                               a.flowShown, a.draughtCategory, a.jetFormName),
                      std::tie(b.design, b.designation, b.evaluated, b.feasible, b.reasons, b.vertical, b.count,
                               b.flowShown, b.draughtCategory, b.jetFormName));
            EXPECT_EQ(std::tie(a.flowPerOutlet, a.shownFlow, a.dp, a.lwa, a.aMin, a.wMin, a.xKrit,
                               a.criticalDistance, a.yMax, a.vMid, a.vLeft, a.vRight, a.draughtRating,
                               a.soundMargin),
                      std::tie(b.flowPerOutlet, b.shownFlow, b.dp, b.lwa, b.aMin, b.wMin, b.xKrit,
                               b.criticalDistance, b.yMax, b.vMid, b.vLeft, b.vRight, b.draughtRating,
                               b.soundMargin));
        }
    }
}

TEST_F(Suggestions, HeadFoundWithoutTheOthersSearchIsTheRankingsHead) {
    // Room schedules take the head alone; it must be the whole ranking's head, figures and all,
    // also when nothing is suitable and the head is the least unsuitable choice.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> flow(150.0, 6000.0), sound(20.0, 45.0), velocity(0.1, 0.3),
        roomTemp(20.0, 27.0), supplyTemp(12.0, 30.0);
    for (int i = 0; i < 10; ++i) {
        auto rec = room(flow(random));
        rec->maxSoundLevel = i == 0 ? 5.0 : sound(random); // nothing is that quiet
        rec->velocityLimit = velocity(random);
        rec->roomTemp = roomTemp(random);
        rec->supplyTemp = i % 3 == 1 ? rec->roomTemp - 9.0 : supplyTemp(random); // cooling runs the search
        const std::vector<Suggestion> ranked = suggestOutlets(catalogue, *rec, texts, folders);
        const std::optional<Suggestion> head = bestSuggestion(catalogue, *rec, texts, folders);
        ASSERT_TRUE(head);
        const Suggestion &a = *head, &b = ranked.front();
        SCOPED_TRACE(b.designation.toStdString());
        if (i == 0) {
            EXPECT_FALSE(b.feasible);
        }
        EXPECT_EQ(std::tie(a.choice.type, a.choice.size, a.choice.jetForm, a.choice.length, a.choice.slotCount,
                           a.choice.tube, a.designation, a.feasible, a.reasons, a.count),
                  std::tie(b.choice.type, b.choice.size, b.choice.jetForm, b.choice.length, b.choice.slotCount,
                           b.choice.tube, b.designation, b.feasible, b.reasons, b.count));
        EXPECT_EQ(std::tie(a.flowPerOutlet, a.dp, a.lwa, a.aMin, a.wMin, a.criticalDistance, a.vMid, a.draughtRating),
                  std::tie(b.flowPerOutlet, b.dp, b.lwa, b.aMin, b.wMin, b.criticalDistance, b.vMid, b.draughtRating));
    }
}

TEST(DraughtRating, HandValuesCategoriesAndTheCalculationWindowLine) {
    // (34 - 24)(0,2 - 0,05)^0,62 (0,37 * 0,2 * 40 + 3,14) = 10 * 0,15^0,62 * 6,1
    EXPECT_NEAR(draughtRating(24.0, 0.2), 18.815095006557236, 1e-9);
    EXPECT_NEAR(draughtRating(20.0, 0.5), 14.0 * std::pow(0.45, 0.62) * (0.37 * 0.5 * 40.0 + 3.14), 1e-9); // 66,6 %
    EXPECT_EQ(draughtRating(24.0, 0.04), 0.0); // still air counts as 0,05 m/s
    EXPECT_EQ(draughtRating(24.0, 0.05), 0.0);
    EXPECT_EQ(draughtRating(36.0, 0.3), 0.0); // above 34 °C nobody feels a draught
    EXPECT_EQ(draughtRating(18.0, 1.2), 100.0); // a share of people: 365 % by the formula
    EXPECT_THROW(draughtRating(24.0, std::nan("")), ArithmeticError);
    const std::pair<double, const char*> categories[] = {{0.0, "A"},   {9.99, "A"},  {10.0, "B"}, {19.99, "B"},
                                                         {20.0, "C"},  {29.99, "C"}, {30.0, "-"}};
    for (const auto& [rating, category] : categories)
        EXPECT_EQ(draughtCategory(rating), QString::fromLatin1(category)) << rating;

    // The calculation window's draught line is the judgement's (the window tests compare it with
    // the suggestion list's rating); a jet form without an evaluation hides it.
    auto state = test::ceilingDiffuserState("01");
    test::setJetForm(state->record, "09");
    EXPECT_EQ(ShowOutletResults(state->parts()).form3[form3::judgementBox].visible, false);
}

namespace {

const SuggestionCheck* checkOf(const Suggestion& s, const char* name) {
    for (const SuggestionCheck& c : s.checks)
        if (c.name == QLatin1String(name))
            return &c;
    return nullptr;
}

} // namespace

// Rooms a planner plans every week, on the demo catalogue; the head's figures by hand from its
// catalogue coefficients (dp = k V², LWA = A lg V + B).
TEST_F(Suggestions, AClassroomGetsCeilingDiffusersAndNoColdJetFallsStraightDown) {
    // 8 × 9 × 3,2 m, 900 m³/h, 22/18 °C, 0,2 m/s, 35 dB: two DRL 625 of 450 m³/h, the fewest pieces
    // that keep every check; the hall swirl diffuser that would do it alone is made for halls.
    auto rec = test::newRoom(8.0, 9.0, 3.2, 900.0, 22.0, 18.0);
    const std::vector<Suggestion> list = suggestOutlets(catalogue, *rec, texts, folders);
    const Suggestion& head = list.front();
    ASSERT_TRUE(head.feasible) << head.reasons.join(QLatin1Char(';')).toStdString();
    EXPECT_EQ(head.designation, QStringLiteral("DRL  625 horizontal"));
    EXPECT_EQ(head.count, 2);
    EXPECT_EQ(layoutText(*head.layout), QStringLiteral("1 × 2, 4,00 / 4,50 m"));
    EXPECT_NEAR(head.dp, 7.75e-5 * 450.0 * 450.0, 1e-9);
    EXPECT_NEAR(head.lwa, 55.0 * std::log(450.0) * 0.434294481 - 119.0, 1e-9);
    // x-krit = 0,0227 · 450 / √4 = 5,11 m against the throw 0,00137 · 450 / 0,2 = 3,08 m, shorter
    // than the 4,00 m to the side walls.
    const SuggestionCheck* detachment = checkOf(head, "detachment");
    ASSERT_NE(detachment, nullptr);
    EXPECT_NEAR(detachment->value, 0.0227 * 450.0 / 2.0, 1e-9);
    EXPECT_NEAR(*detachment->limit, 0.00137 * 450.0 / 0.2, 1e-9);
    const auto hall = std::find_if(list.begin(), list.end(), [](const Suggestion& s) {
        return s.designation.startsWith(QLatin1String("HDR")) && !s.vertical;
    });
    ASSERT_NE(hall, list.end());
    EXPECT_FALSE(hall->feasible);
    ASSERT_NE(checkOf(*hall, "hall_height"), nullptr);
    EXPECT_EQ(checkOf(*hall, "hall_height")->text, QStringLiteral("Hallendurchlass in 3,20 m Höhe < 4 m"));
    for (const Suggestion& s : list) {
        if (!s.evaluated || !s.vertical)
            continue;
        // 4 K colder than the room, blown straight down: never suitable, and said why.
        EXPECT_FALSE(s.feasible) << s.designation.toStdString();
        const SuggestionCheck* cold = checkOf(s, "cold_vertical_jet");
        ASSERT_NE(cold, nullptr);
        EXPECT_FALSE(cold->ok);
        EXPECT_DOUBLE_EQ(cold->value, 4.0);
    }
}

TEST_F(Suggestions, ANarrowRoomTakesFewerLongerSlotsAndNoLineOfOutletsOnAFoyer) {
    // 3 × 12 × 2,8 m, 302 m³/h, 22/18 °C: four pieces of 1200 mm before eight of 600 mm.
    auto rec = test::newRoom(3.0, 12.0, 2.8, 302.0, 22.0, 18.0);
    const std::vector<Suggestion> list = suggestOutlets(catalogue, *rec, texts, folders);
    const auto rankOf = [&list](const char* designation) {
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].designation == QLatin1String(designation))
                return i;
        return list.size();
    };
    const std::size_t longer = rankOf("LSA  10 / 1200 / 2"), shorter = rankOf("LSA  10 / 600 / 2");
    ASSERT_LT(shorter, list.size());
    EXPECT_LT(longer, shorter);
    EXPECT_TRUE(list[longer].feasible);
    EXPECT_EQ(list[longer].count, 4);
    EXPECT_EQ(list[shorter].count, 8);
    // A jet from a wall must carry across most of the room: from the 3 m end wall over 12 m, none does.
    for (const Suggestion& s : list) {
        if (s.feasible && s.layout && s.layout->kind == LayoutKind::WallRow) {
            EXPECT_NEAR(*s.layout->depth, 3.0, 1e-12) << s.designation.toStdString();
        }
    }

    // A foyer of 10 × 15 × 4 m: no suggestion stands in a single line with floor shares more than
    // twice as long as wide.
    auto foyer = test::newRoom(10.0, 15.0, 4.0, 2400.0, 22.0, 17.0);
    for (const Suggestion& s : suggestOutlets(catalogue, *foyer, texts, folders)) {
        if (!s.feasible || s.layout->kind != LayoutKind::Grid)
            continue;
        const double across = 10.0 / s.layout->columns, along = 15.0 / s.layout->rows;
        EXPECT_LE(std::max(across, along) / std::min(across, along), 2.0 + 1e-9) << layoutText(*s.layout).toStdString();
    }
}

TEST_F(Suggestions, ASmallOfficeCooledBy8KGetsOneCeilingDiffuser) {
    // 4 × 5 × 3 m, 150 m³/h, 24/16 °C: one DRL 400 stays at the ceiling, x-krit = 0,038 · 150 / √8 =
    // 2,02 m, until it has slowed to 0,2 m/s after 0,00229 · 150 / 0,2 = 1,72 m (the wall is 2,50 m away).
    auto office = test::newRoom(4.0, 5.0, 3.0, 150.0, 24.0, 16.0);
    const Suggestion head = suggestOutlets(catalogue, *office, texts, folders).front();
    ASSERT_TRUE(head.feasible) << head.reasons.join(QLatin1Char(';')).toStdString();
    EXPECT_EQ(head.count, 1);
    EXPECT_EQ(head.designation, QStringLiteral("DRL  400 horizontal"));
    const SuggestionCheck* detachment = checkOf(head, "detachment");
    ASSERT_NE(detachment, nullptr);
    EXPECT_EQ(detachment->text, QStringLiteral("x-krit 2,02 m ≥ Wurfweite 1,72 m (bis 0,2 m/s; Strahlweg an der Decke 2,50 m)"));
}

TEST_F(Suggestions, AHeatedHallGetsSlowVerticalJetsOnlyWhereTheirDraughtIsAccepted) {
    // 20 × 30 × 6 m, 12 000 m³/h of 30 °C air into 20 °C, 0,3 m/s, 45 dB.
    auto hall = test::newRoom(20.0, 30.0, 6.0, 12000.0, 20.0, 30.0);
    hall->velocityLimit = 0.3;
    hall->maxSoundLevel = 45.0;
    const std::vector<Suggestion> list = suggestOutlets(catalogue, *hall, texts, folders);
    // DUE 315 blown down at 12 000 / 9 = 1333 m³/h reaches head height at 0,508 m/s: too fast,
    // whatever the draught model may say beyond its range.
    const auto due = std::find_if(list.begin(), list.end(), [](const Suggestion& s) {
        return s.designation.startsWith(QLatin1String("DUE  315")) && s.vertical;
    });
    ASSERT_NE(due, list.end());
    auto nine = std::make_unique<CalculationRecord>(*hall);
    CollectingDialogs dialogs;
    takeOverChoice(catalogue, *nine, texts, folders, due->choice, dialogs);
    nine->outletCount = 9;
    const std::optional<Judgement> j = judgeRecord(*nine, choiceGeometry(catalogue, *nine));
    ASSERT_TRUE(j);
    EXPECT_FALSE(j->feasible);
    const auto vk = std::find_if(j->checks.begin(), j->checks.end(),
                                 [](const LayoutCheck& c) { return c.name == QLatin1String("velocity"); });
    ASSERT_NE(vk, j->checks.end());
    EXPECT_FALSE(vk->ok);
    EXPECT_NEAR(vk->value, 0.508, 0.001);
    EXPECT_EQ(vk->text, QStringLiteral("vk 0,51 m/s > 0,30 m/s"));
    for (const Suggestion& s : list) {
        if (s.feasible) {
            EXPECT_EQ(checkOf(s, "draught")->limit, 20.0);
        }
    }
    EXPECT_FALSE(list.front().feasible); // 20 % of people bothered by draught is more than B allows
    RankingOptions c;
    c.targetCategory = QLatin1Char('C');
    const std::optional<Suggestion> head = bestSuggestion(catalogue, *hall, texts, folders, c);
    ASSERT_TRUE(head);
    EXPECT_TRUE(head->feasible) << head->reasons.join(QLatin1Char(';')).toStdString();
    for (const SuggestionCheck& check : head->checks)
        EXPECT_TRUE(check.ok) << check.text.toStdString();
    EXPECT_TRUE(head->vertical);
    EXPECT_LE(head->vMid, 0.3);
}
