// The sound tool: its room acoustics on hand-computed rooms, the refused inputs, finding and
// reading the exchange file, and the program's batch runs.
#include "companions/zelk_sound/roomacoustics.h"
#include "companions/zelk_sound/soundsheet.h"
#include "companions/zelk_sound/soundsource.h"
#include "exchange/exchangefiles.h"
#include "frame/errors.h"
#include "frame/record.h"
#include "frame/workdir.h"
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

using namespace fyl;
using namespace fyl::sound;

namespace {

SoundInputs room(int count, double lwa, double t = 0.8, double r = 1.0) {
    SoundInputs in;
    in.outletCount = count;
    in.lwa = lwa;
    in.width = 6.0;
    in.length = 8.0;
    in.height = 3.0;
    in.reverberationTime = t;
    in.listenerDistance = r;
    return in;
}

QString refusal(const SoundInputs& in) {
    try {
        computeSound(in);
    } catch (const Error& e) {
        return e.message();
    }
    return QStringLiteral("(angenommen)");
}

// The exchange file as the main program writes it.
QByteArray exchangeBytes(int count, double lwa) {
    auto rec = std::make_unique<CalculationRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    ResetRecord(*rec);
    std::memcpy(rec->outlet.typeName, "DLX", 3);
    std::memcpy(rec->outlet.sizeName, "125", 3);
    rec->outletCount = count;
    rec->lwa = lwa;
    rec->roomWidth = 6.0;
    rec->roomLength = 8.0;
    rec->roomHeight = 3.0;
    rec->projectName.assign(QStringLiteral("Büro 2.14"));
    rec->contactAddress[1].assign(QStringLiteral("Hauptstraße 5"));
    rec->projectNumber.assign(QStringLiteral("P-17"));
    rec->projectDate.assign(QStringLiteral("12.05.2025"));
    return exchangeFileBytes(soundExchangeLines(*rec));
}

QByteArray withLine(const QByteArray& bytes, int line, const QByteArray& text) {
    QList<QByteArray> lines = bytes.split('\n');
    lines[line - 1] = text + '\r';
    return lines.join('\n');
}

} // namespace

TEST(SoundAcoustics, HandComputedRooms) {
    // 4 outlets of 30 dB in 6 x 8 x 3 m at T = 0,8 s, listener 1 m from the nearest one.
    SoundFigures f = computeSound(room(4, 30.0));
    EXPECT_NEAR(f.totalPowerLevel, 36.0206, 1e-4); // 30 + 10 lg 4
    EXPECT_DOUBLE_EQ(f.volume, 144.0);
    EXPECT_DOUBLE_EQ(f.surface, 180.0);
    EXPECT_NEAR(f.absorptionArea, 29.34, 1e-9); // 0,163 * 144 / 0,8
    EXPECT_NEAR(f.meanAbsorption, 0.163, 1e-9);
    EXPECT_NEAR(f.diffuseLevel, 27.3666, 1e-4); // 36,0206 - 10 lg (29,34 / 4)
    EXPECT_NEAR(f.directLevel, 22.0182, 1e-4);  // 30 + 10 lg (2 / 4 pi)
    EXPECT_NEAR(f.listenerLevel, 28.4787, 1e-4);
    EXPECT_NEAR(f.criticalDistance, 1.0805, 1e-4);
    EXPECT_EQ(verdictText(f), QStringLiteral("eingehalten (6,5 dB darunter)"));

    // 3 outlets of 40 dB exceed the office's 35 dB(A) by 2,5 dB; an open-plan office takes them.
    f = computeSound(room(3, 40.0));
    EXPECT_NEAR(f.listenerLevel, 37.5447, 1e-4);
    EXPECT_FALSE(f.met());
    EXPECT_EQ(verdictText(f), QStringLiteral("überschritten um 2,5 dB"));
    SoundInputs openPlan = room(3, 40.0);
    openPlan.use = RoomUse::OpenPlan;
    EXPECT_EQ(verdictText(computeSound(openPlan)), QStringLiteral("eingehalten (2,5 dB darunter)"));

    // A longer reverberation time halves A and raises the diffuse field by 3 dB.
    f = computeSound(room(3, 35.0, 1.6, 2.0));
    EXPECT_NEAR(f.absorptionArea, 14.67, 1e-9);
    EXPECT_NEAR(f.diffuseLevel, 34.1275, 1e-4);
    EXPECT_NEAR(f.listenerLevel, 34.3338, 1e-4);
}

