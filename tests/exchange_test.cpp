// The exchange files of the ceiling-plan and the sound tool: their bytes for a horizontal and a
// vertical outlet, the reading back, and the hand-over that writes the files before the tool starts.
#include "exchange/exchangefiles.h"
#include "exchange/layoutexchange.h"
#include "frame/errors.h"
#include "tests/support/scripted.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace fyl {
namespace {

std::unique_ptr<CalculationRecord> designedRoom() {
    auto rec = std::make_unique<CalculationRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    ResetRecord(*rec);
    std::memcpy(rec->outlet.typeName, "DLX", 3);
    std::memcpy(rec->outlet.sizeName, "125", 3);
    rec->horizontalJet = 1;
    rec->verticalJet = 0;
    rec->outletCount = 4;
    rec->aMin = 2.345;
    rec->wMin = 1.2;
    rec->aMin13 = 3.5;
    rec->wMin13 = 1.75;
    rec->roomWidth = 12.5;
    rec->roomLength = 8;
    rec->roomHeight = 3;
    rec->headHeight = 1.8;
    rec->velocityLimit = 0.2;
    rec->spacing = 3.1;
    rec->wallLeft = 1.55;
    rec->wallRight = 1.5;
    rec->lwa = 34.6;
    rec->projectName.assign(QStringLiteral("Büro 2.14"));
    rec->editor[0].assign(QStringLiteral("A. Planer"));
    rec->editor[1].assign(QStringLiteral("TGA Süd"));
    rec->contactAddress[0].assign(QStringLiteral("Stadtwerke"));
    rec->contactAddress[2].assign(QStringLiteral("Bahnhofstraße 12"));
    rec->projectNumber.assign(QStringLiteral("P-118"));
    rec->projectDate.assign(QStringLiteral("07.12.26"));
    return rec;
}

TEST(ExchangeFiles, BytesForAHorizontalAndAVerticalOutlet) {
    // The planner's locale writes decimal commas; the files keep the point.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto rec = designedRoom();
    const QByteArray ceiling =
        "Typ\r\nDLX 125\r\nKennnummer\r\nxxxxxxxxxxx\r\nAnzahl\r\n4\r\n"
        "a_min\r\n2.35\r\nRand_min\r\n1.20\r\nRaumbreite\r\n12.50\r\n"
        "Rauml\xe4nge\r\n8.00\r\nEinbauabstand\r\n3.10\r\nWandabstand\r\n1.50\r\n"
        "Strahlform (v/h)\r\nh\r\nProjekt\r\nB\xfcro 2.14\r\nBearbeiter\r\nA. Planer\r\n"
        "Raumhoehe\r\n3.00\r\nKopfhoehe\r\n1.80\r\nLuftgeschwindigkeit\r\n0.20\r\n"
        "Minabstand f\xfcr Sitzh\xf6he(1.3 m)\r\n3.50\r\n"
        "Minwandabstand f\xfcr Sitzh\xf6he(1.3 m)\r\n1.75\r\n";
    EXPECT_EQ(exchangeFileBytes(ceilingExchangeLines(*rec)), ceiling);
    const QByteArray sound = "Typ\r\nDLX 125\r\nAnzahl\r\n4\r\nSchallleistungspegel\r\n35\r\n"
                             "Raumdaten\r\n12.50\r\n8.00\r\n3.00\r\n\r\nProjektdaten\r\nB\xfcro 2.14\r\n"
                             "Bearbeiter\r\nA. Planer\r\nTGA S\xfc"
                             "d\r\nAdresse\r\nStadtwerke\r\n\r\n"
                             "Bahnhofstra\xdf"
                             "e 12\r\n\r\n\r\nP-118\r\n07.12.26\r\n";
    EXPECT_EQ(exchangeFileBytes(soundExchangeLines(*rec)), sound);
    EXPECT_EQ(soundExchangeLines(*rec).size(), kSoundExchangeLines);

    rec->horizontalJet = 0;
    rec->verticalJet = 1;
    const QStringList vertical = ceilingExchangeLines(*rec);
    ASSERT_EQ(vertical.size(), kCeilingExchangeLines);
    for (int line : {8, 10, 32, 34})
        EXPECT_EQ(vertical[line - 1], QStringLiteral("--")) << line;
    EXPECT_EQ(vertical[19], QStringLiteral("v"));
    QLocale::setDefault(QLocale::c());
}

TEST(ExchangeFiles, AFullNameFieldAndANonFiniteNumber) {
    auto rec = designedRoom();
    // A name that fills its field has no NUL to end it.
    std::memcpy(rec->outlet.typeName, "ABCDEFGHIJK", 11);
    EXPECT_EQ(ceilingExchangeLines(*rec)[1], QStringLiteral("ABCDEFGHIJK 125"));
    rec->lwa = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(soundExchangeLines(*rec), ArithmeticError);
}

TEST(ExchangeFiles, TheToolsReadWhatTheProgramWrites) {
    auto rec = designedRoom();
    const CeilingExchange c = readCeilingExchange(exchangeFileBytes(ceilingExchangeLines(*rec)));
    EXPECT_EQ(c.outletName, QStringLiteral("DLX 125"));
    EXPECT_EQ(c.outletCount, 4);
    EXPECT_EQ(c.aMin, 2.35);
    EXPECT_EQ(c.wallDistance, 1.5);
    EXPECT_TRUE(c.horizontal);
    EXPECT_EQ(c.project, QStringLiteral("Büro 2.14"));
    const SoundExchange s = readSoundExchange(exchangeFileBytes(soundExchangeLines(*rec)));
    EXPECT_EQ(s.lwa, 35.0);
    EXPECT_EQ(s.roomWidth, 12.5);
    EXPECT_EQ(s.editor[1], QStringLiteral("TGA Süd"));
    EXPECT_EQ(s.address[2], QStringLiteral("Bahnhofstraße 12"));
    EXPECT_EQ(s.projectDate, QStringLiteral("07.12.26"));
}

TEST(ExchangeFiles, TheFileIsWrittenBeforeTheToolStartsAndAFailedWriteStartsNothing) {
    QTemporaryDir dir;
    Folders folders;
    folders.program = dir.filePath(QStringLiteral("prog"));
    folders.temp = dir.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(folders.temp));
    QFile old(QDir(folders.temp).filePath(QStringLiteral("Zoldaten.tmp")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an old file, longer than the new one would be if it were only partly replaced\r\n");
    old.close();
    auto rec = designedRoom();
    test::RecordingShell shell;
    const Catalogue catalogue;
    EXPECT_TRUE(handOverToTool(CompanionTool::CeilingPlan, *rec, catalogue, folders, shell));
    QFile written(old.fileName());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray exchange = written.readAll();
    EXPECT_EQ(exchange, exchangeFileBytes(ceilingExchangeLines(*rec)));
    // The layout file beside it, written with it, names the same outlet, count and room.
    QFile layout(QDir(folders.temp).filePath(QStringLiteral("Zolanordnung.tmp")));
    ASSERT_TRUE(layout.open(QIODevice::ReadOnly));
    EXPECT_TRUE(belongsTo(readLayoutExchange(layout.readAll()), readCeilingExchange(exchange)));
    ASSERT_EQ(shell.started.size(), 1);
    EXPECT_EQ(shell.started[0], companionProgram(folders.program, CompanionTool::CeilingPlan) +
                                    QStringLiteral(" Zoldaten.tmp @") + folders.program);

    folders.temp = dir.filePath(QStringLiteral("gone"));
    for (CompanionTool tool : {CompanionTool::CeilingPlan, CompanionTool::Sound})
        EXPECT_THROW(handOverToTool(tool, *rec, catalogue, folders, shell), FileError);
    EXPECT_EQ(shell.started.size(), 1);
}

} // namespace
} // namespace fyl
