// The report's data page as a display list at 600 dpi (u = 2): positions, tables and texts
// hand-computed from the layout. Core group.
#include "calc/judgement.h"
#include "fixtures/calcfixture.h"
#include "frame/numbers.h"
#include "print/reportpages.h"
#include "support/testfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace fyl {
namespace {

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("Fyltext.txt"));
        test::writeAnsiLines(path, test::textTableLines(TextTable::kEntries,
                                                        [](int n) { return QStringLiteral("E%1").arg(n); }));
        state->texts.load(path);
    }

    ReportPage page(ReportChoices choices = {}) {
        ReportInputs in{state->record, state->texts,       catalogue, QStringLiteral("Typ 1  Gr 2"),
                        dir.path(),    QDate(2026, 12, 7), 600,       choices};
        return reportDataPage(in);
    }

    const TextPrimitive* text(const ReportPage& p, const QString& s) {
        for (const PicturePrimitive& prim : p)
            if (const auto* t = std::get_if<TextPrimitive>(&prim); t != nullptr && t->text == s)
                return t;
        return nullptr;
    }
    // The value text on the row at `y`, right-aligned to the value column.
    QString valueAt(const ReportPage& p, int y) {
        for (const PicturePrimitive& prim : p)
            if (const auto* t = std::get_if<TextPrimitive>(&prim);
                t != nullptr && t->align == TextAlign::Right && t->at == Pixel{3575, y})
                return t->text;
        return QStringLiteral("<none>");
    }
    // The y of every table line spanning the frame from L - 10u to 2100u.
    std::vector<int> ruleYs(const ReportPage& p, int top) {
        std::vector<int> ys;
        for (const PicturePrimitive& prim : p)
            if (const auto* l = std::get_if<LinePrimitive>(&prim);
                l != nullptr && l->from.y == l->to.y && l->from.y >= top &&
                std::min(l->from.x, l->to.x) == 555 && std::max(l->from.x, l->to.x) == 4200)
                ys.push_back(l->from.y);
        std::sort(ys.begin(), ys.end());
        return ys;
    }

    QTemporaryDir dir;
    std::unique_ptr<test::CalcState> state = test::ceilingDiffuserState();
    Catalogue catalogue; // none: the outlet is laid out as one offered for any place
};

// The block "Anordnung und Prüfungen" of a page as its rows read: the label at the table edge
// (575), then its text, joined from the lines of the text column (575 + 360u); a failed row is red.
struct CheckRowRead {
    QString label, text;
    bool red = false;
    friend bool operator==(const CheckRowRead&, const CheckRowRead&) = default;
};
std::vector<CheckRowRead> checkRows(const ReportPage& p, int from) {
    std::vector<CheckRowRead> rows;
    int lowest = 0;
    for (const PicturePrimitive& prim : p) {
        const auto* t = std::get_if<TextPrimitive>(&prim);
        if (t == nullptr || t->at.y <= from)
            continue;
        if (t->at.x == 575)
            rows.push_back({t->text, QString(), t->colour == picturecolours::kRed});
        else if (t->at.x == 575 + 720 && !rows.empty())
            rows.back().text += (rows.back().text.isEmpty() ? QString() : QStringLiteral(" ")) + t->text;
        lowest = std::max(lowest, t->at.y);
    }
    EXPECT_LE(lowest, 2 * 3380) << "a line below the printable part of the page";
    return rows;
}
std::vector<CheckRowRead> expectedRows(const Judgement& j) {
    std::vector<CheckRowRead> rows;
    rows.push_back({QStringLiteral("Anordnung"), layoutText(j.layout), false});
    rows.push_back({QStringLiteral("Zugluftrisiko"),
                    QStringLiteral("DR %1 % – ").arg(numbers::formatFixed(j.draught->rating, 15, 1)), false});
    for (const LayoutCheck& c : j.checks)
        rows.push_back({c.ok ? QStringLiteral("erfüllt") : QStringLiteral("nicht erfüllt"), c.text, !c.ok});
    rows.push_back({QStringLiteral("Ergebnis"),
                    j.failed == 0   ? kAllChecksMet
                    : j.failed == 1 ? QStringLiteral("1 Prüfung nicht erfüllt")
                                    : QStringLiteral("%1 Prüfungen nicht erfüllt").arg(j.failed),
                    j.failed > 0});
    return rows;
}

TEST(ReportUnit, IsAnExactRatioOfTheResolution) {
    EXPECT_EQ(reportPixels(600, 250), 500);
    EXPECT_EQ(reportPixels(1200, 930), 3720);
    EXPECT_EQ(reportPixels(150, 250), 125); // no collapse to 0
    EXPECT_EQ(reportPixels(200, 70), 47);   // 46.67
}

