// Windows on a scaled screen: the placement rule on rectangles, and every window of the program and
// of both companions opened on the offscreen screen this run was started with (tests/CMakeLists.txt:
// QT_SCALE_FACTOR 1, 1.25, 1.5 and 2 on a 1920 x 1080 screen, 1.5 on a 1280 x 1000 one and 2 on a
// 1920 x 1200 one), with every control where the planner can reach it.
#include "auxiliary/Unit6.h"
#include "auxiliary/Unit7.h"
#include "companions/deckenspiegel/planwindow.h"
#include "companions/zelk_sound/soundwindow.h"
#include "flowsim/Unit4.h"
#include "print/Unit5.h"
#include "results/Unit3.h"
#include "room/Unit1.h"
#include "selection/Unit2.h"
#include "selection/suggestionswindow.h"
#include "tests/support/mainwindowfixture.h"
#include "widgets/screenfit.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace fyl;

namespace {

// The frame of a window of `client` logical pixels with a 24-pixel title bar and 4-pixel borders.
QRect frameAt(QPoint corner, QSize client) {
    return {corner, client + QSize(8, 28)};
}
// The available area of a screen of `device` pixels at `scale`, below a 40-pixel panel.
QRect availableAt(QSize device, double scale, QPoint origin = {}) {
    const int panel = static_cast<int>(40 / scale);
    return {origin + QPoint(0, panel), QSize(static_cast<int>(device.width() / scale),
                                             static_cast<int>(device.height() / scale) - panel)};
}

} // namespace

TEST(ScreenFit, TheDocumentedPlaceIsKeptWhereItFitsAndLeftOnlyAsFarAsNeeded) {
    const QSize calculation(640, 572), main(799, 559);
    struct Case {
        double scale;
        QSize screen;
        bool fits; // the calculation window below the centred main window
    };
    for (const Case& c :
         {Case{1.0, {1280, 1000}, true}, Case{1.25, {1280, 1000}, true}, Case{1.5, {1280, 1000}, false},
          Case{2.0, {2560, 1600}, true}, Case{2.0, {2560, 1440}, false}}) {
        const QRect area = availableAt(c.screen, c.scale);
        const QRect mainFrame = frameAt(area.center() - QPoint(403, 293), main);
        const QRect wanted = frameAt(mainFrame.topLeft() + QPoint(0, 50), calculation);
        const QPoint placed = fitOntoScreen(wanted, area);
        EXPECT_TRUE(area.contains(QRect(placed, wanted.size()))) << c.scale;
        EXPECT_EQ(placed.x(), wanted.x()) << c.scale;
        // Where it fits it stays; otherwise it rises just far enough to end at the area's bottom.
        EXPECT_EQ(placed.y(), c.fits ? wanted.y() : area.bottom() + 1 - wanted.height()) << c.scale;
    }
    // Off the left and bottom edges of a second screen right of the first: moved onto it.
    const QRect second = availableAt({1920, 1200}, 1.25, {1024, 0});
    EXPECT_EQ(fitOntoScreen(frameAt({1000, 0}, calculation), second), second.topLeft());
    EXPECT_EQ(fitOntoScreen(frameAt({3000, 900}, calculation), second),
              QPoint(second.right() + 1 - 648, second.bottom() + 1 - 600));
    // Larger than the area: it starts at the area's corner, so that the title bar can be reached.
    const QRect small = availableAt({1280, 1000}, 1.5);
    EXPECT_EQ(fitOntoScreen(frameAt({-50, 400}, {900, 700}), small), small.topLeft());
}

namespace {

// Whether the planner can reach `control`: its whole rectangle shows inside every widget around it
// and on the screen's available area, or it lies in a scroll area whose viewport does, which can
// scroll it into view.
bool reachable(const QWidget& control, const QRect& screen) {
    QRect r(QPoint(), control.size());
    const QWidget* w = &control;
    while (!w->isWindow()) {
        const QWidget* parent = w->parentWidget();
        r.translate(w->pos());
        const auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget());
        if (area != nullptr && parent == area->viewport())
            r = QRect(QPoint(), r.size().boundedTo(parent->size()));
        else if (!QRect(QPoint(), parent->size()).contains(r))
            return false;
        w = parent;
    }
    return screen.contains(r.translated(w->mapToGlobal(QPoint())));
}

template <class... Kinds> bool isAnyOf(const QWidget* w) {
    return ((qobject_cast<const Kinds*>(w) != nullptr) || ...);
}

