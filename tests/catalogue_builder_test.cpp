// The catalogue builder and checker, and writing the catalogue as one set.
#include "catalogue/cataloguejson.h"
#include "catalogue/cataloguesource.h"
#include "catalogue/checker.h"
#include "catalogue/lookups.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "tests/support/testfiles.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace fyl;

namespace {

// A two-type source: one ordinary outlet with two jet forms, one slot tube.
QJsonObject smallSource() {
    QJsonObject coefficients{
        {"pressure_k", 1e-4}, {"pressure_m", 2.0},      {"sound_b", -80.0},       {"sound_a", 55.0},
        {"decay_k", 0.0015},  {"decay_b", 1.0},         {"decay_a", 1.0},         {"free_jet_f", 0.7},
        {"detach_c", 0.02},   {"detach_temp_exp", 0.5}, {"detach_flow_exp", 1.0}, {"head_coef", 0.001},
        {"head_exp", 1.0},    {"pen_coef", 0.01},       {"pen_temp_exp", 0.5},    {"pen_flow_exp", 1.0},
        {"angle", 0.0},       {"buoyancy", 5000.0},     {"traj_exp", 3.0},        {"zone_coef", -1.0},
        {"spread", 24.0},     {"width_term", 0.05},     {"value_524", 0.1}};
    QJsonObject tubeRecord = coefficients;
    tubeRecord["size_table"] = QJsonArray{
        QJsonObject{{"diameter", 200}, {"lengths", QJsonArray{1000, 1500}}, {"counts", QJsonArray{1, 2}}}};
    QJsonObject ordinarySize{
        {"name", "AAA 600"},
        {"v_min", 320},
        {"v_max", 760},
        {"record", QJsonObject{{"article_number", "A-600"}}},
        {"jet_forms", QJsonObject{{"01", QJsonObject{}}, {"02", QJsonObject{{"pen_coef", 0.02}}}}}};
    QJsonObject ordinary{{"code", "AAA"},
                         {"design", "0"},
                         {"data_sheet", "AAA.pdf"},
                         {"mounting", QJsonArray{1, 2}},
                         {"use", QJsonArray{8}},
                         {"record", coefficients},
                         {"sizes", QJsonArray{ordinarySize}}};
    QJsonObject tubeSize{
        {"name", "TTT 15"}, {"v_min", 40}, {"v_max", 100}, {"jet_forms", QJsonObject{{"05", QJsonObject{}}}}};
    QJsonObject tube{{"code", "TTT"},
                     {"design", "2"},
                     {"data_sheet", "TTT.pdf"},
                     {"record", tubeRecord},
                     {"sizes", QJsonArray{tubeSize}}};
    QJsonObject source;
    source["characteristic_names_1"] = QJsonArray{"Decke", "Wand"};
    source["characteristic_names_2"] = QJsonArray{"fest"};
    source["characteristic_names_3"] = QJsonArray{"Kühlen"};
    source["jet_forms"] = QJsonArray{"01 waagerecht", "02 senkrecht", "03 Schlitz", "04 x", "05 y"};
    source["installations"] = QJsonArray{QJsonObject{{"name", "Decke"}, {"types", QJsonArray{"AAA", "TTT"}}}};
    source["types"] = QJsonArray{ordinary, tube};
    return source;
}

QByteArray json(const QJsonObject& o) {
    return QJsonDocument(o).toJson();
}

QString decoded(const QByteArray& bytes) {
    return fromAnsi(bytes);
}

TEST(CatalogueBuilder, IndexLinesCarryEveryFieldInItsColumns) {
    const BuiltCatalogue built = buildCatalogue(json(smallSource()));
    EXPECT_EQ(built.recordCount, 3);
    const QStringList lines = decoded(built.files.at("ZELK.idx")).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4); // three lines and the empty rest after the last CR LF
    const QString& l = lines[1];
    EXPECT_EQ(l.mid(0, 25).toStdString(), "AAA 600                  ");
    EXPECT_EQ(l.mid(25, 7).toStdString(), "       ");
    EXPECT_EQ(l.mid(32, 2).toStdString(), "02");
    EXPECT_EQ(l.mid(35, 1).toStdString(), "0");
    EXPECT_EQ(l.mid(49, 3).toStdString(), "  2");
    EXPECT_EQ(l.mid(55, 16).toStdString(), "1100000000000000");
    EXPECT_EQ(l.mid(72, 16).toStdString(), "0000000000000000");
    EXPECT_EQ(l.mid(89, 16).toStdString(), "0000000100000000");
    EXPECT_EQ(l.mid(106, 4).toStdString(), " 320");
    EXPECT_EQ(l.mid(111, 5).toStdString(), "  760");
    EXPECT_EQ(l.mid(117, 12).toStdString(), "AAA.pdf     ");
    EXPECT_EQ(lines[2].mid(35, 1).toStdString(), "2");
    EXPECT_EQ(decoded(built.files.at("kenn3.dat")).toStdString(), "Kühlen\r\n");
    EXPECT_EQ(built.files.at("kenn3.dat").size(), 8); // ü is one byte in the code page
    EXPECT_EQ(decoded(built.files.at("Durchlassdatei.txt")).toStdString(),
              "Decke                      AAA/TTT/\r\n");
}

