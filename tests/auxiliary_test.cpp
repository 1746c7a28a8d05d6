// The demo command, the picture slideshow, the information window and the short guide, driven
// through the real windows offscreen.
#include "app/forms.h"
#include "auxiliary/Unit6.h"
#include "auxiliary/Unit7.h"
#include "room/Unit1.h"
#include "tests/support/mainwindowfixture.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace fyl;
using fyl::test::ScriptedDialogs;

namespace {

class AuxiliaryTest : public fyl::test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        writeTexts();
        writePictureAndCatalogue();
        demo = program + QStringLiteral("/Demobild");
    }
    // A picture whose width tells it apart: the slideshow's image shows which file it loaded.
    void writePicture(const QString& name, int width) {
        QDir().mkpath(demo);
        QImage image(width, 4, QImage::Format_RGB888);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(demo + QLatin1Char('/') + name, "BMP")) << name.toStdString();
    }
    // The windows started; what the start-up asked (the working directory) is forgotten.
    std::unique_ptr<Forms> started() {
        auto forms = start();
        EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char('\n')).toStdString();
        dialogs.shown.clear();
        return forms;
    }
    static int shownWidth(const TForm6& show) { return show.Image1->image().width(); }
    // The width of the picture file at `index` of the shared list.
    static int widthOf(const Forms& forms, int index) {
        return QImage(forms.state.demoPictures.files.at(index)).width();
    }
    QStringList errors() const { return dialogs.texts(ScriptedDialogs::Shown::Error); }
    QStringList informations() const { return dialogs.texts(ScriptedDialogs::Shown::Information); }

    QString demo;
};

TEST_F(AuxiliaryTest, DemoCommandTakesTheBmpFilesAndTheSlideshowWrapsAtBothEnds) {
    writePicture(QStringLiteral("a.bmp"), 10);
    writePicture(QStringLiteral("b.bmp"), 11);
    writePicture(QStringLiteral("C.BMP"), 12); // copied from Windows, where the search ignores case
    fyl::test::writeFile(demo + QStringLiteral("/liesmich.txt"), "kein Bild");
    QDir().mkpath(demo + QStringLiteral("/Ordner.bmp"));
    auto forms = started();
    TForm6& show = *forms->form6;
    ASSERT_FALSE(forms->form1->Demo2->isVisible());
    forms->form1->Demo2->trigger(); // hidden in the menu, but the command works

    const DemoPictures& list = forms->state.demoPictures;
    ASSERT_EQ(list.files.size(), 3);
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(forms->state.folders.demo, QDir::toNativeSeparators(demo));
    EXPECT_TRUE(show.isVisible());
    EXPECT_EQ(show.windowTitle().toStdString(), "Titel aus dem Programmordner");
    EXPECT_EQ(show.beenden1->text().toStdString(), "Eintrag 7");
    EXPECT_EQ(show.Bildlauf1->text().toStdString(), "Eintrag 181");
    EXPECT_EQ(list.current, 2); // the last one found
    EXPECT_EQ(shownWidth(show), widthOf(*forms, 2));

    show.N2->trigger(); // on from the last: the first
    EXPECT_EQ(list.current, 0);
    EXPECT_EQ(shownWidth(show), widthOf(*forms, 0));
    show.N1->trigger(); // back from the first: the last
    EXPECT_EQ(list.current, 2);
    EXPECT_EQ(shownWidth(show), widthOf(*forms, 2));
    show.N1->trigger();
    EXPECT_EQ(list.current, 1);
    EXPECT_EQ(shownWidth(show), widthOf(*forms, 1));

    // A picture deleted meanwhile: the error box, the index already on it, nothing shown for it.
    ASSERT_TRUE(QFile::remove(list.files[0]));
    show.N1->trigger();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].contains(QFileInfo(list.files[0]).fileName())) << errors()[0].toStdString();
    EXPECT_EQ(list.current, 0);
    EXPECT_TRUE(show.Image1->image().isNull());
    EXPECT_TRUE(show.isVisible());
    show.N1->trigger(); // and the next command goes on from there
    EXPECT_EQ(list.current, 2);
    EXPECT_EQ(shownWidth(show), widthOf(*forms, 2));

    show.beenden1->trigger();
    EXPECT_TRUE(show.isHidden());
}

