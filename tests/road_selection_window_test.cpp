// The selection window on the road through the real windows: its flow filter, jumps and tube
// configuration on a small catalogue of the test's own, and its suggestion list on the demo
// catalogue, sorted by a column, with the take-over of a double-clicked choice.
#include "catalogue/cataloguesource.h"
#include "flowsim/Unit4.h"
#include "results/judgementview.h"
#include "selection/planchoice.h"
#include "selection/suggestionswindow.h"
#include "tests/support/roadfixture.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPointer>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <algorithm>

using namespace fyl;
using fyl::test::copyFolder;
using fyl::test::outletCoefficients;
using fyl::test::RoadTest;
using Kind = fyl::test::ScriptedDialogs::Shown::Kind;

namespace {

QJsonObject sizeEntry(const char* name, int vMin, int vMax, std::initializer_list<const char*> jetForms,
                      QJsonObject record = {}) {
    QJsonObject forms;
    for (const char* form : jetForms)
        forms[QLatin1String(form)] = QJsonObject{{"third_name", "Strahl"}};
    record[QStringLiteral("article_number")] = QString::fromLatin1(name);
    return {{"name", name}, {"v_min", vMin}, {"v_max", vMax}, {"record", record}, {"jet_forms", forms}};
}

QJsonObject typeEntry(const char* code, const char* design, const QJsonArray& sizes) {
    return {{"code", code},
            {"design", design},
            {"data_sheet", QStringLiteral("%1.pdf").arg(QLatin1String(code))},
            {"mounting", QJsonArray{1}},
            {"record", outletCoefficients()},
            {"sizes", sizes}};
}

// AAA with two sizes, AAA 100 (10 .. 40 m³/h, jet forms 01 and 02, so two index lines) and
// AAA 200 (50 .. 300); BBB with one size of one jet form; and the slot tube TUB 1, rated
// 100 .. 200 m³/h per metre, as a 200 mm tube of 1000 or 1500 mm with 2 or 3 slots.
QJsonObject selectionCatalogue() {
    const QJsonObject tube{{"size_table", QJsonArray{QJsonObject{{"diameter", 200},
                                                                 {"lengths", QJsonArray{1000, 1500}},
                                                                 {"counts", QJsonArray{2, 3}}}}}};
    return {
        {"characteristic_names_1", QJsonArray{"Decke"}},
        {"characteristic_names_2", QJsonArray{"fest"}},
        {"characteristic_names_3", QJsonArray{"Büro"}},
        {"jet_forms",
         QJsonArray{"01 waagerecht", "02 senkrecht", "03 senkrecht", "04 einseitig", "05 zweiseitig"}},
        {"installations", QJsonArray{QJsonObject{{"name", "Decke"}, {"types", QJsonArray{"AAA", "BBB"}}},
                                     QJsonObject{{"name", "Schlitz"}, {"types", QJsonArray{"TUB"}}}}},
        {"types", QJsonArray{typeEntry("AAA", "0",
                                       QJsonArray{sizeEntry("AAA 100", 10, 40, {"01", "02"}),
                                                  sizeEntry("AAA 200", 50, 300, {"01"})}),
                             typeEntry("BBB", "0", QJsonArray{sizeEntry("BBB 1", 100, 200, {"01"})}),
                             typeEntry("TUB", "2", QJsonArray{sizeEntry("TUB 1", 100, 200, {"05"}, tube)})}}};
}

class SelectionWindowTest : public RoadTest {
protected:
    void startOn(const QJsonObject& catalogue) {
        copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
        writeCatalogueFiles(buildCatalogue(QJsonDocument(catalogue).toJson()), program);
        startWindows();
    }
    QStringList sizes() const {
        QStringList shown;
        for (int i = 0; i < selection->ListBox9->count(); ++i)
            shown << selection->ListBox9->item(i)->text().trimmed();
        return shown;
    }
    void toggleFilter() {
        QCheckBox* box = selection->CheckBox1;
        QStyleOptionButton option;
        option.initFrom(box);
        QTest::mouseClick(box, Qt::LeftButton, {},
                          box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center());
    }
    // Types a flow into the filter field and presses Enter.
    void filterBy(const QString& flow) {
        activate(selection);
        QLineEdit* field = selection->Edit1;
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClicks(field, flow);
        QTest::keyClick(field, Qt::Key_Return);
    }
};

} // namespace