TEST_F(ReportTest, LetterheadStandsTopRightWithTheMakersPicture) {
    const ReportPage p = page();
    const TextPrimitive* first = text(p, QStringLiteral("E189"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->at, (Pixel{2400, 160}));
    EXPECT_TRUE(first->bold);
    EXPECT_EQ(first->pointSize, 9);
    const TextPrimitive* last = text(p, QStringLiteral("E194"));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->at, (Pixel{2400, 630}));
    EXPECT_FALSE(last->bold);
    EXPECT_EQ(last->pointSize, 8);
    const auto image = std::find_if(p.begin(), p.end(), [](const PicturePrimitive& prim) {
        return std::holds_alternative<ImagePrimitive>(prim);
    });
    ASSERT_NE(image, p.end());
    const auto& bmp = std::get<ImagePrimitive>(*image);
    EXPECT_EQ(bmp.file, dir.filePath(QStringLiteral("image4.bmp")));
    EXPECT_EQ((std::array{bmp.left, bmp.top, bmp.width, bmp.height}), (std::array{3500, 280, 1000, 440}));

    ReportChoices bare;
    bare.withoutLetterhead = true;
    const ReportPage without = page(bare);
    EXPECT_FALSE(text(without, QStringLiteral("E189")));
    EXPECT_TRUE(std::none_of(without.begin(), without.end(), [](const PicturePrimitive& prim) {
        return std::holds_alternative<ImagePrimitive>(prim);
    }));
}

TEST_F(ReportTest, HeaderTitlesAndTheRule) {
    const ReportPage p = page();
    const TextPrimitive* title = text(p, QStringLiteral("E164"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->at, (Pixel{500, 760}));
    EXPECT_EQ(title->pointSize, 14);
    ASSERT_TRUE(text(p, QStringLiteral("E130")));
    EXPECT_EQ(text(p, QStringLiteral("E130"))->at, (Pixel{500, 960}));
    ASSERT_TRUE(text(p, QStringLiteral("E131")));
    EXPECT_EQ(text(p, QStringLiteral("E131"))->at, (Pixel{500, 2000}));
    ASSERT_TRUE(text(p, QStringLiteral("E132")));
    EXPECT_EQ(text(p, QStringLiteral("E132"))->at, (Pixel{500, 3700}));
    const LinePrimitive rule{{500, 1860}, {4400, 1860}, Pen{picturecolours::kBlack, 5}};
    EXPECT_TRUE(std::any_of(p.begin(), p.end(), [&](const PicturePrimitive& prim) {
        const auto* l = std::get_if<LinePrimitive>(&prim);
        return l && l->from == rule.from && l->to == rule.to && l->pen == rule.pen;
    }));
}

TEST_F(ReportTest, RoomTableRowsStandOnTheTableEdgeAtTheirPitch) {
    const ReportPage p = page();
    ASSERT_TRUE(text(p, QStringLiteral("E133")));
    EXPECT_EQ(text(p, QStringLiteral("E133"))->at, (Pixel{575, 2140}));
    EXPECT_EQ(text(p, QStringLiteral("E134"))->at, (Pixel{575, 2280}));
    EXPECT_EQ(valueAt(p, 2280), QStringLiteral("3"));                   // room height in general form
    EXPECT_EQ(text(p, QStringLiteral("m/s"))->at, (Pixel{3775, 3260})); // row 9: the velocity limit
    // Outline top and bottom and all eleven rules, two of which coincide with the outline.
    const std::vector<int> ys = ruleYs(p, 2000);
    const std::vector<int> room(ys.begin(),
                                std::find_if(ys.begin(), ys.end(), [](int y) { return y > 3700; }));
    EXPECT_EQ(room.size(), 13u);
    EXPECT_EQ(room.front(), 2124);
    EXPECT_EQ(room.back(), 2000 + 11 * 140 - 16);
}

TEST_F(ReportTest, TableAFramesFourteenRowsAndLeavesTheVelocityRowsOpen) {
    state->record.xKrit = 0.05;
    const ReportPage p = page();
    ASSERT_TRUE(text(p, QStringLiteral("E154")));
    EXPECT_EQ(text(p, QStringLiteral("E154"))->at, (Pixel{1375, 3980}));
    EXPECT_EQ(valueAt(p, 3700 + 15 * 140), QStringLiteral("0,05")); // x-krit as a number
    std::vector<int> expected{3824, 3824, 5784, 5784};              // outline and the rules on it
    for (int i = 2; i <= 14; ++i)
        if (i != 10 && i != 12 && i != 14)
            expected.push_back(3700 + i * 140 - 16);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ruleYs(p, 3700), expected);

    // Design "3" is rated per metre: the row shows a whole outlet's flow, as the window does.
    state->record.designCode.assign(QStringLiteral("3"));
    state->record.flowPerOutlet = 50.0;
    state->record.effectiveLength = 3000.0;
    EXPECT_EQ(valueAt(page(), 3700 + 4 * 140), QStringLiteral("150,00"));
}

