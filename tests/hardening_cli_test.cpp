// The seams between the parts, called as a user calls them: what zelkfyl-cli writes the companion
// tools read, arguments stay within their bounds, a failing command writes nothing and no output
// replaces an input. One group per fault found at these seams.
#include "frame/projectfile.h"
#include "frame/record.h"
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <memory>

using namespace fyl;

namespace {

using test::CliRun;
const QString kProgram = QStringLiteral(ZELK_PROGRAM_DIR);
const char* const kCatalogue[] = {"kenn1.dat", "kenn2.dat",          "kenn3.dat", "Strahl.dat",
                                  "ZELK.idx",  "Durchlassdatei.txt", "ZELK.emd",  "image4.bmp"};

CliRun runProgram(const QString& program, const QStringList& args, const QString& tmp = QString()) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!tmp.isEmpty())
        env.insert(QStringLiteral("TMPDIR"), tmp);
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}
CliRun hardenedCli(QStringList args, const QString& programDir = kProgram) {
    return runProgram(QStringLiteral(ZELK_CLI), args << QStringLiteral("--program-dir") << programDir);
}
CliRun ceilingPlan(const QStringList& args) {
    return runProgram(QStringLiteral(ZELK_DECKENSPIEGEL), args);
}
CliRun sound(const QStringList& args) {
    return runProgram(QStringLiteral(ZELK_SOUND), args);
}

QString header() {
    return QStringLiteral("Raum;Breite;Länge;Höhe;Luftwechsel;Volumenstrom;Kühllast;Raumtemperatur;"
                          "Zulufttemperatur;Kopfhöhe;Einbauhöhe;Luftgeschwindigkeit;Schallleistung;Typ;Größe;"
                          "Strahlform;Schlitzlänge;Schlitzanzahl;Rohr\r\n");
}
// A schedule row of an office planned with `outlet` (empty cells: its best suggestion).
QString room(const QString& name, const QString& width = QStringLiteral("6"),
             const QString& outlet = QStringLiteral("DRL;DRL 400;1;;;")) {
    return QStringLiteral("%1;%2;8;3;;1200;;22;16;1,8;3;0,2;45;%3\r\n").arg(name, width, outlet);
}

class Hardening : public ::testing::Test {
protected:
    void SetUp() override { project = planned(QStringLiteral("Büro 2.14")); }

    QString path(const QString& name) const { return dir.filePath(name); }
    // A room of `width` × 8 m with 1200 m³/h, planned with a DRL 400 as `plan --write` saves it.
    QString planned(const QString& name, double width = 6) {
        auto rec = std::make_unique<CalculationRecord>();
        std::memset(rec.get(), 0, sizeof *rec);
        ResetRecord(*rec);
        rec->totalFlow = 1200.0;
        rec->mountingHeight = 3.0;
        rec->roomWidth = width;
        rec->roomLength = 8;
        rec->projectName.assign(name);
        rec->editor[1].assign(QStringLiteral("Zeile\r2"));
        rec->contactAddress[0].assign(QStringLiteral("Weg\x01 1"));
        const QString room = path(QStringLiteral("room.zol"));
        QString out = path(QStringLiteral("p%1.zol").arg(++plans));
        writeProjectFile(room, *rec);
        const CliRun plan =
            hardenedCli({QStringLiteral("plan"), room, QStringLiteral("--type"), QStringLiteral("DRL"),
                         QStringLiteral("--size"), QStringLiteral("DRL 400"), QStringLiteral("--jet-form"),
                         QStringLiteral("1"), QStringLiteral("--write"), out});
        EXPECT_EQ(plan.exitCode, 0) << plan.err.toStdString();
        return out;
    }
    // A program directory with the catalogue and the letterhead, and what `change` does to it.
    QString programCopy(const QString& name, bool texts = true) {
        QString to = path(name);
        QDir().mkpath(to);
        for (const char* file : kCatalogue)
            QFile::copy(QDir(kProgram).filePath(QLatin1String(file)), QDir(to).filePath(QLatin1String(file)));
        if (texts)
            QFile::copy(QDir(kProgram).filePath(QStringLiteral("Fyltext.txt")),
                        QDir(to).filePath(QStringLiteral("Fyltext.txt")));
        return to;
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    QTemporaryDir dir;
    QString project;
    int plans = 0;
};

TEST_F(Hardening, AMissingTextTableStopsEveryCommandNamingIt) {
    const QString bare = programCopy(QStringLiteral("bare"), false);
    test::writeFile(path(QStringLiteral("rooms.csv")), (header() + room(QStringLiteral("A"))).toUtf8());
    const QStringList before = files();
    const QList<QStringList> calls = {
        {QStringLiteral("evaluate"), project},
        {QStringLiteral("picture"), project},
        {QStringLiteral("exchange"), project, QStringLiteral("--ceiling"), path(QStringLiteral("c.tmp"))},
        {QStringLiteral("report"), project, QStringLiteral("--pdf"), path(QStringLiteral("r.pdf"))},
        {QStringLiteral("rank"), project},
        {QStringLiteral("plan"), project, QStringLiteral("--type"), QStringLiteral("DRL"),
         QStringLiteral("--size"), QStringLiteral("DRL 400"), QStringLiteral("--jet-form"),
         QStringLiteral("1")},
        {QStringLiteral("schedule"), path(QStringLiteral("rooms.csv")), QStringLiteral("--out"),
         path(QStringLiteral("out"))}};
    for (const QStringList& call : calls) {
        const CliRun r = hardenedCli(call, bare);
        EXPECT_EQ(r.exitCode, 1) << call.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("Fyltext.txt")) << r.err.toStdString();
    }
    EXPECT_EQ(files(), before);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("out"))));
}

