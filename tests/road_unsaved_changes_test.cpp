// Unsaved changes through the real windows on the demo catalogue: quitting, a new project and
// loading ask exactly when the project differs from its file, whichever window changed it, and
// the title marks such a project.
#include "flowsim/Unit4.h"
#include "frame/files.h"
#include "frame/record.h"
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
    // DRL 400 at 1700 m³/h in the calculation window (7 outlets), saved as halle.zol.
    void planAndSave() {
        copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
        startWindows();
        newRate = main->Edit6->text();
        enter(main->edit7, QStringLiteral("1700"));
        press(main->BitBtn1);
        pick(selection->listbox1, QStringLiteral("Deckendurchlässe"));
        pick(selection->ListBox8, QStringLiteral("DRL"));
        pick(selection->ListBox9, QStringLiteral("DRL 400"));
        press(selection->weiter);
        ASSERT_TRUE(results->isVisible());
        ASSERT_EQ(shown(form3::Edit1), "7");
        EXPECT_TRUE(marked());
        file = path("halle.zol");
        save(file);
        saved = test::readFile(file);
        EXPECT_FALSE(marked());
        dialogs.shown.clear();
    }
    bool marked() const { return main->windowTitle().startsWith(QLatin1Char('*')); }
    // Ctrl+Q in `window`, as the planner quits from wherever they are.
    void quitFrom(QWidget* window) {
        activate(window);
        QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    }
    int questions() const {
        return static_cast<int>(dialogs.texts(Kind::Confirm).count(forms->state.texts.text(173)));
    }
    // After a quit that went through: the program would end here; the test shows the window again.
    void reopen() {
        ASSERT_FALSE(main->isVisible());
        main->show();
        activate(main);
    }

    QString file;
    QByteArray saved;
    QString newRate; // the air change rate of a new project
};

} // namespace

TEST_F(UnsavedChangesTest, NothingToLoseNothingAsked) {
    copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
    openWindows();
    EXPECT_FALSE(marked());
    quitFrom(main); // no project open
    EXPECT_EQ(questions(), 0);
    reopen();

    main->Neu1->trigger(); // a new project that nobody touched has nothing to lose either
    main->Neu1->trigger();
    quitFrom(main);
    EXPECT_EQ(questions(), 0);
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

TEST_F(UnsavedChangesTest, ACountChangedInTheCalculationWindowIsAskedForAndChangingItBackIsNoChange) {
    planAndSave();
    quitFrom(results);
    EXPECT_EQ(questions(), 0);
    reopen();

    // Loaded and saved again: "Speichern" proposes the project's own file.
    dialogs.fileAnswers = {file};
    QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(questions(), 0);
    EXPECT_FALSE(marked());
    quitFrom(main); // right after loading
    EXPECT_EQ(questions(), 0);
    reopen();
    dialogs.fileAnswers = {file};
    QTest::keyClick(main, Qt::Key_S, Qt::ControlModifier);
    ASSERT_FALSE(dialogs.fileRequests.empty());
    EXPECT_EQ(dialogs.fileRequests.back().fileName.toStdString(), "halle.zol");
    EXPECT_EQ(QDir(dialogs.fileRequests.back().folder), QDir(dir.path()));

    main->Vorgaben1->trigger();
    press(main->BitBtn1);
    ASSERT_TRUE(results->isVisible());
    EXPECT_FALSE(marked()); // the evaluation gives the figures the file holds
    activate(results);
    enterCount(QStringLiteral("6"));
    EXPECT_TRUE(marked());

    dialogs.withdrawableAnswers = {std::nullopt}; // Abbrechen: nothing closes, nothing is written
    quitFrom(results);
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(test::readFile(file), saved);
    dialogs.withdrawableAnswers = {true}; // Ja, and the save dialog cancelled: still nothing closes
    dialogs.fileAnswers = {QString()};
    main->Beenden1->trigger();
    EXPECT_EQ(questions(), 2);
    EXPECT_TRUE(main->isVisible());

    // Saved with 6 outlets set by hand, then 5 and back to 6: nothing to lose.
    dialogs.fileAnswers = {file};
    QTest::keyClick(results, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(marked());
    enterCount(QStringLiteral("5"));
    EXPECT_TRUE(marked());
    enterCount(QStringLiteral("6"));
    EXPECT_FALSE(marked());
    main->close();
    EXPECT_EQ(questions(), 2);
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

TEST_F(UnsavedChangesTest, NewAndLoadAskBeforeTheyReplaceAChangedProject) {
    planAndSave();
    activate(main);
    main->Vorgaben1->trigger();
    enter(main->Edit6, QStringLiteral("5")); // the air change rate
    EXPECT_TRUE(marked());

    // Ja with a cancelled save keeps the project: the new one does not come.
    dialogs.withdrawableAnswers = {true};
    dialogs.fileAnswers = {QString()};
    QTest::keyClick(main, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(main->Edit6->text(), "5");
    EXPECT_TRUE(results->isVisible());

    // Ja with a save that fails keeps it too, and loading does not go on to its dialog.
    dialogs.withdrawableAnswers = {true};
    dialogs.fileAnswers = {path("fehlt/halle.zol")};
    const std::size_t dialogsBefore = dialogs.fileRequests.size();
    QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(questions(), 2);
    EXPECT_EQ(errors().size(), 1);
    EXPECT_EQ(dialogs.fileRequests.size(), dialogsBefore + 1); // the save dialog, no open dialog
    EXPECT_EQ(main->Edit6->text(), "5");

    // Ja with a written file: the project is saved, then the new one comes.
    dialogs.withdrawableAnswers = {true};
    dialogs.fileAnswers = {file};
    main->Neu1->trigger();
    EXPECT_EQ(questions(), 3);
    EXPECT_NE(test::readFile(file), saved);
    EXPECT_EQ(main->Edit6->text(), newRate);
    EXPECT_FALSE(marked());

    // Nein: the change is dropped and the file loads.
    main->Vorgaben1->trigger();
    enter(main->Edit6, QStringLiteral("6"));
    const QByteArray withFive = test::readFile(file);
    dialogs.withdrawableAnswers = {false};
    dialogs.fileAnswers = {file};
    main->Laden1->trigger();
    EXPECT_EQ(questions(), 4);
    EXPECT_EQ(test::readFile(file), withFive);
    EXPECT_EQ(recordBytes(forms->state.record), withFive);
    EXPECT_FALSE(marked());
}

TEST_F(UnsavedChangesTest, TheFlowSimulationChangesTheProjectAndItsMenuOpensWithAltT) {
    planAndSave();
    activate(results);
    QLineEdit* count = edit(form3::Edit1);
    count->setFocus();
    // Alt+T opens "Tools" and R its "Raumschnitt"; the count field gets no letter.
    QTest::keyClick(count, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(count->text(), "7");
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

    const int spacing = flow->ScrollBar2->value();
    flow->ScrollBar2->setValue(spacing + 5);
    EXPECT_TRUE(marked());
    quitFrom(flow);
    EXPECT_EQ(questions(), 1);
    EXPECT_FALSE(main->isVisible()); // answered Nein
    EXPECT_EQ(test::readFile(file), saved);
}
