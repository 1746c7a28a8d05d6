// The ceiling-plan tool: the grid it lays out, the limits it checks, the exchange file it reads,
// the judged layout and verdict of the layout file beside it, and the program's batch runs.
#include "calc/outletlayout.h"
#include "catalogue/loaders.h"
#include "companions/deckenspiegel/ceilingpage.h"
#include "exchange/ceilinglayout.h"
#include "exchange/ceilinglookup.h"
#include "fixtures/calcfixture.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/projectfile.h"
#include "selection/suggestions.h"
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace fyl;
using namespace fyl::ceiling;

namespace {

std::string s(const QString& text) {
    return text.toStdString();
}

// A 6 x 8 m room with four horizontal outlets 3 m apart, 1 m from the walls.
CeilingExchange room(int count = 4, double spacing = 3.0) {
    CeilingExchange x;
    x.outletName = QStringLiteral("DLX 125");
    x.outletCount = count;
    x.aMin = 2.4;
    x.wallMin = 1.0;
    x.roomWidth = 6.0;
    x.roomLength = 8.0;
    x.spacing = spacing;
    x.wallDistance = 1.0;
    x.roomHeight = 3.0;
    x.headHeight = 1.8;
    x.velocityLimit = 0.2;
    return x;
}

std::vector<std::pair<double, double>> positions(const CeilingLayout& l) {
    std::vector<std::pair<double, double>> out;
    for (const PlanOutlet& o : l.outlets)
        out.emplace_back(o.x, o.y);
    return out;
}

} // namespace

TEST(CeilingLayout, CentresTheGridAndPrefersTheArrangementThatKeepsTheWallDistance) {
    // 2 x 2 leaves 1,5 m across and 2,5 m along; one column of four would need 9 m of length.
    const CeilingLayout four = layOutCeiling(room());
    ASSERT_TRUE(four.problem.isEmpty()) << s(four.problem);
    EXPECT_EQ(four.rows, 2);
    EXPECT_EQ(four.columns, 2);
    EXPECT_EQ(positions(four),
              (std::vector<std::pair<double, double>>{{1.5, 2.5}, {4.5, 2.5}, {1.5, 5.5}, {4.5, 5.5}}));
    EXPECT_EQ(four.gaps.size(), 4u);
    EXPECT_EQ(four.worst, Breach::None);

    // Five at 2,5 m: two rows of three would come 0,5 m off the side walls; three rows of two keep
    // 1,75 and 1,5 m, the fifth centred and tied to the nearer of the two above it.
    const CeilingLayout five = layOutCeiling(room(5, 2.5));
    EXPECT_EQ(five.rows, 3);
    EXPECT_EQ(five.columns, 2);
    EXPECT_EQ(five.lastRowCount, 1);
    EXPECT_DOUBLE_EQ(five.wallX, 1.75);
    EXPECT_DOUBLE_EQ(five.wallY, 1.5);
    EXPECT_EQ(positions(five).back(), (std::pair<double, double>{3.0, 6.5}));
    EXPECT_EQ(five.gaps.back().from, 2);
    EXPECT_NEAR(five.gaps.back().length, std::hypot(1.25, 2.5), 1e-12);

    // Three in 6 x 4 m at 2,5 m can nowhere keep 1,5 m from the walls: the arrangement with the
    // greatest least distance (two rows, 0,75 m from the end walls) rather than one row 0,5 m off.
    CeilingExchange tight = room(3, 2.5);
    tight.roomLength = 4.0;
    tight.wallDistance = 1.5;
    const CeilingLayout three = layOutCeiling(tight);
    EXPECT_EQ(three.rows, 2);
    EXPECT_FALSE(three.keepsWallDistance);
    EXPECT_DOUBLE_EQ(three.leastWallDistance, 0.75);
    EXPECT_EQ(three.worst, Breach::Limit); // 0,75 m < Rand_min 1,00 m
}

TEST(CeilingLayout, MarksEachGapAndOutletBelowItsLimitWithTheReason) {
    // 2 x 2, 2 m from the side walls, 3 m from the end walls. (2 m apart and 1 m from the walls
    // would be the room's even grid of one column of four.)
    CeilingExchange x = room(4, 2.0);
    x.wallDistance = 2.0;
    x.wallMin = 2.5;
    x.aMinSeated = 2.2;
    const CeilingLayout l = layOutCeiling(x);
    ASSERT_EQ(l.outlets.size(), 4u);
    for (const PlanGap& g : l.gaps) {
        EXPECT_EQ(g.breach, Breach::Limit);
        ASSERT_EQ(g.reasons.size(), 2u);
        EXPECT_EQ(s(g.reasons[0].text), "Abstand 2,00 m < a_min 2,40 m");
        EXPECT_EQ(s(g.reasons[1].text), "Abstand 2,00 m < 2,20 m (Sitzhöhe 1,3 m)");
    }
    for (const PlanOutlet& o : l.outlets)
        EXPECT_EQ(s(o.reasons.at(0).text), "Wandabstand 2,00 m < Rand_min 2,50 m");
    ASSERT_EQ(l.findings.size(), 3u);
    EXPECT_EQ(l.findings[0].count, 4); // worst first, each with how often it occurs
    EXPECT_EQ(l.findings[2].breach, Breach::Seated);

    // Only the seated value broken: marked, but not as a breach of a_min.
    x = room(4, 2.3);
    x.aMin = 2.2;
    x.aMinSeated = 2.4;
    EXPECT_EQ(layOutCeiling(x).worst, Breach::Seated);

    // A distance that prints as its limit is not below it.
    x = room(4, 2.4);
    EXPECT_EQ(layOutCeiling(x).worst, Breach::None);

    // A vertical jet has no spacing limits, whatever numbers stand in the file.
    x = room(4, 0.5);
    x.horizontal = false;
    const CeilingLayout vertical = layOutCeiling(x);
    EXPECT_TRUE(vertical.problem.isEmpty());
    EXPECT_EQ(vertical.worst, Breach::None);
    EXPECT_FALSE(vertical.limits.any());
}

