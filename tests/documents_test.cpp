// The catalogue's documents: the data sheets' charts against the formulas, the tender texts and
// data sheets the build lays into the program directory, the command that writes them, and the
// calculation window's tender text command.
#include "catalogue/cataloguesource.h"
#include "catalogue/loaders.h"
#include "catalogue/lookups.h"
#include "fixtures/calcfixture.h"
#include "frame/record.h"
#include "print/cataloguedocuments.h"
#include "print/datasheet.h"
#include "results/resultswindow.h"
#include "tests/support/clirun.h"
#include "tests/support/scripted.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace fyl;

namespace {

OutletRecord outlet(const char* jetForm) {
    return test::ceilingDiffuserState(jetForm)->record.outlet;
}

const SheetChart* chartOf(const std::vector<SheetChart>& charts, SheetQuantity quantity) {
    for (const SheetChart& c : charts)
        if (c.quantity == quantity)
            return &c;
    return nullptr;
}

} // namespace

// The fixture's diffuser: dp = 0.01 V²; LWA = 20 lg V - 5 with the program's lg factor 0.434294481;
// the throw along the ceiling to 0.2 m/s is K V / 0.2 = 0.032 V / 0.2 for a decay exponent of 1.
TEST(DataSheetCharts, ValuesAreTheEvaluationsFormulasWithOneCurvePerSize) {
    DocumentedType type;
    type.name = QStringLiteral("DLQ");
    type.calculable = true;
    OutletRecord vertical = outlet("02");
    vertical.decayK = 0.011; // another throw, the same pressure drop and sound
    type.sizes = {
        {QStringLiteral("DLQ 625"), QStringLiteral("0"), 50, 150, {}, {{1, "01 waagerecht", outlet("01")}}},
        {QStringLiteral("DLQ 825"),
         QStringLiteral("0"),
         220,
         520,
         {},
         {{1, "01 waagerecht", outlet("01")}, {2, "02 senkrecht", vertical}}}};
    const std::vector<SheetChart> charts = sheetCharts(type, 2);

    const SheetChart* dp = chartOf(charts, SheetQuantity::PressureDrop);
    const SheetChart* lwa = chartOf(charts, SheetQuantity::SoundPower);
    const SheetChart* throwChart = chartOf(charts, SheetQuantity::Throw);
    const SheetChart* penetration = chartOf(charts, SheetQuantity::Penetration);
    ASSERT_TRUE(dp && lwa && throwChart && penetration && chartOf(charts, SheetQuantity::Detachment));
    ASSERT_EQ(dp->curves.size(), 2u); // the vertical jet form of DLQ 825 adds no pressure curve
    EXPECT_TRUE(dp->jetForms.isEmpty());
    const ChartCurve& small = dp->curves[0];
    ASSERT_EQ(small.points.size(), 2u);
    EXPECT_EQ(small.points[0].flow, 50.0);
    EXPECT_NEAR(small.points[0].value, 25.0, 1e-9);
    EXPECT_EQ(small.points[1].flow, 150.0);
    EXPECT_NEAR(small.points[1].value, 225.0, 1e-9);
    EXPECT_NEAR(lwa->curves[0].points[0].value, 28.979400016, 1e-8);
    EXPECT_NEAR(lwa->curves[0].points[1].value, 38.521825091, 1e-8);
    EXPECT_NEAR(throwChart->curves[0].points[0].value, 8.0, 1e-9);

    // The jet charts belong to their jet forms: the throw to the horizontal ones, the penetration
    // (0.001 V / 10 K) to DLQ 825's vertical one alone.
    EXPECT_EQ(throwChart->curves.size(), 2u);
    ASSERT_EQ(penetration->curves.size(), 1u);
    EXPECT_EQ(penetration->curves[0].size, 1);
    EXPECT_EQ(penetration->jetForms, QStringList{"02 senkrecht"});
    EXPECT_NEAR(penetration->curves[0].points[0].value, 0.022, 1e-9);
}