TEST_F(AuxiliaryTest, ASinglePictureReloadsItselfAndAnEmptyListIsNeverPaged) {
    auto forms = started();
    TForm6& show = *forms->form6;
    DemoPictures& list = forms->state.demoPictures;

    // No pictures: entry 182, no slideshow, nothing to page.
    forms->form1->Demo2->trigger();
    EXPECT_EQ(informations(), QStringList{QStringLiteral("Eintrag 182")});
    EXPECT_TRUE(show.isHidden());
    show.show();
    for (QAction* step : {show.N1, show.N2, show.N2, show.N1})
        step->trigger();
    EXPECT_EQ(list.current, -1);
    EXPECT_TRUE(errors().isEmpty());

    writePicture(QStringLiteral("einzig.bmp"), 10);
    forms->form1->Demo2->trigger();
    ASSERT_EQ(list.files.size(), 1);
    EXPECT_EQ(shownWidth(show), 10);
    writePicture(QStringLiteral("einzig.bmp"), 13); // both steps read the file again
    show.N2->trigger();
    EXPECT_EQ(list.current, 0);
    EXPECT_EQ(shownWidth(show), 13);
    writePicture(QStringLiteral("einzig.bmp"), 14);
    show.N1->trigger();
    EXPECT_EQ(list.current, 0);
    EXPECT_EQ(shownWidth(show), 14);
}

TEST_F(AuxiliaryTest, OfTwoHundredAndFiftyPicturesTheFirst201AreTaken) {
    for (int i = 0; i < 250; ++i)
        writePicture(QStringLiteral("bild%1.bmp").arg(i), 1 + i);
    auto forms = started();
    forms->form1->Demo2->trigger();
    const DemoPictures& list = forms->state.demoPictures;
    ASSERT_EQ(list.files.size(), 201);
    EXPECT_EQ(list.current, 200);
    EXPECT_EQ(shownWidth(*forms->form6), widthOf(*forms, 200));
    EXPECT_EQ(QSet<QString>(list.files.begin(), list.files.end()).size(), 201);
    forms->form6->N2->trigger();
    EXPECT_EQ(list.current, 0);
}

TEST_F(AuxiliaryTest, InformationLinksOpenWithTheirSchemeAndTheWindowCloses) {
    auto forms = started();
    TForm7& info = *forms->form7;
    EXPECT_EQ(info.windowFlags() & Qt::WindowStaysOnTopHint, Qt::WindowStaysOnTopHint);
    EXPECT_EQ(info.palette().color(QPalette::Window), QColor(221, 215, 208));
    EXPECT_EQ(info.Label1->text().toStdString(), "Eintrag 211");
    EXPECT_EQ(info.Label3->text().toStdString(), "Eintrag 212");
    EXPECT_TRUE(info.Label5->text().contains(QStringLiteral(ZELK_VERSION)));

    forms->form1->Hilfe2->trigger();
    ASSERT_TRUE(info.isVisible());
    QTest::mouseClick(info.Label2, Qt::RightButton); // only the left button follows a link
    EXPECT_TRUE(shell.opened.isEmpty());
    QTest::mouseClick(info.Label2, Qt::LeftButton); // one click, as links open everywhere
    EXPECT_EQ(shell.opened, QStringList{QStringLiteral("mailto:Eintrag 214")});
    EXPECT_EQ(info.Label2->text().toStdString(), "Eintrag 223");
    EXPECT_TRUE(info.isHidden());

    forms->form1->Hilfe2->trigger();
    QTest::mouseClick(info.Label4, Qt::LeftButton);
    EXPECT_EQ(shell.opened.last().toStdString(), "http://Eintrag 215");
    EXPECT_EQ(info.Label4->text().toStdString(), "Eintrag 224");
    EXPECT_TRUE(info.isHidden());

    // The next showing opens what the label shows now.
    forms->form1->Hilfe2->trigger();
    QTest::mouseClick(info.Label2, Qt::LeftButton);
    EXPECT_EQ(shell.opened.last().toStdString(), "mailto:Eintrag 223");

    forms->form1->Hilfe2->trigger();
    QTest::mouseClick(info.Button1, Qt::LeftButton);
    EXPECT_TRUE(info.isHidden());
    EXPECT_EQ(shell.opened.size(), 3);
}

TEST_F(AuxiliaryTest, ShortGuideIsTheProgramDirectoryAndTheFileJoinedBySlash) {
    auto forms = started();
    shell.handlerAvailable = false;
    forms->form1->Kurzanleitung1->trigger();
    const QString guide = program + QStringLiteral("/Fyl_Anleitung.pdf");
    // Where the guide lies, for a planner without a PDF viewer.
    EXPECT_EQ(informations(),
              QStringList{QStringLiteral("Eintrag 202\n\n") + QDir::toNativeSeparators(guide)});
    EXPECT_EQ(shell.opened, QStringList{QStringLiteral("?") + guide}); // looked up, not opened

    // A program directory longer than 129 characters opens the very file that was looked up.
    forms->state.folders.program = QStringLiteral("C:\\") + QString(140, QLatin1Char('p'));
    shell.handlerAvailable = true;
    shell.opened.clear();
    forms->form1->Kurzanleitung1->trigger();
    const QString longGuide = forms->state.folders.program + QStringLiteral("/Fyl_Anleitung.pdf");
    EXPECT_EQ(shell.opened, (QStringList{QStringLiteral("?") + longGuide, longGuide}));
    EXPECT_EQ(informations().size(), 1);
}

} // namespace