TEST(CeilingLayout, DegenerateInputsGiveAMessageAndNoOutlets) {
    CeilingExchange x = room(0);
    EXPECT_TRUE(layOutCeiling(x).problem.contains(QStringLiteral("0 Durchlässe")));
    x = room();
    x.roomWidth = 0;
    x.roomLength = 0;
    EXPECT_TRUE(layOutCeiling(x).problem.contains(QStringLiteral("keine Fläche")));
    x = room(4, 0.0);
    EXPECT_TRUE(layOutCeiling(x).problem.contains(QLatin1String("Einbauabstand ist 0")));
    x = room(20, 3.0);
    const CeilingLayout crowded = layOutCeiling(x);
    EXPECT_EQ(s(crowded.problem),
              "20 Durchlässe mit 3,00 m Abstand passen in keiner Anordnung in den Raum 6,00 × 8,00 m.");
    EXPECT_TRUE(crowded.outlets.empty());
    EXPECT_EQ(s(figuresLine(x, crowded)), s(crowded.problem));

    // The reader admits up to a million outlets; the answer comes at once.
    x = room(1000000, 0.01);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(layOutCeiling(x).problem.isEmpty());
    EXPECT_LT(clock.elapsed(), 1000);

    // One outlet needs no spacing: it sits in the middle of the room.
    x = room(1, 0.0);
    EXPECT_EQ(positions(layOutCeiling(x)), (std::vector<std::pair<double, double>>{{3.0, 4.0}}));
}

TEST(CeilingPage, DrawsTheRoomAtAStandardScaleAndTheBreachesInRed) {
    CeilingExchange x = room(4, 2.0);
    x.wallDistance = 2.0;
    x.wallMin = 2.5; // every outlet 2 m from a side wall
    const CeilingLayout l = layOutCeiling(x);
    const CeilingPage page = ceilingPage(x, l, a4Landscape(254), QDate(2024, 3, 1)); // 10 px per mm
    EXPECT_EQ(page.scale, 50); // 8 m in the 170 mm the sheet leaves: 1:50
    int redOutlets = 0, redLines = 0;
    bool dated = false;
    for (const PicturePrimitive& p : page.primitives) {
        if (const auto* e = std::get_if<EllipsePrimitive>(&p))
            redOutlets += e->pen.colour == pagecolours::kLimit ? 1 : 0;
        if (const auto* line = std::get_if<LinePrimitive>(&p))
            redLines += line->pen.colour == pagecolours::kLimit ? 1 : 0;
        if (const auto* t = std::get_if<TextPrimitive>(&p))
            dated = dated || t->text == QLatin1String("01.03.2024");
    }
    EXPECT_EQ(redOutlets, 2 * 4); // each outlet: its outline and the ring of its vanes
    EXPECT_GE(redLines, 4 + 1);   // the four gaps, the chain's spacing and the legend
    EXPECT_TRUE(dated);

    // An even grid's title block gives both its spacings; the file gives one of them.
    x = room(6, 2.67);
    x.wallDistance = 1.33;
    bool both = false;
    for (const PicturePrimitive& p : ceilingPage(x, layOutCeiling(x), a4Landscape(96), {}).primitives)
        if (const auto* t = std::get_if<TextPrimitive>(&p))
            both = both || t->text == QLatin1String("3,00 / 2,67 m");
    EXPECT_TRUE(both);
}

// The findings' heading and first line stand above the title block on a window however low:
// lower than the panel's least height the title block gives way downwards, and at that height
// the whole panel fits.
TEST(CeilingPage, TheTitleBlockNeverCoversTheFindings) {
    const CeilingExchange x = room();
    const CeilingLayout l = layOutCeiling(x);
    const QDate date(2000, 1, 1);
    const int least =
        static_cast<int>(std::ceil(ceilingPage(x, l, {780, 500, 96, false}, date).leastHeight / 25.4 * 96));
    EXPECT_GT(least, 300);
    for (const int height : {300, least, 700}) {
        // The cell tops of the texts from the findings' heading on.
        std::vector<std::pair<QString, int>> texts;
        for (const PicturePrimitive& p : ceilingPage(x, l, {780, height, 96, false}, date).primitives)
            if (const auto* t = std::get_if<TextPrimitive>(&p);
                t != nullptr && (!texts.empty() || t->text == QStringLiteral("Prüfung")))
                texts.emplace_back(t->text, t->at.y);
        ASSERT_GT(texts.size(), 2u) << height;
        const auto title = std::find_if(texts.begin(), texts.end(), [](const auto& t) {
            return t.first.startsWith(QLatin1String("ZELK FYL"));
        });
        ASSERT_NE(title, texts.end());
        EXPECT_GT(title->second, texts[1].second + 12) << height; // below the first finding, 8 points high
        if (height >= least) {                                    // the date in the last row is on the page
            EXPECT_EQ(texts.back().first, QStringLiteral("01.01.2000"));
            EXPECT_LT(texts.back().second + 12, height) << least;
        }
    }
}

