// The catalogue at start-up of the running program, whole or with one file spoilt.
#include "app/forms.h"
#include "room/Unit1.h"
#include "tests/support/scripted.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fyl;

namespace {

// Start-up step 11 in the running program: a program directory with the demo catalogue, or with
// one catalogue file spoilt.
class CatalogueStartUp : public testing::Test {
protected:
    void SetUp() override {
        program = dir.filePath(QStringLiteral("program"));
        QDir().mkpath(program);
        oldHome = qgetenv("HOME");
        qputenv("HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
        test::writeAnsiLines(program + "/Fyltext.txt", test::textTableLines(235, [](int n) {
                                 return QStringLiteral("Eintrag %1").arg(n);
                             }));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::white);
        ASSERT_TRUE(image.save(program + "/fyl.jpg", "JPG"));
        ASSERT_TRUE(image.save(program + "/zelk2.bmp", "BMP"));
        for (const char* name : {"kenn1.dat", "kenn2.dat", "kenn3.dat", "Strahl.dat", "ZELK.idx", "ZELK.emd",
                                 "Durchlassdatei.txt"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(ZELK_SOURCE_DIR "/data/") + name, program + "/" + name));
    }
    void TearDown() override { qputenv("HOME", oldHome); }
    std::unique_ptr<Forms> start() {
        test::CurrentDirectory cwd(program);
        auto settings = std::make_unique<QSettings>(dir.filePath("settings.ini"), QSettings::IniFormat);
        settings->setValue("Arbeitsverzeichnis", dir.filePath("work"));
        return std::make_unique<Forms>(std::move(settings), dialogs, shell);
    }
    QTemporaryDir dir;
    QString program;
    QByteArray oldHome;
    test::ScriptedDialogs dialogs;
    test::RecordingShell shell;
};

TEST_F(CatalogueStartUp, TheDemoCatalogueLoadsWithoutAnError) {
    auto forms = start();
    EXPECT_TRUE(dialogs.texts(test::ScriptedDialogs::Shown::Error).isEmpty());
    const Catalogue& c = forms->state.catalogue;
    EXPECT_GT(c.indexCount, 30);
    EXPECT_EQ(c.jetFormCount, 6);
    EXPECT_EQ(c.typeCodeList[1].toStdString(), "DRL");
    EXPECT_FALSE(forms->state.folders.project.isEmpty()); // the steps after the catalogue ran
}

TEST_F(CatalogueStartUp, ASpoiltFileIsShownAndTheFilesAfterItStayUnread) {
    test::writeAnsiLines(program + "/Strahl.dat", {"01", "02", "03", "04", "05", "06", "07", "08", "09"});
    auto forms = start();
    const QStringList errors = dialogs.texts(test::ScriptedDialogs::Shown::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("Strahl.dat")) << errors[0].toStdString();
    const Catalogue& c = forms->state.catalogue;
    EXPECT_EQ(c.characteristicNames1[0].toStdString(), "Decke");
    EXPECT_EQ(c.jetFormNames[7].toStdString(), "08");
    EXPECT_EQ(c.indexCount, 0);
    EXPECT_EQ(c.outletListCount, 0);
    EXPECT_TRUE(forms->form1 != nullptr); // the program runs on
}

} // namespace
