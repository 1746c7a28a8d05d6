// Saves that survive a kill: a child saves a project and an exchange file in a loop and is killed at
// random moments; each file is always a whole old or new content, never a mix or a stub.
// ZELK_KILL_ROUNDS sets the number of kills (default 60, enough for CI; run 1000 or more locally).
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

TEST(KillSave, EveryKilledSaveLeavesAWholeOldOrNewFile) {
    QTemporaryDir dir;
    QProcess refs;
    refs.start(QStringLiteral(ZELK_KILLSAVE_CHILD), {QStringLiteral("--references"), dir.path()});
    ASSERT_TRUE(refs.waitForFinished(10000));
    ASSERT_EQ(refs.exitCode(), 0);
    const QByteArray project[2] = {bytesOf(dir.filePath(QStringLiteral("0.zol"))),
                                   bytesOf(dir.filePath(QStringLiteral("1.zol")))};
    const QByteArray exchange[2] = {bytesOf(dir.filePath(QStringLiteral("0/Zoldaten.tmp"))),
                                    bytesOf(dir.filePath(QStringLiteral("1/Zoldaten.tmp")))};
    ASSERT_EQ(project[0].size(), 11880);
    ASSERT_NE(project[0], project[1]);
    ASSERT_NE(exchange[0], exchange[1]);

    const QString work = dir.filePath(QStringLiteral("work"));
    ASSERT_TRUE(QDir().mkpath(work));
    const int rounds = qEnvironmentVariableIsSet("ZELK_KILL_ROUNDS") ? qEnvironmentVariableIntValue("ZELK_KILL_ROUNDS") : 60;
    int seenBoth = 0;
    for (int round = 0; round < rounds; ++round) {
        QProcess child;
        child.start(QStringLiteral(ZELK_KILLSAVE_CHILD), {work});
        ASSERT_TRUE(child.waitForStarted(10000));
        // Past start-up, into the saving loop, at a random moment.
        QThread::usleep(20000 + QRandomGenerator::global()->bounded(30000));
        child.kill(); // SIGKILL: no handler, no clean-up
        child.waitForFinished(10000);
        const QByteArray p = bytesOf(QDir(work).filePath(QStringLiteral("p.zol")));
        const QByteArray x = bytesOf(QDir(work).filePath(QStringLiteral("Zoldaten.tmp")));
        ASSERT_TRUE(p == project[0] || p == project[1]) << "round " << round << ": " << p.size() << " bytes";
        ASSERT_TRUE(x == exchange[0] || x == exchange[1]) << "round " << round << ": " << x.size() << " bytes";
        seenBoth += p == project[1];
        // Leftover temporary files of a killed save are the only other files allowed.
        for (const QString& name : QDir(work).entryList(QDir::Files)) {
            EXPECT_TRUE(name == QLatin1String("p.zol") || name == QLatin1String("Zoldaten.tmp") ||
                        name.contains(QLatin1String(".zol.")) || name.contains(QLatin1String(".tmp.")))
                << name.toStdString();
        }
    }
    if (rounds >= 20) {
        EXPECT_GT(seenBoth, 0); // the kills did land at different points of the loop
    }
}

} // namespace