// ---- the exchange file ----------------------------------------------------------------------

namespace {

CalculationRecord planningRecord(bool horizontal = true) {
    CalculationRecord rec{};
    std::memcpy(rec.outlet.typeName, "DLX", 3);
    std::memcpy(rec.outlet.sizeName, "125", 3);
    rec.outletCount = 4;
    rec.aMin = 2.4;
    rec.wMin = 1.0;
    rec.aMin13 = 2.2;
    rec.wMin13 = 0.9;
    rec.roomWidth = 6.0;
    rec.roomLength = 8.0;
    rec.spacing = 3.0;
    rec.wallLeft = 1.5;
    rec.wallRight = 1.2;
    rec.horizontalJet = horizontal ? 1 : 0;
    rec.verticalJet = horizontal ? 0 : 1;
    rec.projectName = QStringLiteral("Büro Nord");
    rec.editor[0] = QStringLiteral("J. Maier");
    rec.roomHeight = 3.0;
    rec.headHeight = 1.8;
    rec.velocityLimit = 0.2;
    return rec;
}

QByteArray fileOf(const CalculationRecord& rec) {
    return exchangeFileBytes(ceilingExchangeLines(rec));
}

// The file with line `line` (1-based) replaced.
QByteArray withLine(int line, const QString& text) {
    QStringList lines = ceilingExchangeLines(planningRecord());
    lines[line - 1] = text;
    return exchangeFileBytes(lines);
}

QString readerMessage(const QByteArray& bytes) {
    try {
        readCeilingExchange(bytes);
    } catch (const FileError& e) {
        return e.message();
    }
    return QStringLiteral("(gelesen)");
}

} // namespace

TEST(CeilingExchangeFile, WhatTheProgramWritesReadsBackAndDamageNamesItsLine) {
    const CeilingExchange x = readCeilingExchange(fileOf(planningRecord()));
    EXPECT_EQ(s(x.outletName), "DLX 125");
    EXPECT_EQ(x.outletCount, 4);
    EXPECT_EQ(x.aMin, 2.4);
    EXPECT_EQ(x.wallDistance, 1.2); // the smaller of the two
    EXPECT_EQ(x.aMinSeated, 2.2);
    EXPECT_TRUE(x.horizontal);
    EXPECT_EQ(s(x.project), "Büro Nord");
    EXPECT_EQ(s(x.editor), "J. Maier");
    const CeilingExchange v = readCeilingExchange(fileOf(planningRecord(false)));
    EXPECT_FALSE(v.aMin || v.wallMin || v.aMinSeated || v.wallMinSeated);

    EXPECT_TRUE(readerMessage(withLine(7, QStringLiteral("a min")))
                    .startsWith(QLatin1String("Zoldaten.tmp, Zeile 7:")));
    EXPECT_TRUE(readerMessage(withLine(12, QStringLiteral("12,5")))
                    .contains(QLatin1String("Zeile 12: eine Zahl mit Dezimalpunkt")));
    EXPECT_TRUE(readerMessage(withLine(16, QStringLiteral("nan"))).contains(QLatin1String("Zeile 16")));

    // A file short of its last line is refused as such, terminator or not; so is an empty one.
    QByteArray short33 = fileOf(planningRecord());
    short33.chop(QByteArray("0.90\r\n").size());
    EXPECT_EQ(s(readerMessage(short33)), "Zoldaten.tmp: 34 Zeilen erwartet, die Datei hat 33.");
    short33.chop(2);
    EXPECT_EQ(s(readerMessage(short33)), "Zoldaten.tmp: 34 Zeilen erwartet, die Datei hat 33.");
    EXPECT_TRUE(readerMessage({}).endsWith(QLatin1String("die Datei hat 0.")));
    // The sound file's last line is a text: a missing one must not pass for an empty date.
    CalculationRecord rec = planningRecord();
    rec.projectDate = QStringLiteral("01.03.2024");
    QByteArray sound = exchangeFileBytes(soundExchangeLines(rec));
    sound.chop(QByteArray("01.03.2024\r\n").size());
    EXPECT_THROW(readSoundExchange(sound), FileError);
}