TEST(SoundAcoustics, InputsOutOfRangeAreRefusedWithTheirName) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    SoundInputs in = room(0, 35.0);
    EXPECT_TRUE(refusal(in).contains(QStringLiteral("Anzahl")));
    in = room(3, 35.0);
    in.width = 0.0;
    EXPECT_TRUE(refusal(in).contains(QStringLiteral("Raumbreite")));
    in = room(3, 35.0);
    in.height = nan;
    EXPECT_TRUE(refusal(in).contains(QStringLiteral("Raumhöhe")));
    for (double t : {0.05, 10.5, nan})
        EXPECT_TRUE(refusal(room(3, 35.0, t)).contains(QStringLiteral("Nachhallzeit"))) << t;
    // Farther than the room's diagonal of 10,44 m no listener can sit.
    EXPECT_TRUE(refusal(room(3, 35.0, 0.8, 10.5)).contains(QStringLiteral("10,44")));
    EXPECT_TRUE(refusal(room(3, 35.0, 0.8, 0.05)).contains(QStringLiteral("Abstand")));
    // T = 0,1 s would need 234,72 m² of absorption in 180 m² of surface; 0,14 s is the shortest.
    const QString tooShort = refusal(room(3, 35.0, 0.1));
    EXPECT_TRUE(tooShort.contains(QStringLiteral("zu kurz"))) << tooShort.toStdString();
    EXPECT_TRUE(tooShort.contains(QStringLiteral("0,14 s"))) << tooShort.toStdString();
    EXPECT_EQ(refusal(room(3, 35.0, 0.14)), QStringLiteral("(angenommen)"));

    // Typed values: a point is taken as the comma, a text that is no number says so.
    PlannerChoice typed =
        evaluateTyped(room(3, 35.0), QStringLiteral("1.6"), QStringLiteral(" 2,0 "), RoomUse::Office);
    ASSERT_TRUE(std::holds_alternative<SoundFigures>(typed.outcome));
    EXPECT_NEAR(std::get<SoundFigures>(typed.outcome).listenerLevel, 34.3338, 1e-4);
    typed = evaluateTyped(room(3, 35.0), QStringLiteral("0,8"), QStringLiteral("zwei"), RoomUse::Office);
    ASSERT_TRUE(std::holds_alternative<QString>(typed.outcome));
    EXPECT_EQ(std::get<QString>(typed.outcome),
              QStringLiteral("Abstand zum nächsten Durchlass: „zwei“ ist keine Zahl."));
}

TEST(SoundExchangeFile, FoundInTheTemporaryFolderAndReadAsWritten) {
    QTemporaryDir dir;
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    // On a case-sensitive file system the file may be spelt differently from the command line.
    test::writeFile(tmp + QStringLiteral("/SOUNDDATEN.TMP"), exchangeBytes(3, 35.0));
    const QString found = locateSoundFile(QStringLiteral("Sounddaten.tmp"), tmp);
    EXPECT_EQ(QFileInfo(found).fileName(), QStringLiteral("SOUNDDATEN.TMP"));
    EXPECT_EQ(locateSoundFile(QString(), tmp), found);      // no argument: the same name
    EXPECT_EQ(locateSoundFile(found, std::nullopt), found); // a path is taken as it stands

    const SoundExchange x = readSoundFile(found);
    EXPECT_EQ(x.outletName, QStringLiteral("DLX 125"));
    EXPECT_EQ(x.outletCount, 3);
    EXPECT_EQ(x.lwa, 35.0);
    EXPECT_EQ(x.roomLength, 8.0);
    EXPECT_EQ(x.project, QStringLiteral("Büro 2.14"));
    EXPECT_EQ(x.address[1], QStringLiteral("Hauptstraße 5"));
    EXPECT_EQ(x.projectDate, QStringLiteral("12.05.2025"));

    // Where it looked is named when the file is not there.
    try {
        locateSoundFile(QStringLiteral("Zoldaten.tmp"), tmp);
        ADD_FAILURE();
    } catch (const FileError& e) {
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(tmp))) << e.message().toStdString();
    }
    EXPECT_THROW(locateSoundFile(dir.filePath(QStringLiteral("nirgends/Sounddaten.tmp")), tmp), FileError);
}

