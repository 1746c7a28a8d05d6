// The main window at start-up, driven offscreen: texts, menus, picture, failures.
#include "app/forms.h"
#include "auxiliary/Unit6.h"
#include "auxiliary/Unit7.h"
#include "frame/errors.h"
#include "room/Unit1.h"
#include "selection/Unit2.h"
#include "tests/support/mainwindowfixture.h"

#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace fyl;
using fyl::test::ScriptedDialogs;

namespace {

class StartUpTest : public fyl::test::MainWindowFixture {};

} // namespace

TEST_F(StartUpTest, MainWindowShowsTheTextsOfTheProgramDirectory) {
    writeTexts();
    writePictureAndCatalogue();
    auto forms = start();
    TForm1& main = *forms->form1;
    EXPECT_TRUE(dialogs.texts(ScriptedDialogs::Shown::Error).isEmpty())
        << dialogs.texts(ScriptedDialogs::Shown::Error).join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(main.windowTitle().toStdString(), "Titel aus dem Programmordner");
    EXPECT_EQ(main.saveDialog1Title.toStdString(), "Titel aus dem Programmordner");
    // The menus carry the text table's texts with the letter Alt opens them with; a text without
    // that letter gets none.
    EXPECT_EQ(main.Projekt1->title().toStdString(), "&Projekt");
    EXPECT_EQ(main.Projektdaten1->text().toStdString(), "Projekt&daten");
    EXPECT_EQ(main.GroupBox1->title().toStdString(), "Projektdaten");
    EXPECT_EQ(main.Vorgaben1->text().toStdString(), "Eint&rag 10");
    EXPECT_EQ(main.Hilfe2->text().toStdString(), "&Hilfe");
    EXPECT_EQ(main.Kurzanleitung1->text().toStdString(), "&Kurzanleitung");
    EXPECT_EQ(main.Laden1->text().toStdString(), "Eintrag 4");
    EXPECT_EQ(main.findChild<QLabel*>(QStringLiteral("Label25"))->text().toStdString(), "Eintrag 17");
    EXPECT_EQ(main.BitBtn1->text().toStdString(), "Eintrag 40");
    EXPECT_EQ(forms->state.folders.program, program);
    EXPECT_FALSE(main.Image1->image().isNull());
}