TEST(CeilingExchangeFile, ABareNameIsLookedUpInTheTemporaryFolderWhateverItsCase) {
    QTemporaryDir dir;
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    test::writeFile(tmp + QStringLiteral("/Zoldaten.tmp"), fileOf(planningRecord()));
    EXPECT_EQ(s(locateExchangeFile(QStringLiteral("ZOLDaten.tmp"), tmp)),
              s(tmp + QStringLiteral("/Zoldaten.tmp")));
    EXPECT_EQ(s(locateExchangeFile(QString(), tmp)), s(tmp + QStringLiteral("/Zoldaten.tmp")));
    const QString elsewhere = dir.filePath(QStringLiteral("plan.tmp"));
    test::writeFile(elsewhere, fileOf(planningRecord()));
    EXPECT_EQ(s(locateExchangeFile(elsewhere, tmp)), s(elsewhere));
    try {
        locateExchangeFile(QStringLiteral("Fehlt.tmp"), tmp);
        ADD_FAILURE() << "a missing file was found";
    } catch (const FileError& e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("Fehlt.tmp"))) << s(e.message());
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(tmp))) << s(e.message());
    }
}

// ---- a grid taken over from the ranking --------------------------------------------------

namespace {

// The file ZELK FYL writes after taking over the even grid of `columns` × `rows` in the room: the
// flow picture shows one section of it, across the width or along the length.
QByteArray takenOver(double width, double length, int columns, int rows, bool across) {
    CalculationRecord rec = planningRecord();
    rec.roomWidth = width;
    rec.roomLength = length;
    rec.outletCount = columns * rows;
    for (const OutletLayout& grid : outletLayouts(LayoutKind::Grid, width, length, columns * rows)) {
        if (grid.columns != columns)
            continue;
        const double wall = *(across ? grid.wallWidth : grid.wallLength);
        rec.spacing = (across ? grid.spacingWidth : grid.spacingLength).value_or(2.0 * wall);
        rec.wallLeft = rec.wallRight = wall;
    }
    return fileOf(rec);
}

} // namespace

TEST(CeilingLayout, AGridTakenOverIsDrawnAsTheEvenGridWhicheverSectionTheFileHolds) {
    const struct {
        double width, length;
        int columns, rows;
        const char* spacing; // as the line of figures gives it
    } cases[] = {
        {6, 8, 2, 3, "Abstand 3,00 / 2,67 m (quer / längs)"},
        {10, 10, 2, 2, "Abstand 5,00 m"},
        {5, 12, 1, 3, "Abstand 4,00 m"},
        {6, 8, 1, 4, "Abstand 2,00 m"},
        {3.5, 14, 1, 7, "Abstand 2,00 m"},
        {14, 3.5, 7, 1, "Abstand 2,00 m"},
        {7.3, 11.8, 3, 4, "Abstand 2,43 / 2,95 m (quer / längs)"},
    };
    for (const auto& c : cases) {
        for (const bool across : {true, false}) {
            const CeilingExchange x =
                readCeilingExchange(takenOver(c.width, c.length, c.columns, c.rows, across));
            const CeilingLayout l = layOutCeiling(x);
            SCOPED_TRACE(testing::Message() << c.width << " x " << c.length << ", " << c.columns << " x "
                                            << c.rows << (across ? ", across" : ", along"));
            EXPECT_TRUE(l.evenGrid);
            ASSERT_EQ(l.columns, c.columns);
            ASSERT_EQ(l.rows, c.rows);
            ASSERT_EQ(l.outlets.size(), std::size_t(c.columns * c.rows));
            for (int i = 0; i < c.columns * c.rows; ++i) {
                const int row = i / c.columns, column = i % c.columns;
                EXPECT_NEAR(l.outlets[i].x, (column + 0.5) * c.width / c.columns, 1e-3);
                EXPECT_NEAR(l.outlets[i].y, (row + 0.5) * c.length / c.rows, 1e-3);
            }
            EXPECT_TRUE(figuresLine(x, l).contains(QString::fromUtf8(c.spacing))) << s(figuresLine(x, l));
        }
    }
    // 4 x 3 in 6 x 9 m shares 1,50 / 0,75 m with 2 x 6: the file cannot tell them apart.
    const CeilingLayout turned = layOutCeiling(readCeilingExchange(takenOver(6, 9, 4, 3, true)));
    EXPECT_EQ(std::make_pair(turned.columns, turned.rows), std::make_pair(2, 6));
}

TEST(CeilingLayout, OnlyAFileWithinACentimetreOfAnEvenGridIsTakenForIt) {
    // Six in 6 x 8 m: the even grid has 3,00 / 1,50 m across and 2,67 / 1,33 m along. Off by more,
    // the file's spacing is kept both ways as before: 2 x 3 centred.
    const struct {
        double spacing, wall;
        bool even;
    } cases[] = {
        {3.00, 1.50, true},  {2.99, 1.49, true},  {3.01, 1.51, true},  {2.67, 1.33, true},
        {3.00, 1.48, false}, {2.98, 1.50, false}, {2.67, 1.31, false},
    };
    for (const auto& c : cases) {
        CeilingExchange x = room(6, c.spacing);
        x.wallDistance = c.wall;
        const CeilingLayout l = layOutCeiling(x);
        SCOPED_TRACE(testing::Message() << c.spacing << " / " << c.wall);
        EXPECT_EQ(l.evenGrid, c.even);
        ASSERT_EQ(l.outlets.size(), 6u);
        EXPECT_NEAR(l.outlets[0].y, c.even ? 4.0 / 3 : (8 - 2 * c.spacing) / 2, 1e-12);
        EXPECT_NEAR(l.spacingY, c.even ? 8.0 / 3 : c.spacing, 1e-12);
    }

    // The checks hold for either pitch: only the gaps between the rows fall short of a_min.
    CeilingExchange x = room(6, 3.0);
    x.wallDistance = 1.5;
    x.aMin = 2.8;
    x.wallMin = 1.4;
    const CeilingLayout l = layOutCeiling(x);
    ASSERT_EQ(l.findings.size(), 2u);
    EXPECT_EQ(s(l.findings[0].text), "Wandabstand 1,33 m < Rand_min 1,40 m");
    EXPECT_EQ(l.findings[0].count, 4);
    EXPECT_EQ(s(l.findings[1].text), "Abstand 2,67 m < a_min 2,80 m");
    EXPECT_EQ(l.findings[1].count, 4);
}

