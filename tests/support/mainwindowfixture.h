// The real windows started offscreen from a program directory made by the test. Test support.
#pragma once

#include "app/forms.h"
#include "tests/support/scripted.h"
#include "tests/support/testfiles.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace fyl::test {

// A program directory made by the test: its own text table and background picture, so what
// the window shows can only have come from here. Every text table entry without a display
// text of its own reads "Eintrag N", so a shown text names its entry.
class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override {
        program = QDir::toNativeSeparators(dir.filePath(QStringLiteral("program")));
        QDir().mkpath(program);
        // The print window's logo belongs to every program directory; its absence has a test of its own.
        QImage logo(20, 9, QImage::Format_RGB888);
        logo.fill(Qt::white);
        ASSERT_TRUE(logo.save(program + QStringLiteral("/zelk2.bmp"), "BMP"));
        oldHome = qgetenv("HOME");
        qputenv("HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
    }
    void TearDown() override { qputenv("HOME", oldHome); }

    void writeTexts(int count = 235) {
        writeAnsiLines(program + QStringLiteral("/Fyltext.txt"), textTableLines(count, [](int n) {
                           switch (n) {
                           case 1:
                               return QStringLiteral("Titel aus dem Programmordner");
                           case 2:
                               return QStringLiteral("Projekt");
                           case 8:
                               return QStringLiteral("Projektdaten");
                           case 14:
                               return QStringLiteral("Hilfe");
                           case 16:
                               return QStringLiteral("Kurzanleitung");
                           default:
                               return QStringLiteral("Eintrag %1").arg(n);
                           }
                       }));
    }
    // The smallest catalogue the start-up reads: one name per table, one jet form, one index
    // line and one installation kind.
    void writeCatalogue() {
        writeAnsiLines(program + QStringLiteral("/kenn1.dat"), {QStringLiteral("Decke")});
        writeAnsiLines(program + QStringLiteral("/kenn2.dat"), {QStringLiteral("fest")});
        writeAnsiLines(program + QStringLiteral("/kenn3.dat"), {QStringLiteral("Büro")});
        writeAnsiLines(program + QStringLiteral("/Strahl.dat"), {QStringLiteral("01 horizontal")});
        writeAnsiLines(program + QStringLiteral("/ZELK.idx"),
                       {QStringLiteral("AAA 100                  ") + QString(7, QLatin1Char(' ')) +
                        QStringLiteral("01 0             1")});
        writeAnsiLines(program + QStringLiteral("/Durchlassdatei.txt"),
                       {QStringLiteral("Deckendurchlässe           AAA/")});
    }
    void writePictureAndCatalogue() {
        writeCatalogue();
        QImage image(32, 24, QImage::Format_RGB32);
        image.fill(QColor(200, 220, 230));
        ASSERT_TRUE(image.save(program + QStringLiteral("/fyl.jpg"), "JPG"));
    }
    std::unique_ptr<Forms> start() {
        CurrentDirectory cwd(program);
        auto settings =
            std::make_unique<QSettings>(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        return std::make_unique<Forms>(std::move(settings), dialogs, shell);
    }

    QTemporaryDir dir;
    QString program;
    QByteArray oldHome;
    ScriptedDialogs dialogs;
    RecordingShell shell;
};

} // namespace fyl::test