TEST_F(Hardening, ALineBreakInATextNeitherBreaksTheExchangeFilesNorTheSummary) {
    const QString broken = planned(QStringLiteral("Büro\nNord\tSüd"));
    const QString ceiling = path(QStringLiteral("Zoldaten.tmp")),
                  soundFile = path(QStringLiteral("Sounddaten.tmp"));
    ASSERT_EQ(hardenedCli({QStringLiteral("exchange"), broken, QStringLiteral("--ceiling"), ceiling,
                           QStringLiteral("--sound"), soundFile})
                  .exitCode,
              0);
    EXPECT_EQ(test::readFile(ceiling).count("\r\n"), 34);
    EXPECT_EQ(test::readFile(soundFile).count("\r\n"), 24);
    EXPECT_TRUE(test::readFile(ceiling).contains("B\xFCro Nord S\xFC"
                                                 "d\r\n"));
    EXPECT_EQ(ceilingPlan({ceiling, QStringLiteral("--png"), path(QStringLiteral("plan.png"))}).exitCode, 0);
    const CliRun json = sound({soundFile, QStringLiteral("--json")});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();

    // A schedule's quoted room name with a line break: one summary line, a one-line project name.
    test::writeFile(path(QStringLiteral("rooms.csv")),
                    (header() + room(QStringLiteral("\"Büro\r\nNord\""))).toUtf8());
    ASSERT_EQ(hardenedCli({QStringLiteral("schedule"), path(QStringLiteral("rooms.csv")),
                           QStringLiteral("--out"), path(QStringLiteral("out"))})
                  .exitCode,
              0);
    const QByteArray csv = test::readFile(path(QStringLiteral("out/results.csv")));
    EXPECT_EQ(csv.count("\r\n"), 2) << csv.toStdString();
    ASSERT_EQ(hardenedCli({QStringLiteral("exchange"), path(QStringLiteral("out/Büro__Nord.zol")),
                           QStringLiteral("--ceiling"), ceiling})
                  .exitCode,
              0);
    EXPECT_TRUE(test::readFile(ceiling).contains("\r\nB\xFCro  Nord\r\n"));
}

