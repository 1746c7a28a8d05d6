// The calculation and flow simulation windows against the results view: every identifier the
// view uses has its control, and an evaluation's view shows in the real windows.
#include "fixtures/calcfixture.h"
#include "flowsim/Unit4.h"
#include "flowsim/flowpicture.h"
#include "frame/projectfile.h"
#include "results/Unit3.h"
#include "results/outletresults.h"
#include "room/appstate.h"
#include "tests/support/clirun.h"
#include "tests/support/scripted.h"
#include "tests/support/testfiles.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace fyl;

namespace {

template <class Form, class View> void expectEveryIdentifierBound(const Form& form) {
    for (std::size_t i = 0; i < View::size; ++i) {
        const auto id = static_cast<typename View::Id>(i);
        const QString name = QString::fromLatin1(controlName(id));
        QObject* control = form.control(id);
        ASSERT_NE(control, nullptr) << name.toStdString();
        EXPECT_EQ(control->objectName(), name);
        // The only control of that name, so a later lookup by name could not find another one.
        EXPECT_EQ(form.template findChildren<QObject*>(name).size(), 1) << name.toStdString();
    }
}

QString textOf(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    return qobject_cast<const QLineEdit*>(w)->text();
}

} // namespace

TEST(ResultsWindows, EveryViewIdentifierHasItsControl) {
    AppState state;
    test::ScriptedDialogs dialogs;
    test::RecordingShell shell;
    TForm3 form3(state, dialogs, shell);
    TForm4 form4(state, dialogs);
    expectEveryIdentifierBound<TForm3, Form3View>(form3);
    expectEveryIdentifierBound<TForm4, Form4View>(form4);
}

TEST(ResultsWindows, AnEvaluationShowsInBothWindows) {
    AppState state;
    test::ScriptedDialogs dialogs;
    test::RecordingShell shell;
    TForm3 form3(state, dialogs, shell);
    TForm4 form4(state, dialogs);
    auto calc = test::ceilingDiffuserState("01");
    const ResultsView view = ShowOutletResults(calc->parts());
    form3.applyView(view);
    form4.applyView(view);

    EXPECT_EQ(textOf(form3.widget(form3::Label1)), "DLQ  625 A");
    EXPECT_EQ(textOf(form3.widget(form3::Label7)), "93,75");
    EXPECT_EQ(textOf(form3.widget(form3::Edit1)), "8"); // 750 m³/h for trunc(7.5 + 0.9) outlets
    EXPECT_EQ(form3.ScrollBar1->minimum(), 5);
    EXPECT_EQ(form3.ScrollBar1->maximum(), 15);
    EXPECT_EQ(form3.ScrollBar1->value(), 8);
    EXPECT_FALSE(form3.widget(form3::Label21)->isHidden()); // x-krit 7.5 m
    EXPECT_FALSE(form3.widget(form3::GroupBox1)->isHidden());
    EXPECT_TRUE(form3.widget(form3::GroupBox2)->isHidden());
    // 25.2² · 8 m² needed in a 100 m² room: red.
    EXPECT_EQ(form3.widget(form3::Label39)->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(textOf(form4.widget(form4::Edit2)), "10,00");
    EXPECT_EQ(form4.ScrollBar2->value(), -100); // -251 clamped to the slider's 10 m

    // The vertical view of the same windows swaps the groups and hides the area hint.
    test::setJetForm(calc->record, "02");
    const ResultsView vertical = ShowOutletResults(calc->parts());
    form3.applyView(vertical);
    EXPECT_TRUE(form3.widget(form3::GroupBox1)->isHidden());
    EXPECT_FALSE(form3.widget(form3::GroupBox2)->isHidden());
    EXPECT_TRUE(form3.widget(form3::Label39)->isHidden());
}

TEST(ResultsWindows, TheFlowPictureShowsTheSectionAndTheZones) {
    AppState state;
    test::ScriptedDialogs dialogs;
    TForm4 form4(state, dialogs);
    CalculationRecord& rec = state.record;
    rec.outletCount = 1;
    rec.wallLeft = 2.0;
    rec.wallRight = 3.0;
    rec.roomHeight = rec.mountingHeight = 3.0;
    rec.headHeight = 1.8;
    rec.velocityLimit = 0.2;
    rec.horizontalJet = 1;
    // A zone 0.5 to 1.5 m deep and 1 m wide right of the axis: kx = 350 / 5 = 70, ky = 90.
    form4.contourRoutine = [](const ContourRequest&, Contour& contour) {
        contour.polygons = {{{0.0f, 0.5f}, {1.0f, 0.5f}, {1.0f, 1.5f}, {0.0f, 1.5f}, {0.0f, 0.5f}}};
        return 0;
    };
    form4.showPicture({QStringLiteral("0,20"), QStringLiteral("1,80"), QStringLiteral("3,00")});

    EXPECT_TRUE(form4.isVisible());
    EXPECT_EQ(textOf(form4.widget(form4::Label2)), "0,20");
    const QImage shown = form4.Image1->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(369, 361));
    EXPECT_EQ(shown.pixelColor(185, 160), QColor(255, 0, 0));     // the zone, x 150…220, y 125…215
    EXPECT_EQ(shown.pixelColor(152, 83), QColor(255, 255, 0));    // the outlet at (150, 80)
    EXPECT_EQ(shown.pixelColor(300, 300), QColor(255, 255, 255)); // the section
    EXPECT_EQ(shown.pixelColor(290, 300), QColor(0, 0, 0));       // vertical grid, 150 + 2 * 70
    EXPECT_EQ(shown.pixelColor(300, 188), QColor(0, 0, 255));     // head height, 350 - trunc(1.8 * 90)

    // On a screen of twice the resolution the list is painted again, finer, not enlarged: the grid
    // line stays 2 device pixels of pure black, and the outlet's circle has edges that cut through
    // the 2 x 2 blocks an enlarged picture would be made of.
    QImage fine(QSize(369, 361) * 2, QImage::Format_RGB32);
    fine.setDevicePixelRatio(2);
    form4.Image1->render(&fine);
    int black = 0;
    for (int x = 560; x < 600; ++x) {
        const QColor c = fine.pixelColor(x, 600);
        EXPECT_TRUE(c == QColor(Qt::black) || c == QColor(Qt::white)) << x;
        black += c == QColor(Qt::black) ? 1 : 0;
    }
    EXPECT_EQ(black, 2);
    int finer = 0;
    for (int y = 140; y < 184; y += 2)
        for (int x = 280; x < 324; x += 2) {
            const QRgb p = fine.pixel(x, y);
            if (p != fine.pixel(x + 1, y) || p != fine.pixel(x, y + 1) || p != fine.pixel(x + 1, y + 1))
                ++finer;
        }
    EXPECT_GT(finer, 8);
}

