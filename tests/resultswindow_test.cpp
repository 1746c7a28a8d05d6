// The calculation and flow simulation windows against the results view: every identifier the
// view uses has its control, and an evaluation's view shows in the real windows.
#include "app/appstate.h"
#include "fixtures/calcfixture.h"
#include "flowsim/Unit4.h"
#include "flowsim/flowpicture.h"
#include "frame/projectfile.h"
#include "results/Unit3.h"
#include "results/outletresults.h"
#include "tests/support/clirun.h"
#include "tests/support/scripted.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>

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
    TForm3 form3(state, dialogs);
    TForm4 form4(state, dialogs);
    expectEveryIdentifierBound<TForm3, Form3View>(form3);
    expectEveryIdentifierBound<TForm4, Form4View>(form4);
}

TEST(ResultsWindows, AnEvaluationShowsInBothWindows) {
    AppState state;
    test::ScriptedDialogs dialogs;
    TForm3 form3(state, dialogs);
    TForm4 form4(state, dialogs);
    auto calc = test::ceilingDiffuserState("01");
    const ResultsView view = ShowOutletResults(calc->parts());
    form3.applyView(view);
    form4.applyView(view);

    EXPECT_EQ(textOf(form3.widget(form3::Label1)), "DLQ  625 A");
    EXPECT_EQ(textOf(form3.widget(form3::Label7)), "93,75");
    EXPECT_EQ(textOf(form3.widget(form3::Edit1)), "10");
    EXPECT_EQ(form3.ScrollBar1->minimum(), 5);
    EXPECT_EQ(form3.ScrollBar1->maximum(), 15);
    EXPECT_EQ(form3.ScrollBar1->value(), 10);
    EXPECT_FALSE(form3.widget(form3::Label21)->isHidden()); // x-krit 7.5 m
    EXPECT_FALSE(form3.widget(form3::GroupBox1)->isHidden());
    EXPECT_TRUE(form3.widget(form3::GroupBox2)->isHidden());
    // 25.2² · 7.5 m² needed in a 100 m² room: red.
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
    const QImage shown = form4.Image1->pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(369, 361));
    EXPECT_EQ(shown.pixelColor(185, 160), QColor(255, 0, 0));     // the zone, x 150…220, y 125…215
    EXPECT_EQ(shown.pixelColor(152, 83), QColor(255, 255, 0));    // the outlet at (150, 80)
    EXPECT_EQ(shown.pixelColor(300, 300), QColor(255, 255, 255)); // the section
    EXPECT_EQ(shown.pixelColor(290, 300), QColor(0, 0, 0));       // vertical grid, 150 + 2 * 70
    EXPECT_EQ(shown.pixelColor(300, 188), QColor(0, 0, 255));     // head height, 350 - trunc(1.8 * 90)
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

    const QImage shown = form4.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage written = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(written.size(), QSize(369, 361));
    EXPECT_TRUE(shown == written);
    // Something was drawn: the red zones of the two outlets.
    int red = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            red += shown.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_GT(red, 100);
}
