// Saves that survive a kill: a child saves a project, an exchange file and a file set in a loop, and
// room schedule runs are killed at random moments; each file is always absent (before its first
// write), or a whole old or new content, never a mix or a stub.
// ZELK_KILL_ROUNDS sets the number of kills of each test (defaults small enough for CI; run 1000 or
// more locally).
#include "tests/support/testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

int killRounds(int ciDefault) {
    return qEnvironmentVariableIsSet("ZELK_KILL_ROUNDS") ? qEnvironmentVariableIntValue("ZELK_KILL_ROUNDS") : ciDefault;
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
    const QStringList setNames = {QStringLiteral("results.csv"), QStringLiteral("Raum.zol")};
    QByteArray set[2][2];
    for (int which : {0, 1})
        for (int k : {0, 1})
            set[which][k] = bytesOf(dir.filePath(QStringLiteral("%1/set/").arg(which) + setNames[k]));
    ASSERT_EQ(project[0].size(), 11880);
    ASSERT_NE(project[0], project[1]);
    ASSERT_NE(exchange[0], exchange[1]);
    ASSERT_NE(set[0][0], set[1][0]);
    ASSERT_EQ(set[0][1], project[0]);

    const QString work = dir.filePath(QStringLiteral("work"));
    const QString setFolder = QDir(work).filePath(QStringLiteral("set"));
    ASSERT_TRUE(QDir().mkpath(work));
    const int rounds = killRounds(60);
    int seenBoth = 0;
    bool setWritten[2] = {false, false};
    bool anySaved = false, exchangeSaved = false;
    for (int round = 0; round < rounds; ++round) {
        QProcess child;
        child.start(QStringLiteral(ZELK_KILLSAVE_CHILD), {work});
        ASSERT_TRUE(child.waitForStarted(10000));
        // Past start-up, into the saving loop, at a random moment.
        QThread::usleep(20000 + QRandomGenerator::global()->bounded(30000));
        child.kill(); // SIGKILL: no handler, no clean-up
        child.waitForFinished(10000);
        // On a busy machine the first kill can come before the first save: then there is no file
        // yet, and never again once there was one.
        const QString projectPath = QDir(work).filePath(QStringLiteral("p.zol"));
        const QString exchangePath = QDir(work).filePath(QStringLiteral("Zoldaten.tmp"));
        if (!anySaved && !QFile::exists(projectPath))
            continue; // the project comes first in the loop, so nothing else is there either
        anySaved = true;
        const QByteArray p = bytesOf(projectPath);
        ASSERT_TRUE(p == project[0] || p == project[1]) << "round " << round << ": " << p.size() << " bytes";
        // The exchange file follows the project in the loop; it may be the one not written yet.
        if (QFile::exists(exchangePath) || exchangeSaved) {
            exchangeSaved = true;
            const QByteArray x = bytesOf(exchangePath);
            ASSERT_TRUE(x == exchange[0] || x == exchange[1]) << "round " << round << ": " << x.size() << " bytes";
        }
        seenBoth += p == project[1] ? 1 : 0;
        // A file of the set, once written, is never missing: the old one stays until the new one
        // has taken its place.
        for (int k : {0, 1}) {
            const QString path = QDir(setFolder).filePath(setNames[k]);
            if (!QFile::exists(path)) {
                ASSERT_FALSE(setWritten[k]) << "round " << round << ": " << setNames[k].toStdString() << " vanished";
                continue;
            }
            setWritten[k] = true;
            const QByteArray b = bytesOf(path);
            ASSERT_TRUE(b == set[0][k] || b == set[1][k])
                << "round " << round << ": " << setNames[k].toStdString() << " has " << b.size() << " bytes";
        }
        // Leftover temporary files of a killed save are the only other files allowed.
        for (const QString& name : QDir(work).entryList(QDir::Files)) {
            EXPECT_TRUE(name == QLatin1String("p.zol") || name == QLatin1String("Zoldaten.tmp") ||
                        name.contains(QLatin1String(".zol.")) || name.contains(QLatin1String(".tmp.")))
                << name.toStdString();
        }
        for (const QString& name : QDir(setFolder).entryList(QDir::Files | QDir::Hidden))
            EXPECT_TRUE(setNames.contains(name)) << name.toStdString();
    }
    if (rounds >= 20) {
        EXPECT_GT(seenBoth, 0); // the kills did land at different points of the loop
        EXPECT_TRUE(setWritten[0] && setWritten[1]);
    }
}

