// The planning road through the real windows: room data, "weiter", the selection steps and the
// calculation window, one road per design code on the demo catalogue, each checked against
// zelkfyl-cli plan and evaluate; the calculation window's count and sound rules, and the selection
// window's flow filter, jumps and tube configuration, on small catalogues of the test's own.
// The suggestion list of the selection window, sorted by a column, and the take-over of a
// double-clicked choice. Rooms of a schedule planned by hand give the schedule's summary and project.
#include "catalogue/cataloguesource.h"
#include "flowsim/Unit4.h"
#include "frame/ansi.h"
#include "frame/csv.h"
#include "frame/files.h"
#include "frame/numbers.h"
#include "frame/projectfile.h"
#include "results/Unit3.h"
#include "room/Unit1.h"
#include "schedule/roomschedule.h"
#include "selection/Unit2.h"
#include "selection/planchoice.h"
#include "selection/suggestionswindow.h"
#include "tests/support/clirun.h"
#include "tests/support/mainwindowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace fyl;
using Kind = fyl::test::ScriptedDialogs::Shown::Kind;

namespace {

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir())
            copyFolder(entry.filePath(), target);
        else {
            QFile::remove(target); // the built program's own files replace the fixture's stand-ins
            ASSERT_TRUE(QFile::copy(entry.filePath(), target)) << target.toStdString();
        }
    }
}

QJsonObject withoutDisplay(QJsonObject o) {
    for (const char* key : {"display", "designation", "design"})
        o.remove(QString::fromLatin1(key));
    return o;
}

// A new project with the room data panel open, driven as a planner drives it: keys, clicks and
// the scripted answers of the message boxes.
class RoadTest : public test::MainWindowFixture {
protected:
    void openWindows() {
        forms = start();
        main = forms->form1.get();
        selection = forms->form2.get();
        results = forms->form3.get();
        main->show();
        activate(main);
    }
    void startWindows() {
        openWindows();
        main->Neu1->trigger();
        main->Vorgaben1->trigger();
        ASSERT_TRUE(main->GroupBox3->isVisible());
        dialogs.shown.clear();
    }

    // Focus changes reach a window's fields only while it is the active one.
    void activate(QWidget* window) {
        QApplication::processEvents();
        if (!window->isActiveWindow()) {
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        }
    }
    // The planner enters a room field, types over its text and presses Enter.
    void enter(QLineEdit* edit, const QString& text) {
        activate(main);
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Types into the calculation window's count field and presses Enter.
    void enterCount(const QString& text) {
        QLineEdit* count = edit(form3::Edit1);
        count->selectAll();
        QTest::keyClicks(count, text);
        QTest::keyClick(count, Qt::Key_Return);
    }
    // Clicks the item whose text, without its padding, is `text` or begins with it and a blank.
    void pick(QListWidget* list, const QString& text) {
        ASSERT_TRUE(list->isVisible() && list->isEnabled()) << list->objectName().toStdString();
        for (int i = 0; i < list->count(); ++i) {
            const QString item = list->item(i)->text().trimmed();
            if (item == text || item.startsWith(text + QLatin1Char(' '))) {
                list->scrollToItem(list->item(i));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->item(i)).center());
                return;
            }
        }
        FAIL() << list->objectName().toStdString() << " has no " << text.toStdString();
    }
    void press(QPushButton* button) {
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // A click on one of the count bar's arrows.
    void clickArrow(QStyle::SubControl arrow) {
        QScrollBar* bar = results->ScrollBar1;
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Horizontal;
        option.state |= QStyle::State_Horizontal;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.subControls = QStyle::SC_All;
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, bar).center());
    }
    void save(const QString& file) {
        dialogs.fileAnswers.push_back(file);
        main->Speichern1->trigger();
        ASSERT_TRUE(QFile::exists(file));
    }

    QString shown(form3::Control id) const {
        QWidget* w = results->widget(id);
        if (auto* label = qobject_cast<QLabel*>(w))
            return label->text();
        return qobject_cast<QLineEdit*>(w)->text();
    }
    QLineEdit* edit(form3::Control id) const { return qobject_cast<QLineEdit*>(results->widget(id)); }
    bool red(form3::Control id) const {
        const QWidget* w = results->widget(id);
        const QPalette::ColorRole role = id == form3::Edit1 ? QPalette::Base : QPalette::WindowText;
        return w->palette().color(role) == QColor(Qt::red);
    }
    bool white(form3::Control id) const {
        return edit(id)->palette().color(QPalette::Base) == QColor(Qt::white);
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList errors() const { return dialogs.texts(Kind::Error); }

    std::unique_ptr<Forms> forms;
    TForm1* main = nullptr;
    TForm2* selection = nullptr;
    TForm3* results = nullptr;
};

