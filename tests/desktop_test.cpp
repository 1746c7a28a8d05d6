// The program on a desktop, driven offscreen: which windows stay on top, the window every dialog
// opens over, quitting, the ".zol" rule, the keys, the recently opened projects and the project
// file of the call.
#include "app/forms.h"
#include "auxiliary/Unit6.h"
#include "auxiliary/Unit7.h"
#include "flowsim/Unit4.h"
#include "frame/projectfile.h"
#include "frame/workdir.h"
#include "print/Unit5.h"
#include "results/Unit3.h"
#include "room/Unit1.h"
#include "selection/Unit2.h"
#include "tests/support/mainwindowfixture.h"
#include "widgets/qtdialogs.h"
#include "widgets/qtshell.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace fyl;

namespace {

class DesktopTest : public fyl::test::MainWindowFixture {
protected:
    std::unique_ptr<Forms> started() {
        writeTexts();
        writePictureAndCatalogue();
        auto forms = start();
        forms->form1->show();
        return forms;
    }
    // A new project saved under each name in Projekte/, which it returns.
    QString savedProjects(TForm1& main, std::initializer_list<const char*> names) {
        QString folder = dir.filePath(QStringLiteral("Projekte"));
        QDir().mkpath(folder);
        main.Neu1->trigger();
        for (const char* name : names) {
            dialogs.fileAnswers = {folder + QLatin1Char('/') + QLatin1String(name)};
            main.Speichern1->trigger();
        }
        return folder;
    }
    std::vector<std::pair<const char*, QWidget*>> windows(Forms& f) {
        return {{"TForm1", f.form1.get()}, {"TForm2", f.form2.get()}, {"TForm3", f.form3.get()},
                {"TForm4", f.form4.get()}, {"TForm5", f.form5.get()}, {"TForm6", f.form6.get()},
                {"TForm7", f.form7.get()}};
    }
};

bool activate(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w, 2000);
}

TEST_F(DesktopTest, OnlyThreeWindowsStayOnTopAndEveryDialogOpensModalOverTheActiveWindow) {
    auto forms = started();
    for (const auto& [name, w] : windows(*forms)) {
        const bool onTop = w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        const bool meant = name == std::string("TForm4") || name == std::string("TForm5") ||
                           name == std::string("TForm7");
        EXPECT_EQ(onTop, meant) << name;
    }

    QtDialogs dialogs;
    using Open = std::function<void()>;
    const std::vector<std::pair<const char*, Open>> kinds = {
        {"information", [&] { dialogs.information(QStringLiteral("Hinweis")); }},
        {"question", [&] { dialogs.confirm(QStringLiteral("Frage?")); }},
        {"save question", [&] { dialogs.confirmOrCancel(QStringLiteral("Speichern?")); }},
        {"error", [&] { dialogs.error(QStringLiteral("Fehler")); }},
        {"open", [&] { dialogs.openFile({QStringLiteral("Öffnen"), dir.path(), {}, {}, {}}); }},
        {"save", [&] { dialogs.saveFile({QStringLiteral("Speichern"), dir.path(), {}, {}, {}}); }},
        {"folder", [&] { dialogs.chooseFolder({QStringLiteral("Ordner"), dir.path(), {}, {}, {}}); }},
    };
    for (const auto& [name, w] : windows(*forms)) {
        if (!activate(w)) {
            ADD_FAILURE() << name << " could not be made active";
            continue;
        }
        for (const auto& [kind, open] : kinds) {
            ASSERT_TRUE(activate(w)) << name; // the window manager gives it back after each box
            QWidget* seenParent = nullptr;
            bool modal = false, transient = false;
            QTimer closer;
            closer.setSingleShot(true);
            QObject::connect(&closer, &QTimer::timeout, [&, w = w] {
                if (QWidget* box = QApplication::activeModalWidget()) {
                    seenParent = box->parentWidget();
                    modal = box->isModal() && box->isVisible();
                    transient = box->windowHandle() != nullptr &&
                                box->windowHandle()->transientParent() == w->windowHandle();
                    if (auto* dialog = qobject_cast<QDialog*>(box))
                        dialog->reject();
                    else
                        box->close();
                }
            });
            closer.start(0);
            open();
            EXPECT_EQ(seenParent, w) << name << ", " << kind;
            EXPECT_TRUE(modal) << name << ", " << kind;
            EXPECT_TRUE(transient) << name << ", " << kind; // the window manager keeps it above
        }
        if (w != forms->form1.get())
            w->hide();
    }
}

