// The action wrapper, the error box and Windows-1252 text files.
#include "frame/ansi.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "tests/support/scripted.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace fyl;
using fyl::test::ScriptedDialogs;

TEST(ActionWrapper, AnErrorEndsTheActionWithTheStandardErrorBox) {
    ScriptedDialogs dialogs;
    int reached = 0;
    EXPECT_FALSE(runAction(dialogs, [&] {
        ++reached;
        throw ConversionError(QStringLiteral("'abc' ist kein gültiger Gleitkommawert."));
        ++reached;
    }));
    EXPECT_EQ(reached, 1);
    EXPECT_TRUE(runAction(dialogs, [&] { ++reached; }));
    EXPECT_EQ(reached, 2);
    EXPECT_FALSE(runAction(dialogs, [] { throw std::out_of_range("index"); }));
    const QStringList errors = dialogs.texts(ScriptedDialogs::Shown::Error);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors[0], QStringLiteral("'abc' ist kein gültiger Gleitkommawert."));
    EXPECT_EQ(errors[1].toStdString(), "index");
}

TEST(FiniteCheck, NaNAndInfinityRaiseArithmeticErrors) {
    EXPECT_EQ(requireFinite(2.5L, "x"), 2.5L);
    EXPECT_THROW(requireFinite(std::numeric_limits<long double>::infinity(), "x"), ArithmeticError);
    EXPECT_THROW(requireFinite(std::nanl(""), "x"), ArithmeticError);
}

TEST(AnsiText, Windows1252DiffersFromLatin1InTheHighControls) {
    EXPECT_EQ(fromAnsi(QByteArray("\x80\x8A\x9F\xA0\xFF")), QStringLiteral("€Š\u0178\u00A0ÿ"));
    EXPECT_EQ(toAnsi(QStringLiteral("€Šÿ–")), QByteArray("\x80\x8A\xFF\x96"));
    // Bytes the code page leaves undefined come back as they went in.
    EXPECT_EQ(toAnsi(fromAnsi(QByteArray("\x81\x8D\x8F\x90\x9D"))), QByteArray("\x81\x8D\x8F\x90\x9D"));
    EXPECT_EQ(toAnsi(QStringLiteral("\u2212")), QByteArray("?")); // no code in the page
}

TEST(AnsiText, LinesEndAtCrLfLfOrCrAndATrailingBlankLineCounts) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lines.txt"));
    test::writeFile(path, QByteArray("a\r\nb\nc\rd"));
    EXPECT_EQ(readAnsiLines(path), (std::vector<QByteArray>{"a", "b", "c", "d"}));
    test::writeFile(path, QByteArray("a\r\n\r\n"));
    EXPECT_EQ(readAnsiLines(path), (std::vector<QByteArray>{"a", ""}));
    test::writeFile(path, QByteArray("a\r\n"));
    EXPECT_EQ(readAnsiLines(path).size(), 1u);
    test::writeFile(path, QByteArray());
    EXPECT_TRUE(readAnsiLines(path).empty());
    EXPECT_THROW(readAnsiLines(dir.filePath(QStringLiteral("missing.txt"))), FileError);
}

TEST(AnsiText, JoinPathAcceptsTheBackslashNamesOfTheDataFiles) {
    const QString expected = QDir::toNativeSeparators(QStringLiteral("/opt/zelk/ZELK.idx"));
    EXPECT_EQ(joinPath(QStringLiteral("/opt/zelk"), QStringLiteral("\\ZELK.idx")), expected);
    EXPECT_EQ(joinPath(QStringLiteral("/opt/zelk/"), QStringLiteral("ZELK.idx")), expected);
    EXPECT_EQ(joinPath(QStringLiteral("/opt/zelk"), QStringLiteral("\\Fyl_Bilder\\DLX.bmp")),
              QDir::toNativeSeparators(QStringLiteral("/opt/zelk/Fyl_Bilder/DLX.bmp")));
}

TEST(FileWrites, AFullDiskIsToldByTheSystemsReasonInTheProgramsLanguage) {
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        GTEST_SKIP() << "no /dev/full";
    try {
        writeAllOrThrow(full, QByteArray(100000, 'x'), QStringLiteral("Die Projektdatei"));
        ADD_FAILURE() << "written";
    } catch (const FileError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Die Projektdatei /dev/full kann nicht geschrieben werden (kein "
                                 "Speicherplatz mehr auf dem Datenträger)."));
    }
}