TEST(SoundExchangeFile, TheSheetIsProposedInTheWorkingDirectorysProjectFolder) {
    QTemporaryDir dir;
    const QString exchange = dir.filePath(QStringLiteral("elsewhere/tmp/Sounddaten.tmp"));
    test::writeFile(exchange, exchangeBytes(3, 35.0));
    const QString projects = dir.filePath(QStringLiteral("ZELK/Projekte"));
    QDir().mkpath(projects);
    EXPECT_EQ(proposedPdfFolder(exchange, projects), QDir::toNativeSeparators(projects));
    // Without a project folder: the one beside the exchange file's, else the exchange file's own.
    EXPECT_EQ(proposedPdfFolder(exchange, std::nullopt),
              QDir::toNativeSeparators(dir.filePath(QStringLiteral("elsewhere/tmp"))));
    QDir().mkpath(dir.filePath(QStringLiteral("elsewhere/Projekte")));
    EXPECT_EQ(proposedPdfFolder(exchange, dir.filePath(QStringLiteral("gone"))),
              QDir::toNativeSeparators(
                  QFileInfo(dir.filePath(QStringLiteral("elsewhere/Projekte"))).canonicalFilePath()));
}

TEST(SoundExchangeFile, BrokenFilesNameThePathAndTheLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Sounddaten.tmp"));
    const QByteArray good = exchangeBytes(3, 35.0);
    const struct {
        QByteArray bytes;
        const char* expected;
    } cases[] = {
        {withLine(good, 5, "Schalleistungspegel"), "Zeile 5"},
        {withLine(good, 4, "2.5"), "Zeile 4"},
        {withLine(good, 9, "8,00"), "Zeile 9"},
        {good.left(good.lastIndexOf("\r\n", good.size() - 3) + 2), "24 Zeilen"},
    };
    for (const auto& c : cases) {
        test::writeFile(path, c.bytes);
        try {
            readSoundFile(path);
            ADD_FAILURE() << c.expected;
        } catch (const FileError& e) {
            EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path))) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.expected))) << e.message().toStdString();
        }
    }
}

namespace {

// The program as the main program starts it: the bare name, the working directory in the
// settings store (here a private one). Without a display, no platform is named either.
test::CliRun runSound(const QStringList& args, const QString& configHome, bool display = true) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!display)
        for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(variable));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZELK_SOUND), args);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

