// The selection without windows: listing kinds, types and sizes, the flow filter, jumping ahead,
// the take-over of the outlet, question 166, and the slot tube and linear slot configuration with
// the examples worked by hand.
#include "calc/mountingheight.h"
#include "catalogue/layouts.h"
#include "fixtures/calcfixture.h"
#include "frame/errors.h"
#include "selection/selectionmodel.h"
#include "tests/support/scripted.h"
#include "tests/support/testfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace fyl;

namespace {

QString size(const char* name) {
    return QString::fromLatin1(name).leftJustified(25, QLatin1Char(' '));
}

QString indexLine(const char* name, int jetForm, char design, int record, int least, int greatest) {
    using namespace indexline;
    QString line(kWrittenLength, QLatin1Char(' '));
    setColumnText(line, kSizeName, QString::fromLatin1(name));
    setColumnText(line, kJetFormCode, QStringLiteral("0%1").arg(jetForm));
    setColumnText(line, kDesign, QString(QLatin1Char(design)));
    setColumnText(line, kRecordNumber, QString::number(record).rightJustified(3));
    setColumnText(line, kMountingFlags, QStringLiteral("1000000100000000"));
    setColumnText(line, kAdjustmentFlags, QStringLiteral("0100000000000000"));
    setColumnText(line, kUseFlags, QStringLiteral("0010000000000000"));
    setColumnText(line, kLeastFlow, QString::number(least).rightJustified(4));
    setColumnText(line, kGreatestFlow, QString::number(greatest).rightJustified(4));
    setColumnText(line, kDataSheet, QStringLiteral("%1.pdf").arg(QString::fromLatin1(name).left(3)));
    return line;
}

OutletRecord slotOutlet(const char* type, const char* jetForm, double vMin, double vMax) {
    OutletRecord o = test::ceilingDiffuserState(jetForm)->record.outlet;
    std::memset(o.typeName, 0, sizeof o.typeName);
    std::memcpy(o.typeName, type, 3);
    std::memset(o.sizeName, 0, sizeof o.sizeName);
    o.sizeName[0] = '1';
    o.vMin = vMin;
    o.vMax = vMax;
    return o;
}

class Selection : public testing::Test {
protected:
    void SetUp() override {
        const QString texts = dir.filePath(QStringLiteral("Fyltext.txt"));
        test::writeAnsiLines(
            texts, test::textTableLines(235, [](int n) { return QStringLiteral("Text %1").arg(n); }));
        calc->texts.load(texts);

        const QStringList kinds = {
            QStringLiteral("Decke").leftJustified(27) + QStringLiteral("aaa/BBB/XXX/AAABBB/"),
            QStringLiteral("Nur Datenblatt").leftJustified(27) + QStringLiteral("XXX/YYY/"),
            QStringLiteral("Schlitz").leftJustified(27) + QStringLiteral("LIN/LIS/TUB/"), QString(),
            QStringLiteral("Hinter der Leerzeile")};
        for (int i = 0; i < kinds.size(); ++i)
            catalogue.outletListLines[static_cast<std::size_t>(i)] = kinds[i];
        catalogue.outletListCount = static_cast<int>(kinds.size());
        const char* codes[] = {"AAA", "BBB", "LIN", "LIS", "TUB"};
        for (std::size_t k = 0; k < 5; ++k)
            catalogue.typeCodeList[k + 1] = QString::fromLatin1(codes[k]);
        // Jet form 3's name carries the wrong digit: its size finds no line when it is clicked.
        const char* jetForms[] = {"01 waagerecht", "02 senkrecht", "07 falsch", "04 einseitig",
                                  "05 zweiseitig"};
        for (std::size_t n = 0; n < 5; ++n)
            catalogue.jetFormNames[n] = QString::fromLatin1(jetForms[n]);
        catalogue.jetFormCount = 5;
        for (std::size_t k = 0; k < 8; ++k)
            catalogue.characteristicNames1[k] = QStringLiteral("Ort %1").arg(k + 1);
        const QStringList lines = {
            indexLine("AAA 100", 1, '0', 1, 10, 40),   indexLine("AAA 100", 2, '0', 2, 10, 40),
            indexLine("AAA 200", 1, '0', 1, 50, 300),  indexLine("AAA 300", 1, '0', 1, 400, 900),
            indexLine("AAA 300", 3, '0', 1, 400, 900), indexLine("BBB 1", 1, '0', 1, 100, 200),
            indexLine("LIN 1", 4, '1', 3, 100, 300),   indexLine("LIS 1", 4, '3', 4, 100, 300),
            indexLine("TUB 1", 5, '2', 5, 100, 200)};
        for (int j = 0; j < lines.size(); ++j)
            catalogue.catalogueIndex[static_cast<std::size_t>(j)] = lines[j];
        catalogue.indexCount = static_cast<int>(lines.size());

        OutletRecord records[5] = {calc->record.outlet, test::ceilingDiffuserState("02")->record.outlet,
                                   slotOutlet("LIN", "04", 100, 300), slotOutlet("LIS", "04", 100, 300),
                                   slotOutlet("TUB", "05", 100, 200)};
        records[2].lengthsList.assign(QStringLiteral(" 1000 1500"));
        records[2].countsList.assign(QStringLiteral("  2  3"));
        records[3].lengthsList.assign(QStringLiteral(" 1000"));
        records[3].countsList.assign(QStringLiteral("  2"));
        records[4].sizeTable[1].content.assign(QStringLiteral("  200 mm        1000 1500").leftJustified(73) +
                                               QStringLiteral(" 0  2  3 "));
        test::writeFile(dir.filePath(QStringLiteral("ZELK.emd")),
                        QByteArray(reinterpret_cast<const char*>(records), sizeof records));

        std::memset(&calc->record.outlet, 0, sizeof calc->record.outlet); // nothing taken over yet
        folders.program = dir.path();
        model = std::make_unique<SelectionModel>(SelectionParts{calc->record, calc->flags, calc->working,
                                                                calc->calcStatus, calc->texts, dialogs,
                                                                catalogue, shell, folders});
    }