TEST_F(Hardening, TheWorkbookIsWellFormedAndAgreesWithTheCsvWhateverANameHolds) {
    QString names;
    for (const QString& name :
         {QStringLiteral("A\uFFFF"), QStringLiteral("B\uFFFE"), QString::fromUtf16(u"C\0D", 3),
          QStringLiteral("\"E\rF\""), QStringLiteral("G\x01H")})
        names += room(name);
    test::writeFile(path(QStringLiteral("rooms.csv")), (header() + names).toUtf8());
    const QString out = path(QStringLiteral("out"));
    ASSERT_EQ(hardenedCli({QStringLiteral("schedule"), path(QStringLiteral("rooms.csv")),
                           QStringLiteral("--out"), out})
                  .exitCode,
              0);
    QProcess check;
    check.start(QStringLiteral("python3"),
                {QStringLiteral(ZELK_SOURCE_DIR "/tests/support/summary_workbook_check.py"), out});
    ASSERT_TRUE(check.waitForFinished(60000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAll().toStdString();
}

TEST_F(Hardening, ACountBelowOneIsAWrongCall) {
    for (const char* count : {"0", "-1", "-2"}) {
        EXPECT_EQ(hardenedCli(
                      {QStringLiteral("evaluate"), project, QStringLiteral("--count"), QLatin1String(count)})
                      .exitCode,
                  2);
        const CliRun plan =
            hardenedCli({QStringLiteral("plan"), project, QStringLiteral("--type"), QStringLiteral("DRL"),
                         QStringLiteral("--size"), QStringLiteral("DRL 400"), QStringLiteral("--jet-form"),
                         QStringLiteral("1"), QStringLiteral("--count"), QLatin1String(count),
                         QStringLiteral("--write"), path(QStringLiteral("out.zol"))});
        EXPECT_EQ(plan.exitCode, 2) << count;
    }
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("out.zol"))));
}

TEST_F(Hardening, AResolutionBeyondTheSixteenBitPageIsAWrongCallNamingTheRange) {
    for (const char* dpi : {"5605", "218000000", "2147483647"}) {
        const CliRun r =
            hardenedCli({QStringLiteral("report"), project, QStringLiteral("--pdf"),
                         path(QStringLiteral("r.pdf")), QStringLiteral("--dpi"), QLatin1String(dpi)});
        EXPECT_EQ(r.exitCode, 2) << dpi;
        EXPECT_TRUE(r.err.contains("1 bis 5604 dpi")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("r.pdf"))));
}

TEST_F(Hardening, AFileLargerThanAnySaneInputOfItsKindIsRefusedUnread) {
    const auto large = [&](const QString& name, qint64 size) {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(size)); // sparse: nothing is stored
        return f.fileName();
    };
    const QString exchange = large(QStringLiteral("Zoldaten.tmp"), 1 << 20);
    for (const CliRun& r :
         {ceilingPlan({exchange, QStringLiteral("--png"), path(QStringLiteral("p.png"))}),
          sound({exchange, QStringLiteral("--json")}),
          hardenedCli({QStringLiteral("schedule"), large(QStringLiteral("rooms.csv"), 700 << 20),
                       QStringLiteral("--out"), path(QStringLiteral("out"))}),
          runProgram(QStringLiteral(ZELK_CLI),
                     {QStringLiteral("catalogue"), QStringLiteral("build"),
                      large(QStringLiteral("source.json"), 100 << 20), path(QStringLiteral("cat"))})}) {
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("größer als jede brauchbare Datei")) << r.err.toStdString();
    }
    const QString program = programCopy(QStringLiteral("program"));
    QFile(QDir(program).filePath(QStringLiteral("Fyltext.txt"))).resize(2 << 20);
    EXPECT_TRUE(hardenedCli({QStringLiteral("evaluate"), project}, program).err.contains("größer als jede"));
}

TEST_F(Hardening, AFailingCommandWritesNoneOfItsOutputs) {
    const QString ok = path(QStringLiteral("ok")), missing = path(QStringLiteral("nowhere/x"));
    ASSERT_EQ(hardenedCli({QStringLiteral("exchange"), project, QStringLiteral("--ceiling"),
                           path(QStringLiteral("Zoldaten.tmp"))})
                  .exitCode,
              0);
    EXPECT_EQ(hardenedCli({QStringLiteral("exchange"), project, QStringLiteral("--ceiling"), ok,
                           QStringLiteral("--sound"), missing})
                  .exitCode,
              1);
    EXPECT_EQ(hardenedCli({QStringLiteral("picture"), project, QStringLiteral("--png"), ok,
                           QStringLiteral("--svg"), missing})
                  .exitCode,
              1);
    EXPECT_EQ(ceilingPlan({path(QStringLiteral("Zoldaten.tmp")), QStringLiteral("--pdf"), ok,
                           QStringLiteral("--png"), missing})
                  .exitCode,
              1);
    EXPECT_FALSE(QFileInfo::exists(ok));
    EXPECT_TRUE(
        QDir(dir.path()).entryList({QStringLiteral(".ZELK*")}, QDir::AllEntries | QDir::Hidden).isEmpty());
}