TEST(ResultsWindows, TheCommandLinePictureIsTheWindowsPixelForPixel) {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.zol"));
    const QString project = dir.filePath(QStringLiteral("plan.zol"));
    const QString png = dir.filePath(QStringLiteral("p.png"));
    const QString programDir = QStringLiteral(ZELK_PROGRAM_DIR);
    {
        auto rec = std::make_unique<CalculationRecord>();
        std::memset(rec.get(), 0, sizeof *rec);
        ResetRecord(*rec);
        rec->totalFlow = 1700.0;
        rec->mountingHeight = 3.0;
        writeProjectFile(in, *rec);
    }
    const test::CliRun plan =
        test::runCli({QStringLiteral("plan"), in, QStringLiteral("--type"), QStringLiteral("DRL"),
                      QStringLiteral("--size"), QStringLiteral("DRL 400"), QStringLiteral("--jet-form"),
                      QStringLiteral("1"), QStringLiteral("--write"), project,
                      QStringLiteral("--program-dir"), programDir});
    ASSERT_EQ(plan.exitCode, 0) << plan.err.toStdString();
    const test::CliRun picture = test::runCli(
        {QStringLiteral("picture"), project, QStringLiteral("--spacing"), QStringLiteral("3.5"),
         QStringLiteral("--wall-left"), QStringLiteral("1.5"), QStringLiteral("--wall-right"),
         QStringLiteral("2"), QStringLiteral("--png"), png, QStringLiteral("--program-dir"), programDir});
    ASSERT_EQ(picture.exitCode, 0) << picture.err.toStdString();

    // The same project in the windows: evaluated, opened as "Raumschnitt" opens it, the sliders moved.
    AppState state;
    test::ScriptedDialogs dialogs;
    state.texts.load(programDir + QStringLiteral("/Fyltext.txt"));
    readProjectFile(project, state.record);
    TForm4 form4(state, dialogs);
    form4.contourRoutine = jetContours(state.record, dialogs);
    form4.applyView(ShowOutletResults(state.evaluationParts()));
    state.record.flowPictureShown = 1;
    form4.showPicture({QStringLiteral("0,20"), QStringLiteral("1,80"), QStringLiteral("3,00")});
    form4.ScrollBar2->setValue(-35);
    form4.ScrollBar3->setValue(-15);
    form4.ScrollBar4->setValue(-20);

    const QImage shown = form4.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage written = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(written.size(), QSize(369, 361));
    EXPECT_TRUE(shown == written);
    // Something was drawn: the red zones of the two outlets.
    int red = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            red += shown.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
    EXPECT_GT(red, 100);
}