    const SelectionState& s() const { return model->state(); }
    int indexOf(const SelectionList& list, const QString& item) const {
        return static_cast<int>(list.items.indexOf(item));
    }
    // Kind, type and size clicked as a planner does.
    SelectionOutcome choose(int kind, const char* type, const char* sizeName = nullptr) {
        model->chooseKind(kind);
        SelectionOutcome out = model->chooseType(indexOf(s().ListBox8, QString::fromLatin1(type)));
        if (sizeName != nullptr)
            out = model->chooseSize(indexOf(s().ListBox9, size(sizeName)));
        return out;
    }

    QTemporaryDir dir;
    Catalogue catalogue;
    std::unique_ptr<test::CalcState> calc = test::ceilingDiffuserState();
    test::ScriptedDialogs dialogs;
    test::RecordingShell shell;
    Folders folders;
    std::unique_ptr<SelectionModel> model;
};

} // namespace

TEST_F(Selection, KindsTypesAndSizesAsTheListsShowThem) {
    EXPECT_EQ(s().listbox1.items, (QStringList{QStringLiteral("Decke").leftJustified(27),
                                               QStringLiteral("Nur Datenblatt").leftJustified(27),
                                               QStringLiteral("Schlitz").leftJustified(27)}));
    model->chooseKind(1); // every type without calculation data
    EXPECT_EQ(s().ListBox2.items, (QStringList{"XXX", "YYY"}));
    EXPECT_TRUE(s().ListBox8.items.isEmpty());
    EXPECT_TRUE(s().ListBox9.items.isEmpty());
    EXPECT_EQ(s().GroupBox4, QStringLiteral("Nur Datenblatt      "));

    model->chooseKind(0); // a name is listed once per code it holds
    EXPECT_EQ(s().ListBox8.items, (QStringList{"AAA", "AAABBB", "AAABBB", "BBB"}));
    EXPECT_EQ(s().ListBox2.items, (QStringList{"XXX"}));
    model->ListBox2Click(0); // a data sheet only: said so, and Info1 opens it from the catalog folder
    EXPECT_EQ(dialogs.texts(test::ScriptedDialogs::Shown::Information), QStringList{"Text 184"});
    model->Info1Click();
    const QString sheet = folders.program + QStringLiteral("/catalog/XXX.pdf");
    EXPECT_EQ(shell.opened, (QStringList{QStringLiteral("?") + sheet, sheet}));
    model->chooseType(0);
    EXPECT_EQ(s().ListBox9.items, (QStringList{size("AAA 100"), size("AAA 200"), size("AAA 300")}));
    EXPECT_EQ(s().ListBox11, (QStringList{"Ort 1", "Ort 8"}));
    EXPECT_EQ(s().Image2, folders.program + QStringLiteral("/Fyl_Bilder/AAA.bmp"));
    EXPECT_EQ(s().dataSheetName, QStringLiteral("AAA.pdf"));

    // The filter holds both ends of a size's range 50 .. 300.
    model->CheckBox1Click(true);
    EXPECT_EQ(calc->record.filterUsed, 1);
    for (int flow : {50, 300, 49, 301}) {
        model->ScrollBar1Change(flow);
        EXPECT_EQ(s().ListBox9.items,
                  flow == 50 || flow == 300 ? QStringList{size("AAA 200")} : QStringList())
            << flow;
    }
    EXPECT_EQ(+calc->record.selectionFlow, 301.0);
}

