// The calculation window's count and sound rules as a planner meets them on the road through the
// real windows, on a small catalogue of the test's own; its judgement of the outlet on the demo
// catalogue.
#include "catalogue/cataloguesource.h"
#include "frame/numbers.h"
#include "room/mainwindowmodel.h"
#include "selection/suggestionswindow.h"
#include "tests/support/roadfixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <algorithm>

using namespace fyl;
using fyl::test::copyFolder;
using fyl::test::outletCoefficients;
using fyl::test::RoadTest;

namespace {

// One ceiling outlet AAA 100, rated 100 .. 200 m³/h, blowing along the ceiling (01) or down (02),
// with 24.4 dB at 100 m³/h.
QJsonObject smallCatalogue() {
    const QJsonObject size{{"name", "AAA 100"},
                           {"v_min", 100},
                           {"v_max", 200},
                           {"record", QJsonObject{{"article_number", "A-100"}}},
                           {"jet_forms", QJsonObject{{"01", QJsonObject{{"third_name", "waagerecht"}}},
                                                     {"02", QJsonObject{{"third_name", "senkrecht"}}}}}};
    const QJsonObject type{{"code", "AAA"},
                           {"design", "0"},
                           {"data_sheet", "AAA.pdf"},
                           {"mounting", QJsonArray{1}},
                           {"record", outletCoefficients()},
                           {"sizes", QJsonArray{size}}};
    return {{"characteristic_names_1", QJsonArray{"Decke"}},
            {"characteristic_names_2", QJsonArray{"fest"}},
            {"characteristic_names_3", QJsonArray{"Büro"}},
            {"jet_forms", QJsonArray{"01 waagerecht", "02 senkrecht"}},
            {"installations", QJsonArray{QJsonObject{{"name", "Decke"}, {"types", QJsonArray{"AAA"}}}}},
            {"types", QJsonArray{type}}};
}

} // namespace