TEST_F(ReportTest, TableBStarsThePressureDropOfDesignTwoAndAShortDetachment) {
    test::setJetForm(state->record, "04");
    state->record.designCode.assign(QStringLiteral("2"));
    state->record.xKrit = 0.05;
    const ReportPage p = page();
    ASSERT_TRUE(text(p, QStringLiteral("E175")));
    EXPECT_EQ(text(p, QStringLiteral("E175"))->at, (Pixel{1375, 3980}));
    EXPECT_EQ(valueAt(p, 3700 + 8 * 140), QStringLiteral("******"));
    EXPECT_EQ(valueAt(p, 3700 + 17 * 140), QStringLiteral("******"));
    ASSERT_TRUE(text(p, QStringLiteral("E150"))); // the velocity rows are named as velocities
    EXPECT_EQ(text(p, QStringLiteral("E150"))->at.y, 3700 + 12 * 140);
    std::vector<int> expected{3824, 3824, 6064, 6064};
    for (int i = 2; i <= 16; ++i)
        if (i != 12 && i != 14 && i != 16)
            expected.push_back(3700 + i * 140 - 16);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ruleYs(p, 3700), expected);
}

TEST_F(ReportTest, TableDLiesTenUnitsAboveItsRows) {
    state->record.verticalJet = 1;
    state->record.horizontalJet = 0;
    state->record.designCode.assign(QStringLiteral("1"));
    const ReportPage p = page();
    ASSERT_TRUE(text(p, QStringLiteral("E174")));
    EXPECT_TRUE(text(p, QStringLiteral("E161")));
    const std::vector<int> ys = ruleYs(p, 3700);
    ASSERT_EQ(ys.size(), 10u); // outline top and bottom and eight rules
    EXPECT_EQ(ys.front(), 3700 + 140 - 20);
    EXPECT_EQ(ys.back(), 3700 + 8 * 140 - 20);
}

TEST_F(ReportTest, JoinedLinesAreCutAtSixtyNineCharacters) {
    state->record.editor[0].assign(QString(40, QLatin1Char('a')));
    state->record.editor[1].assign(QString(40, QLatin1Char('b')));
    state->record.projectName.assign(QString(50, QLatin1Char('n')));
    state->record.projectNumber.assign(QString(16, QLatin1Char('7')));
    const ReportPage p = page();
    const QString editors =
        QString(40, QLatin1Char('a')) + QStringLiteral(" / ") + QString(26, QLatin1Char('b'));
    ASSERT_TRUE(text(p, editors));
    EXPECT_EQ(text(p, editors)->at, (Pixel{1300, 1160}));
    // 50 + 3 + 16 = 69: the longest name and number fit whole.
    EXPECT_TRUE(
        text(p, QString(50, QLatin1Char('n')) + QStringLiteral(" / ") + QString(16, QLatin1Char('7'))));
}

// A picture section of 0,5 + 1,5 + 0,5 m under 2,5 m: kx = 3700 / 2,5 = 1480 and
// ky = 2600 / 2,5 = 1040 device pixels per metre, both exact.
class ReportPictureTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        CalculationRecord& rec = state->record;
        rec.outletCount = 2;
        rec.spacing = 1.5;
        rec.wallLeft = 0.5;
        rec.wallRight = 0.5;
        rec.roomHeight = 2.5;
        rec.mountingHeight = 2.5;
        rec.headHeight = 1.5;
    }
    ReportPage picturePage(bool proportional, const std::vector<OutletContour>& zones = {}) {
        ReportInputs in{state->record, state->texts,       catalogue, QStringLiteral("Typ 1  Gr 2"),
                        dir.path(),    QDate(2026, 12, 7), 600,       {}};
        in.proportional = proportional;
        return reportPicturePage(in, zones);
    }
    template <class T> static std::vector<T> all(const ReportPage& p) {
        std::vector<T> out;
        for (const PicturePrimitive& prim : p)
            if (const T* t = std::get_if<T>(&prim))
                out.push_back(*t);
        return out;
    }
    static bool hasLine(const ReportPage& p, Pixel from, Pixel to, int width) {
        return std::any_of(p.begin(), p.end(), [&](const PicturePrimitive& prim) {
            const auto* l = std::get_if<LinePrimitive>(&prim);
            return l != nullptr && l->from == from && l->to == to && l->pen.width == width;
        });
    }
};

