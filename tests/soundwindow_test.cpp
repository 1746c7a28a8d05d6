// The sound tool's window: typed values change the figures at once, a wrong one is explained and
// blocks printing, and the sheet is saved as PDF through the file dialog.
#include "companions/zelk_sound/soundwindow.h"
#include "tests/support/scripted.h"
#include "tests/support/testfiles.h"
#include "widgets/qttranslations.h"

#include <QApplication>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace fyl;
using namespace fyl::sound;

namespace {

SoundExchange threeOutlets() {
    SoundExchange x;
    x.outletName = QStringLiteral("DLX 125");
    x.outletCount = 3;
    x.lwa = 35.0;
    x.roomWidth = 6.0;
    x.roomLength = 8.0;
    x.roomHeight = 3.0;
    x.project = QStringLiteral("Büro 2.14");
    return x;
}

void retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

TEST(SoundWindow, FiguresFollowTheTypedValuesAndAWrongOneBlocksPrinting) {
    test::ScriptedDialogs dialogs;
    SoundWindow window(threeOutlets(),
                       {QStringLiteral("Sounddaten.tmp"), QStringLiteral("0,80"), QStringLiteral("1,00"),
                        RoomUse::Office, QString()},
                       dialogs);
    window.show();
    QLabel* listener = window.resultValues.at(window.resultValues.size() - 3);
    QLabel* verdict = window.resultValues.back();
    EXPECT_EQ(listener->text(), QStringLiteral("32,5 dB(A)"));
    EXPECT_EQ(verdict->text(), QStringLiteral("eingehalten (2,5 dB darunter)"));

    retype(window.reverberationEdit, QStringLiteral("1.6"));
    retype(window.distanceEdit, QStringLiteral("2"));
    EXPECT_EQ(listener->text(), QStringLiteral("34,3 dB(A)"));

    retype(window.distanceEdit, QStringLiteral("2x"));
    EXPECT_EQ(listener->text(), QStringLiteral("—"));
    EXPECT_TRUE(window.messageLabel->text().contains(QStringLiteral("keine Zahl")));
    EXPECT_FALSE(window.pdfButton->isEnabled());
    EXPECT_FALSE(window.printButton->isEnabled());

    QTest::keyClick(window.distanceEdit, Qt::Key_Backspace);
    EXPECT_EQ(window.messageLabel->text(),
              QStringLiteral("Nachhallzeit 0,1 bis 10 s; Abstand 0,1 m bis zur Raumdiagonale von 10,44 m."));
    EXPECT_TRUE(window.pdfButton->isEnabled());
    window.useBox->setCurrentIndex(3); // the open-plan office: 40 dB(A)
    EXPECT_EQ(verdict->text(), QStringLiteral("eingehalten (5,7 dB darunter)"));
}

TEST(SoundWindow, SavesTheSheetWhereTheDialogSays) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    const QString pdf = dir.filePath(QStringLiteral("Blatt.pdf"));
    dialogs.fileAnswers = {pdf};
    SoundWindow window(threeOutlets(),
                       {QStringLiteral("Sounddaten.tmp"), QStringLiteral("0,8"), QStringLiteral("1"),
                        RoomUse::Office, dir.path()},
                       dialogs);
    QTest::mouseClick(window.pdfButton, Qt::LeftButton);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].folder, dir.path());
    EXPECT_EQ(dialogs.fileRequests[0].fileName, QStringLiteral("Schallberechnung Büro 2.14.pdf"));
    EXPECT_TRUE(test::readFile(pdf).startsWith("%PDF"));
    EXPECT_TRUE(dialogs.texts(test::ScriptedDialogs::Shown::Error).isEmpty());
}

TEST(CompanionTexts, QtsOwnDialogsSpeakGerman) {
    // The companions load Qt's texts as the program does, through the same helper.
    ASSERT_TRUE(installGermanQtTexts(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Speichern unter"));
}