TEST(FileWrites, WorkingFoldersOfKilledRunsGoWhenNoRunHoldsThem) {
    QTemporaryDir dir;
    const auto earlier = [&](const QString& name, const char* inside) {
        QString folder = dir.filePath(name);
        QDir().mkpath(folder);
        test::writeFile(joinPath(folder, QLatin1String(inside)), "x");
        return folder;
    };
    const QString killed = earlier(QStringLiteral(".ZELK-neu-tot"), "neu");
    const QString kept = earlier(QStringLiteral(".ZELK-neu-alt"), "bisherige-Dateien");
    const QString held = earlier(QStringLiteral(".ZELK-neu-lebt"), "neu");
    QLockFile lock(joinPath(held, QStringLiteral("in-Arbeit.lock")));
    ASSERT_TRUE(lock.tryLock(0));
    for (const QString& folder : {killed, kept, held})
        std::filesystem::last_write_time(QFile::encodeName(folder).toStdString(),
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::hours(1));
    writeFileSet({{QStringLiteral("a.txt"), "a"}}, dir.path());
    EXPECT_FALSE(QFileInfo::exists(killed));
    EXPECT_TRUE(QFileInfo::exists(kept));
    EXPECT_TRUE(QFileInfo::exists(held));
}

namespace {

// The files of a folder besides the working folders, and the working folders.
struct FolderContents {
    QStringList files, workFolders;
};
FolderContents contentsOf(const QString& folder) {
    const QDir dir(folder);
    return {dir.entryList(QDir::Files | QDir::Hidden, QDir::Name),
            dir.entryList({QStringLiteral(".ZELK-*")}, QDir::Dirs | QDir::Hidden)};
}

bool isEmptyFolder(const QString& folder) {
    return QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

TEST(FileWrites, ARunsSetsShareOneWorkingFolderAndLeaveNothingOfThemselvesInIt) {
    QTemporaryDir dir;
    test::writeFile(dir.filePath(QStringLiteral("alt.zol")), "alt");
    test::writeFile(dir.filePath(QStringLiteral("alt.pdf")), "alt");
    {
        FileSetWriter writer(dir.path());
        EXPECT_TRUE(writer.heldBefore(QStringLiteral("alt.pdf")));
        EXPECT_FALSE(writer.heldBefore(QStringLiteral("r0.zol")));
        // Sets from two threads at once, one of them replacing a file and removing another.
        std::vector<std::thread> threads;
        threads.reserve(2);
        for (int t = 0; t < 2; ++t)
            threads.emplace_back([&writer, t] {
                for (int k = t; k < 40; k += 2)
                    writer.write({{QStringLiteral("r%1.zol").arg(k), QByteArray::number(k)},
                                  {QStringLiteral("r%1.pdf").arg(k), "pdf"}});
            });
        for (std::thread& t : threads)
            t.join();
        writer.write({{QStringLiteral("alt.zol"), "neu"}}, {QStringLiteral("alt.pdf")});
        EXPECT_FALSE(writer.heldBefore(QStringLiteral("r0.zol"))); // what was there at the start
        const FolderContents during = contentsOf(dir.path());
        EXPECT_EQ(during.files.size(), 81);
        ASSERT_EQ(during.workFolders.size(), 1);
        const QString staging = dir.filePath(during.workFolders.front());
        for (const QString& part : {QStringLiteral("neu"), QStringLiteral("alt")})
            EXPECT_TRUE(isEmptyFolder(joinPath(staging, part))) << part.toStdString();
    }
    EXPECT_EQ(test::readFile(dir.filePath(QStringLiteral("r17.zol"))), QByteArray("17"));
    EXPECT_EQ(test::readFile(dir.filePath(QStringLiteral("alt.zol"))), QByteArray("neu"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("alt.pdf"))));
    EXPECT_TRUE(contentsOf(dir.path()).workFolders.isEmpty());
}

TEST(FileWrites, AFailedSetOfARunLeavesTheFolderAsItWasAndTheNextSetsGoOn) {
    QTemporaryDir dir;
    test::writeFile(dir.filePath(QStringLiteral("a.zol")), "alt");
    // A folder where a set's file should go: it cannot be replaced by a file.
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("b.zol/inhalt"))));
    FileSetWriter writer(dir.path());
    try {
        writer.write({{QStringLiteral("a.zol"), "neu"}, {QStringLiteral("b.zol"), "neu"}});
        ADD_FAILURE() << "written";
    } catch (const FileError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("b.zol"))) << e.what();
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("bleiben unverändert."))) << e.what();
    }
    EXPECT_EQ(test::readFile(dir.filePath(QStringLiteral("a.zol"))), QByteArray("alt"));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("b.zol/inhalt"))).isDir());
    writer.write({{QStringLiteral("c.zol"), "neu"}});
    EXPECT_EQ(test::readFile(dir.filePath(QStringLiteral("c.zol"))), QByteArray("neu"));
    const FolderContents during = contentsOf(dir.path());
    ASSERT_EQ(during.workFolders.size(), 1);
    const QString staging = dir.filePath(during.workFolders.front());
    for (const QString& part : {QStringLiteral("neu"), QStringLiteral("alt")})
        EXPECT_TRUE(isEmptyFolder(joinPath(staging, part))) << part.toStdString();

    // A folder that cannot be made fails each set with its reason.
    FileSetWriter nowhere(QStringLiteral("/dev/null/ordner"));
    EXPECT_FALSE(nowhere.heldBefore(QStringLiteral("a.zol")));
    EXPECT_THROW(nowhere.write({{QStringLiteral("a.zol"), "neu"}}), FileError);
}