TEST_F(ReportPictureTest, FrameGridHeadHeightAndOutletsAtTheirScale) {
    const ReportPage p = picturePage(false);
    const auto polygons = all<PolygonPrimitive>(p);
    ASSERT_FALSE(polygons.empty());
    EXPECT_EQ(polygons.front().points,
              (std::vector<Pixel>{{500, 3000}, {4200, 3000}, {4200, 5600}, {500, 5600}}));
    ASSERT_TRUE(polygons.front().pen);
    EXPECT_EQ(polygons.front().pen->width, 3);
    // Centre 500 + trunc(1,25 * 1480) = 2350; grid every 1480 either side while inside the frame.
    EXPECT_TRUE(hasLine(p, {2350, 3000}, {2350, 5600}, 1));
    EXPECT_TRUE(hasLine(p, {870, 3000}, {870, 5600}, 1));
    EXPECT_TRUE(hasLine(p, {3830, 3000}, {3830, 5600}, 1));
    EXPECT_TRUE(hasLine(p, {500, 4560}, {4200, 4560}, 1));
    EXPECT_TRUE(hasLine(p, {500, 3520}, {4200, 3520}, 1));
    EXPECT_TRUE(hasLine(p, {500, 4040}, {4200, 4040}, 6)); // head height 1,5 m
    ASSERT_TRUE(text(p, QStringLiteral("E213")));
    EXPECT_EQ(text(p, QStringLiteral("E213"))->at, (Pixel{520, 4080}));
    // Outlets 1110 either side of the centre at the ceiling, radius 20u.
    const auto circles = all<EllipsePrimitive>(p);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ((std::array{circles[0].left, circles[0].top, circles[0].right, circles[0].bottom}),
              (std::array{1200, 2960, 1280, 3040}));
    EXPECT_EQ(circles[1].left, 3420);
    EXPECT_EQ(circles[0].brush, picturecolours::kWhite);
    EXPECT_EQ(circles[0].pen.width, 3);
    // Value block and legend.
    ASSERT_TRUE(text(p, QStringLiteral("2,50 m")));
    EXPECT_EQ(text(p, QStringLiteral("2,50 m"))->at, (Pixel{3500, 1560}));
    ASSERT_TRUE(text(p, QStringLiteral("E127") + QStringLiteral("0,20 [m/s]")));
    EXPECT_EQ(text(p, QStringLiteral("E127") + QStringLiteral("0,20 [m/s]"))->at, (Pixel{500, 5660}));
    ASSERT_TRUE(text(p, QStringLiteral("E124 E125")));
    EXPECT_EQ(text(p, QStringLiteral("E124 E125"))->at, (Pixel{500, 5800}));
}

TEST_F(ReportPictureTest, ProportionalPictureEndsAtItsOwnFloor) {
    const ReportPage p = picturePage(true);
    // ky = kx = 1480: F = 3000 + trunc(2,5 * 1480) = 6700.
    EXPECT_EQ(all<PolygonPrimitive>(p).front().points[2], (Pixel{4200, 6700}));
    EXPECT_TRUE(hasLine(p, {500, 4480}, {4200, 4480}, 6)); // 6700 - trunc(1480 * 1,5)
    ASSERT_TRUE(text(p, QStringLiteral("E126")));
    EXPECT_EQ(text(p, QStringLiteral("E126"))->at, (Pixel{500, 7000}));
}

// A room typed 100 km high gave a grid line per metre: 100 000 lines, all on the floor line or
// far below the page. Only lines inside the frame and on the A4 page (7016 pixels) are drawn.
TEST_F(ReportPictureTest, AVeryHighRoomGetsNoLinesBeyondTheFrameOrThePage) {
    state->record.roomHeight = state->record.mountingHeight = 1e5;
    for (bool proportional : {false, true}) {
        const ReportPage p = picturePage(proportional);
        int grid = 0;
        for (const LinePrimitive& l : all<LinePrimitive>(p)) {
            if (l.pen.width == 1 && l.from.y == l.to.y && l.from.x == 500) {
                ++grid;
                EXPECT_TRUE(l.from.y >= 3000 && l.from.y <= 7016) << l.from.y;
            }
        }
        EXPECT_LE(grid, 4) << proportional; // rows 1480 apart when proportional, else one floor line
        EXPECT_GE(grid, 1) << proportional;
    }
}

