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
        EXPECT_EQ(e.message(), QStringLiteral("Die Projektdatei /dev/full kann nicht geschrieben werden (kein "
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
                                         std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    writeFileSet({{QStringLiteral("a.txt"), "a"}}, dir.path());
    EXPECT_FALSE(QFileInfo::exists(killed));
    EXPECT_TRUE(QFileInfo::exists(kept));
    EXPECT_TRUE(QFileInfo::exists(held));
}