TEST(CatalogueBuilder, RecordsMergeTypeSizeAndJetFormAndLayOutTheTubeTable) {
    const BuiltCatalogue built = buildCatalogue(json(smallSource()));
    const QByteArray& emd = built.files.at("ZELK.emd");
    ASSERT_EQ(emd.size(), 3 * 3759);
    OutletRecord r;
    std::memcpy(&r, emd.constData() + 3759, sizeof r);
    EXPECT_EQ(r.typeNameText().toStdString(), "AAA");
    EXPECT_EQ(r.sizeNameText().toStdString(), "600");
    EXPECT_EQ(r.articleNumberText().toStdString(), "A-600");
    EXPECT_EQ(r.jetFormCodeText().toStdString(), "02");
    EXPECT_EQ(+r.penCoef, 0.02); // the jet form wins over the type
    EXPECT_EQ(+r.decayK, 0.0015);
    EXPECT_EQ(+r.vMin, 320.0);
    EXPECT_EQ(+r.vMax, 760.0);
    std::memcpy(&r, emd.constData() + 2 * std::ptrdiff_t{3759}, sizeof r);
    const QString entry = r.sizeTable[0].content.str();
    EXPECT_EQ(entry.left(5).toStdString(), "  200");
    EXPECT_EQ(entry.mid(15, 10).toStdString(), " 1000 1500");
    EXPECT_EQ(entry.mid(73).toStdString(), " 1  2 ");
    EXPECT_TRUE(r.sizeTable[1].content.str().isEmpty());
}

TEST(CatalogueBuilder, RefusesWhatWouldBreakOrSilentlyChangeTheFiles) {
    auto refuses = [](const std::function<void(QJsonObject&)>& spoil) {
        QJsonObject source = smallSource();
        spoil(source);
        EXPECT_THROW(buildCatalogue(json(source)), Error);
    };
    auto firstType = [](QJsonObject& s, const std::function<void(QJsonObject&)>& change) {
        QJsonArray types = s["types"].toArray();
        QJsonObject t = types[0].toObject();
        change(t);
        types[0] = t;
        s["types"] = types;
    };
    refuses([&](QJsonObject& s) { firstType(s, [](QJsonObject& t) { t["mounting"] = QJsonArray{9}; }); });
    refuses([&](QJsonObject& s) {
        firstType(s, [](QJsonObject& t) {
            QJsonObject r = t["record"].toObject();
            r.remove("zone_coef"); // no coefficient may be zero by omission
            t["record"] = r;
        });
    });
    refuses([&](QJsonObject& s) {
        firstType(s, [](QJsonObject& t) {
            QJsonArray sizes = t["sizes"].toArray();
            QJsonObject size = sizes[0].toObject();
            size["v_min"] = 760;
            sizes[0] = size;
            t["sizes"] = sizes;
        });
    });
    refuses([&](QJsonObject& s) { firstType(s, [](QJsonObject& t) { t["code"] = "AAAA"; }); });
    refuses([](QJsonObject& s) { s["characteristic_names_1"] = QJsonArray{"einundzwanzig Zeichen"}; });
    refuses([](QJsonObject& s) { s["jet_forms"] = QJsonArray{"02 falsche Nummer"}; });
    EXPECT_THROW(buildCatalogue("{ not json"), Error);
}