// 600 m³/h with admissible 24.4 dB: Vsound = 10^((24.4 + 15.6) / 20) = 100, so 6 outlets of
// 100 m³/h at 24.4 dB (20 lg 100 - 15.6 with the program's lg constant: 24.39999996); the count
// range is trunc(600 / 200 + 0.999) = 3 to trunc(600 / 100) = 6 and the bar stands at the 6.
TEST_F(RoadTest, CalculationWindowCountAndSoundRulesAsThePlannerMeetsThem) {
    copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
    writeCatalogueFiles(buildCatalogue(QJsonDocument(smallCatalogue()).toJson()), program);
    startWindows();
    enter(main->edit7, QStringLiteral("600"));
    enter(main->Edit14, QStringLiteral("24,4"));
    press(main->BitBtn1);
    pick(selection->listbox1, QStringLiteral("Decke"));
    pick(selection->ListBox8, QStringLiteral("AAA")); // the single size jumps to its jet forms
    auto choose = [&](const char* jetForm) {
        pick(selection->ListBox10, QString::fromLatin1(jetForm));
        press(selection->weiter);
        ASSERT_TRUE(results->isVisible());
    };
    choose("01");
    EXPECT_EQ(shown(form3::Label7), "100,00");
    EXPECT_EQ(shown(form3::Label10), "10"); // 0.001 · 100²
    EXPECT_EQ(shown(form3::Label15), " < 25");
    EXPECT_FALSE(red(form3::Label15)); // 24.4 dB where 24.4 are admitted
    EXPECT_EQ(shown(form3::Edit1), "6");
    EXPECT_EQ(results->ScrollBar1->value(), 6);
    EXPECT_EQ(results->ScrollBar1->minimum(), 3);
    EXPECT_EQ(results->ScrollBar1->maximum(), 6);

    // The same level from the vertical evaluation is a number.
    press(results->Button1);
    EXPECT_FALSE(results->isVisible());
    ASSERT_TRUE(selection->isVisible());
    choose("02");
    EXPECT_EQ(shown(form3::Label15), "24");
    EXPECT_FALSE(red(form3::Label15));
    EXPECT_TRUE(results->widget(form3::GroupBox2)->isVisible());
    EXPECT_FALSE(results->widget(form3::GroupBox1)->isVisible());
    EXPECT_FALSE(results->widget(form3::Label39)->isVisible());

    // Every count the bar offers keeps 600 / count within 100 .. 200: the field stays white. A typed
    // count beyond the range is taken as the nearest end.
    press(results->Button1);
    choose("01");
    enterCount(QStringLiteral("3"));
    for (const char* flow : {"200,00", "150,00", "120,00", "100,00"}) {
        EXPECT_EQ(shown(form3::Edit1), QString::number(results->ScrollBar1->value())) << flow;
        EXPECT_EQ(shown(form3::Label7), flow);
        EXPECT_TRUE(white(form3::Edit1)) << flow;
        clickArrow(QStyle::SC_ScrollBarAddLine);
    }
    EXPECT_EQ(results->ScrollBar1->value(), 6);
    EXPECT_EQ(shown(form3::Label15), " < 25");
    enterCount(QStringLiteral("2"));
    EXPECT_EQ(results->ScrollBar1->value(), 3);
    EXPECT_EQ(shown(form3::Edit1), "3");
    EXPECT_EQ(shown(form3::Label7), "200,00");
    EXPECT_EQ(shown(form3::Label15), "30"); // 20 lg 200 - 15.6 = 30.4 above 24.4
    EXPECT_TRUE(red(form3::Label15));
    enterCount(QStringLiteral("7"));
    EXPECT_EQ(shown(form3::Edit1), "6");
    EXPECT_EQ(shown(form3::Label7), "100,00");
    EXPECT_TRUE(white(form3::Edit1));

    // One dB less admitted in the room data: the six outlets set by hand stay and their level turns red.
    enter(main->Edit14, QStringLiteral("23,4"));
    EXPECT_EQ(shown(form3::Label7), "100,00");
    EXPECT_EQ(shown(form3::Label13), "( 23,4 )");
    EXPECT_TRUE(red(form3::Label15));

    // " Auswahl" and the same outlet again: the count is proposed anew for 23.4 dB,
    // Vsound = 10^(39 / 20) = 89.13, 6.73 outlets, N = 7: 85.71 m³/h at 23.06 dB. Seven lie beyond
    // the range 3 .. 6 (85.71 m³/h is less than one outlet takes): the field says 7 on red and the
    // bar stands at its end.
    press(results->Button1);
    choose("01");
    EXPECT_EQ(shown(form3::Label7), "85,71");
    EXPECT_EQ(shown(form3::Edit1), "7");
    EXPECT_TRUE(red(form3::Edit1));
    EXPECT_EQ(results->ScrollBar1->value(), 6);
    EXPECT_FALSE(red(form3::Label15));

    // 50 m³/h: at least trunc(0.25 + 0.999) = 1 and at most trunc(0.5) = 0 outlets. The bar offers
    // the one outlet the evaluation uses.
    enter(main->edit7, QStringLiteral("50"));
    EXPECT_EQ(shown(form3::Label7), "50,00");
    EXPECT_EQ(shown(form3::Edit1), "1");
    EXPECT_EQ(results->ScrollBar1->minimum(), 1);
    EXPECT_EQ(results->ScrollBar1->maximum(), 1);
    EXPECT_EQ(results->ScrollBar1->value(), 1);

    // "zurück" with five outlets set by hand: the main window with its room data, and "weiter"
    // brings back the five.
    enter(main->edit7, QStringLiteral("600"));
    main->Vorgaben1->trigger(); // the room data panel closed
    ASSERT_FALSE(main->GroupBox3->isVisible());
    enterCount(QStringLiteral("5"));
    EXPECT_EQ(shown(form3::Label7), "120,00");
    press(results->Button2);
    EXPECT_FALSE(results->isVisible());
    EXPECT_FALSE(selection->isVisible());
    EXPECT_TRUE(main->GroupBox3->isVisible());
    EXPECT_EQ(+forms->state.record.outletCount, 5.0);
    press(main->BitBtn1);
    ASSERT_TRUE(results->isVisible());
    EXPECT_EQ(shown(form3::Edit1), "5");
    EXPECT_EQ(shown(form3::Label7), "120,00");

    // More air with the five kept: the bar keeps its range 3 .. 6, where 700 / 3 = 233 m³/h is
    // more than one outlet takes.
    enter(main->edit7, QStringLiteral("700"));
    EXPECT_EQ(shown(form3::Label7), "140,00");
    clickArrow(QStyle::SC_ScrollBarSubLine);
    clickArrow(QStyle::SC_ScrollBarSubLine);
    EXPECT_EQ(shown(form3::Edit1), "3");
    EXPECT_TRUE(red(form3::Edit1));
    clickArrow(QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(shown(form3::Label7), "175,00");
    EXPECT_TRUE(white(form3::Edit1));

    // " Auswahl" discards the count set by hand: the proposal for 700 m³/h, 7.85 outlets, N = 8 of
    // 87.50 m³/h, is beyond the range 4 .. 7 and says so.
    clickArrow(QStyle::SC_ScrollBarSubLine);
    ASSERT_TRUE(red(form3::Edit1));
    press(results->Button1);
    choose("01");
    EXPECT_EQ(shown(form3::Label7), "87,50");
    EXPECT_EQ(shown(form3::Edit1), "8");
    EXPECT_TRUE(red(form3::Edit1));
    EXPECT_EQ(results->ScrollBar1->value(), 7);
    // Typing the 8 again changes nothing; typing 7 takes the bar's end, though the bar does not move.
    enterCount(QStringLiteral("8"));
    EXPECT_EQ(shown(form3::Label7), "87,50");
    enterCount(QStringLiteral("7"));
    EXPECT_EQ(shown(form3::Label7), "100,00");
    EXPECT_EQ(shown(form3::Edit1), "7");
    EXPECT_TRUE(white(form3::Edit1));

    // Saved and loaded again, "weiter" keeps the seven: a whole stored count was set by hand.
    const QString seven = path("seven.zol");
    save(seven);
    dialogs.fileAnswers.push_back(seven);
    main->Laden1->trigger();
    main->Vorgaben1->trigger();
    press(main->BitBtn1);
    ASSERT_TRUE(results->isVisible());
    EXPECT_EQ(shown(form3::Edit1), "7");
    EXPECT_EQ(shown(form3::Label7), "100,00");
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

// 600 m³/h cooled 8 K in a room 4 × 6 × 3 m on the demo catalogue. DRL 400 chosen by hand: the
// window proposes three, in a row along the 6 m, 2,00 m apart and 1,00 m from the end walls, closer
// than its jets allow. At the count the suggestion list ranks for it, the window judges it as the
// list does; and a suggestion taken over holds every check.
TEST_F(RoadTest, CalculationWindowJudgesTheOutletAtItsCountAsTheSuggestionListDoes) {
    copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
    startWindows();
    enter(main->roomEdit(RoomField::Width), QStringLiteral("4"));
    enter(main->roomEdit(RoomField::Length), QStringLiteral("6"));
    enter(main->edit7, QStringLiteral("600"));
    enter(main->roomEdit(RoomField::RoomTemperature), QStringLiteral("24"));
    enter(main->roomEdit(RoomField::SupplyTemperature), QStringLiteral("16"));
    dialogs.confirmAnswers = {true, true, true};
    press(main->BitBtn1);
    ASSERT_TRUE(selection->isVisible());
    ASSERT_EQ(forms->state.record.supplyTemp, 16.0);
    press(selection->Vorschlaege);
    QPointer<SuggestionsWindow> list = selection->suggestions();
    ASSERT_TRUE(list && list->isVisible());
    const std::vector<Suggestion> ranked = list->suggestions();
    const auto drl400 = std::find_if(ranked.begin(), ranked.end(), [](const Suggestion& s) {
        return s.designation == QLatin1String("DRL  400 horizontal");
    });
    ASSERT_NE(drl400, ranked.end());
    ASSERT_TRUE(drl400->feasible && drl400->layout && drl400->draughtRating);
    ASSERT_NE(drl400->count, 3);
    list->close();

    const auto lines = [&] { return shown(form3::judgementLines).split(QLatin1Char('\n')); };
    const auto draughtShown = [&](double rating) {
        return shown(form3::DraughtHint)
            .contains(QStringLiteral(": %1 % – ").arg(numbers::formatFixed(rating, 15, 1)));
    };
    pick(selection->listbox1, QStringLiteral("Deckendurchlässe"));
    pick(selection->ListBox8, QStringLiteral("DRL"));
    pick(selection->ListBox9, QStringLiteral("DRL 400"));
    press(selection->weiter);
    ASSERT_TRUE(results->isVisible());
    ASSERT_EQ(shown(form3::Edit1), QStringLiteral("3"));
    EXPECT_TRUE(results->widget(form3::judgementLines)->isVisible());
    EXPECT_TRUE(red(form3::judgementLines));
    EXPECT_EQ(lines(),
              (QStringList{QStringLiteral("Abstand 2,00 m < a min %1 m").arg(shown(form3::Label19)),
                           QStringLiteral("Wandabstand 1,00 m < w min %1 m").arg(shown(form3::Label20))}));
    EXPECT_EQ(shown(form3::judgementLayout), QStringLiteral("Anordnung: 1 × 3, 2,00 / 2,00 m"));

    // The list's count: its layout, its draught rating, and every check holds.
    enterCount(QString::number(drl400->count));
    ASSERT_EQ(shown(form3::Edit1), QString::number(drl400->count));
    EXPECT_EQ(lines(), QStringList{kAllChecksMet});
    EXPECT_FALSE(red(form3::judgementLines));
    EXPECT_EQ(results->widget(form3::judgementLines)->palette().color(QPalette::WindowText),
              QColor(0, 128, 0));
    EXPECT_EQ(shown(form3::judgementLayout), QStringLiteral("Anordnung: ") + layoutText(*drl400->layout));
    EXPECT_TRUE(draughtShown(*drl400->draughtRating)) << shown(form3::DraughtHint).toStdString();

    // The list's first row taken over with a double click.
    press(results->Button1);
    ASSERT_TRUE(selection->isVisible());
    press(selection->Vorschlaege);
    list = selection->suggestions();
    ASSERT_TRUE(list && list->isVisible());
    const Suggestion best = list->suggestions().front();
    ASSERT_TRUE(best.feasible && best.draughtRating) << best.designation.toStdString();
    QTableWidget* table = list->table;
    const QPoint firstRow = table->visualItemRect(table->item(0, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, firstRow);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, firstRow);
    QApplication::processEvents();
    ASSERT_TRUE(results->isVisible());
    EXPECT_EQ(shown(form3::Label1), best.designation);
    EXPECT_EQ(lines(), QStringList{kAllChecksMet});
    EXPECT_FALSE(red(form3::judgementLines));
    EXPECT_TRUE(draughtShown(*best.draughtRating)) << shown(form3::DraughtHint).toStdString();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}