TEST_F(DesktopTest, QuittingEndsTheProgramWhateverIsOpenAndAbbrechenKeepsEverything) {
    auto forms = started();
    forms->form1->Neu1->trigger();
    forms->form1->model().setProjectText(0, QStringLiteral("Halle")); // a change to lose
    forms->form3->show();
    forms->form4->show();

    // "Abbrechen" (or Escape): nothing closes, nothing is saved.
    dialogs.withdrawableAnswers = {std::nullopt};
    EXPECT_FALSE(forms->form1->close());
    EXPECT_TRUE(forms->form1->isVisible());
    EXPECT_TRUE(forms->form3->isVisible());
    EXPECT_EQ(dialogs.texts(test::ScriptedDialogs::Shown::Confirm), QStringList{QStringLiteral("Eintrag 173")});

    // "Ja" and then a cancelled save dialog: the project would be lost, so the program stays.
    dialogs.withdrawableAnswers = {true};
    EXPECT_FALSE(forms->form1->close());
    EXPECT_TRUE(forms->form1->isVisible());

    // "Nein": the main window closes and the event loop ends, the calculation window open or not.
    dialogs.withdrawableAnswers = {false};
    bool ended = false;
    QTimer closing;
    closing.setSingleShot(true);
    QObject::connect(&closing, &QTimer::timeout, [&] { forms->form1->close(); });
    closing.start(0);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    watchdog.start(5000);
    const int code = QCoreApplication::exec();
    ended = code == 0;
    EXPECT_TRUE(ended) << "the program ran on after the main window closed";
    EXPECT_FALSE(forms->form1->isVisible());
}