TEST_F(Hardening, AnOutputThatIsAnInputOrAnotherOutputIsAWrongCall) {
    const QByteArray original = test::readFile(project);
    const QString same = path(QStringLiteral("sub/../")) + QFileInfo(project).fileName();
    QDir().mkpath(path(QStringLiteral("sub")));
    const QString x = path(QStringLiteral("X.tmp"));
    for (const QStringList& call :
         QList<QStringList>{{QStringLiteral("report"), project, QStringLiteral("--pdf"), same},
                            {QStringLiteral("picture"), project, QStringLiteral("--png"), same},
                            {QStringLiteral("exchange"), project, QStringLiteral("--ceiling"), same},
                            {QStringLiteral("evaluate"), project, QStringLiteral("--write"), same},
                            {QStringLiteral("exchange"), project, QStringLiteral("--ceiling"), x,
                             QStringLiteral("--sound"), x}})
        EXPECT_EQ(hardenedCli(call).exitCode, 2) << call.join(' ').toStdString();
    EXPECT_EQ(test::readFile(project), original);
    EXPECT_FALSE(QFileInfo::exists(x));
    // A second name of the same file (a hard link) is the same output, under whatever name.
    test::writeFile(path(QStringLiteral("one.tmp")), "1");
    ASSERT_EQ(::link(QFile::encodeName(path(QStringLiteral("one.tmp"))).constData(),
                     QFile::encodeName(path(QStringLiteral("two.tmp"))).constData()),
              0);
    EXPECT_EQ(hardenedCli({QStringLiteral("exchange"), project, QStringLiteral("--ceiling"),
                           path(QStringLiteral("one.tmp")), QStringLiteral("--sound"),
                           path(QStringLiteral("two.tmp"))})
                  .exitCode,
              2);
    EXPECT_EQ(test::readFile(path(QStringLiteral("two.tmp"))), "1");

    test::writeFile(path(QStringLiteral("out/results.csv")), (header() + room(QStringLiteral("A"))).toUtf8());
    const QByteArray rooms = test::readFile(path(QStringLiteral("out/results.csv")));
    EXPECT_EQ(hardenedCli({QStringLiteral("schedule"), path(QStringLiteral("out/results.csv")),
                           QStringLiteral("--out"), path(QStringLiteral("out"))})
                  .exitCode,
              2);
    EXPECT_EQ(test::readFile(path(QStringLiteral("out/results.csv"))), rooms);

    ASSERT_EQ(hardenedCli({QStringLiteral("exchange"), project, QStringLiteral("--ceiling"), x,
                           QStringLiteral("--sound"), path(QStringLiteral("S.tmp"))})
                  .exitCode,
              0);
    const QByteArray exchange = test::readFile(x);
    EXPECT_EQ(ceilingPlan({x, QStringLiteral("--png"), x}).exitCode, 2);
    EXPECT_EQ(ceilingPlan({x, QStringLiteral("--png"), path(QStringLiteral("p")), QStringLiteral("--pdf"),
                           path(QStringLiteral("p"))})
                  .exitCode,
              2);
    EXPECT_EQ(sound({path(QStringLiteral("S.tmp")), QStringLiteral("--pdf"), path(QStringLiteral("S.tmp"))})
                  .exitCode,
              2);
    EXPECT_EQ(test::readFile(x), exchange);
}