// The workbook's archive with the entry that holds its creation time left out (it differs from
// run to run): per entry its name and its bytes from local header to data end. Empty when the
// bytes are no whole zip archive: the directory at the end must describe entries that tile the
// file up to it.
QByteArray workbookWithoutTime(const QByteArray& zip) {
    const auto u16 = [&zip](qsizetype at) { return qFromLittleEndian<quint16>(zip.constData() + at); };
    const auto u32 = [&zip](qsizetype at) { return qFromLittleEndian<quint32>(zip.constData() + at); };
    if (zip.size() < 22 || u32(zip.size() - 22) != 0x06054b50)
        return {};
    const qsizetype directory = u32(zip.size() - 22 + 16);
    if (directory + qsizetype(u32(zip.size() - 22 + 12)) != zip.size() - 22)
        return {};
    QByteArray out;
    qsizetype at = directory, next = 0;
    for (int entry = 0; entry < u16(zip.size() - 22 + 10); ++entry) {
        if (at + 46 > zip.size() - 22 || u32(at) != 0x02014b50)
            return {};
        const QByteArray name = zip.mid(at + 46, u16(at + 28));
        const qsizetype local = u32(at + 42);
        if (local != next || local + 30 > directory || u32(local) != 0x04034b50)
            return {};
        next = local + 30 + u16(local + 26) + u16(local + 28) + qsizetype(u32(at + 20));
        if (next > directory)
            return {};
        out += name + '\n';
        if (name != "docProps/core.xml")
            out += zip.mid(local, next - local);
        at += 46 + u16(at + 28) + u16(at + 30) + u16(at + 32);
    }
    return next == directory ? out : QByteArray();
}

// Two schedules of the same rooms with other sizes: every output differs between them.
QByteArray schedule(int which) {
    QByteArray csv = "Raum;Breite;Länge;Höhe;Luftwechsel;Volumenstrom;Kühllast;Raumtemperatur;Zulufttemperatur;"
                     "Kopfhöhe;Einbauhöhe;Luftgeschwindigkeit;Schallleistung;Typ;Größe;Strahlform;Schlitzlänge;"
                     "Schlitzanzahl;Rohr\r\n";
    for (int room = 1; room <= 16; ++room)
        csv += QStringLiteral("Büro %1;%2;8;3;;%3;;22;16;1,8;3;0,2;45;DRL;DRL 400;1;;;\r\n")
                   .arg(room)
                   .arg(which == 0 ? 6 : 7)
                   .arg(which == 0 ? 600 + 10 * room : 900 + 10 * room)
                   .toUtf8();
    return csv;
}

TEST(KillSave, AKilledRoomScheduleLeavesEachOutputAbsentOldOrNew) {
    QTemporaryDir dir;
    const QString programDir = QStringLiteral(ZELK_PROGRAM_DIR);
    QString csv[2];
    std::map<QString, QByteArray> outputs[2]; // file name -> bytes; the workbook without its time
    qint64 runTime = 0;
    for (int which : {0, 1}) {
        csv[which] = dir.filePath(QStringLiteral("rooms%1.csv").arg(which));
        fyl::test::writeFile(csv[which], schedule(which));
        const QString out = dir.filePath(QStringLiteral("reference%1").arg(which));
        QProcess run;
        QElapsedTimer timer;
        timer.start();
        run.start(QStringLiteral(ZELK_CLI), {QStringLiteral("schedule"), csv[which], QStringLiteral("--out"), out,
                                             QStringLiteral("--program-dir"), programDir});
        ASSERT_TRUE(run.waitForFinished(60000));
        runTime = std::max(runTime, timer.elapsed());
        ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
        for (const QString& name : QDir(out).entryList(QDir::Files)) {
            const QByteArray bytes = bytesOf(QDir(out).filePath(name));
            outputs[which][name] = name.endsWith(QLatin1String(".xlsx")) ? workbookWithoutTime(bytes) : bytes;
        }
        ASSERT_EQ(outputs[which].size(), 18u);
        ASSERT_FALSE(outputs[which][QStringLiteral("results.xlsx")].isEmpty());
    }
    for (const auto& [name, bytes] : outputs[0])
        ASSERT_NE(bytes, outputs[1][name]) << name.toStdString();

    const QString out = dir.filePath(QStringLiteral("out"));
    QSet<QString> written;
    const int rounds = killRounds(12);
    for (int round = 0; round < rounds; ++round) {
        QProcess run;
        run.start(QStringLiteral(ZELK_CLI), {QStringLiteral("schedule"), csv[round % 2], QStringLiteral("--out"), out,
                                             QStringLiteral("--program-dir"), programDir});
        ASSERT_TRUE(run.waitForStarted(10000));
        // Anywhere from start-up to the end of the run, mostly while the rooms are written.
        QThread::usleep(static_cast<unsigned long>(QRandomGenerator::global()->bounded(runTime * 1100)));
        run.kill();
        run.waitForFinished(10000);
        for (const auto& [name, reference] : outputs[0]) {
            const QString path = QDir(out).filePath(name);
            if (!QFile::exists(path)) {
                ASSERT_FALSE(written.contains(name)) << "round " << round << ": " << name.toStdString() << " vanished";
                continue;
            }
            written.insert(name);
            QByteArray bytes = bytesOf(path);
            if (name.endsWith(QLatin1String(".xlsx")))
                bytes = workbookWithoutTime(bytes);
            ASSERT_TRUE(bytes == reference || bytes == outputs[1][name])
                << "round " << round << ": " << name.toStdString() << " is neither old nor new";
        }
        // Besides the outputs only the hidden working folders of a killed run.
        for (const QString& name : QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            EXPECT_TRUE(outputs[0].count(name) || name.startsWith(QLatin1String(".ZELK-"))) << name.toStdString();
    }
}

} // namespace