TEST_F(StartUpTest, MenuBarIsLaidOutWithItsSpacers) {
    writeTexts();
    writePictureAndCatalogue();
    auto forms = start();
    TForm1& main = *forms->form1;
    const QList<QAction*> items = main.menuBar()->actions();
    ASSERT_EQ(items.size(), 42);
    EXPECT_EQ(items[0], main.Projekt1->menuAction());
    EXPECT_EQ(items[5], main.Projektdaten1);
    EXPECT_EQ(items[9], main.Vorgaben1);
    EXPECT_EQ(items[34], main.Demo1);
    EXPECT_EQ(items[36], main.Demo2);
    EXPECT_EQ(items[41], main.Info1->menuAction());
    for (int i : {1, 2, 3, 4, 6, 7, 8, 10, 33, 35, 37, 40})
        EXPECT_TRUE(items[i]->text().isEmpty()) << i;
    EXPECT_EQ(main.Demo1->text().toStdString(), " ");
    EXPECT_FALSE(main.Demo2->isVisible());
    EXPECT_EQ(main.Info1->actions().size(), 2);
    const QStringList project = {main.Neu1->text(), main.Laden1->text(), main.Speichern1->text(),
                                 main.Beenden1->text()};
    EXPECT_EQ(project.join(QLatin1Char('|')).toStdString(), "Ei&ntrag 3|Eintrag 4|Eintrag 5|Eintrag 7");
    // Both panel commands wait for a project to be loaded or started.
    EXPECT_FALSE(main.Vorgaben1->isEnabled());
    EXPECT_FALSE(main.Projektdaten1->isEnabled());
    EXPECT_TRUE(main.GroupBox1->isHidden());
    EXPECT_TRUE(main.GroupBox3->isHidden());
    // The design size, narrowed just enough for a window frame on the test's 800 x 600 screen.
    EXPECT_EQ(main.height(), 559);
    EXPECT_GE(main.width(), 790);
    EXPECT_FALSE(main.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(StartUpTest, RecordAndFieldsHoldTheResetValues) {
    writeTexts();
    writePictureAndCatalogue();
    auto forms = start();
    const CalculationRecord& rec = forms->state.record;
    EXPECT_EQ(+rec.totalFlow, 4000.0);
    EXPECT_EQ(+rec.supplyTemp, 20.001);
    EXPECT_EQ(+rec.mountingHeight, 3.0);
    EXPECT_EQ(+rec.resultsWindowFlag, 1);
    // The outlet part and the bytes without a reset value stay as they were (zero at start).
    const auto* bytes = reinterpret_cast<const unsigned char*>(&rec);
    for (std::size_t i = 0; i < 3760; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_TRUE(forms->state.flags.freshProject);
    EXPECT_FALSE(forms->state.flags.loadedWithResults);
    TForm1& main = *forms->form1;
    EXPECT_EQ(main.edit7->text().toStdString(), "4000");
    EXPECT_EQ(main.Edit1->text().toStdString(), "100,00");
    EXPECT_EQ(main.Edit2->text().toStdString(), "3,00");
    EXPECT_EQ(main.Edit6->text().toStdString(), "10");
    EXPECT_EQ(main.Edit8->text().toStdString(), "0,20");
    EXPECT_EQ(main.Edit13->text().toStdString(), "20,00");
    EXPECT_EQ(main.Edit14->text().toStdString(), "35,00");
    EXPECT_TRUE(main.Memo1->toPlainText().isEmpty());
}

TEST_F(StartUpTest, AllSevenWindowsExistAndStayHidden) {
    writeTexts();
    writePictureAndCatalogue();
    auto forms = start();
    ASSERT_TRUE(forms->form2 && forms->form3 && forms->form4 && forms->form5 && forms->form6 && forms->form7);
    EXPECT_TRUE(forms->form2->isHidden());
    EXPECT_TRUE(forms->form7->isHidden());
    EXPECT_EQ(forms->form7->windowTitle().toStdString(), "Information");
    forms->form6->show();
    EXPECT_EQ(forms->form6->Image1->size(), QSize(808, 633)); // the picture area below the menu bar
}

TEST_F(StartUpTest, MissingTextTableShowsAnErrorAndSkipsTheRemainingSteps) {
    writePictureAndCatalogue();
    auto forms = start();
    const QStringList errors = dialogs.texts(ScriptedDialogs::Shown::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("Fyltext.txt"))) << errors[0].toStdString();
    TForm1& main = *forms->form1;
    EXPECT_EQ(main.windowTitle().toStdString(), "Z E L K  F Y L"); // design texts stay
    EXPECT_TRUE(main.Vorgaben1->isEnabled());                      // step 13 did not run
    EXPECT_TRUE(forms->state.folders.working.isEmpty());           // nor step 14
    EXPECT_EQ(+forms->state.record.totalFlow, 4000.0);             // steps before it did
    EXPECT_TRUE(forms->form7 != nullptr);                          // the windows still exist
    EXPECT_FALSE(main.Image1->image().isNull());
}

TEST_F(StartUpTest, MissingBackgroundPictureStopsBeforeTheTextTable) {
    writeTexts();
    auto forms = start();
    const QStringList errors = dialogs.texts(ScriptedDialogs::Shown::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("fyl.jpg")));
    EXPECT_EQ(forms->form1->windowTitle().toStdString(), "Z E L K  F Y L");
    EXPECT_EQ(forms->state.texts.lineCount(), 0);
}

TEST_F(StartUpTest, OverlongTextTableKeepsItsEntriesButSetsNoDisplayText) {
    writeTexts(236);
    writePictureAndCatalogue();
    auto forms = start();
    ASSERT_EQ(dialogs.texts(ScriptedDialogs::Shown::Error).size(), 1);
    EXPECT_EQ(forms->state.texts.text(235).toStdString(), "Eintrag 235");
    EXPECT_EQ(forms->form1->windowTitle().toStdString(), "Z E L K  F Y L");
}

TEST_F(StartUpTest, FirstStartAsksForTheWorkingDirectoryOnceAndUsesTheDefaultOnCancel) {
    writeTexts();
    writePictureAndCatalogue();
    {
        auto forms = start();
        EXPECT_EQ(dialogs.texts(ScriptedDialogs::Shown::Information).value(0).toStdString(), "Eintrag 199");
        const QString expected = QDir::toNativeSeparators(dir.filePath(QStringLiteral("home/ZELK")));
        EXPECT_EQ(forms->state.folders.working, expected);
        EXPECT_TRUE(QFileInfo(expected + QStringLiteral("/Projekte")).isDir());
        EXPECT_TRUE(QFileInfo(expected + QStringLiteral("/tmp")).isDir());
    }
    dialogs.shown.clear();
    auto again = start();
    EXPECT_TRUE(dialogs.shown.empty());
}