TEST_F(SelectionWindowTest, FlowFilterSingleSizeJumpAndBackThroughTheControls) {
    startOn(selectionCatalogue());
    press(main->BitBtn1);
    ASSERT_TRUE(selection->isVisible());
    pick(selection->listbox1, QStringLiteral("Decke"));
    pick(selection->ListBox8, QStringLiteral("AAA"));
    EXPECT_EQ(sizes(), (QStringList{"AAA 100", "AAA 200"}));
    EXPECT_FALSE(selection->Edit1->isVisible());

    toggleFilter();
    ASSERT_TRUE(selection->CheckBox1->isChecked());
    EXPECT_TRUE(selection->Edit1->isVisible() && selection->ScrollBar1->isVisible());
    filterBy(QStringLiteral("5")); // below the bar's range: the bar stops at 10, the field follows
    EXPECT_EQ(selection->ScrollBar1->value(), 10);
    EXPECT_EQ(selection->Edit1->text(), QStringLiteral("10"));
    EXPECT_EQ(sizes(), QStringList{"AAA 100"});
    // Both ends of AAA 200's range 50 .. 300 hold.
    for (int flow : {50, 300, 49, 301}) {
        filterBy(QString::number(flow));
        EXPECT_EQ(selection->ScrollBar1->value(), flow);
        EXPECT_EQ(sizes(), flow == 50 || flow == 300 ? QStringList{"AAA 200"} : QStringList()) << flow;
    }
    EXPECT_EQ(+forms->state.record.selectionFlow, 301.0);
    EXPECT_EQ(forms->state.record.filterUsed, 1);
    toggleFilter(); // every size of the type again, AAA 100 once for its two lines
    EXPECT_FALSE(selection->CheckBox1->isChecked());
    EXPECT_FALSE(selection->Edit1->isVisible());
    EXPECT_EQ(sizes(), (QStringList{"AAA 100", "AAA 200"}));

    // One size with one jet form: the type's click reads the outlet and offers "weiter" at once.
    pick(selection->ListBox8, QStringLiteral("BBB"));
    EXPECT_TRUE(selection->groupbox1->isVisible());
    EXPECT_FALSE(selection->listbox1->isVisible());
    EXPECT_FALSE(selection->GroupBox4->isVisible());
    EXPECT_FALSE(selection->Panel1->isVisible());
    EXPECT_EQ(selection->Label17->text().trimmed(), QStringLiteral("BBB 1"));
    EXPECT_EQ(selection->ListBox10->count(), 1);
    EXPECT_TRUE(selection->weiter->isEnabled());
    EXPECT_EQ(forms->state.record.outlet.sizeNameText().trimmed(), QStringLiteral("1"));
    press(selection->zurueck);
    EXPECT_FALSE(selection->groupbox1->isVisible());
    for (QWidget* w :
         {static_cast<QWidget*>(selection->listbox1), static_cast<QWidget*>(selection->GroupBox4),
          selection->Panel1, static_cast<QWidget*>(selection->ListBox8),
          static_cast<QWidget*>(selection->ListBox9)})
        EXPECT_TRUE(w->isVisible() && w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(sizes(), QStringList{"BBB 1"});
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

// 600 m³/h through a tube rated 100 .. 200 m³/h per metre needs 3 to 6 m of slot; a 1500 mm tube
// with 2 slots has 3 m, so 1 to 2 outlets. A 200 mm tube under a 3.00 m ceiling hangs at 2.80 m
// at most: the tube is planned there, each time it is chosen, and the room keeps its 2,9 m.
TEST_F(SelectionWindowTest, TubeConfigurationThroughTheControls) {
    startOn(selectionCatalogue());
    enter(main->edit7, QStringLiteral("600"));
    enter(main->Edit10, QStringLiteral("2,9"));
    press(main->BitBtn1);
    const TextTable& texts = forms->state.texts;
    auto toTheTubes = [&] {
        pick(selection->ListBox8, QStringLiteral("TUB"));
        press(selection->weiter);
        ASSERT_TRUE(selection->GroupBox2->isVisible());
        EXPECT_FALSE(selection->groupbox1->isVisible());
        EXPECT_FALSE(selection->ListBox8->isEnabled());
        EXPECT_FALSE(selection->ListBox9->isEnabled());
        EXPECT_EQ(selection->Label22->text(), texts.text(65) + QStringLiteral("  3,00  ") + texts.text(66) +
                                                  QStringLiteral("  6,00  [ m ]"));
        EXPECT_EQ(selection->ListBox15->count(), 0);
        EXPECT_FALSE(selection->Button3->isEnabled());
    };
    pick(selection->listbox1, QStringLiteral("Schlitz"));
    toTheTubes();
    pick(selection->ListBox14, QStringLiteral("200"));
    EXPECT_EQ(dialogs.texts(Kind::Information),
              QStringList{texts.text(168) + QStringLiteral("  2,80    ") + texts.text(170)});
    EXPECT_EQ(main->Edit10->text(), QStringLiteral("2,9"));
    EXPECT_EQ(+forms->state.record.mountingHeight, 2.9);
    EXPECT_EQ(selection->Label28->text(), QStringLiteral("  200 [mm]"));
    EXPECT_FALSE(selection->Button3->isEnabled());
    pick(selection->ListBox15, QStringLiteral("1500"));
    EXPECT_FALSE(selection->Button3->isEnabled());
    pick(selection->ListBox16, QStringLiteral("2"));
    EXPECT_TRUE(selection->Button3->isEnabled());
    EXPECT_EQ(selection->Label24->text(), QStringLiteral("3,00  [ m ]"));
    EXPECT_EQ(selection->Label26->text(), QStringLiteral("1  bis  2"));

    // Back through the jet form step: the type lists take clicks again, and the tubes start over.
    press(selection->Button2);
    EXPECT_FALSE(selection->GroupBox2->isVisible());
    ASSERT_TRUE(selection->groupbox1->isVisible());
    press(selection->zurueck);
    EXPECT_TRUE(selection->ListBox8->isEnabled() && selection->ListBox9->isEnabled());
    toTheTubes();
    pick(selection->ListBox14, QStringLiteral("200"));
    EXPECT_EQ(dialogs.texts(Kind::Information).size(), 2);
    pick(selection->ListBox15, QStringLiteral("1500"));
    pick(selection->ListBox16, QStringLiteral("2"));
    press(selection->Button3);
    ASSERT_TRUE(results->isVisible());
    EXPECT_FALSE(selection->isVisible());
    EXPECT_EQ(shown(form3::Label1), QStringLiteral("TUB  1/1500/2 (  200)"));
    EXPECT_EQ(+forms->state.record.countBound1, 1);
    EXPECT_EQ(+forms->state.record.countBound2, 2);
    EXPECT_EQ(main->Edit10->text(), QStringLiteral("2,9"));
    // The flow picture shows the tube where it hangs.
    results->Raumschnitt1Click();
    EXPECT_EQ(forms->form4->findChild<QLabel*>(QStringLiteral("Label15"))->text(), QStringLiteral("2,80"));
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

TEST_F(RoadTest, SuggestionListTakesTheDoubleClickedChoiceOverAsTheStepsWould) {
    copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
    startWindows();
    enter(main->edit7, QStringLiteral("1700"));
    dialogs.confirmAnswers = {true};
    press(main->BitBtn1);
    ASSERT_TRUE(selection->isVisible());

    press(selection->Vorschlaege);
    QPointer<SuggestionsWindow> list = selection->suggestions();
    ASSERT_TRUE(list && list->isVisible());
    const std::vector<Suggestion> all = list->suggestions();
    QTableWidget* table = list->table;
    ASSERT_EQ(table->rowCount(), static_cast<int>(all.size()));
    ASSERT_FALSE(all.empty());
    ASSERT_TRUE(all.front().feasible) << "the office has suitable outlets; they come first";
    const QColor normal = table->item(0, 0)->foreground().color();
    const int reasonsColumn = table->columnCount() - 1;
    for (int r = 0; r < table->rowCount(); ++r) {
        EXPECT_EQ(table->item(r, 0)->foreground().color() != normal, !all[r].feasible) << r;
        // The notes: the reasons, then the alternatives with the same figures.
        EXPECT_TRUE(
            table->item(r, reasonsColumn)->text().startsWith(all[r].reasons.join(QStringLiteral("; "))))
            << r;
        EXPECT_EQ(table->item(r, reasonsColumn)->text().contains(QStringLiteral("ebenso: ")),
                  !all[r].alternatives.isEmpty())
            << r;
    }

    // A click on the "dp" heading sorts by the pressure drop as a number, ties in rank order; the
    // double click then takes the row's own choice, not the one of that rank.
    QHeaderView* header = table->horizontalHeader();
    const int dpColumn = static_cast<int>(suggestionColumns().indexOf(QStringLiteral("dp")));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(dpColumn) + header->sectionSize(dpColumn) / 2,
                             header->height() / 2));
    const auto leastDp = std::min_element(
        all.begin(), all.end(), [](const Suggestion& a, const Suggestion& b) { return a.dp < b.dp; });
    ASSERT_NE(leastDp, all.begin()) << "the best-ranked outlet has the least dp: sorting would show nothing";
    const Suggestion& taken = *leastDp;
    for (int r = 1; r < table->rowCount(); ++r) {
        const int up = table->item(r - 1, 0)->text().toInt(), down = table->item(r, 0)->text().toInt();
        const double dpUp = all[static_cast<std::size_t>(up - 1)].dp,
                     dpDown = all[static_cast<std::size_t>(down - 1)].dp;
        ASSERT_TRUE(dpUp < dpDown || (dpUp == dpDown && up < down)) << "row " << r;
    }

    // What the selection's own steps give for that choice, on the record as "weiter" stored it, at
    // the count and layout the list ranked.
    auto record = std::make_unique<CalculationRecord>(forms->state.record);
    RuntimeFlags flags;
    WorkingValues working;
    int status = 0;
    CollectingDialogs quiet;
    InertShell inert;
    SelectionModel steps({{*record, flags, working, status, forms->state.texts, quiet},
                          forms->state.catalogue,
                          inert,
                          forms->state.folders});
    SelectionOutcome expected = planOutlet(steps, forms->state.catalogue, taken.choice, *record);
    ASSERT_TRUE(expected.results);
    showAsSuggested(taken, {*record, flags, working, status, forms->state.texts, quiet}, expected);
    EXPECT_EQ(record->outletCount, taken.count);
    // and the judgement the calculation window adds after every evaluation.
    judgementView(judgeRecord(*record, choiceGeometry(forms->state.catalogue, *record)), *expected.results);

    table->scrollToItem(table->item(0, 0));
    const QPoint firstRow = table->visualItemRect(table->item(0, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, firstRow); // a double click's first press
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, firstRow);
    QApplication::processEvents();
    EXPECT_TRUE(!list || !list->isVisible());
    ASSERT_TRUE(results->isVisible());
    EXPECT_FALSE(selection->isVisible());
    for (form3::Control id : {form3::Label1, form3::Edit1, form3::Label7, form3::Label10, form3::Label15,
                              form3::DraughtHint, form3::judgementLayout, form3::judgementLines})
        EXPECT_EQ(shown(id), expected.results->form3[id].text.value_or(QStringLiteral("?")))
            << controlName(id);
    EXPECT_EQ(shown(form3::Label1), taken.designation);
    EXPECT_EQ(shown(form3::Edit1), QString::number(taken.count));
    EXPECT_EQ(forms->state.record.spacing, *taken.pictureSpacing); // the flow picture at the layout
    EXPECT_TRUE(results->widget(form3::DraughtHint)->isVisible());
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

// A slot group's title names the type it configures, and no picture outlives the type it shows:
// a new installation kind or a type with a data sheet only shows none.
TEST_F(RoadTest, SlotGroupsNameTheirTypeAndNoPictureOutlivesItsType) {
    copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
    startWindows();
    press(main->BitBtn1);
    pick(selection->listbox1, QStringLiteral("Schlitzdurchlässe"));
    pick(selection->ListBox8, QStringLiteral("LSA"));
    EXPECT_FALSE(selection->Image2->image().isNull());
    pick(selection->ListBox9, QStringLiteral("LSA 20"));
    pick(selection->ListBox10, QStringLiteral("04"));
    press(selection->weiter);
    EXPECT_EQ(selection->GroupBox3->title().toStdString(), "Bauart 1/3 (LSA)");
    press(selection->Button4);
    press(selection->zurueck);
    pick(selection->listbox1, QStringLiteral("Wanddurchlässe"));
    EXPECT_TRUE(selection->Image2->image().isNull());
    pick(selection->ListBox8, QStringLiteral("WGA"));
    EXPECT_FALSE(selection->Image2->image().isNull());
    pick(selection->ListBox2, QStringLiteral("UGR"));
    EXPECT_TRUE(selection->Image2->image().isNull());
}