namespace {

const QColor kYellow(255, 255, 0);
const QColor kWindowColour(221, 215, 208);

// The fixture ceiling diffuser (eight outlets) in a room 10 m wide, 12 m long and 3 m high, its
// flow picture open without zones, and a text table whose entries read "Text N".
struct FlowWindow {
    AppState state;
    test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    std::unique_ptr<TForm4> form;

    explicit FlowWindow(double outletsByHand = 0) {
        const auto calc = test::ceilingDiffuserState("01");
        state.record = calc->record;
        state.record.horizontalJet = 1;
        state.record.roomLength = 12.0;
        if (outletsByHand > 0) {
            state.record.outletCount = outletsByHand;
            state.flags.countSetByHand = true;
        }
        const QString path = dir.filePath(QStringLiteral("Fyltext.txt"));
        test::writeAnsiLines(
            path, test::textTableLines(200, [](int n) { return QStringLiteral("Text %1").arg(n); }));
        state.texts.load(path);
        form = std::make_unique<TForm4>(state, dialogs);
        form->applyView(ShowOutletResults(state.evaluationParts()));
        state.record.flowPictureShown = 1;
        form->showPicture({QStringLiteral("0,20"), QStringLiteral("1,80"), QStringLiteral("3,00")});
        // The first evaluation placed the walls at its minimum distance; 1 m each from here.
        form->ScrollBar3->setValue(-10);
        form->ScrollBar4->setValue(-10);
    }
    QString edit(form4::Control id) const { return textOf(form->widget(id)); }
    QImage shown() const { return form->Image1->grab().toImage(); }
    void type(form4::Control id, const QString& text) {
        auto* field = qobject_cast<QLineEdit*>(form->widget(id));
        field->clear();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
};

} // namespace

TEST(FlowSimulationWindow, OneOutletDrawsOneCircleWithoutSpacing) {
    FlowWindow w(1);
    w.form->ScrollBar3->setValue(-20); // left 2 m, right 1 m: W = 3, kx = 350 / 3
    EXPECT_EQ(w.state.record.spacing, 0.0);
    EXPECT_EQ(w.state.record.sectionWidth, 3.0);
    EXPECT_EQ(w.edit(form4::Edit3), "2,00");
    // The one circle at xc = 10 + trunc(2 * 116.67) = 243, on the ceiling at y 80 (box ±6).
    const QImage shown = w.shown();
    int yellow = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixelColor(x, y) == kYellow) {
                ++yellow;
                EXPECT_LE(std::abs(x - 243), 6) << x << ',' << y;
                EXPECT_LE(std::abs(y - 80), 6) << x << ',' << y;
            }
    EXPECT_GT(yellow, 20);
}