// One outlet per design code on the demo catalogue. The heading, the count edit and the flows are
// the hand computations of the plan command's tests; the count edit shows the middle of the count
// range, which need not be the number of outlets the flows are computed for.
struct Road {
    const char* name;
    const char* flow;     // typed into the volume flow
    const char* mounting; // typed into the mounting height; none: the new project's 3,00
    const char* kind;
    const char* type;
    const char* size;
    int jetForm;
    const char* tube; // design "2" only
    const char* length;
    const char* slotCount;
    const char* designation;
    const char* count;
    const char* flowShown;     // Label7, where it has a short hand computation
    const char* mountingAfter; // Edit10 once the selection has corrected it
};

const Road kRoads[] = {
    // 1700 / 7; the range 5 .. 12.
    {"Design0Horizontal", "1700", nullptr, "Deckendurchlässe", "DRL", "DRL 400", 1, nullptr, nullptr, nullptr,
     "DRL  400 horizontal", "8", "242,86", "3,00"},
    // 4000 / 11; the range 8 .. 18.
    {"Design0Vertical", "4000", nullptr, "Deckendurchlässe", "DRL", "DRL 500", 2, nullptr, nullptr, nullptr,
     "DRL  500 vertikal", "13", "363,64", "3,00"},
    // 2.40 m per outlet for 8 .. 20 m of slot: 4 .. 9 outlets.
    {"Design1", "1200", nullptr, "Schlitzdurchlässe", "LSA", "LSA 20", 4, nullptr, "1200", "2",
     "LSA  20 / 1200 / 2", "6", nullptr, "3,00"},
    // A 200 mm tube lowers 2.90 m to 2.80 m; 3.00 m per outlet for 6 .. 15 m: 2 .. 5 outlets.
    {"Design2", "600", "2,9", "Schlitzdurchlässe", "STR", "STR 15", 5, "200", "1500", "2",
     "STR  15/1500/2 (  200)", "3", nullptr, "2,80"},
    // Question 166 answered Yes: 2.90 m; N = 10 gives 65 per metre, 130 per 2 m outlet; 5 .. 13.
    {"Design3", "1300", "2,5", "Schlitzdurchlässe", "LSB", "LSB 20", 4, nullptr, "1000", "2",
     "LSB  20 / 1000 / 2", "9", "130,00", "2,90"},
};

void PrintTo(const Road& road, std::ostream* os) {
    *os << road.name;
}

class RoadOnTheDemoCatalogue : public RoadTest, public testing::WithParamInterface<Road> {};

} // namespace

