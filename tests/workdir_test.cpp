// The working directory: stored, asked for, defaulted, and folders that cannot be made.
#include "frame/runstate.h"
#include "frame/texttable.h"
#include "frame/workdir.h"
#include "tests/support/scripted.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fyl;
using fyl::test::ScriptedDialogs;

namespace {

class WorkingDirectoryTest : public testing::Test {
protected:
    void SetUp() override {
        test::writeAnsiLines(
            dir.filePath(QStringLiteral("Fyltext.txt")),
            test::textTableLines(235, [](int n) { return QStringLiteral("Text %1").arg(n); }));
        texts.load(dir.filePath(QStringLiteral("Fyltext.txt")));
        settings =
            std::make_unique<QSettings>(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    }
    QString defaultFolder() const {
        return QDir::toNativeSeparators(dir.filePath(QStringLiteral("home/ZELK")));
    }
    void setUp() { SetUpWorkingDirectory(*settings, texts, dialogs, folders, defaultFolder()); }

    QTemporaryDir dir;
    TextTable texts;
    std::unique_ptr<QSettings> settings;
    ScriptedDialogs dialogs;
    Folders folders;
};

} // namespace

TEST_F(WorkingDirectoryTest, CancelledDialogGivesTheDefaultFolderAndIsAskedOnce) {
    setUp();
    ASSERT_GE(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text.toStdString(), "Text 199");
    // A folder chooser, opened beside the default folder while that does not exist yet.
    EXPECT_EQ(dialogs.shown[1].kind, ScriptedDialogs::Shown::Folder);
    EXPECT_EQ(dialogs.fileRequests[0].folder, QDir::toNativeSeparators(dir.filePath(QStringLiteral("home"))));
    EXPECT_EQ(folders.working, defaultFolder());
    EXPECT_TRUE(QFileInfo(defaultFolder() + QStringLiteral("/Projekte")).isDir()); // parents created too
    EXPECT_TRUE(QFileInfo(defaultFolder() + QStringLiteral("/tmp")).isDir());
    EXPECT_EQ(folders.project, QDir::toNativeSeparators(defaultFolder() + QStringLiteral("/Projekte")));
    EXPECT_EQ(folders.temp, QDir::toNativeSeparators(defaultFolder() + QStringLiteral("/tmp")));

    // The next start asks nothing: a fresh settings object reads the stored value.
    QSettings reread(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    ScriptedDialogs second;
    Folders again;
    SetUpWorkingDirectory(reread, texts, second, again, QStringLiteral("/elsewhere"));
    EXPECT_TRUE(second.shown.empty());
    EXPECT_EQ(again.working, defaultFolder());
}

TEST_F(WorkingDirectoryTest, TheChosenFolderIsTheWorkingDirectory) {
    QDir().mkpath(defaultFolder());
    QDir().mkpath(dir.filePath(QStringLiteral("Planung")));
    dialogs.fileAnswers = {QDir::toNativeSeparators(dir.filePath(QStringLiteral("Planung")))};
    setUp();
    EXPECT_EQ(dialogs.fileRequests[0].folder, defaultFolder()); // opened where the default lies
    EXPECT_EQ(folders.working, QDir::toNativeSeparators(dir.filePath(QStringLiteral("Planung"))));
    EXPECT_EQ(settings->value(QString::fromLatin1(kWorkingDirectoryKey)).toString(), folders.working);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("Planung/Projekte"))).isDir());
}

TEST_F(WorkingDirectoryTest, StoredValueIsUsedAsItStands) {
    const QString stored = QDir::toNativeSeparators(dir.filePath(QStringLiteral("a/b/c")));
    EXPECT_FALSE(storedProjectFolder(*settings)); // nothing stored yet
    settings->setValue(QString::fromLatin1(kWorkingDirectoryKey), stored);
    EXPECT_FALSE(storedProjectFolder(*settings)); // stored, but the folder is not made yet
    setUp();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(folders.working, stored);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("a/b/c/tmp"))).isDir());
    // The companions' documents go where the program keeps its projects.
    EXPECT_EQ(storedProjectFolder(*settings), folders.project);
}

TEST_F(WorkingDirectoryTest, EmptyStoredValueIsAskedForAgainInsteadOfUsingTheDriveRoot) {
    settings->setValue(QString::fromLatin1(kWorkingDirectoryKey), QString());
    setUp();
    EXPECT_EQ(dialogs.texts(ScriptedDialogs::Shown::Information).value(0).toStdString(), "Text 199");
    EXPECT_EQ(folders.working, defaultFolder());
}

TEST_F(WorkingDirectoryTest, FoldersThatCannotBeCreatedAreReportedAndStartUpGoesOn) {
    // A file where the working directory should be: nothing can be created below it.
    test::writeFile(dir.filePath(QStringLiteral("blocked")), "x");
    settings->setValue(QString::fromLatin1(kWorkingDirectoryKey),
                       QDir::toNativeSeparators(dir.filePath(QStringLiteral("blocked"))));
    setUp();
    const QStringList shown = dialogs.texts(ScriptedDialogs::Shown::Information);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].toStdString(), "Text 200");
    EXPECT_EQ(shown[1].toStdString(), "Text 201");
}