TEST_F(Selection, Edit1EnterMovesTheScrollBarWithinItsRange) {
    model->setEdit1Text(QStringLiteral("5"));
    model->Edit1Exit();
    EXPECT_EQ(s().ScrollBar1, 10);
    EXPECT_EQ(s().Edit1, QStringLiteral("10"));
    EXPECT_EQ(+calc->record.selectionFlow, 10.0);
    model->setEdit1Text(QStringLiteral("zehn"));
    EXPECT_THROW(model->Edit1Exit(), ConversionError);
    EXPECT_EQ(s().ScrollBar1, 10);
    EXPECT_EQ(+calc->record.selectionFlow, 10.0);
}

TEST_F(Selection, SingleSizeAndJetFormJumpAheadAndWeiterEvaluatesTheOutletAsRead) {
    choose(0, "BBB");
    EXPECT_TRUE(s().groupbox1Visible);
    EXPECT_FALSE(s().listbox1Visible);
    EXPECT_EQ(s().Label17, size("BBB 1"));
    EXPECT_EQ(s().Label11, QStringLiteral(" 100  .......   200"));
    EXPECT_EQ(s().Label19, QStringLiteral(" [ m³/h ]"));
    EXPECT_EQ(s().ListBox10.items, QStringList{"01 waagerecht"});
    EXPECT_TRUE(s().weiterEnabled);
    EXPECT_EQ(calc->record.outlet.typeNameText(), QStringLiteral("DLQ"));

    calc->record.outlet.vMax = 1.0; // forward starts again from the record as read
    const SelectionOutcome out = model->goForward();
    ASSERT_TRUE(out.results);
    EXPECT_TRUE(out.hideSelection && out.showCalculation);
    EXPECT_EQ(out.results->evaluated, JetKind::Horizontal);
    EXPECT_EQ(out.results->form3[form3::Label1].text, QStringLiteral("DLQ  625 A"));
    EXPECT_EQ(out.results->form3[form3::Label44].text, QStringLiteral("Text 86"));
    const CalculationRecord& rec = calc->record;
    EXPECT_EQ(+rec.flowPerOutlet, 93.75); // 750 / trunc(7.5 + 0.9)
    EXPECT_EQ(+rec.countBound2, 5);       // trunc(750 / 150 + 0.999)
    EXPECT_EQ(rec.calculationMode, 1);
    EXPECT_EQ(rec.horizontalJet, 1);
    EXPECT_EQ(rec.resultsWindowFlag, 0); // set for this evaluation, which used it
    EXPECT_EQ(+rec.spacing, 25.2);
}