#ifdef Q_OS_LINUX
TEST(CatalogueBuilder, AnUnreadableSourceIsAFileErrorNotAnEmptySource) {
    // Opens, but every read fails: the first page of the address space is never mapped.
    EXPECT_THROW(buildCatalogueFromFile(QStringLiteral("/proc/self/mem")), FileError);
}
#endif

QStringList folderEntries(const QString& path) {
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

TEST(CatalogueWriting, AFailurePartwayLeavesTheOldSetWholeAndNothingBehind) {
    QTemporaryDir dir;
    const BuiltCatalogue old = buildCatalogue(json(smallSource()));
    writeCatalogueFiles(old, dir.path());
    QJsonObject source = smallSource();
    source["characteristic_names_1"] = QJsonArray{"Boden"};
    source["characteristic_names_2"] = QJsonArray{"verstellbar"};
    source["jet_forms"] = QJsonArray{"01 horizontal", "02 vertikal", "03 Schlitz", "04 x", "05 y"};
    QJsonArray types = source["types"].toArray();
    QJsonObject tube = types[1].toObject();
    QJsonArray sizes = tube["sizes"].toArray();
    QJsonObject size = sizes[0].toObject();
    size["v_max"] = 120; // both in the index line and in the record
    sizes[0] = size;
    tube["sizes"] = sizes;
    types[1] = tube;
    source["types"] = types;
    QJsonArray installations = source["installations"].toArray();
    installations[0] = QJsonObject{{"name", "Wand"}, {"types", QJsonArray{"AAA", "TTT"}}};
    source["installations"] = installations;
    const BuiltCatalogue fresh = buildCatalogue(json(source));

    // A folder squats on kenn3.dat, the last of the set in name order: every other new file is
    // already in place when the set fails.
    ASSERT_TRUE(QFile::remove(dir.filePath("kenn3.dat")));
    ASSERT_TRUE(QDir(dir.path()).mkpath("kenn3.dat/inside"));
    try {
        writeCatalogueFiles(fresh, dir.path());
        ADD_FAILURE() << "wrote over a folder";
    } catch (const FileError& e) {
        EXPECT_TRUE(e.message().contains("kenn3.dat")) << e.what();
    }
    for (const auto& [name, bytes] : old.files) {
        if (name == "kenn3.dat")
            continue;
        EXPECT_TRUE(fresh.files.at(name) != bytes) << name.toStdString() << " would not show a mix";
        EXPECT_TRUE(test::readFile(dir.filePath(name)) == bytes)
            << name.toStdString() << " is not the old file";
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("kenn3.dat/inside")).isDir());
    EXPECT_EQ(folderEntries(dir.path()).size(), 7) << folderEntries(dir.path()).join(' ').toStdString();

    ASSERT_TRUE(QDir(dir.filePath("kenn3.dat")).removeRecursively());
    writeCatalogueFiles(fresh, dir.path());
    for (const auto& [name, bytes] : fresh.files)
        EXPECT_TRUE(test::readFile(dir.filePath(name)) == bytes)
            << name.toStdString() << " is not the new file";
    EXPECT_EQ(folderEntries(dir.path()).size(), 7) << folderEntries(dir.path()).join(' ').toStdString();
}