TEST_F(Hardening, AValueTheCompanionsRefuseIsNotWritten) {
    // A room wider than the companions read is no room any reader of a project takes.
    auto rec = std::make_unique<CalculationRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    ResetRecord(*rec);
    rec->roomWidth = 1200;
    const QString hall = path(QStringLiteral("halle.zol"));
    writeProjectFile(hall, *rec);
    const CliRun r = hardenedCli({QStringLiteral("exchange"), hall, QStringLiteral("--ceiling"),
                                  path(QStringLiteral("c.tmp")), QStringLiteral("--sound"),
                                  path(QStringLiteral("s.tmp"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("room_width (Byte 3760): 1200 m sind f\xC3\xBCr einen Raum zu gro\xC3\x9F"))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("c.tmp"))) ||
                 QFileInfo::exists(path(QStringLiteral("s.tmp"))));

    // 1000 m is the last width written, and both companions read it.
    ASSERT_EQ(hardenedCli({QStringLiteral("exchange"), planned(QStringLiteral("Halle"), 1000),
                           QStringLiteral("--ceiling"), path(QStringLiteral("c.tmp")),
                           QStringLiteral("--sound"), path(QStringLiteral("s.tmp"))})
                  .exitCode,
              0);
    const CliRun plan =
        ceilingPlan({path(QStringLiteral("c.tmp")), QStringLiteral("--png"), path(QStringLiteral("p.png"))});
    EXPECT_FALSE(plan.err.contains("Zeile")) << plan.err.toStdString(); // the file is read
    EXPECT_EQ(sound({path(QStringLiteral("s.tmp")), QStringLiteral("--json")}).exitCode, 0);
}

TEST_F(Hardening, ADamagedCatalogueIsNamedByFileAndRecordAndFailsOnlyItsRooms) {
    const auto cut = [&](const QString& name, int records) {
        QString program = programCopy(name);
        QFile emd(QDir(program).filePath(QStringLiteral("ZELK.emd")));
        emd.resize(3759LL * records);
        return program;
    };
    const CliRun ranked = hardenedCli({QStringLiteral("rank"), project}, cut(QStringLiteral("cut31"), 31));
    EXPECT_EQ(ranked.exitCode, 1);
    EXPECT_TRUE(ranked.err.contains("Datensatz 32") && ranked.err.contains("ZELK.emd"))
        << ranked.err.toStdString();
    EXPECT_FALSE(QJsonDocument::fromJson(ranked.out).object()[QStringLiteral("choices")].toArray().isEmpty());

    test::writeFile(path(QStringLiteral("rooms.csv")),
                    (header() + room(QStringLiteral("A"), QStringLiteral("6"), QStringLiteral(";;;;;")) +
                     room(QStringLiteral("B"), QStringLiteral("6"), QStringLiteral("DUE;DUE 160;1;;;")))
                        .toUtf8());
    const CliRun planned = hardenedCli({QStringLiteral("schedule"), path(QStringLiteral("rooms.csv")),
                                        QStringLiteral("--out"), path(QStringLiteral("out"))},
                                       cut(QStringLiteral("cut15"), 15));
    EXPECT_EQ(planned.exitCode, 1);
    EXPECT_TRUE(planned.err.contains("(B)") && planned.err.contains("Datensatz 17"))
        << planned.err.toStdString();
    EXPECT_EQ(test::readFile(path(QStringLiteral("out/results.csv"))).count("\r\n"), 3);

    // A length of a slot tube's size table that is no number: the tube is left out, and named.
    const QString flipped = programCopy(QStringLiteral("flipped"));
    QFile emd(QDir(flipped).filePath(QStringLiteral("ZELK.emd")));
    ASSERT_TRUE(emd.open(QIODevice::ReadWrite));
    QByteArray bytes = emd.readAll();
    int tube = -1;
    for (int r = 0; tube < 0 && (r + 1) * 3759LL <= bytes.size(); ++r)
        if (bytes.mid(r * 3759 + 734 + 16, 5).trimmed().toInt() > 0) // the first length of a size table
            tube = r;
    ASSERT_GE(tube, 0);
    bytes[tube * 3759 + 734 + 18] = '\xC9';
    emd.seek(0);
    emd.write(bytes);
    emd.close();
    const CliRun rankedTube = hardenedCli({QStringLiteral("rank"), project}, flipped);
    EXPECT_EQ(rankedTube.exitCode, 1);
    EXPECT_TRUE(
        rankedTube.err.contains(QStringLiteral("Datensatz %1 (Größentabelle)").arg(tube + 1).toUtf8()))
        << rankedTube.err.toStdString();
}