TEST(FlowSimulationWindow, SpacingTypedBeyondTenMetresStopsTheSlider) {
    FlowWindow w;
    w.type(form4::Edit2, QStringLiteral("4"));
    EXPECT_EQ(w.form->ScrollBar2->value(), -40);
    EXPECT_EQ(w.state.record.spacing, 4.0);

    w.type(form4::Edit2, QStringLiteral("12"));
    EXPECT_EQ(w.form->ScrollBar2->value(), -100);
    EXPECT_EQ(w.state.record.spacing, 10.0);
    EXPECT_EQ(w.edit(form4::Edit2), "10");
    // Again at the stop: no move, and the field still shows the value in use.
    w.type(form4::Edit2, QStringLiteral("12"));
    EXPECT_EQ(w.form->ScrollBar2->value(), -100);
    EXPECT_EQ(w.edit(form4::Edit2), "10");
    EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST(FlowSimulationWindow, RoomWidthBoxSpreadsTheWallsAndRedraws) {
    FlowWindow w;
    w.form->ScrollBar2->setValue(-40);
    w.form->CheckBox1->click();
    EXPECT_EQ(w.edit(form4::Edit3), "3");
    EXPECT_EQ(w.edit(form4::Edit4), "3");
    EXPECT_EQ(w.state.record.wallLeft, 3.0);
    EXPECT_EQ(w.state.record.wallRight, 3.0);
    EXPECT_EQ(w.form->ScrollBar3->value(), -30);
    EXPECT_EQ(w.form->ScrollBar4->value(), -30);
    EXPECT_EQ(w.state.record.sectionWidth, 10.0);
    // kx = 35: centre 10 + trunc(5 * 35) = 185, circles at 185 ± trunc(35 * 2), each on a grid line.
    const QImage shown = w.shown();
    EXPECT_EQ(shown.pixelColor(118, 83), kYellow);
    EXPECT_EQ(shown.pixelColor(258, 83), kYellow);
}

TEST(FlowSimulationWindow, LeftWallBeyondTheRoomLengthFallsBackToTheWidth) {
    FlowWindow w;
    w.form->ScrollBar2->setValue(-40);
    w.form->CheckBox1->click();
    w.form->CheckBox2->click(); // walls (12 - 4) / 2 = 4 m; the width box unticked
    EXPECT_FALSE(w.form->CheckBox1->isChecked());
    EXPECT_EQ(w.edit(form4::Edit3), "4");

    // 12 - 4 - 10 = -2 m left for the right wall: 185, right 0, left 10 - 4 = 6 m from the width.
    w.form->ScrollBar3->setValue(-100);
    EXPECT_EQ(w.dialogs.texts(test::ScriptedDialogs::Shown::Information), QStringList{"Text 185"});
    EXPECT_EQ(w.edit(form4::Edit3), "6,00");
    EXPECT_EQ(w.edit(form4::Edit4), "0,00");
    EXPECT_EQ(w.form->ScrollBar3->value(), -60);
    EXPECT_EQ(w.form->ScrollBar4->value(), 0);
    EXPECT_EQ(w.state.record.sectionWidth, 10.0);
    // kx = 35: centre 10 + trunc(8 * 35) = 290, the left circle at 290 - 70 = 220.
    EXPECT_EQ(w.shown().pixelColor(223, 83), kYellow);
}

TEST(FlowSimulationWindow, ProportionalHeightMovesTheFloorAndPaintsTheBand) {
    FlowWindow w;
    w.form->ScrollBar2->setValue(-40);
    w.form->CheckBox1->click(); // 3 m high, 10 m wide
    EXPECT_EQ(w.shown().pixelColor(300, 200), QColor(Qt::white));
    w.form->CheckBox3->click();
    EXPECT_TRUE(w.state.flags.proportionalPictureDrawn);
    // ky = 270 / 10 = 27: floor at 80 + trunc(3 * 27) = 161, the band from 171 to 350.
    const QImage shown = w.shown();
    EXPECT_EQ(shown.pixelColor(300, 161), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(300, 166), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(300, 170), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(300, 171), QColor(Qt::black)); // the band's edge, in the pen of the moment
    EXPECT_EQ(shown.pixelColor(300, 172), kWindowColour);
    EXPECT_EQ(shown.pixelColor(300, 349), kWindowColour);
    EXPECT_EQ(shown.pixelColor(100, 250), kWindowColour);
}

TEST(FlowSimulationWindow, CalculationWindowRefusesAVerticalJetWithoutHeating) {
    AppState state;
    test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Fyltext.txt"));
    test::writeAnsiLines(path,
                         test::textTableLines(200, [](int n) { return QStringLiteral("Text %1").arg(n); }));
    state.texts.load(path);
    state.record = test::ceilingDiffuserState("02")->record;
    state.record.verticalJet = 1;
    state.record.supplyTemp = state.record.roomTemp;
    test::RecordingShell shell;
    TForm3 form3(state, dialogs, shell);
    TForm4 form4(state, dialogs);
    form3.applyView(ShowOutletResults(state.evaluationParts()));
    form3.outcomeHandler = [&](const ResultsWindowOutcome& out) { // as the running program follows it
        if (out.flowPictureLabels)
            form4.showPicture(*out.flowPictureLabels);
    };
    auto* section = qobject_cast<QAction*>(form3.control(form3::Raumschnitt1));
    ASSERT_NE(section, nullptr);

    section->trigger();
    EXPECT_EQ(dialogs.texts(test::ScriptedDialogs::Shown::Information), QStringList{"Text 97"});
    EXPECT_FALSE(form4.isVisible());
    EXPECT_EQ(state.record.flowPictureShown, 0);

    // Supply air 2 K warmer than the room falls into it: the picture opens.
    state.record.supplyTemp = state.record.roomTemp + 2.0;
    section->trigger();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(form4.isVisible());
    EXPECT_EQ(state.record.flowPictureShown, 1);
    EXPECT_EQ(textOf(form4.widget(form4::Label15)), "3,00");
}