TEST(SoundProgram, BatchRunsWriteTheSheetOrRefuseWithTheReason) {
    QTemporaryDir dir;
    const QString work = dir.filePath(QStringLiteral("ZELK"));
    test::writeFile(work + QStringLiteral("/tmp/Sounddaten.tmp"), exchangeBytes(3, 35.0));
    QSettings store(dir.filePath(QStringLiteral("config/Zelk/zol.conf")), QSettings::IniFormat);
    store.setValue(QString::fromLatin1(kWorkingDirectoryKey), work);
    store.sync();
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString pdf = dir.filePath(QStringLiteral("Blatt.pdf"));

    test::CliRun run =
        runSound({QStringLiteral("Sounddaten.tmp"), QStringLiteral("--json"), QStringLiteral("--pdf"), pdf,
                  QStringLiteral("--reverberation"), QStringLiteral("1,6"), QStringLiteral("--distance"),
                  QStringLiteral("2"), QStringLiteral("--use"), QStringLiteral("openplan")},
                 config);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject json = run.json();
    EXPECT_EQ(json.value(QStringLiteral("count")).toInt(), 3);
    EXPECT_NEAR(json.value(QStringLiteral("lp_listener")).toDouble(), 34.3338, 1e-4);
    EXPECT_EQ(json.value(QStringLiteral("limit")).toDouble(), 40.0);
    EXPECT_TRUE(json.value(QStringLiteral("met")).toBool());
    const QByteArray sheet = test::readFile(pdf);
    EXPECT_TRUE(sheet.startsWith("%PDF"));

    // A broken file: the path and the line on standard error, exit 1, the old sheet left whole.
    test::writeFile(work + QStringLiteral("/tmp/Sounddaten.tmp"),
                    withLine(exchangeBytes(3, 35.0), 3, "Anzahl:"));
    run = runSound({QStringLiteral("--pdf"), pdf}, config);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Zeile 3")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Sounddaten.tmp")) << run.err.toStdString();
    EXPECT_EQ(test::readFile(pdf), sheet);

    // A reverberation time the room cannot have is refused, not printed: the call asked for it.
    test::writeFile(work + QStringLiteral("/tmp/Sounddaten.tmp"), exchangeBytes(3, 35.0));
    run = runSound({QStringLiteral("--json"), QStringLiteral("--reverberation"), QStringLiteral("0.1")},
                   config);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("zu kurz")) << run.err.toStdString();
}

// The exit codes of zelkfyl-cli: 2 for a wrong call, 1 for a file that fails, nothing written.
TEST(SoundProgram, WrongCallsEndWithTwoAndFailedFilesWithOne) {
    QTemporaryDir dir;
    const QString work = dir.filePath(QStringLiteral("ZELK"));
    test::writeFile(work + QStringLiteral("/tmp/Sounddaten.tmp"), exchangeBytes(3, 35.0));
    test::writeFile(work + QStringLiteral("/tmp/Leer.tmp"), exchangeBytes(0, 35.0));
    test::writeFile(dir.filePath(QStringLiteral("config/Zelk/zol.conf")),
                    QStringLiteral("[General]\nArbeitsverzeichnis=%1\n").arg(work).toUtf8());
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString pdf = dir.filePath(QStringLiteral("Blatt.pdf"));
    const QString pdfOption = QStringLiteral("--pdf=") + pdf;

    const struct {
        QStringList args;
        int exitCode;
        const char* reason;
    } cases[] = {
        {{pdfOption, QStringLiteral("--lautstaerke")}, 2, "lautstaerke"},
        {{pdfOption, QStringLiteral("Sounddaten.tmp"), QStringLiteral("Zweite.tmp")}, 2, "nicht 2"},
        {{pdfOption, QStringLiteral("--use"), QStringLiteral("garage")}, 2, "garage"},
        {{pdfOption, QStringLiteral("--distance"), QStringLiteral("zwei")}, 2, "keine Zahl"},
        {{pdfOption, QStringLiteral("Fehlt.tmp")}, 1, "Fehlt.tmp"},
        {{pdfOption, QStringLiteral("Leer.tmp")}, 1, "Leer.tmp"},
        {{QStringLiteral("--pdf"), dir.filePath(QStringLiteral("kein/Ordner/Blatt.pdf"))}, 1, "Blatt.pdf"},
    };
    for (const auto& c : cases) {
        const test::CliRun run = runSound(c.args, config);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.reason)) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(pdf));
    }

    // Help and version open no window, so they need no display.
    const test::CliRun help = runSound({QStringLiteral("--help")}, config, false);
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains("--reverberation"));
    EXPECT_EQ(runSound({QStringLiteral("--version")}, config, false).out,
              QByteArray("zelk_sound " ZELK_VERSION "\n"));
}