TEST_F(Hardening, ACatalogueTheCheckRefusesIsNotBuilt) {
    QJsonObject source =
        QJsonDocument::fromJson(
            test::readFile(QStringLiteral(ZELK_SOURCE_DIR "/tools/catalogue/zelk-catalogue.json")))
            .object();
    QJsonArray types = source[QStringLiteral("types")].toArray();
    QJsonObject type = types[0].toObject();
    QJsonArray sizes = type[QStringLiteral("sizes")].toArray();
    QJsonObject size = sizes[0].toObject();
    size[QStringLiteral("name")] = size[QStringLiteral("name")].toString() + QStringLiteral("\nA");
    sizes[0] = size;
    type[QStringLiteral("sizes")] = sizes;
    types[0] = type;
    source[QStringLiteral("types")] = types;
    test::writeFile(path(QStringLiteral("broken.json")), QJsonDocument(source).toJson());
    const CliRun built = runProgram(QStringLiteral(ZELK_CLI),
                                    {QStringLiteral("catalogue"), QStringLiteral("build"),
                                     path(QStringLiteral("broken.json")), path(QStringLiteral("cat"))});
    EXPECT_EQ(built.exitCode, 1);
    EXPECT_TRUE(built.err.contains("ZELK.idx")) << built.err.toStdString();
    EXPECT_TRUE(QDir(path(QStringLiteral("cat"))).entryList(QDir::Files).isEmpty());
}

TEST_F(Hardening, SmallerSeams) {
    // A room that fails on a rerun leaves no project of the earlier run behind.
    const QString rooms = path(QStringLiteral("rooms.csv")), out = path(QStringLiteral("out"));
    test::writeFile(rooms, (header() + room(QStringLiteral("A"))).toUtf8());
    ASSERT_EQ(hardenedCli({QStringLiteral("schedule"), rooms, QStringLiteral("--out"), out}).exitCode, 0);
    test::writeFile(rooms, (header() + room(QStringLiteral("A"), QStringLiteral("x"))).toUtf8());
    EXPECT_EQ(hardenedCli({QStringLiteral("schedule"), rooms, QStringLiteral("--out"), out}).exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("out/A.zol"))));

    // The report drafts stay in the output folder's staging area, not the system's temporary folder.
    test::writeFile(rooms, (header() + room(QStringLiteral("A"))).toUtf8());
    const CliRun reported =
        runProgram(QStringLiteral(ZELK_CLI),
                   {QStringLiteral("schedule"), rooms, QStringLiteral("--out"), out,
                    QStringLiteral("--report"), QStringLiteral("--program-dir"), kProgram},
                   path(QStringLiteral("no-such-folder")));
    EXPECT_EQ(reported.exitCode, 0) << reported.err.toStdString();

    // UTF-8 with one bad byte is pointed at, not read as Windows-1252.
    test::writeFile(rooms, (header() + room(QStringLiteral("Büro")))
                               .toUtf8()
                               .replace("\xC3\xBC"
                                        "ro",
                                        "\xFC"
                                        "ro"));
    const CliRun bad = hardenedCli({QStringLiteral("schedule"), rooms, QStringLiteral("--out"), out});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("Zeile 2 hat an Byte 2 (0xFC)")) << bad.err.toStdString();

    for (const char* index : {"x", "-1"}) {
        const CliRun record =
            runProgram(QStringLiteral(ZELK_CLI), {QStringLiteral("catalogue"), QStringLiteral("record"),
                                                  kProgram, QLatin1String(index)});
        EXPECT_EQ(record.exitCode, 2);
        EXPECT_FALSE(record.err.contains("Datensatz 0"));
    }
    EXPECT_TRUE(hardenedCli({QStringLiteral("rank"), project, QStringLiteral("--top"), QStringLiteral("0")})
                    .err.contains("kleiner als 1"));

    // A catalogue folder that is not there is an error where errors go, not a JSON document.
    const CliRun dump =
        runProgram(QStringLiteral(ZELK_CLI),
                   {QStringLiteral("catalogue"), QStringLiteral("dump"), path(QStringLiteral("nowhere"))});
    EXPECT_EQ(dump.exitCode, 1);
    EXPECT_TRUE(dump.out.isEmpty()) << dump.out.toStdString();
    EXPECT_TRUE(dump.err.contains("existiert nicht")) << dump.err.toStdString();
}

} // namespace
