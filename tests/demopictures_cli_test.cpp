// zelkfyl-cli demo-pictures: what the build drew into the program directory's Demobild folder,
// and a program directory without a catalogue, which draws nothing.
#include "tests/support/clirun.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace fyl;

namespace {

struct BmpHeader {
    bool valid = false;
    qint32 width = 0, height = 0;
    quint16 bitCount = 0;
};

BmpHeader headerOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = f.read(30);
    if (head.size() < 30 || !head.startsWith("BM"))
        return {};
    return {true, qFromLittleEndian<qint32>(head.constData() + 18),
            qFromLittleEndian<qint32>(head.constData() + 22),
            qFromLittleEndian<quint16>(head.constData() + 28)};
}

TEST(DemoPictures, TheBuildDrawsDifferentTwentyFourBitPicturesOfTheSlideshowsSize) {
    const QDir demo(QStringLiteral(ZELK_PROGRAM_DIR "/Demobild"));
    const QStringList names = demo.entryList({QStringLiteral("*.bmp")}, QDir::Files);
    ASSERT_GE(names.size(), 3) << demo.path().toStdString();
    QSet<QByteArray> contents;
    for (const QString& name : names) {
        const BmpHeader h = headerOf(demo.filePath(name));
        ASSERT_TRUE(h.valid) << name.toStdString();
        EXPECT_EQ(h.bitCount, 24) << name.toStdString();
        EXPECT_EQ(h.width, 808) << name.toStdString();
        EXPECT_EQ(std::abs(h.height), 633) << name.toStdString();
        QFile f(demo.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        contents.insert(f.readAll());
    }
    EXPECT_EQ(contents.size(), names.size()); // no room drawn twice
}

TEST(DemoPictures, WithoutACatalogueNothingIsDrawn) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("Demobild"));
    const test::CliRun run =
        test::runCli({QStringLiteral("demo-pictures"), out, QStringLiteral("--program-dir"),
                      dir.filePath(QStringLiteral("leer"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.isEmpty());
    EXPECT_TRUE(QDir(out).entryList({QStringLiteral("*.bmp")}, QDir::Files).isEmpty());
}

} // namespace