TEST_P(RoadOnTheDemoCatalogue, WindowsShowWhatPlanPrintsAndTheSavedProjectEvaluatesAlike) {
    const Road& road = GetParam();
    copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
    startWindows();
    enter(main->edit7, QString::fromUtf8(road.flow));
    if (road.mounting)
        enter(main->Edit10, QString::fromUtf8(road.mounting));
    const QString room = path("room.zol");
    save(room);

    dialogs.confirmAnswers = {true};
    press(main->BitBtn1);
    ASSERT_TRUE(selection->isVisible());
    pick(selection->listbox1, QString::fromUtf8(road.kind));
    pick(selection->ListBox8, QString::fromUtf8(road.type));
    pick(selection->ListBox9, QString::fromUtf8(road.size));
    if (selection->ListBox10->count() > 1)
        pick(selection->ListBox10, QStringLiteral("0%1").arg(road.jetForm));
    press(selection->weiter);
    if (road.tube) {
        pick(selection->ListBox14, QString::fromUtf8(road.tube));
        pick(selection->ListBox15, QString::fromUtf8(road.length));
        pick(selection->ListBox16, QString::fromUtf8(road.slotCount));
        press(selection->Button3);
    } else if (road.length) {
        pick(selection->ListBox17, QString::fromUtf8(road.length));
        if (selection->ListBox18->count() > 1)
            pick(selection->ListBox18, QString::fromUtf8(road.slotCount));
        press(selection->Button5);
    }
    ASSERT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
    ASSERT_TRUE(results->isVisible());
    EXPECT_FALSE(selection->isVisible());
    EXPECT_EQ(main->Edit10->text(), QString::fromUtf8(road.mountingAfter));
    EXPECT_EQ(shown(form3::Label1), QString::fromUtf8(road.designation));
    EXPECT_EQ(shown(form3::Edit1), QString::fromUtf8(road.count));
    if (road.flowShown) {
        EXPECT_EQ(shown(form3::Label7), QString::fromUtf8(road.flowShown));
    }

    QStringList args = {QStringLiteral("plan"),          room,
                        QStringLiteral("--type"),        QString::fromUtf8(road.type),
                        QStringLiteral("--size"),        QString::fromUtf8(road.size),
                        QStringLiteral("--jet-form"),    QString::number(road.jetForm),
                        QStringLiteral("--program-dir"), program};
    if (road.tube)
        args << QStringLiteral("--tube") << QString::fromUtf8(road.tube);
    if (road.length)
        args << QStringLiteral("--length") << QString::fromUtf8(road.length) << QStringLiteral("--slots")
             << QString::fromUtf8(road.slotCount);
    const QString planned = path("planned.zol");
    const test::CliRun plan = test::runCli(args << QStringLiteral("--write") << planned);
    ASSERT_EQ(plan.exitCode, 0) << plan.err.toStdString();
    const QJsonObject planJson = plan.json();
    const bool vertical = planJson[QStringLiteral("jet_kind")].toString() == QLatin1String("vertical");
    EXPECT_EQ(vertical, road.jetForm == 2);
    EXPECT_EQ(results->widget(form3::GroupBox2)->isVisible(), vertical);
    EXPECT_EQ(results->widget(form3::GroupBox1)->isVisible(), !vertical);

    // What the window shows is what the command printed, control by control.
    auto expectShownAsIn = [&](const QJsonObject& json, const char* source) {
        const QJsonObject display = json[QStringLiteral("display")].toObject();
        QList<form3::Control> values = {form3::Label1,  form3::Label6,     form3::Label7,  form3::Label8,
                                        form3::Label10, form3::Label13,    form3::Label15, form3::Label44,
                                        form3::Edit1,   form3::DraughtHint};
        values += vertical ? QList<form3::Control>{form3::Label35, form3::Label36}
                           : QList<form3::Control>{form3::Label19, form3::Label20};
        for (form3::Control id : values)
            EXPECT_EQ(shown(id), display[QLatin1String(controlName(id))].toString())
                << source << " " << controlName(id);
        EXPECT_EQ(red(form3::Label15),
                  display[QStringLiteral("Label15.color")].toString() == QLatin1String("red"))
            << source;
        EXPECT_EQ(json[QStringLiteral("count_range")].toArray(),
                  (QJsonArray{results->ScrollBar1->minimum(), results->ScrollBar1->maximum()}))
            << source;
        EXPECT_EQ(json[QStringLiteral("count_position")].toInt(), results->ScrollBar1->value()) << source;
    };
    expectShownAsIn(planJson, "plan");
    EXPECT_EQ(planJson[QStringLiteral("designation")].toString(), shown(form3::Label1));

    const QString saved = path("saved.zol");
    save(saved);
    const test::CliRun evaluate =
        test::runCli({QStringLiteral("evaluate"), saved, QStringLiteral("--program-dir"), program});
    ASSERT_EQ(evaluate.exitCode, 0) << evaluate.err.toStdString();
    expectShownAsIn(evaluate.json(), "evaluate");
    EXPECT_EQ(withoutDisplay(evaluate.json()), withoutDisplay(planJson));
    // The windows and the command leave the same record behind.
    EXPECT_EQ(test::readFile(saved), test::readFile(planned));
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryDesign, RoadOnTheDemoCatalogue, testing::ValuesIn(kRoads),
                         [](const testing::TestParamInfo<Road>& info) {
                             return std::string(info.param.name);
                         });