// ---- the layout file ------------------------------------------------------------------------

namespace {

ExchangedCheck check(const char* name, bool ok, double value, double limit, const char* text) {
    return {QString::fromLatin1(name), ok, value, limit, QString::fromUtf8(text)};
}

// The judged 2 × 3 grid of six outlets in the 6 × 8 m room: 3,00 / 2,67 m apart, 1,50 / 1,33 m
// from the walls.
LayoutExchange judgedGrid(std::vector<ExchangedCheck> checks) {
    LayoutExchange l;
    l.outletName = QStringLiteral("DLX 125");
    l.outletCount = 6;
    l.roomWidth = 6.0;
    l.roomLength = 8.0;
    l.judged = l.placed = true;
    for (const OutletLayout& grid : outletLayouts(LayoutKind::Grid, 6.0, 8.0, 6))
        if (grid.columns == 2)
            l.layout = grid;
    l.checks = std::move(checks);
    return l;
}

struct Marks {
    int outlets = 0, gaps = 0, redLines = 0; // red lines: strokes of lines, circles and bars
    int bars = 0;                            // slots and wall outlets, the legend's among them
    QStringList redTexts, greenTexts;
};

Marks marksOf(const CeilingExchange& x, const CeilingLayout& l) {
    Marks m;
    for (const PlanOutlet& o : l.outlets)
        m.outlets += o.breach != Breach::None ? 1 : 0;
    for (const PlanGap& g : l.gaps)
        m.gaps += g.breach != Breach::None ? 1 : 0;
    for (const PicturePrimitive& p : ceilingPage(x, l, a4Landscape(96), {}).primitives) {
        if (const auto* line = std::get_if<LinePrimitive>(&p))
            m.redLines += line->pen.colour == pagecolours::kLimit ? 1 : 0;
        if (const auto* e = std::get_if<EllipsePrimitive>(&p))
            m.redLines += e->pen.colour == pagecolours::kLimit ? 1 : 0;
        if (const auto* bar = std::get_if<PolygonPrimitive>(&p); bar != nullptr && bar->pen) {
            m.redLines += bar->pen->colour == pagecolours::kLimit ? 1 : 0;
            m.bars += bar->brush == pagecolours::kOutlet ? 1 : 0;
        }
        if (const auto* t = std::get_if<TextPrimitive>(&p); t != nullptr && t->colour == pagecolours::kLimit)
            m.redTexts << t->text;
        if (const auto* t = std::get_if<TextPrimitive>(&p); t != nullptr && t->colour == pagecolours::kGood)
            m.greenTexts << t->text;
    }
    return m;
}

} // namespace