TEST_F(Selection, AJetFormThatFindsNoRecordLeavesWeiterDisabled) {
    choose(0, "AAA", "AAA 300");
    EXPECT_EQ(s().ListBox10.items, (QStringList{"01 waagerecht", "07 falsch"}));
    model->chooseJetForm(0);
    EXPECT_TRUE(s().weiterEnabled);
    model->chooseJetForm(1);
    EXPECT_EQ(dialogs.texts(test::ScriptedDialogs::Shown::Information), QStringList{"Text 44"});
    EXPECT_FALSE(s().weiterEnabled);
    EXPECT_FALSE(model->goForward().results.has_value());
    EXPECT_EQ(calc->record.calculationMode, 0);

    // A record that cannot be read leaves the read buffer with another outlet: weiter goes off too.
    model->chooseJetForm(0);
    ASSERT_TRUE(s().weiterEnabled);
    QFile::remove(dir.filePath(QStringLiteral("ZELK.emd")));
    EXPECT_THROW(model->chooseJetForm(0), FileError);
    EXPECT_FALSE(s().weiterEnabled);
    // A size with one jet form reads at once; the failed step changes nothing.
    EXPECT_THROW(model->chooseSize(indexOf(s().ListBox9, size("AAA 200"))), FileError);
    EXPECT_EQ(s().Label17, size("AAA 300"));
}

TEST_F(Selection, Design3AsksToMountTheOutletJustBelowTheCeiling) {
    calc->record.roomHeight = 3.0;
    calc->record.mountingHeight = 2.5;
    calc->flags.freshProject = true;
    dialogs.confirmAnswers = {true};
    SelectionOutcome out = choose(2, "LIS");
    EXPECT_EQ(dialogs.texts(test::ScriptedDialogs::Shown::Confirm), QStringList{"Text 166"});
    // The outlet goes just under the ceiling; the room keeps the planner's height.
    EXPECT_EQ(+calc->record.mountingHeight, 2.5);
    EXPECT_EQ(outletMountingHeight(calc->record), 2.9);
    EXPECT_FALSE(out.backToRoomData);
    EXPECT_EQ(s().Label19, QStringLiteral("[ m³/h m ]"));

    calc->record.mountingHeight = 2.5;
    dialogs.confirmAnswers = {false};
    out = choose(2, "LIS");
    EXPECT_TRUE(out.backToRoomData && out.hideSelection);
    EXPECT_FALSE(calc->flags.freshProject);
    EXPECT_EQ(+calc->record.mountingHeight, 2.5);
    EXPECT_TRUE(s().weiterEnabled); // the steps went on behind the closed window
}