int runCli(const QStringList& args, QByteArray* out = nullptr) {
    QProcess p;
    p.start(QStringLiteral(ZELK_CLI), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    if (out != nullptr)
        *out = p.readAllStandardOutput();
    return p.exitCode();
}

class CatalogueBuiltFolder : public testing::Test {
protected:
    void SetUp() override { writeCatalogueFiles(buildCatalogue(json(smallSource())), dir.path()); }
    QStringList indexLines() {
        QFile f(dir.filePath("ZELK.idx"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        QStringList lines = decoded(f.readAll()).split(QStringLiteral("\r\n"));
        lines.removeLast();
        return lines;
    }
    void writeIndex(const QStringList& lines) { test::writeAnsiLines(dir.filePath("ZELK.idx"), lines); }
    QStringList findings() {
        QStringList out;
        for (const auto& f : checkCatalogue(dir.path()))
            out << formatFinding(f);
        return out;
    }
    bool found(const QString& prefix) {
        const QStringList all = findings();
        for (const QString& f : all)
            if (f.startsWith(prefix))
                return true;
        ADD_FAILURE() << "no finding " << prefix.toStdString() << " in:\n" << all.join('\n').toStdString();
        return false;
    }
    QTemporaryDir dir;
};

TEST_F(CatalogueBuiltFolder, ACleanCatalogueHasNoFindings) {
    EXPECT_TRUE(findings().isEmpty()) << findings().join('\n').toStdString();
}

TEST_F(CatalogueBuiltFolder, IndexFaultsAreReportedAtTheirLineAndColumn) {
    QStringList lines = indexLines();
    lines[0].replace(49, 3, QStringLiteral("  9")); // beyond the three records
    lines[1][63] = QLatin1Char('1');                // mounting flag 9
    lines[2][25] = QLatin1Char('x');                // the size key no longer matches
    writeIndex(lines);
    EXPECT_TRUE(found("ZELK.idx:1:50:"));
    EXPECT_TRUE(found("ZELK.idx:2:64:"));
    EXPECT_TRUE(found("ZELK.idx:3:1:"));
}

TEST_F(CatalogueBuiltFolder, JetFormsMissingFromStrahlAndFlowRangesTheWrongWayRoundAreFound) {
    test::writeAnsiLines(dir.filePath("Strahl.dat"), {"01 waagerecht"});
    QStringList lines = indexLines();
    lines[0].replace(106, 4, QStringLiteral(" 900"));
    writeIndex(lines);
    EXPECT_TRUE(found("ZELK.idx:2:34:"));
    EXPECT_TRUE(found("ZELK.idx:1:107:"));
    EXPECT_TRUE(found("ZELK.idx:1:50: Datensatz 1: V_min/V_max"));
}

TEST_F(CatalogueBuiltFolder, RecordFaultsAreFoundThroughTheIndexLine) {
    QFile f(dir.filePath("ZELK.emd"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray emd = f.readAll();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(emd.data() + 212, &nan, sizeof nan);          // pressure k of record 1
    std::memcpy(emd.data() + 2 * std::ptrdiff_t{3759} + 734 + 1, "  2x0", 5); // tube diameter of record 3
    f.seek(0);
    f.write(emd);
    f.close();
    EXPECT_TRUE(found("ZELK.idx:1:50: Datensatz 1: pressure_k"));
    EXPECT_TRUE(found("ZELK.idx:3:50: Datensatz 3: Eintrag 1 der Größentabelle"));
}

TEST_F(CatalogueBuiltFolder, ALoaderErrorIsReportedWithTheFileAndLine) {
    test::writeAnsiLines(dir.filePath("kenn2.dat"), {"1", "2", "3", "4", "5", "6", "7", "8", "9"});
    EXPECT_TRUE(found("kenn2.dat:9:0:"));
}

TEST_F(CatalogueBuiltFolder, EmptyIndexOutletListAndDetailFileAreFindings) {
    for (const QString& name : folderEntries(dir.path()))
        test::writeFile(dir.filePath(name), QByteArray());
    QByteArray out;
    EXPECT_EQ(runCli({"catalogue", "check", dir.path()}, &out), 1);
    for (const char* file : {"ZELK.idx", "Durchlassdatei.txt", "ZELK.emd"})
        EXPECT_TRUE(out.contains(QByteArray(file) + ":0:0: Die Datei ist leer")) << file << "\n"
                                                                                 << out.toStdString();
}

// Texts from the files once went through chained QString::arg calls, which replaced a "%1" in
// them by the next argument.
TEST_F(CatalogueBuiltFolder, TextFromTheFilesReachesJsonAndFindingsVerbatim) {
    const QString entry = QStringLiteral("%1 \"200\" \\ %2");
    OutletRecord r = ReadOutletRecord(dir.path(), 2);
    r.sizeTable[0].content.assign(entry);
    QFile f(dir.filePath("ZELK.emd"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(2 * qint64{3759}));
    ASSERT_EQ(f.write(reinterpret_cast<const char*>(&r), sizeof r), 3759);
    f.close();
    QByteArray out;
    ASSERT_EQ(runCli({"catalogue", "record", dir.path(), "2"}, &out), 0);
    QJsonParseError parsed;
    const QJsonObject o = QJsonDocument::fromJson(out, &parsed).object();
    ASSERT_EQ(parsed.error, QJsonParseError::NoError) << out.toStdString();
    EXPECT_EQ(o["size_table"].toArray()[0].toObject()["text"].toString(), entry);

    QStringList lines = indexLines();
    lines[0].replace(49, 3, QStringLiteral(" %1"));
    writeIndex(lines);
    EXPECT_TRUE(found("ZELK.idx:1:50: Die Satznummer \" %1\" liegt nicht zwischen 1 und 3."));
}

TEST(CatalogueJson, RecordFormHasTheFixedKeysAndExactReals) {
    OutletRecord r;
    std::memset(&r, 0, sizeof r);
    std::memcpy(r.typeName, "DRL", 3);
    r.pressureK = 0.1;
    r.decayK = 1e-7;
    r.vMax = 1.0 / 3.0;
    r.sizeTable[2].int118 = -2;
    const QString text = outletRecordJson(r);
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    EXPECT_EQ(o.keys().size(), 34);
    EXPECT_EQ(o["type_name"].toString().toStdString(), "DRL");
    EXPECT_EQ(o["v_max"].toDouble(), 1.0 / 3.0); // reads back to the same double
    EXPECT_TRUE(text.contains(QStringLiteral("\"pressure_k\": 0.1,")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"decay_k\": 1e-07,")));
    EXPECT_EQ(o["size_table"].toArray().size(), 25);
    EXPECT_EQ(o["size_table"].toArray()[2].toObject()["int118"].toInt(), -2);
    EXPECT_LT(text.indexOf("\"tender_text\""), text.indexOf("\"pressure_k\""));
    EXPECT_LT(text.indexOf("\"value_524\""), text.indexOf("\"lengths_list\""));
    EXPECT_EQ(exactReal(std::nan("")).toStdString(), "null");
}

TEST_F(CatalogueBuiltFolder, CliDumpsTheTablesAndReportsWhereLoadingStopped) {
    QByteArray out;
    ASSERT_EQ(runCli({"catalogue", "dump", dir.path()}, &out), 0);
    QJsonObject o = QJsonDocument::fromJson(out).object();
    EXPECT_EQ(o["IndexCount"].toInt(), 3);
    EXPECT_EQ(o["TypeCodeList"].toArray().size(), 25);
    EXPECT_EQ(o["TypeCodeList"].toArray()[2].toString().toStdString(), "TTT");
    EXPECT_EQ(o["CharacteristicNames3"].toArray()[0].toString().toStdString(), "Kühlen");
    EXPECT_TRUE(o["error"].isNull());

    QFile::remove(dir.filePath("ZELK.idx"));
    ASSERT_EQ(runCli({"catalogue", "dump", dir.path()}, &out), 1);
    o = QJsonDocument::fromJson(out).object();
    EXPECT_EQ(o["error"].toObject()["file"].toString().toStdString(), "ZELK.idx");
    EXPECT_EQ(o["JetFormCount"].toInt(), 5);
    EXPECT_EQ(o["OutletListLines"].toArray().size(), 0);
}

TEST_F(CatalogueBuiltFolder, CliRecordAndCheckExitStatus) {
    QByteArray out;
    ASSERT_EQ(runCli({"catalogue", "record", dir.path(), "1"}, &out), 0);
    EXPECT_EQ(QJsonDocument::fromJson(out).object()["jet_form_code"].toString().toStdString(), "02");
    EXPECT_EQ(runCli({"catalogue", "record", dir.path(), "3"}), 1);
    EXPECT_EQ(runCli({"catalogue", "record", dir.path(), "2147483647"}), 1); // its number overflowed an int
    EXPECT_EQ(runCli({"catalogue", "check", dir.path()}), 0);
    test::writeAnsiLines(dir.filePath("Strahl.dat"), {"01 waagerecht"});
    EXPECT_EQ(runCli({"catalogue", "check", dir.path()}), 1);
}

} // namespace