TEST(LayoutFile, WhatTheProgramWritesReadsBackAndABadOrForeignFileLeavesTodaysPlan) {
    CalculationRecord rec = planningRecord();
    rec.outletCount = 6;
    Judgement j;
    j.layout = judgedGrid({}).layout;
    j.checks = {{QStringLiteral("spacing"), 2.667, 2.4, std::nullopt, true, true,
                 QStringLiteral("Abstand 2,67 m ≥ a min 2,40 m")},
                {QStringLiteral("sound"), 38.2, 35.0, std::nullopt, false, true,
                 QStringLiteral("LWA 38,2 dB > 35 dB")}};
    const QStringList lines = layoutExchangeLines(rec, j, ChoiceGeometry{});
    const LayoutExchange back = readLayoutExchange(exchangeFileBytes(lines));
    EXPECT_TRUE(back.judged && back.placed);
    EXPECT_EQ(s(layoutText(back.layout)), "2 × 3, 3,00 / 2,67 m");
    ASSERT_EQ(back.checks.size(), 2u);
    EXPECT_EQ(s(back.checks[0].text), "Abstand 2,67 m >= a min 2,40 m"); // no "≥" in Windows-1252
    EXPECT_EQ(back.checks[0].limit, 2.4);
    EXPECT_FALSE(back.checks[1].ok);
    const CeilingExchange x = readCeilingExchange(fileOf(rec));
    EXPECT_TRUE(belongsTo(back, x));
    EXPECT_EQ(s(layOutCeiling(x, back).judged->verdict.join('|')), "LWA 38,2 dB > 35 dB");

    // Without a judgement the file gives no layout; damage names its line.
    EXPECT_FALSE(readLayoutExchange(exchangeFileBytes(layoutExchangeLines(rec, std::nullopt, {}))).judged);
    const auto refused = [&](int line, const QString& text) {
        QStringList damaged = lines;
        damaged[line - 1] = text;
        try {
            readLayoutExchange(exchangeFileBytes(damaged));
        } catch (const FileError& e) {
            return e.message();
        }
        return QStringLiteral("(gelesen)");
    };
    EXPECT_TRUE(refused(12, QStringLiteral("4")).contains(QStringLiteral("füllt den Raum"))); // 4 × 2 ≠ 6
    EXPECT_TRUE(
        refused(32, QStringLiteral("3")).contains(QLatin1String("50 Zeilen erwartet, die Datei hat 44")));
    EXPECT_TRUE(refused(35, QStringLiteral("halb")).startsWith(QLatin1String("Zolanordnung.tmp, Zeile 35")));

    // Beside the exchange file: only the file written with it is drawn; else today's plan.
    QTemporaryDir dir;
    const QString exchangePath = dir.filePath(QStringLiteral("Zoldaten.tmp"));
    test::writeFile(exchangePath, fileOf(rec));
    const QString beside = dir.filePath(QStringLiteral("Zolanordnung.tmp"));
    QString ignored;
    EXPECT_FALSE(loadLayoutBeside(exchangePath, x, &ignored));
    EXPECT_TRUE(ignored.isEmpty());
    test::writeFile(beside, exchangeFileBytes(lines));
    EXPECT_TRUE(loadLayoutBeside(exchangePath, x));
    for (const QByteArray& other :
         {exchangeFileBytes(layoutExchangeLines(planningRecord(), std::nullopt, {})),
          QByteArray("Typ\r\n")}) {
        test::writeFile(beside, other);
        ignored.clear();
        const std::optional<LayoutExchange> none = loadLayoutBeside(exchangePath, x, &ignored);
        EXPECT_FALSE(none);
        EXPECT_TRUE(ignored.contains(QLatin1String("nicht verwendet"))) << s(ignored);
        const CeilingLayout today = planCeiling(x, none);
        EXPECT_FALSE(today.judged);
        EXPECT_EQ(positions(today), positions(layOutCeiling(x)));
    }
}

TEST(LayoutFile, TheVerdictIsTheJudgementsAndOnlyAFailedDistanceIsMarked) {
    CeilingExchange x = room(6, 3.0);
    x.aMin = 3.5; // the exchange file's own limits would mark every gap
    CeilingLayout l =
        layOutCeiling(x, judgedGrid({check("spacing", true, 2.667, 2.4, "Abstand 2,67 m ≥ a min 2,40 m"),
                                     check("sound", true, 30, 35, "LWA 30,0 dB ≤ 35 dB")}));
    Marks m = marksOf(x, l);
    EXPECT_EQ(m.outlets + m.gaps + m.redLines, 0);
    EXPECT_EQ(m.greenTexts, QStringList{kAllChecksMet});
    ASSERT_EQ(l.outlets.size(), 6u);
    EXPECT_NEAR(l.outlets[5].x, 4.5, 1e-9);
    EXPECT_NEAR(l.outlets[5].y, 8.0 * 5 / 6, 1e-9);

    // A failed spacing marks the gaps it is about (the 2,67 m between the rows, not the 3,00 m
    // across), and its text is the verdict; a failed sound level marks nothing.
    const char* spacing = "Abstand 2,67 m < a min 2,80 m";
    l = layOutCeiling(x, judgedGrid({check("spacing", false, 2.667, 2.8, spacing),
                                     check("sound", false, 38, 35, "LWA 38,0 dB > 35 dB")}));
    m = marksOf(x, l);
    EXPECT_EQ(m.gaps, 4);
    EXPECT_EQ(m.outlets, 0);
    EXPECT_TRUE(m.redTexts.contains(QString::fromUtf8(spacing)));
    EXPECT_TRUE(m.redTexts.contains(QStringLiteral("LWA 38,0 dB > 35 dB")));
    EXPECT_TRUE(figuresLine(x, l).endsWith(QStringLiteral("LWA 38,0 dB > 35 dB")));
    l = layOutCeiling(x, judgedGrid({check("sound", false, 38, 35, "LWA 38,0 dB > 35 dB")}));
    m = marksOf(x, l);
    EXPECT_EQ(m.outlets + m.gaps, 0);
    EXPECT_EQ(l.worst, Breach::Limit);

    // A failed wall distance marks the outlets nearest the walls it is about; no place at all is the
    // judgement's reason, and no plan.
    l = layOutCeiling(
        x, judgedGrid({check("wall_distance", false, 1.333, 1.4, "Wandabstand 1,33 m < w min 1,40 m")}));
    EXPECT_EQ(marksOf(x, l).outlets, 4); // the first and the last row
    LayoutExchange none = judgedGrid({check("layout", false, 6, 0, "keine Anordnung von 6 Durchlässen")});
    none.placed = false;
    EXPECT_EQ(s(layOutCeiling(x, none).problem), "keine Anordnung von 6 Durchlässen");
}