TEST_F(DesktopTest, SavingAppendsZolAndProposesTheProjectName) {
    auto forms = started();
    TForm1& main = *forms->form1;
    main.Neu1->trigger();
    main.model().setProjectText(0, QStringLiteral("Raum 2.14 / Süd"));
    const QString folder = dir.filePath(QStringLiteral("Projekte"));
    QDir().mkpath(folder);

    dialogs.fileAnswers = {folder + QStringLiteral("/Raum 2.14")};
    main.Speichern1->trigger();
    ASSERT_FALSE(dialogs.fileRequests.empty());
    EXPECT_EQ(dialogs.fileRequests.back().fileName.toStdString(), "Raum 2.14 _ Süd");
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/Raum 2.14.zol")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/Raum 2.14")));
    EXPECT_EQ(main.model().state().projectFile, folder + QStringLiteral("/Raum 2.14.zol"));

    // A name ending in ".zol" in any case stays as it is.
    dialogs.fileAnswers = {folder + QStringLiteral("/Halle.ZOL")};
    main.Speichern1->trigger();
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/Halle.ZOL")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/Halle.ZOL.zol")));

    // The name that only got ".zol" here is asked about before it is replaced; No keeps it.
    const QByteArray before = [&] {
        QFile f(folder + QStringLiteral("/Raum 2.14.zol"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    main.model().setProjectText(0, QStringLiteral("anders"));
    dialogs.fileAnswers = {folder + QStringLiteral("/Raum 2.14")};
    dialogs.confirmAnswers = {false};
    main.Speichern1->trigger();
    QFile again(folder + QStringLiteral("/Raum 2.14.zol"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), before);
    EXPECT_TRUE(dialogs.texts(test::ScriptedDialogs::Shown::Confirm)
                    .contains(QStringLiteral("Raum 2.14.zol ist bereits vorhanden. Ersetzen?")));
    EXPECT_EQ(projectFilePath(QStringLiteral("a.zol")), QStringLiteral("a.zol"));
    EXPECT_EQ(projectFilePath(QStringLiteral("a.zol.bak")), QStringLiteral("a.zol.bak.zol"));
}

TEST_F(DesktopTest, KeysOpenTheCommandsAndEscapeClosesEverySecondaryWindow) {
    auto forms = started();
    TForm1& main = *forms->form1;
    EXPECT_EQ(main.Neu1->shortcut(), QKeySequence(QKeySequence::New));
    EXPECT_EQ(main.Laden1->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(main.Speichern1->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(main.Beenden1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(main.Kurzanleitung1->shortcut(), QKeySequence(QKeySequence::HelpContents));

    // Ctrl+O asks for a project, F1 opens the short guide.
    ASSERT_TRUE(activate(&main));
    const std::size_t asked = dialogs.fileRequests.size();
    QTest::keyClick(&main, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs.fileRequests.size(), asked + 1);
    ASSERT_TRUE(shell.opened.isEmpty());
    QTest::keyClick(&main, Qt::Key_F1);
    ASSERT_FALSE(shell.opened.isEmpty()); // looked up, then opened
    EXPECT_TRUE(shell.opened.last().endsWith(QStringLiteral("/Fyl_Anleitung.pdf")));

    // Ctrl+S saves from the calculation window too.
    ASSERT_TRUE(activate(forms->form3.get()));
    QTest::keyClick(forms->form3.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.fileRequests.size(), asked + 2);

    for (QWidget* w : std::initializer_list<QWidget*>{forms->form2.get(), forms->form4.get(), forms->form5.get(),
                                                       forms->form6.get(), forms->form7.get()}) {
        ASSERT_TRUE(activate(w)) << w->objectName().toStdString();
        QTest::keyClick(w, Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    }
    // Enter presses the information window's OK.
    ASSERT_TRUE(activate(forms->form7.get()));
    QTest::keyClick(forms->form7.get(), Qt::Key_Return);
    EXPECT_FALSE(forms->form7->isVisible());
}

TEST_F(DesktopTest, RecentlyOpenedProjectsNewestFirstWithoutMissingFiles) {
    auto forms = started();
    TForm1& main = *forms->form1;
    const QString folder = savedProjects(main, {"a.zol", "b.zol", "c.zol"});
    dialogs.fileAnswers = {folder + QStringLiteral("/a.zol")};
    main.Laden1->trigger();
    QFile::remove(folder + QStringLiteral("/b.zol"));
    EXPECT_EQ(recentProjects(*forms->settings),
              (QStringList{folder + QStringLiteral("/a.zol"), folder + QStringLiteral("/c.zol")}));

    // The menu lists them; choosing one loads it as "Laden" does, without a dialog.
    auto* menu = main.findChild<QMenu*>(QStringLiteral("recentProjects"));
    ASSERT_TRUE(menu);
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[1]->text().toStdString(), "c.zol");
    const std::size_t asked = dialogs.fileRequests.size();
    menu->actions()[1]->trigger();
    EXPECT_EQ(dialogs.fileRequests.size(), asked);
    EXPECT_EQ(main.model().state().projectFile, folder + QStringLiteral("/c.zol"));
    EXPECT_EQ(recentProjects(*forms->settings).first(), folder + QStringLiteral("/c.zol"));

    for (int i = 0; i < kRecentProjects + 3; ++i)
        rememberProject(*forms->settings, folder + QStringLiteral("/a.zol"));
    EXPECT_EQ(recentProjects(*forms->settings).count(folder + QStringLiteral("/a.zol")), 1);
}

// What main() does with `zelkfyl FILE.zol` once the windows exist.
TEST_F(DesktopTest, AProjectFileOfTheCallLoadsAsLadenWithoutTheDialogAndADamagedOneGetsTheErrorBox) {
    auto forms = started();
    TForm1& main = *forms->form1;
    const QString folder = savedProjects(main, {"a.zol", "b.zol"});
    const QString damaged = folder + QStringLiteral("/kaputt.zol");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(100, 'x'));
    file.close();
    const std::size_t asked = dialogs.fileRequests.size();

    main.openProject(damaged);
    EXPECT_EQ(dialogs.texts(test::ScriptedDialogs::Shown::Error).size(), 1);
    EXPECT_EQ(main.model().state().projectFile, folder + QStringLiteral("/b.zol"));

    main.openProject(folder + QStringLiteral("/a.zol"));
    EXPECT_EQ(dialogs.texts(test::ScriptedDialogs::Shown::Error).size(), 1);
    EXPECT_EQ(main.model().state().projectFile, folder + QStringLiteral("/a.zol"));
    EXPECT_EQ(recentProjects(*forms->settings).first(), folder + QStringLiteral("/a.zol"));
    EXPECT_EQ(dialogs.fileRequests.size(), asked);
}

// A box that follows another while no window is active yet (an error after the save dialog) opens
// over the window the planner is in: over the main window it would raise that above it.
TEST_F(DesktopTest, ABoxThatFollowsAnotherBelongsToTheWindowThePlannerIsIn) {
    auto forms = started();
    QtDialogs boxes(forms->form1.get());
    auto ownerOf = [](const std::function<void()>& open) {
        QWidget* parent = nullptr;
        QTimer closer;
        closer.setSingleShot(true);
        closer.callOnTimeout([&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            parent = box != nullptr ? box->parentWidget() : nullptr;
            if (box != nullptr)
                box->reject();
        });
        closer.start(0);
        open();
        return parent;
    };
    ASSERT_TRUE(activate(forms->form3.get()));
    EXPECT_EQ(ownerOf([&] { boxes.information(QStringLiteral("Gespeichert")); }), forms->form3.get());
    QApplication::setActiveWindow(nullptr);
    EXPECT_EQ(ownerOf([&] { boxes.error(QStringLiteral("Fehler")); }), forms->form3.get());
}

// With the shipped texts the attachment buttons speak the dialogue's German, whole.
TEST_F(DesktopTest, AttachmentButtonsSayGermanWordsAndShowThemWhole) {
    writePictureAndCatalogue();
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZELK_PROGRAM_DIR "/Fyltext.txt"),
                            program + QStringLiteral("/Fyltext.txt")));
    auto forms = start();
    for (QPushButton* button : {forms->form1->Add1, forms->form1->Del1}) {
        const QString text = button->text();
        EXPECT_TRUE(text != QStringLiteral("Add") && text != QStringLiteral("Del")) << text.toStdString();
        const int needed = button->fontMetrics().horizontalAdvance(text) +
                           2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        EXPECT_LE(needed, button->width()) << text.toStdString();
    }
}

// The desktop's shell: a document has a program only when the desktop's table names one for its
// type (xdg-open takes any document and fails unseen afterwards).
TEST_F(DesktopTest, TheDesktopShellLooksUpTheProgramForTheDocumentsType) {
    const QString guide = dir.filePath(QStringLiteral("Fyl_Anleitung.pdf"));
    test::writeFile(guide, QByteArray("%PDF-1.4\n"));
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ':' + oldPath);
    // A stand-in for the desktop's table: it names for PDF files what VIEWER says.
    test::writeFile(bin + QStringLiteral("/xdg-mime"),
                    "#!/bin/sh\n[ \"$3\" = application/pdf ] && echo $VIEWER\n");
    QFile::setPermissions(bin + QStringLiteral("/xdg-mime"), QFile::ReadOwner | QFile::ExeOwner);
    QtShell desktop;
    qputenv("VIEWER", "");
    EXPECT_FALSE(desktop.hasHandler(guide));
    qputenv("VIEWER", "viewer.desktop");
    EXPECT_TRUE(desktop.hasHandler(guide));
    EXPECT_FALSE(desktop.hasHandler(dir.filePath(QStringLiteral("fehlt.pdf"))));
    qputenv("PATH", oldPath);
}

} // namespace