// What the build laid out: every type the selection offers has its data sheet under the name the
// selection window opens, every calculable size its tender text, written from the catalogue.
TEST(CatalogueDocuments, TheBuiltProgramDirectoryHasEveryTenderTextAndDataSheet) {
    const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
    Catalogue catalogue;
    LoadCatalogue(catalogue, program);
    const std::vector<OfferedType> types = offeredTypes(catalogue);
    int sheetOnly = 0;
    for (const OfferedType& type : types) {
        const QByteArray pdf =
            test::readFile(program + QStringLiteral("/catalog/") + type.name + QStringLiteral(".pdf"));
        EXPECT_TRUE(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF")) << type.name.toStdString();
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
        EXPECT_GE(QString::fromLatin1(pdf).count(page), type.calculable ? 2 : 1) << type.name.toStdString();
        if (!type.calculable) {
            ++sheetOnly;
            continue;
        }
        for (const OfferedSize& size : type.sizes) {
            ASSERT_TRUE(size.line);
            if (!size.line->dataSheet.isEmpty()) {
                EXPECT_TRUE(QFileInfo(program + QStringLiteral("/catalog/") + size.line->dataSheet).isFile());
            }
            for (const OfferedJetForm& form : size.jetForms) {
                const QString name = ReadOutletRecord(program, *form.record).tenderTextName();
                ASSERT_FALSE(name.isEmpty()) << size.name.toStdString();
                const QByteArray bytes = test::readFile(program + QStringLiteral("/Aus_texte/") + name);
                ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << name.toStdString();
                QStringDecoder utf8(QStringDecoder::Utf8);
                const QString text = utf8(bytes);
                EXPECT_FALSE(utf8.hasError()) << name.toStdString();
                // The size with its flow range as the catalogue gives it, every line ended by CR LF.
                EXPECT_TRUE(text.contains(QRegularExpression(
                    QRegularExpression::escape(size.name) +
                    QStringLiteral(" +%1 – %2 ").arg(size.line->smallestFlow).arg(size.line->largestFlow))))
                    << name.toStdString() << " " << size.name.toStdString();
                EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
            }
        }
    }
    EXPECT_GE(sheetOnly, 1);
}

// A listed type without texts for its documents stops the whole run before anything is written.
TEST(CatalogueDocuments, ATypeWithoutTextsFailsTheRunAndWritesNothing) {
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program"));
    const QByteArray demo =
        test::readFile(QStringLiteral(ZELK_SOURCE_DIR "/tools/catalogue/zelk-catalogue.json"));
    QJsonObject source = QJsonDocument::fromJson(demo).object();
    QJsonArray installations = source[QStringLiteral("installations")].toArray();
    QJsonObject first = installations[0].toObject();
    first[QStringLiteral("types")] = QJsonArray{"DRL", "ZZZ"};
    installations[0] = first;
    source[QStringLiteral("installations")] = installations;
    const QString sourcePath = dir.filePath(QStringLiteral("source.json"));
    test::writeFile(sourcePath, QJsonDocument(source).toJson());
    writeCatalogueFiles(buildCatalogue(QJsonDocument(source).toJson()), program);
    test::writeFile(program + QStringLiteral("/Fyl_Bilder/image5.bmp"),
                    test::readFile(QStringLiteral(ZELK_PROGRAM_DIR "/Fyl_Bilder/image5.bmp")));

    const test::CliRun failed = test::runCli({QStringLiteral("documents"), sourcePath, program});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains("ZZZ")) << failed.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(program + QStringLiteral("/Aus_texte")));
    EXPECT_FALSE(QFileInfo::exists(program + QStringLiteral("/catalog")));

    // With its sizes under "data_sheet_types" it gets a sheet; types without a picture get the
    // fallback the selection window shows.
    QJsonArray sheetOnly = source[QStringLiteral("data_sheet_types")].toArray();
    sheetOnly.append(
        QJsonObject{{"code", "ZZZ"},
                    {"documents", QJsonObject{{"name", "Zuluftziel"}, {"description", "Ein Test."}}},
                    {"sizes", QJsonArray{QJsonObject{{"name", "ZZZ 1"}, {"v_min", 1}, {"v_max", 2}}}}});
    source[QStringLiteral("data_sheet_types")] = sheetOnly;
    test::writeFile(sourcePath, QJsonDocument(source).toJson());
    const test::CliRun written = test::runCli({QStringLiteral("documents"), sourcePath, program});
    EXPECT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_TRUE(test::readFile(program + QStringLiteral("/catalog/ZZZ.pdf")).startsWith("%PDF-"));
    EXPECT_TRUE(QFileInfo(program + QStringLiteral("/Aus_texte/DRL.txt")).isFile());
}

namespace {

struct TenderTextWindow {
    std::unique_ptr<CalculationRecord> record = std::make_unique<CalculationRecord>();
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;
    TextTable texts;
    test::ScriptedDialogs dialogs;
    test::RecordingShell shell;
    Folders folders;
    QTemporaryDir dir;

    TenderTextWindow() {
        std::memset(record.get(), 0, sizeof *record);
        const QString path = dir.filePath(QStringLiteral("Fyltext.txt"));
        test::writeAnsiLines(
            path, test::textTableLines(200, [](int n) { return QStringLiteral("Text %1").arg(n); }));
        texts.load(path);
        folders.program = dir.path();
    }
    ResultsWindowOutcome click(const char* name) {
        std::memset(record->outlet.tenderText, 0, sizeof record->outlet.tenderText);
        std::memcpy(record->outlet.tenderText, name, std::strlen(name));
        dialogs.shown.clear();
        shell.opened.clear();
        ResultsWindowModel model({*record, flags, working, calcStatus, texts, dialogs});
        return model.Ausschreibungstext1Click(folders, shell);
    }
    QStringList shown() const { return dialogs.texts(test::ScriptedDialogs::Shown::Information); }
};

} // namespace

TEST(TenderTextCommand, OpensTheOutletsTextOrSaysWhyNotAndClosesTheFlowPicture) {
    TenderTextWindow w;
    const QString path = QDir::toNativeSeparators(w.dir.path() + QStringLiteral("/Aus_texte/DRL.txt"));
    EXPECT_TRUE(w.click("DRL.txt").hideFlowSimulation);
    EXPECT_EQ(w.shell.opened, (QStringList{QStringLiteral("?") + path, path}));
    EXPECT_TRUE(w.shown().isEmpty());

    EXPECT_TRUE(w.click("").hideFlowSimulation);
    EXPECT_EQ(w.shown(), QStringList{"Text 98"});
    EXPECT_TRUE(w.shell.opened.isEmpty());

    w.shell.handlerAvailable = false;
    EXPECT_TRUE(w.click("DRL.txt").hideFlowSimulation);
    EXPECT_EQ(w.shown(), QStringList{"Text 100"});
    EXPECT_EQ(w.shell.opened, QStringList{QStringLiteral("?") + path});

    // A project file's record could name a file elsewhere; the shell is not even asked about it.
    w.shell.handlerAvailable = true;
    for (const char* outside : {"../fyl.exe", "..\\fyl.exe", "C:fyl.exe", ".."}) {
        EXPECT_TRUE(w.click(outside).hideFlowSimulation);
        EXPECT_EQ(w.shown(), QStringList{"Text 100"}) << outside;
        EXPECT_TRUE(w.shell.opened.isEmpty()) << outside;
    }
}