// On the demo catalogue: each suitable suggestion for a room, taken over and handed to the ceiling
// plan, is drawn at its own layout (slot outlets as pieces of slot) with no red mark.
TEST(LayoutFile, ASuitableSuggestionTakenOverIsDrawnAtItsLayoutWithoutARedMark) {
    const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
    Catalogue catalogue;
    LoadCatalogue(catalogue, program);
    TextTable texts;
    texts.load(program + QStringLiteral("/Fyltext.txt"));
    Folders folders;
    folders.program = program;
    const std::unique_ptr<CalculationRecord> room = test::newRoom(5.0, 8.0, 3.0, 600.0, 26.0, 24.0);
    QTemporaryDir dir;
    const QString exchangePath = dir.filePath(QStringLiteral("Zoldaten.tmp"));
    std::map<LayoutKind, int> kinds;
    for (const Suggestion& offered : suggestOutlets(catalogue, *room, texts, folders)) {
        // A few of each kind of layout: grids, rows of slots, rows at a wall.
        if (!offered.feasible || kinds[offered.layout->kind] == 3)
            continue;
        SCOPED_TRACE(offered.designation.toStdString());
        auto rec = std::make_unique<CalculationRecord>(*room);
        CollectingDialogs quiet;
        takeOverChoice(catalogue, *rec, texts, folders, offered.choice, quiet);
        writeFilesTogether(ceilingPlanFiles(exchangePath, *rec, catalogue));
        const CeilingExchange x = loadCeilingExchange(exchangePath);
        const std::optional<LayoutExchange> judged = loadLayoutBeside(exchangePath, x);
        ASSERT_TRUE(judged);
        const CeilingLayout l = planCeiling(x, judged);
        EXPECT_EQ(layoutText(judged->layout), layoutText(*offered.layout));
        const Marks m = marksOf(x, l);
        EXPECT_EQ(m.outlets + m.gaps + m.redLines + m.redTexts.size(), 0)
            << m.redTexts.join('|').toStdString();
        ASSERT_EQ(l.outlets.size(), std::size_t(offered.count));
        const bool pieces = offered.design != QLatin1String("0");
        EXPECT_EQ(l.outlets.front().length, pieces ? double(*offered.choice.length) / 1000.0 : 0.0);
        EXPECT_EQ(m.bars, pieces || offered.layout->kind == LayoutKind::WallRow ? offered.count + 1 : 0);
        // Read without the layout file, the exchange file alone still places every outlet: a row
        // at a wall gives its spacing along the wall, not twice the room's depth.
        EXPECT_EQ(layOutCeiling(x).problem, QString());
        ++kinds[offered.layout->kind];
    }
    EXPECT_EQ(kinds.size(), 3u);

    // A classroom's rows of slots at its 8 m end wall, blowing 9 m: read alone, the exchange file
    // holds the row's own spacing, and its outlets fit the room.
    const std::unique_ptr<CalculationRecord> classroom = test::newRoom(8.0, 9.0, 3.2, 900.0, 22.0, 18.0);
    int rows = 0;
    for (const Suggestion& offered : suggestOutlets(catalogue, *classroom, texts, folders)) {
        if (!offered.feasible || offered.layout->kind != LayoutKind::WallRow || rows == 3)
            continue;
        SCOPED_TRACE(offered.designation.toStdString());
        ++rows;
        auto rec = std::make_unique<CalculationRecord>(*classroom);
        CollectingDialogs quiet;
        takeOverChoice(catalogue, *rec, texts, folders, offered.choice, quiet);
        writeFilesTogether(ceilingPlanFiles(exchangePath, *rec, catalogue));
        const CeilingExchange x = loadCeilingExchange(exchangePath);
        EXPECT_EQ(layOutCeiling(x).problem, QString());
        EXPECT_LT(x.spacing, 8.0);
    }
    EXPECT_EQ(rows, 3);
}

// ---- the program ----------------------------------------------------------------------------

namespace {

struct ToolRun {
    int exitCode = -1;
    QString err;
};

// Runs the tool with its settings in `home`, so that the user's own stay untouched.
ToolRun runTool(const QString& home, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZELK_DECKENSPIEGEL), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

std::pair<quint32, quint32> pngSize(const QByteArray& png) {
    const auto be = [&](int at) {
        return quint32(uchar(png[at])) << 24 | quint32(uchar(png[at + 1])) << 16 |
               quint32(uchar(png[at + 2])) << 8 | quint32(uchar(png[at + 3]));
    };
    return png.startsWith("\x89PNG") && png.size() > 24 ? std::pair{be(16), be(20)} : std::pair{0u, 0u};
}

} // namespace