// Every visible control of the window that a planner clicks, types into or scrolls; a scroll bar
// of a scroll area goes with the area.
void expectEveryControlReachable(const QWidget& window) {
    const QRect screen = window.screen()->availableGeometry();
    int controls = 0;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        const bool areaBar = isAnyOf<QScrollBar>(w) && qobject_cast<const QAbstractScrollArea*>(
                                                           w->parentWidget()->parentWidget()) != nullptr;
        const bool control =
            isAnyOf<QAbstractButton, QMenuBar, QLineEdit, QComboBox, QAbstractScrollArea>(w) ||
            (isAnyOf<QAbstractSlider>(w) && !areaBar);
        if (!control || !w->isVisible() || w->window() != &window || w->size().isEmpty())
            continue;
        ++controls;
        const QPoint at = w->mapToGlobal(QPoint());
        EXPECT_TRUE(reachable(*w, screen))
            << window.objectName().toStdString() << ": " << w->metaObject()->className() << ' '
            << w->objectName().toStdString() << " at " << at.x() << ',' << at.y();
    }
    EXPECT_GT(controls, 0) << window.objectName().toStdString();
}

class ScaledWindows : public test::MainWindowFixture {
protected:
    void SetUp() override {
        test::MainWindowFixture::SetUp();
        writeTexts();
        writePictureAndCatalogue();
        forms = start();
        forms->form1->show();
    }
    // The whole frame inside the available area of the screen the window is on, and every control
    // where the planner reaches it.
    void expectOnScreen(QWidget* window) {
        ASSERT_TRUE(window->isVisible()) << window->objectName().toStdString();
        const QRect area = window->screen()->availableGeometry();
        EXPECT_TRUE(area.contains(window->frameGeometry()))
            << window->objectName().toStdString() << " at " << window->frameGeometry().x() << ','
            << window->frameGeometry().y() << ' ' << window->frameGeometry().width() << 'x'
            << window->frameGeometry().height() << " on " << area.width() << 'x' << area.height();
        expectEveryControlReachable(*window);
    }
    std::unique_ptr<Forms> forms;
};

} // namespace

// Each window of the program, opened as the program opens it.
TEST_F(ScaledWindows, EveryWindowOpensWhollyOnItsScreen) {
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    ASSERT_EQ(forms->form1->devicePixelRatio(), scale);
    expectOnScreen(forms->form1.get());
    forms->showSelection();
    expectOnScreen(forms->form2.get());
    // Where it fits, at its documented place beside the main window.
    EXPECT_EQ(forms->form2->pos(), forms->form1->pos() + QPoint(15, 45));
    forms->showCalculation();
    expectOnScreen(forms->form3.get());
    EXPECT_EQ(forms->form3->pos().x(), forms->form1->pos().x());
    forms->form3->Drucken1Click();
    expectOnScreen(forms->form5.get());
    forms->form4->showPicture({QStringLiteral("0,20"), QStringLiteral("1,80"), QStringLiteral("3,00")});
    expectOnScreen(forms->form4.get());
    forms->form1->Hilfe2Click();
    expectOnScreen(forms->form7.get());
    forms->form6->showPictures(
        {QStringLiteral("Demo"), QStringLiteral("beenden"), QStringLiteral("Bildlauf")});
    expectOnScreen(forms->form6.get());
}

// The suggestion list and both companions, each opened as its program opens it.
TEST_F(ScaledWindows, TheSuggestionListAndTheCompanionsOpenWhollyOnTheScreen) {
    forms->showSelection();
    auto* suggestions = new SuggestionsWindow({}, forms->form2.get());
    suggestions->show();
    expectOnScreen(suggestions);

    SoundExchange noise;
    noise.outletName = QStringLiteral("DRL 400");
    noise.outletCount = 4;
    noise.lwa = 35.0;
    noise.roomWidth = noise.roomLength = noise.roomHeight = 5.0;
    sound::SoundWindow sound(noise, {QStringLiteral("Sounddaten.tmp"), {}, {}, sound::RoomUse::Office, {}},
                             dialogs);
    sound.fitToScreen();
    sound.show();
    expectOnScreen(&sound);

    CeilingExchange plan;
    plan.outletName = QStringLiteral("DRL 400");
    plan.outletCount = 4;
    plan.roomWidth = plan.roomLength = plan.roomHeight = 5.0;
    ceiling::CeilingPlanWindow ceilingPlan(plan, std::nullopt, QStringLiteral("Zoldaten.tmp"));
    ceilingPlan.show();
    expectOnScreen(&ceilingPlan);
}
