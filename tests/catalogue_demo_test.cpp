// The demo catalogue that ships in data/: it must be what its source builds, load cleanly,
// resolve every size and jet form, and give plausible numbers in the jet formulas.

#include "catalogue/cataloguesource.h"
#include "catalogue/checker.h"
#include "catalogue/loaders.h"
#include "catalogue/lookups.h"
#include "frame/jetkind.h"
#include "frame/texttable.h"
#include "tests/support/testfiles.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

#include <cmath>

using namespace fyl;

namespace {

const QString kData = QStringLiteral(ZELK_SOURCE_DIR "/data");

TEST(CatalogueDemo, CommittedFilesAreWhatTheSourceBuilds) {
    const BuiltCatalogue built =
        buildCatalogueFromFile(QStringLiteral(ZELK_SOURCE_DIR "/tools/catalogue/zelk-catalogue.json"));
    ASSERT_EQ(built.files.size(), 7u);
    for (const auto& [name, bytes] : built.files) {
        EXPECT_TRUE(test::readFile(kData + QLatin1Char('/') + name) == bytes)
            << name.toStdString() << " in data/ differs from the source; run: zelkfyl-cli catalogue build "
            << "tools/catalogue/zelk-catalogue.json data";
        EXPECT_TRUE(test::readFile(QStringLiteral(ZELK_PROGRAM_DIR "/") + name) == bytes)
            << name.toStdString();
    }
}

TEST(CatalogueDemo, ChecksCleanAndCoversEveryDesignJetFormAndInstallationKind) {
    for (const auto& f : checkCatalogue(kData))
        ADD_FAILURE() << formatFinding(f).toStdString();
    Catalogue c;
    LoadCatalogue(c, kData);
    QSet<QChar> designs;
    QSet<QString> jetForms;
    for (int j = 0; j < c.indexCount; ++j) {
        designs << columnText(c.catalogueIndex[j], indexline::kDesign).at(0);
        jetForms << columnText(c.catalogueIndex[j], indexline::kJetFormCode);
    }
    EXPECT_EQ(designs, (QSet<QChar>{'0', '1', '2', '3'}));
    EXPECT_EQ(jetForms, (QSet<QString>{"01", "02", "03", "04", "05", "06"}));
    EXPECT_GE(c.outletListCount, 4);
    for (int k = 0; k < 8; ++k)
        EXPECT_FALSE(c.characteristicNames1[k].isEmpty() || c.characteristicNames2[k].isEmpty() ||
                     c.characteristicNames3[k].isEmpty());
    // At least one listed type has no index lines: it is offered as a data sheet only.
    bool dataSheetOnly = false;
    for (int i = 0; i < c.outletListCount; ++i)
        for (const QString& name :
             c.outletListLines[i].mid(outletlistline::kTypeNamesFrom - 1).split('/', Qt::SkipEmptyParts))
            dataSheetOnly = dataSheetOnly || !FindIndexLine(c, name).found;
    EXPECT_TRUE(dataSheetOnly);
}

// A horizontal jet form has one meaning: the rule's sides, the jet form list, the hint and every
// record's third name say the same, and a one-sided jet carries the whole flow of its slot to one
// side, so it throws and stays attached farther than the two-sided jet of the same size.
TEST(CatalogueDemo, TheSidesOfAJetFormAreTheSameInTheRuleTheTextsAndTheData) {
    Catalogue c;
    LoadCatalogue(c, kData);
    TextTable texts;
    texts.load(kData + QStringLiteral("/Fyltext.txt"));
    QHash<QString, double> decayK; // size and jet form -> K
    for (int j = 0; j < c.indexCount; ++j) {
        const QString line = c.catalogueIndex[j];
        const QString jet = columnText(line, indexline::kJetFormCode);
        const JetFormRule rule = jetFormOf(u"2", jet);
        if (jet != QLatin1String("04") && jet != QLatin1String("05") && jet != QLatin1String("06"))
            continue;
        const QString sides = rule.oneSided ? QStringLiteral("einseitig") : QStringLiteral("zweiseitig");
        SCOPED_TRACE(line.toStdString());
        EXPECT_TRUE(c.jetFormNames[jet.toInt() - 1].contains(sides));
        EXPECT_TRUE(texts.text(rule.hintEntry).contains(sides)) << texts.text(rule.hintEntry).toStdString();
        const OutletRecord r =
            ReadOutletRecord(kData, columnText(line, indexline::kRecordNumber).trimmed().toInt() - 1);
        EXPECT_EQ(r.thirdNameText(), sides);
        const double k = r.decayK; // a copy: the record is packed, a reference to its field misaligned
        decayK.insert(columnText(line, indexline::kSizeName).trimmed() + (rule.oneSided ? "/1" : "/2"), k);
    }
    int compared = 0; // LSB 20, LSB 25, STR 15, STR 25
    for (auto k = decayK.begin(); k != decayK.end(); ++k)
        if (k.key().endsWith(QLatin1String("/1")) && decayK.contains(k.key().chopped(1) + '2')) {
            EXPECT_GT(k.value(), 1.2 * decayK.value(k.key().chopped(1) + '2')) << k.key().toStdString();
            ++compared;
        }
    EXPECT_GE(compared, 4);
}

// The under-temperature each type with a horizontal jet is sold for [K].
const QHash<QString, double> kSoldForUnderTemperature = {{"DRL", 11.0}, {"HDR", 11.0}, {"DQA", 8.0},
                                                         {"LSA", 8.0},  {"LSB", 8.0},  {"STR", 8.0},
                                                         {"WGA", 6.0},  {"WDS", 6.0},  {"DUE", 6.0}};

double power(double x, double y) {
    return x == 0 ? 0 : std::exp(y * std::log(x));
}

// Walks every size and jet form as the selection does: the key finds the line, the line's record
// number reads a record that belongs to it, and the record's numbers are plausible.
TEST(CatalogueDemo, EverySizeAndJetFormResolvesToAPlausibleRecord) {
    Catalogue c;
    LoadCatalogue(c, kData);
    int types = 0;
    for (int t = 1; t < 25 && !c.typeCodeList[t].isEmpty(); ++t) {
        ++types;
        const QString code = c.typeCodeList[t];
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral(ZELK_PROGRAM_DIR "/Fyl_Bilder/") + code + ".bmp"))
            << code.toStdString();
        for (int j = 0; j < c.indexCount; ++j) {
            const QString line = c.catalogueIndex[j];
            if (columnText(line, indexline::kTypeCode) != code)
                continue;
            const QString name = columnText(line, indexline::kSizeName);
            const QString jetFormCode = columnText(line, indexline::kJetFormCode);
            const IndexLineMatch match = FindIndexLine(c, sizeKey(name, jetFormCode[1]));
            ASSERT_EQ(match.lineNo, j + 1) << name.toStdString();
            const OutletRecord r =
                ReadOutletRecord(kData, columnText(line, indexline::kRecordNumber).trimmed().toInt() - 1);
            SCOPED_TRACE(name.toStdString() + " " + jetFormCode.toStdString());
            EXPECT_EQ(r.jetFormCodeText(), jetFormCode);
            EXPECT_EQ(r.typeNameText(), code);
            EXPECT_TRUE(name.contains(r.sizeNameText()));
            const double vMin = r.vMin, vMax = r.vMax;
            for (double V : {vMin, vMax}) {
                const double dp = r.pressureK * power(V, r.pressureM);
                const double lwa = r.soundA * std::log10(V) + r.soundB;
                EXPECT_GE(dp, 8.0) << V;
                EXPECT_LE(dp, 65.0) << V;
                EXPECT_GE(lwa, 20.0) << V;
                EXPECT_LE(lwa, 50.0) << V;
            }
            const double V = std::sqrt(vMin * vMax);
            const QString jet = r.jetFormCodeText();
            if (jet == "02" || jet == "03") {
                const double depth = r.penCoef * power(V, r.penFlowExp) * power(6.0, -r.penTempExp);
                EXPECT_GE(depth, 1.5);
                EXPECT_LE(depth, 10.0);
                continue;
            }
            const double throwTo02 = power(0.2 / (r.decayK * V), -1.0 / r.decayA);
            const double detach = r.detachC * power(V, r.detachFlowExp) / power(6.0, r.detachTempExp);
            const double drop = power(throwTo02 / 2, r.trajExp) * r.buoyancy * 6.0 / (V * V);
            EXPECT_GE(throwTo02, 1.5);
            EXPECT_LE(throwTo02, code == "DUE" ? 25.0 : 8.0);
            EXPECT_GT(detach, 1.0);
            // At medium flow the jet stays on the ceiling over its whole throw up to the
            // under-temperature the outlet is sold for, and no further.
            const double medium = (vMin + vMax) / 2;
            const double throwAtMedium = power(0.2 / (r.decayK * medium), -1.0 / r.decayA);
            const double attachedUpTo =
                power(r.detachC * power(medium, r.detachFlowExp) / throwAtMedium, 1.0 / r.detachTempExp);
            EXPECT_NEAR(attachedUpTo, kSoldForUnderTemperature.value(code, 0.0), 0.15);
            EXPECT_GT(drop, 0.3); // once off the ceiling a cooled jet visibly sinks within half its throw
            EXPECT_LT(+r.zoneCoef, 0.0);
        }
    }
    EXPECT_GE(types, 8);
}

} // namespace