TEST(DeckenspiegelProgram, WritesThePlanFromTheExchangeFileOrSaysWhyNot) {
    QTemporaryDir home;
    const QString work = home.filePath(QStringLiteral("ZELK"));
    test::writeFile(home.filePath(QStringLiteral("config/Zelk/zol.conf")),
                    QStringLiteral("[General]\nArbeitsverzeichnis=%1\n").arg(work).toUtf8());
    test::writeFile(work + QStringLiteral("/tmp/Zoldaten.tmp"), fileOf(planningRecord()));

    // Called as ZELK FYL calls it: the bare name in another case.
    const QString png = home.filePath(QStringLiteral("plan.png"));
    const QString pdf = home.filePath(QStringLiteral("plan.pdf"));
    ToolRun run = runTool(home.path(), {QStringLiteral("ZOLDaten.tmp"), QStringLiteral("--png"), png,
                                        QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(run.exitCode, 0) << s(run.err);
    EXPECT_EQ(pngSize(test::readFile(png)), (std::pair<quint32, quint32>{2339, 1654})); // A4 at 200 dpi
    const QString pdfText = QString::fromLatin1(test::readFile(pdf));
    EXPECT_TRUE(pdfText.startsWith(QLatin1String("%PDF")));
    EXPECT_EQ(pdfText.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 1);

    // A damaged file: exit 1, the path and the reader's line on standard error, nothing written.
    const QString broken = home.filePath(QStringLiteral("kaputt.tmp"));
    test::writeFile(broken, withLine(12, QStringLiteral("12,5")));
    const QString none = home.filePath(QStringLiteral("none.png"));
    run = runTool(home.path(), {broken, QStringLiteral("--png"), none});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("kaputt.tmp: Zoldaten.tmp, Zeile 12"))) << s(run.err);
    EXPECT_FALSE(QFileInfo::exists(none));

    // A plan that cannot be laid out is no plan to write either.
    CalculationRecord crowded = planningRecord();
    crowded.outletCount = 20;
    test::writeFile(broken, fileOf(crowded));
    run = runTool(home.path(), {broken, QStringLiteral("--pdf"), pdf + QStringLiteral("2")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("passen in keiner Anordnung"))) << s(run.err);
}

// The exit codes of zelkfyl-cli: 2 for a wrong call, 1 for a file that is missing.
TEST(DeckenspiegelProgram, WrongCallsEndWithTwoAndMissingFilesWithOne) {
    QTemporaryDir home;
    test::writeFile(home.filePath(QStringLiteral("config/Zelk/zol.conf")),
                    QStringLiteral("[General]\nArbeitsverzeichnis=%1\n")
                        .arg(home.filePath(QStringLiteral("ZELK")))
                        .toUtf8());
    const QString plan = home.filePath(QStringLiteral("plan.png"));
    const QString written = home.filePath(QStringLiteral("Zoldaten.tmp"));
    test::writeFile(written, fileOf(planningRecord()));
    const struct {
        QStringList args;
        int exitCode;
        const char* reason;
    } cases[] = {
        {{written, QStringLiteral("--png"), plan, QStringLiteral("--massstab")}, 2, "massstab"},
        {{written, written, QStringLiteral("--png"), plan}, 2, "nicht 2"},
        {{QStringLiteral("--png")}, 2, "png"},
        {{QStringLiteral("Fehlt.tmp"), QStringLiteral("--png"), plan}, 1, "Fehlt.tmp"},
        {{home.filePath(QStringLiteral("Fehlt.tmp")), QStringLiteral("--png"), plan}, 1, "Fehlt.tmp"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(home.path(), c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << s(c.args.join(' '));
        EXPECT_TRUE(run.err.contains(QLatin1String(c.reason))) << s(run.err);
        EXPECT_FALSE(QFileInfo::exists(plan));
    }
}

// The command line hands the ceiling plan over as the Tools menu does: the layout file beside the
// exchange file, which the plan then draws; an output onto it is a wrong call.
TEST(DeckenspiegelProgram, TheExchangeCommandWritesTheLayoutBesideAndThePlanDrawsIt) {
    QTemporaryDir home;
    const std::unique_ptr<CalculationRecord> rec = test::newRoom(6.0, 8.0, 3.0, 600.0, 26.0, 18.0);
    const QString fresh = home.filePath(QStringLiteral("fresh.zol")),
                  planned = home.filePath(QStringLiteral("p.zol"));
    writeProjectFile(fresh, *rec);
    const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
    const auto cli = [&](QStringList args) {
        return test::runCli(args << QStringLiteral("--program-dir") << program);
    };
    ASSERT_EQ(cli({QStringLiteral("plan"), fresh, QStringLiteral("--type"), QStringLiteral("DRL"),
                   QStringLiteral("--size"), QStringLiteral("DRL 625"), QStringLiteral("--jet-form"),
                   QStringLiteral("1"), QStringLiteral("--write"), planned})
                  .exitCode,
              0);
    const QString exchange = home.filePath(QStringLiteral("Zoldaten.tmp"));
    const QString layout = home.filePath(QStringLiteral("Zolanordnung.tmp"));
    EXPECT_EQ(cli({QStringLiteral("exchange"), planned, QStringLiteral("--ceiling"), exchange,
                   QStringLiteral("--sound"), layout})
                  .exitCode,
              2);
    ASSERT_EQ(cli({QStringLiteral("exchange"), planned, QStringLiteral("--ceiling"), exchange}).exitCode, 0);
    EXPECT_TRUE(readLayoutExchange(test::readFile(layout)).judged);
    const ToolRun run =
        runTool(home.path(), {exchange, QStringLiteral("--png"), home.filePath(QStringLiteral("p.png"))});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty()) << s(run.err); // the layout file was taken
}