TEST_F(Selection, TubeLengthsCountsEndCorrectionAndMountingHeight) {
    calc->record.totalFlow = 600.0;
    calc->record.roomHeight = 3.0;
    calc->record.mountingHeight = 2.9;
    choose(2, "TUB");
    SelectionOutcome out = model->goForward();
    EXPECT_TRUE(s().GroupBox2Visible);
    EXPECT_FALSE(s().ListBox8.enabled);
    EXPECT_EQ(s().Label22, QStringLiteral("Text 65  3,00  Text 66  6,00  [ m ]")); // 600 / 200, 600 / 100
    EXPECT_EQ(out.results->form3[form3::Label1].text, QStringLiteral("TUB  1"));
    EXPECT_EQ(s().ListBox14.items.size(), 1);

    out = model->chooseTubeDiameter(0); // a 200 mm tube reaches 2.80 m at most
    EXPECT_EQ(dialogs.texts(test::ScriptedDialogs::Shown::Information),
              QStringList{"Text 168  2,80    Text 170"});
    EXPECT_EQ(+calc->record.mountingHeight, 2.9);
    EXPECT_EQ(s().ListBox15.items, (QStringList{" 1000", " 1500"}));
    model->chooseTubeLength(1);
    model->chooseTubeSlotCount(1); // 2 slots
    EXPECT_TRUE(s().Button3Enabled);
    EXPECT_EQ(s().Label24, QStringLiteral("3,00  [ m ]"));
    EXPECT_EQ(s().Label26, QStringLiteral("1  bis  2"));

    EXPECT_THROW(model->chooseTubeSlotCount(0), ArithmeticError); // 0 slots: no length per outlet
    EXPECT_EQ(s().Label24, QStringLiteral("3,00  [ m ]"));
    EXPECT_EQ(s().configuration.slotCount, 2);

    // The tube chosen again: its lists start afresh, and so do length and count.
    model->chooseTubeDiameter(0);
    EXPECT_FALSE(s().Button3Enabled);
    model->chooseTubeLength(1);
    model->chooseTubeSlotCount(1);
    EXPECT_TRUE(s().Button3Enabled);

    out = model->goForwardWithTube();
    const CalculationRecord& rec = calc->record;
    EXPECT_EQ(+rec.effectiveLength, 2600.0); // (1500 - 200) * 2
    EXPECT_EQ(+rec.vMinOutlet, 260.0);
    EXPECT_EQ(+rec.vMaxOutlet, 520.0);
    EXPECT_EQ(+rec.countBound1, 1); // as shown for 3.00 m
    EXPECT_EQ(+rec.countBound2, 2);
    EXPECT_EQ(rec.sizeText.str(), QStringLiteral("  200"));
    EXPECT_EQ(outletMountingHeight(rec), 2.8); // the tube hangs there; the room stays at 2,90 m
    ASSERT_TRUE(out.results);
    EXPECT_EQ(out.results->evaluated, JetKind::Horizontal);
    EXPECT_EQ(out.results->form3[form3::Label1].text, QStringLiteral("TUB  1/1500/2 (  200)"));
    EXPECT_EQ(rec.calculationMode, 1);
}

TEST_F(Selection, LinearSlotCountRangesAndForward) {
    calc->record.totalFlow = 1200.0;
    choose(2, "LIN");
    model->goForward();
    EXPECT_EQ(s().Label30, QStringLiteral("Text 65  4,00  Text 66  12,00  [ m ]"));
    model->chooseLinearLength(0);
    EXPECT_FALSE(s().Button5Enabled); // two counts offered, none chosen
    model->chooseLinearSlotCount(0);
    EXPECT_EQ(s().Label32, QStringLiteral("2,00  [ m ]"));
    EXPECT_EQ(s().Label34, QStringLiteral("2  <-->  6"));
    model->chooseLinearSlotCount(1); // 4 / 3 + 0.999 truncates to 2
    EXPECT_EQ(s().Label32, QStringLiteral("3,00  [ m ]"));
    EXPECT_EQ(s().Label34, QStringLiteral("2  <-->  4"));
    EXPECT_EQ(+calc->record.effectiveLength, 3000.0);
    EXPECT_EQ(+calc->record.countBound2, 4);

    // A new length voids the old length per outlet until its count is chosen.
    model->chooseLinearLength(1);
    EXPECT_FALSE(s().Button5Enabled);
    EXPECT_TRUE(s().Label32.isEmpty());
    EXPECT_FALSE(model->goForwardWithLinearSlots().results.has_value());
    model->chooseLinearSlotCount(0);
    calc->flags.countSetByHand = true;
    const SelectionOutcome out = model->goForwardWithLinearSlots();
    ASSERT_TRUE(out.results);
    EXPECT_FALSE(calc->flags.countSetByHand);
    EXPECT_EQ(out.results->form3[form3::Label1].text, QStringLiteral("LIN  1 / 1500 / 2"));
    EXPECT_EQ(out.results->form3[form3::Label44].text, QStringLiteral("Text 175"));
    EXPECT_EQ(+calc->record.effectiveLength, 3000.0);

    // A single offered count counts as chosen with the length.
    model->Button4Click();
    model->zurueckClick();
    choose(2, "LIS");
    model->goForward();
    model->chooseLinearLength(0);
    EXPECT_TRUE(s().Button5Enabled);
    EXPECT_EQ(s().Label32, QStringLiteral("2,00  [ m ]"));
}