// The selection's data sheet and the calculation window's tender text open the files the build
// wrote, with the desktop's program; the tender text closes the flow picture.
TEST_F(RoadTest, DataSheetAndTenderTextOpenTheFilesTheBuildWrote) {
    copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
    startWindows();
    enter(main->edit7, QStringLiteral("1700"));
    press(main->BitBtn1);
    pick(selection->listbox1, QStringLiteral("Deckendurchlässe"));
    pick(selection->ListBox8, QStringLiteral("DRL"));
    selection->Info1->trigger();
    const QString folder = forms->state.folders.program;
    const QString sheet = joinPath(folder, QStringLiteral("catalog/DRL.pdf"));
    EXPECT_EQ(shell.opened, (QStringList{QStringLiteral("?") + sheet, sheet}));
    EXPECT_TRUE(QFileInfo(sheet).isFile());

    pick(selection->ListBox9, QStringLiteral("DRL 400"));
    press(selection->weiter);
    ASSERT_TRUE(results->isVisible());
    qobject_cast<QAction*>(results->control(form3::Raumschnitt1))->trigger();
    ASSERT_TRUE(forms->form4->isVisible());
    shell.opened.clear();
    auto* tenderText = qobject_cast<QAction*>(results->control(form3::Ausschreibungstext1));
    EXPECT_FALSE(tenderText->isVisible()); // the menu entry was made invisible by design
    tenderText->trigger();
    const QString text = joinPath(folder, QStringLiteral("Aus_texte/DRL.txt"));
    EXPECT_EQ(shell.opened, (QStringList{QStringLiteral("?") + text, text}));
    EXPECT_TRUE(QFileInfo(text).isFile());
    EXPECT_FALSE(forms->form4->isVisible());
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

namespace {

// The detail record fields every outlet of the test's catalogues shares: LWA = 20 lg V - 15.6.
QJsonObject outletCoefficients() {
    return QJsonObject{
        {"pressure_k", 0.001}, {"pressure_m", 2.0},      {"sound_a", 20.0},        {"sound_b", -15.6},
        {"decay_k", 0.0015},   {"decay_b", 1.0},         {"decay_a", 1.0},         {"free_jet_f", 0.7},
        {"detach_c", 0.02},    {"detach_temp_exp", 0.5}, {"detach_flow_exp", 1.0}, {"head_coef", 0.001},
        {"head_exp", 1.0},     {"pen_coef", 0.01},       {"pen_temp_exp", 0.5},    {"pen_flow_exp", 1.0},
        {"angle", 0.0},        {"buoyancy", 5000.0},     {"traj_exp", 3.0},        {"zone_coef", -1.0},
        {"spread", 24.0},      {"width_term", 0.05},     {"value_524", 0.1}};
}

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
// range is trunc(600 / 200 + 0.999) = 3 to trunc(600 / 100) = 6 and the bar stands at 4.
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
    EXPECT_EQ(shown(form3::Edit1), "4");
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
    // Vsound = 10^(39 / 20) = 89.13, 6.73 outlets, N = 7: 85.71 m³/h at 23.06 dB.
    press(results->Button1);
    choose("01");
    EXPECT_EQ(shown(form3::Label7), "85,71");
    EXPECT_EQ(shown(form3::Edit1), "4");
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

    // " Auswahl" discards the count set by hand and with it its warning: the proposal for 700 m³/h,
    // 7.85 outlets, N = 8 of 87.50 m³/h, stands in the middle of 4 .. 7 on white.
    clickArrow(QStyle::SC_ScrollBarSubLine);
    ASSERT_TRUE(red(form3::Edit1));
    press(results->Button1);
    choose("01");
    EXPECT_EQ(shown(form3::Label7), "87,50");
    EXPECT_EQ(shown(form3::Edit1), "5");
    EXPECT_TRUE(white(form3::Edit1));
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

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
// at most.
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
    EXPECT_EQ(main->Edit10->text(), QStringLiteral("2,80"));
    EXPECT_EQ(+forms->state.record.mountingHeight, 2.8);
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
    pick(selection->ListBox14, QStringLiteral("200")); // already at 2.80 m: no second warning
    EXPECT_EQ(dialogs.texts(Kind::Information).size(), 1);
    pick(selection->ListBox15, QStringLiteral("1500"));
    pick(selection->ListBox16, QStringLiteral("2"));
    press(selection->Button3);
    ASSERT_TRUE(results->isVisible());
    EXPECT_FALSE(selection->isVisible());
    EXPECT_EQ(shown(form3::Label1), QStringLiteral("TUB  1/1500/2 (  200)"));
    EXPECT_EQ(+forms->state.record.countBound1, 1);
    EXPECT_EQ(+forms->state.record.countBound2, 2);
    EXPECT_EQ(main->Edit10->text(), QStringLiteral("2,80"));
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
        EXPECT_EQ(table->item(r, reasonsColumn)->text(), all[r].reasons.join(QStringLiteral("; "))) << r;
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

    // What the selection's own steps give for that choice, on the record as "weiter" stored it.
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
    const SelectionOutcome expected = planOutlet(steps, forms->state.catalogue, taken.choice, *record);
    ASSERT_TRUE(expected.results);

    table->scrollToItem(table->item(0, 0));
    const QPoint firstRow = table->visualItemRect(table->item(0, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, firstRow); // a double click's first press
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, firstRow);
    QApplication::processEvents();
    EXPECT_TRUE(!list || !list->isVisible());
    ASSERT_TRUE(results->isVisible());
    EXPECT_FALSE(selection->isVisible());
    for (form3::Control id :
         {form3::Label1, form3::Edit1, form3::Label7, form3::Label10, form3::Label15, form3::DraughtHint})
        EXPECT_EQ(shown(id), expected.results->form3[id].text.value_or(QStringLiteral("?")))
            << controlName(id);
    EXPECT_EQ(shown(form3::Label1), taken.designation);
    EXPECT_TRUE(results->widget(form3::DraughtHint)->isVisible());
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

namespace {

// A room of a schedule, planned once by the schedule and once by hand in the windows.
struct ScheduleRoom {
    const char* name;
    const char* row; // the schedule's row, UTF-8
};

const ScheduleRoom kScheduleRooms[] = {
    // Ranked: a slot outlet along the wall (design "1") whose jet detaches from the ceiling.
    {"RankedSlotOutlet", "Klassenraum 2.06;8,23;9,69;3,58;;1572;4,6;24;19,0;1,8;3,58;0,15;40;;;;;;"},
    // Fixed: a slot outlet sold as whole outlets (design "3") below the ceiling, which the selection
    // asks to raise.
    {"FixedLinearSlot", "Hörsaal 1;10,5;14;3,2;6;;5;22;17;1,8;2,6;0,2;40;LSB;LSB 25;4;2000;2;"},
    // Fixed: a slot tube at the ceiling, which the selection lowers by its diameter.
    {"FixedSlotTube", "Büro 3.12;4,58;7,05;3,16;4,7;;1,5;22;18,6;1,8;3,16;0,2;40;STR;STR 25;5;3000;4;250"},
};

void PrintTo(const ScheduleRoom& room, std::ostream* os) {
    *os << room.name;
}

class ScheduleRoomByHand : public RoadTest, public testing::WithParamInterface<ScheduleRoom> {
protected:
    // The installation kind whose types include `type`, as the catalogue tree names it.
    QString kindOf(const QString& type) {
        const test::CliRun tree = test::runCli(
            {QStringLiteral("catalogue"), QStringLiteral("tree"), QStringLiteral("--program-dir"), program});
        for (const QJsonValue kind : tree.json()[QStringLiteral("kinds")].toArray())
            for (const QJsonValue t : kind[QStringLiteral("types")].toArray())
                if (t[QStringLiteral("name")].toString() == type)
                    return kind[QStringLiteral("name")].toString();
        return QString();
    }
    // The planner goes into a field (leaving the one before) and types over its text, umlauts too.
    void typeInto(QLineEdit* edit, const QString& text) {
        activate(main);
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(edit, c.toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
    }
};

// A figure the window shows against the summary's: both rounded from one value, the window's to
// `precision` significant digits and `decimals` decimals, the summary's to its own decimals.
void expectSameFigure(const QString& window, int precision, int decimals, const QString& summary,
                      const char* what) {
    SCOPED_TRACE(what);
    ASSERT_FALSE(summary.isEmpty()) << "window: " << window.toStdString();
    const long double w = numbers::parseReal(window), s = numbers::parseReal(summary);
    const int summaryDecimals = static_cast<int>(summary.size() - summary.indexOf(QLatin1Char(',')) - 1);
    const double windowStep =
        std::max(std::pow(10.0, -decimals),
                 w == 0 ? 0.0 : std::pow(10.0, std::floor(std::log10(std::fabs(double(w)))) - precision + 1));
    const double summaryStep = summary.contains(QLatin1Char(',')) ? std::pow(10.0, -summaryDecimals) : 1.0;
    EXPECT_LE(std::fabs(double(w - s)), (windowStep + summaryStep) / 2 + 1e-9)
        << "window " << window.toStdString() << ", summary " << summary.toStdString();
}

} // namespace

// The schedule plans a room; a planner plans the same room by hand: the room's values typed into
// the main window's fields in the schedule's column order, each field left, "weiter", the
// schedule's outlet clicked in the selection. The calculation window then shows the summary's
// figures, the message boxes are the summary's notes, and the windows save the schedule's project.
TEST_P(ScheduleRoomByHand, WindowsShowTheSummaryRowAndSaveTheScheduleProject) {
    const ScheduleRoom& room = GetParam();
    copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
    const QByteArray header =
        "Raum;Breite;Länge;Höhe;Luftwechsel;Volumenstrom;Kühllast;Raumtemperatur;"
        "Zulufttemperatur;Kopfhöhe;Einbauhöhe;Luftgeschwindigkeit;Schallleistung;Typ;Größe;"
        "Strahlform;Schlitzlänge;Schlitzanzahl;Rohr";
    const QString rooms = path("rooms.csv");
    test::writeFile(rooms, header + "\r\n" + room.row + "\r\n");
    const QString out = path("schedule");
    const test::CliRun run = test::runCli({QStringLiteral("schedule"), rooms, QStringLiteral("--out"), out,
                                           QStringLiteral("--program-dir"), program, QStringLiteral("--jobs"),
                                           QStringLiteral("1")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::vector<CsvRecord> csv =
        splitCsv(decodeSpreadsheetText(test::readFile(out + QStringLiteral("/results.csv"))));
    ASSERT_EQ(csv.size(), 2u);
    const QStringList columns = csv[0].fields, cells = csv[1].fields;
    ASSERT_EQ(cells.size(), columns.size());
    const auto summary = [&](const char* column) {
        const qsizetype at = columns.indexOf(QString::fromUtf8(column));
        return at < 0 ? QStringLiteral("?") : cells[at];
    };
    const QStringList row = QString::fromUtf8(room.row).split(QLatin1Char(';'));
    const QString name = row[0];
    const QString scheduled = out + QLatin1Char('/') + safeFileName(name) + QStringLiteral(".zol");
    auto plannedRec = std::make_unique<CalculationRecord>();
    readProjectFile(scheduled, *plannedRec);

    // By hand: a new project named after the room, then the room data in the schedule's order.
    openWindows();
    dialogs.shown.clear();                   // the first start's question for the working directory
    dialogs.confirmAnswers.assign(20, true); // the schedule answers every question Yes
    main->Neu1->trigger();
    main->Projektdaten1->trigger();
    typeInto(main->Edit15, name);
    main->Vorgaben1->trigger();
    ASSERT_TRUE(main->GroupBox3->isVisible());
    QLineEdit* const fields[] = {main->Edit4, main->Edit5,  main->Edit2,  main->Edit6,
                                 main->edit7, main->Edit11, main->Edit12, main->Edit13,
                                 main->Edit9, main->Edit10, main->Edit8,  main->Edit14};
    for (int column = 1; column <= 12; ++column)
        if (!row[column].isEmpty())
            typeInto(fields[column - 1], row[column]);
    main->BitBtn1->setFocus(Qt::TabFocusReason); // the last field is left too
    press(main->BitBtn1);
    ASSERT_TRUE(selection->isVisible());
    const std::size_t roomMessages = dialogs.shown.size();

    // The outlet the schedule took, clicked as the lists name it.
    const QString type = summary("Typ"), jetForm = summary("Strahlform");
    pick(selection->listbox1, kindOf(type));
    pick(selection->ListBox8, type);
    pick(selection->ListBox9, summary("Größe"));
    if (selection->ListBox10->count() > 1)
        pick(selection->ListBox10, QStringLiteral("0") + jetForm);
    press(selection->weiter);
    const QString design = plannedRec->designCode.str();
    const QString length = numbers::formatGeneral(plannedRec->nominalLength);
    const QString slotCount = QString::number(plannedRec->slotCount);
    if (design == QLatin1String("2")) {
        pick(selection->ListBox14, plannedRec->sizeText.str().trimmed());
        pick(selection->ListBox15, length);
        pick(selection->ListBox16, slotCount);
        press(selection->Button3);
    } else if (design != QLatin1String("0")) {
        pick(selection->ListBox17, length);
        if (selection->ListBox18->count() > 1)
            pick(selection->ListBox18, slotCount);
        press(selection->Button5);
    }
    ASSERT_TRUE(results->isVisible());
    ASSERT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();

    // Every figure of the calculation window is the summary's.
    const CalculationRecord& byHand = forms->state.record;
    EXPECT_EQ(shown(form3::Label1), summary("Bezeichnung"));
    EXPECT_EQ(QString::number(plannedRec->outlet.jetFormCodeText().toInt()), jetForm);
    // The count edit shows where the count bar stands (for a proposed count the middle of the
    // range); the summary's count is the whole count the flow per outlet is for.
    EXPECT_EQ(summary("Anzahl"), QString::number(static_cast<int>(byHand.outletCount + 0.9)));
    expectSameFigure(shown(form3::Label7), 5, 2, summary("Volumenstrom je Durchlass"), "flow per outlet");
    expectSameFigure(shown(form3::Label10), 4, 0, summary("dp"), "dp");
    if (shown(form3::Label15).trimmed() == QLatin1String("< 25"))
        EXPECT_LT(numbers::parseReal(summary("LWA")), 25.0L);
    else
        expectSameFigure(shown(form3::Label15), 4, 0, summary("LWA"), "LWA");
    const bool vertical = results->widget(form3::GroupBox2)->isVisible();
    if (vertical) {
        expectSameFigure(shown(form3::Label35), 4, 2, summary("y max"), "y max");
        expectSameFigure(shown(form3::Label36), 4, 2, summary("vk"), "vk");
        EXPECT_TRUE(summary("a min").isEmpty() && summary("w min").isEmpty() && summary("x-krit").isEmpty());
    } else {
        if (shown(form3::Label19) == QLatin1String("-----"))
            EXPECT_LT(numbers::parseReal(summary("a min")), 0.1L);
        else
            expectSameFigure(shown(form3::Label19), 4, 2, summary("a min"), "a min");
        expectSameFigure(shown(form3::Label20), 4, 2, summary("w min"), "w min");
        // x-krit is shown where the jet detaches, and only then has the summary one.
        EXPECT_EQ(results->widget(form3::Label21)->isVisible(), !summary("x-krit").isEmpty());
        if (results->widget(form3::Label21)->isVisible())
            expectSameFigure(shown(form3::Label21), 4, 2, summary("x-krit"), "x-krit");
        EXPECT_TRUE(summary("y max").isEmpty());
        // vk of a horizontal jet, between the outlets, is the flow picture's.
        const auto* vMid = qobject_cast<QLabel*>(forms->form4->widget(form4::Label27));
        ASSERT_TRUE(vMid);
        expectSameFigure(vMid->text(), 4, 2, summary("vk"), "vk");
    }
    const QString category = summary("Kategorie");
    EXPECT_TRUE(shown(form3::DraughtHint)
                    .endsWith(QStringLiteral(": %1 % – %2")
                                  .arg(summary("DR"), category == QLatin1String("-")
                                                          ? QStringLiteral("schlechter als Kategorie C")
                                                          : QStringLiteral("Kategorie ") + category)))
        << shown(form3::DraughtHint).toStdString() << " / " << summary("DR").toStdString();

    // What the windows said on the way is what the summary notes, in its order, each once; a fixed
    // outlet that breaks a limit is noted between the room's messages and the selection's.
    QStringList roomSaid, selectionSaid;
    for (std::size_t i = 0; i < dialogs.shown.size(); ++i) {
        const auto& s = dialogs.shown[i];
        const QString text = s.kind == Kind::Confirm ? s.text + QStringLiteral(" – Ja") : s.text;
        QStringList& said = i < roomMessages ? roomSaid : selectionSaid;
        if (!roomSaid.contains(text) && !selectionSaid.contains(text))
            said << text;
    }
    const QString notes = summary("Hinweise");
    const QString typed = roomSaid.join(QStringLiteral("; ")),
                  chosen = selectionSaid.join(QStringLiteral("; "));
    const QString unsuitable = QStringLiteral("nicht geeignet: ");
    if (notes.contains(unsuitable)) {
        EXPECT_TRUE(
            notes.startsWith(typed + (typed.isEmpty() ? QString() : QStringLiteral("; ")) + unsuitable));
        EXPECT_TRUE(chosen.isEmpty() || notes.endsWith(QStringLiteral("; ") + chosen));
    } else {
        EXPECT_EQ(notes, (roomSaid + selectionSaid).join(QStringLiteral("; ")));
    }
    EXPECT_FALSE(roomSaid.isEmpty()) << "typing the temperatures after the cooling load says so";

    // The project saved from the windows is the schedule's, but for the date that opening the
    // project data panel writes.
    const QString saved = path("byhand.zol");
    save(saved);
    const QByteArray mine = test::readFile(saved), theirs = test::readFile(scheduled);
    ASSERT_EQ(mine.size(), theirs.size());
    const qsizetype dateAt = 4206, dateEnd = dateAt + qsizetype(sizeof(CalculationRecord::projectDate));
    for (qsizetype i = 0; i < mine.size(); ++i) {
        if (i < dateAt || i >= dateEnd) {
            ASSERT_EQ(mine[i], theirs[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(byHand.projectDate.str(),
              QLocale(QLocale::German).toString(QDate::currentDate(), QLocale::ShortFormat));
    EXPECT_TRUE(plannedRec->projectDate.str().isEmpty());
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(ThreeRooms, ScheduleRoomByHand, testing::ValuesIn(kScheduleRooms),
                         [](const testing::TestParamInfo<ScheduleRoom>& info) {
                             return std::string(info.param.name);
                         });
