// Unsaved changes through the real windows on the demo catalogue: quitting, a new project and
// loading ask exactly when the project differs from its file, whichever window changed it, and
// the title marks such a project.
#include "flowsim/Unit4.h"
#include "frame/files.h"
#include "tests/support/roadfixture.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

using namespace fyl;
using fyl::test::copyFolder;
using fyl::test::RoadTest;
using Kind = fyl::test::ScriptedDialogs::Shown::Kind;

namespace {

class UnsavedChangesTest : public RoadTest {
protected:
    // Nothing to lose at start; then DRL 400 at 1700 m³/h (7 outlets) saved as halle.zol.
    void planAndSave() {
        copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
        openWindows();
        quitFrom(main); // no project open: nothing to lose
        EXPECT_EQ(questions(), 0);
        main->show();
        main->Neu1->trigger();
        main->Vorgaben1->trigger();
        newRate = main->Edit6->text();
        enter(main->edit7, QStringLiteral("1700"));
        press(main->BitBtn1);
        pick(selection->listbox1, QStringLiteral("Deckendurchlässe"));
        pick(selection->ListBox8, QStringLiteral("DRL"));
        pick(selection->ListBox9, QStringLiteral("DRL 400"));
        press(selection->weiter);
        ASSERT_TRUE(results->isVisible());
        EXPECT_TRUE(marked());
        file = path("halle.zol");
        save(file);
        saved = test::readFile(file);
        EXPECT_FALSE(marked());
        dialogs.shown.clear();
    }
    bool marked() const { return main->windowTitle().startsWith(QLatin1Char('*')); }
    void quitFrom(QWidget* window) {
        activate(window);
        QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    }
    int questions() const {
        return static_cast<int>(dialogs.texts(Kind::Confirm).count(forms->state.texts.text(173)));
    }

    QString file, newRate;
    QByteArray saved;
};

} // namespace

TEST_F(UnsavedChangesTest, ChangesInTheCalculationWindowAndFlowSimulationAreAskedFor) {
    planAndSave();
    dialogs.fileAnswers = {file};
    QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier);
    quitFrom(main); // right after loading
    EXPECT_EQ(questions(), 0);
    main->show();
    dialogs.fileAnswers = {file};
    activate(main);
    QTest::keyClick(main, Qt::Key_S, Qt::ControlModifier); // the project's own file is proposed
    EXPECT_EQ(QDir(dialogs.fileRequests.back().folder).filePath(dialogs.fileRequests.back().fileName), file);

    main->Vorgaben1->trigger();
    press(main->BitBtn1);
    EXPECT_FALSE(marked()); // the evaluation gives the figures the file holds
    activate(results);
    enterCount(QStringLiteral("6"));
    EXPECT_TRUE(marked());
    dialogs.withdrawableAnswers = {std::nullopt}; // Abbrechen: nothing closes, nothing is written
    quitFrom(results);
    dialogs.withdrawableAnswers = {true}; // Ja, and the save dialog cancelled: the same
    dialogs.fileAnswers = {QString()};
    main->Beenden1->trigger();
    EXPECT_EQ(questions(), 2);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(test::readFile(file), saved);

    // Saved with 6 outlets set by hand, then 5 and back to 6: nothing to lose.
    dialogs.fileAnswers = {file};
    QTest::keyClick(results, Qt::Key_S, Qt::ControlModifier);
    enterCount(QStringLiteral("5"));
    EXPECT_TRUE(marked());
    enterCount(QStringLiteral("6"));
    EXPECT_FALSE(marked());

    // The flow simulation, opened by Alt+T and R: the count field gets no letter.
    QLineEdit* count = edit(form3::Edit1);
    count->setFocus();
    QTest::keyClick(count, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(count->text(), "6");
    auto* tools = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(tools, nullptr);
    QTest::keyClick(tools, Qt::Key_R);
    TForm4* flow = forms->form4.get();
    ASSERT_TRUE(flow->isVisible());
    // The picture keeps its section width and outlets in the project: saved with them.
    dialogs.fileAnswers = {file};
    activate(flow);
    QTest::keyClick(flow, Qt::Key_S, Qt::ControlModifier);
    saved = test::readFile(file);
    EXPECT_FALSE(marked());

    flow->ScrollBar2->setValue(flow->ScrollBar2->value() + 5);
    EXPECT_TRUE(marked());
    quitFrom(flow);
    EXPECT_EQ(questions(), 3);
    EXPECT_FALSE(main->isVisible()); // answered Nein
    EXPECT_EQ(test::readFile(file), saved);
}

TEST_F(UnsavedChangesTest, NewAndLoadAskBeforeTheyReplaceAChangedProject) {
    planAndSave();
    main->Vorgaben1->trigger();
    enter(main->Edit6, QStringLiteral("5")); // the air change rate
    EXPECT_TRUE(marked());

    // Ja and a cancelled save keep the project; Ja and a failed save keep it from being loaded over.
    dialogs.withdrawableAnswers = {true, true};
    dialogs.fileAnswers = {QString(), path("fehlt/halle.zol")};
    QTest::keyClick(main, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(questions(), 2);
    EXPECT_EQ(errors().size(), 1);
    EXPECT_EQ(dialogs.texts(Kind::OpenFile).size(), 0);
    EXPECT_EQ(main->Edit6->text(), "5");
    EXPECT_TRUE(results->isVisible());

    // Ja and a written file: saved, then the new project.
    dialogs.withdrawableAnswers = {true};
    dialogs.fileAnswers = {file};
    main->Neu1->trigger();
    EXPECT_NE(test::readFile(file), saved);
    EXPECT_EQ(main->Edit6->text(), newRate);
    EXPECT_EQ(questions(), 3);
}
