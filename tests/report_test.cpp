// The report's data page as a display list at 600 dpi (u = 2): positions, tables and texts
// hand-computed from the layout. Core group.
#include "fixtures/calcfixture.h"
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
        ReportInputs in{state->record, state->texts,       QStringLiteral("Typ 1  Gr 2"),
                        dir.path(),    QDate(2026, 12, 7), 600,
                        choices};
        return reportDataPage(in);
    }

    const TextPrimitive* text(const ReportPage& p, const QString& s) {
        for (const PicturePrimitive& prim : p)
            if (const auto* t = std::get_if<TextPrimitive>(&prim); t && t->text == s)
                return t;
        return nullptr;
    }
    // The value text on the row at `y`, right-aligned to the value column.
    QString valueAt(const ReportPage& p, int y) {
        for (const PicturePrimitive& prim : p)
            if (const auto* t = std::get_if<TextPrimitive>(&prim);
                t && t->align == TextAlign::Right && t->at == Pixel{3575, y})
                return t->text;
        return QStringLiteral("<none>");
    }
    // The y of every table line spanning the frame from L - 10u to 2100u.
    std::vector<int> ruleYs(const ReportPage& p, int top) {
        std::vector<int> ys;
        for (const PicturePrimitive& prim : p)
            if (const auto* l = std::get_if<LinePrimitive>(&prim);
                l && l->from.y == l->to.y && l->from.y >= top && std::min(l->from.x, l->to.x) == 555 &&
                std::max(l->from.x, l->to.x) == 4200)
                ys.push_back(l->from.y);
        std::sort(ys.begin(), ys.end());
        return ys;
    }

    QTemporaryDir dir;
    std::unique_ptr<test::CalcState> state = test::ceilingDiffuserState();
};

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
    bare.noLetterhead = true;
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

} // namespace
} // namespace fyl