TEST_F(ReportPictureTest, ZonesAreGreyAndClampedIntoTheFrame) {
    OutletContour zone;
    zone.contour.polygons = {{{-1.0, 0.5}, {0.25, 0.5}, {0.25, 10.0}, {-1.0, 0.5}}};
    OutletContour failed;
    failed.error = 3;
    failed.contour.polygons = zone.contour.polygons;
    const ReportPage p = picturePage(false, {zone, failed});
    const auto polygons = all<PolygonPrimitive>(p);
    ASSERT_EQ(polygons.size(), 2u); // the frame and the first outlet's zone
    EXPECT_EQ(polygons[1].points, (std::vector<Pixel>{{500, 3520}, {1610, 3520}, {1610, 5600}}));
    EXPECT_EQ(polygons[1].brush, (Rgb{128, 128, 128}));
}

TEST_F(ReportPictureTest, PicturePageAloneIsTheFirstPage) {
    ReportInputs in{state->record, state->texts,       catalogue, QString(),
                    dir.path(),    QDate(2026, 12, 7), 600,       {}};
    in.choices.dataPage = false;
    const std::vector<ReportPage> pages = reportPages(in, {});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(text(pages[0], QStringLiteral("E165")));
    EXPECT_FALSE(text(pages[0], QStringLiteral("E164")));
    in.choices.picturePage = false;
    EXPECT_TRUE(reportPages(in, {}).empty());
}

// The block lists every check of the outlet's judgement at its count, as the calculation window
// judges it: under a short vertical table on the data page; after a horizontal one, whose table
// leaves too little of the page, on a page of its own before the picture page. The room is cooled
// 8 K (26 °C, supply 18 °C): a vertical jet fails, and its picture page says why it has no picture.
TEST_F(ReportTest, TheChecksBlockListsEveryCheckAndACooledVerticalJetHasNoPicture) {
    for (const char* jetForm : {"02", "01"}) {
        SCOPED_TRACE(jetForm);
        test::setJetForm(state->record, jetForm);
        ShowOutletResults(state->parts());
        const std::optional<Judgement> j =
            judgeRecord(state->record, choiceGeometry(catalogue, state->record));
        ASSERT_TRUE(j && j->draught);
        ReportInputs in{state->record, state->texts,       catalogue, QStringLiteral("DLQ"),
                        dir.path(),    QDate(2026, 12, 7), 600,       {}};
        const std::vector<ReportPage> pages = reportPages(in, {});
        const bool vertical = jetForm[1] == '2';
        ASSERT_EQ(pages.size(), vertical ? 2u : 3u);
        const ReportPage& block = pages[vertical ? 0 : 1];
        const TextPrimitive* title = text(block, QStringLiteral("Anordnung und Prüfungen"));
        ASSERT_TRUE(title);
        EXPECT_EQ(text(pages[0], QStringLiteral("Anordnung und Prüfungen")) != nullptr, vertical);
        std::vector<CheckRowRead> rows = checkRows(block, title->at.y);
        ASSERT_GE(rows.size(), 2u);
        rows[1].text.truncate(rows[1].text.indexOf(QStringLiteral(" – ")) + 3);
        EXPECT_EQ(rows, expectedRows(*j));
        const QString cold =
            QStringLiteral("kalter Vertikalstrahl (8,0 K Untertemperatur, höchstens 3 K) fällt in den "
                           "Aufenthaltsbereich: sein Absinken wird nicht berechnet");
        EXPECT_EQ(
            std::count(rows.begin(), rows.end(), CheckRowRead{QStringLiteral("nicht erfüllt"), cold, true}),
            vertical ? 1 : 0);

        // The picture page: the section, or for the cooled vertical jet the sentence instead of it.
        const ReportPage& picture = pages.back();
        ASSERT_TRUE(text(picture, QStringLiteral("E165")));
        QString said;
        for (const PicturePrimitive& prim : picture)
            if (const auto* t = std::get_if<TextPrimitive>(&prim); t != nullptr && t->at.y >= 3000)
                said += t->text + QLatin1Char(' ');
        EXPECT_EQ(
            said.startsWith(QStringLiteral("Kein Strömungsbild: die Zuluft ist 8,0 K kälter als der Raum.")),
            vertical)
            << said.toStdString();
        EXPECT_EQ(std::any_of(picture.begin(), picture.end(),
                              [](const PicturePrimitive& prim) {
                                  return std::holds_alternative<EllipsePrimitive>(prim);
                              }),
                  !vertical);
    }
}

} // namespace
} // namespace fyl
