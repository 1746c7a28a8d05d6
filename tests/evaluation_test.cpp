// The outlet evaluation and its views, computed by hand: count step, horizontal and vertical
// jets, and faults that must leave everything as it was.
#include "calc/evaluation.h"
#include "fixtures/calcfixture.h"
#include "frame/errors.h"
#include "frame/recordfields.h"
#include "results/outletresults.h"
#include "tests/support/testfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

using namespace fyl;

namespace {

std::unique_ptr<test::CalcState> horizontalState() {
    return test::ceilingDiffuserState();
}

void loadTexts(test::CalcState& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Fyltext.txt"));
    test::writeAnsiLines(path,
                         test::textTableLines(235, [](int n) { return QStringLiteral("Text %1").arg(n); }));
    state.texts.load(path);
}

template <class View> QString textOf(const View& view, typename View::Id id) {
    return view[id].text.value_or(QStringLiteral("<unset>"));
}
template <class View> std::optional<bool> visibleOf(const View& view, typename View::Id id) {
    return view[id].visible;
}
template <class View> std::optional<LabelColour> colourOf(const View& view, typename View::Id id) {
    return view[id].colour;
}

} // namespace

TEST(HorizontalEvaluation, CeilingJetByHand) {
    auto state = horizontalState();
    loadTexts(*state);
    const ResultsView view = ShowOutletResults(state->parts());
    EXPECT_EQ(view.evaluated, JetKind::Horizontal);
    const CalculationRecord& rec = state->record;

    EXPECT_NEAR(+rec.outletCount, 7.5, 1e-12);
    EXPECT_EQ(+rec.flowPerOutlet, 93.75);
    EXPECT_EQ(+rec.countBound2, 5);  // trunc(750 / 150 + 0.999)
    EXPECT_EQ(+rec.countBound1, 15); // trunc(750 / 50)
    EXPECT_EQ(view.countBar->minimum, 5);
    // The field and the bar show the 8 outlets the flow is for, not the middle of the range.
    EXPECT_EQ(textOf(view.form3, form3::Edit1), "8");
    EXPECT_EQ(view.countBar->position, 8);
    EXPECT_EQ(colourOf(view.form3, form3::Edit1), LabelColour::Normal);
    EXPECT_NEAR(+rec.xKrit, 7.5, 1e-12); // 0.64 * 93.75 / 8
    // x0 7.5: lo 1.875, step 0.075; the walk ends at the first s with 0.25 (s - mid) > 0.1:
    // mid 4.6875 -> s 5.1, lo; 6.09375 -> 6.525, lo; 6.796875 -> 7.2, lo; 7.1484375 -> 7.575 > 7.5, hi;
    // 6.97265625 -> 7.425, lo; bracket 0.17578125 <= 0.2.
    EXPECT_NEAR(+rec.criticalDistance, 6.97265625, 1e-12);
    EXPECT_NEAR(+rec.dp, 87.890625, 1e-12);           // 0.01 * 93.75²
    EXPECT_NEAR(+rec.lwa, 34.439425445968446, 1e-12); // 20 * ln 93.75 * 0.434294481 - 5
    EXPECT_NEAR(+rec.aMin, 25.2, 1e-12);              // 2 * (15 - 2 * 1.2)
    EXPECT_NEAR(+rec.wMin, 13.8, 1e-12);              // 15 - 1.2
    EXPECT_NEAR(+rec.aMin13, 23.2, 1e-12);            // 2 * (15 - 2 * 1.7)
    EXPECT_NEAR(+rec.wMin13, 13.3, 1e-12);            // 15 - 1.7
    // The spacing-reset flag takes the distances from the results and clears.
    EXPECT_NEAR(+rec.wallRight, 13.8, 1e-12);
    EXPECT_NEAR(+rec.spacing, 25.2, 1e-12);
    EXPECT_EQ(+rec.resultsWindowFlag, 0);
    EXPECT_NEAR(+rec.vMid, 0.2, 1e-14); // 3 / (2 * 1.2 + 12.6)
    EXPECT_EQ(state->working.dT, 8.0);

    EXPECT_EQ(textOf(view.form3, form3::Label1), "DLQ  625 A");
    EXPECT_EQ(textOf(view.form3, form3::Label7), "93,75");
    EXPECT_EQ(textOf(view.form3, form3::Label13), "( 35 )");
    EXPECT_EQ(textOf(view.form3, form3::Label10), "88");
    EXPECT_EQ(textOf(view.form3, form3::Label15), "34");
    EXPECT_EQ(textOf(view.form3, form3::Label19), "25,20");
    EXPECT_EQ(textOf(view.form3, form3::Label21), "7,50");
    EXPECT_EQ(visibleOf(view.form3, form3::Label23), true);
    EXPECT_EQ(textOf(view.form4, form4::Edit2), "10,00");
    EXPECT_EQ(view.spacingBarPosition,
              -251); // trunc(25.19999999999999929 * -10): 25.2 as a double lies below 25.2
    EXPECT_EQ(textOf(view.form3, form3::Label44), "Text 86");
    EXPECT_EQ(textOf(view.form3, form3::Label39), "5080"); // 25.2² * 8 = 5080.32 m² > 100 m²
    EXPECT_EQ(colourOf(view.form3, form3::Label39), LabelColour::Red);
}

TEST(HorizontalEvaluation, MountingAndHeadHeight) {
    // 3.02 m in a 3.00 m room is not at the ceiling: Kd = 0.032 * 0.5, g = 1.5, run 7.5 m, h = 1.22.
    auto state = horizontalState();
    CalculationRecord& rec = state->record;
    rec.mountingHeight = 3.02;
    rec.resultsWindowFlag = 0;
    rec.wallLeft = 1.0;
    rec.spacing = 4.0;
    ResultsView view = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(+rec.xKrit, 0.0);
    EXPECT_NEAR(+rec.aMin, 10.12, 1e-12);       // 2 * (7.5 - 2 * 1.22)
    EXPECT_NEAR(+rec.wMin13, 5.78, 1e-12);      // 7.5 - (3.02 - 1.3)
    EXPECT_NEAR(+rec.vLeft, 1.5 / 2.22, 1e-14); // 1.5 / (1.22 + 1.0)
    EXPECT_NEAR(+rec.vMid, 1.5 / 4.44, 1e-14);  // 1.5 / (2 * 1.22 + 2.0)
    EXPECT_EQ(visibleOf(view.form3, form3::Label21), false);
    EXPECT_EQ(view.spacingBarPosition, -40);

    rec.mountingHeight = 3.005; // still at the ceiling
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_NEAR(+rec.xKrit, 7.5, 1e-12);
    EXPECT_NEAR(+rec.wMin, 15.0 - 1.205, 1e-12);

    rec.mountingHeight = 3.0;
    rec.headHeight = 1.25;
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(+rec.aMin13, 0.0);
    EXPECT_EQ(+rec.wMin13, 0.0);
    // 1,30 as a double lies above the extended 1.3: the values at 1.3 m are computed, equal to h's.
    rec.headHeight = 1.30;
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_NEAR(+rec.aMin, 23.2, 1e-12);
    EXPECT_DOUBLE_EQ(+rec.aMin13, rec.aMin);
    EXPECT_DOUBLE_EQ(+rec.wMin13, rec.wMin);

    // Below head height: no distances, and the reset flag puts 1 mm everywhere.
    rec.headHeight = 1.8;
    rec.mountingHeight = 1.5;
    rec.resultsWindowFlag = 1;
    state->flags.spacingSetInFlowPicture = true;
    ResultsView low = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(+rec.aMin, 0.0);
    EXPECT_EQ(+rec.spacing, 0.001);
    EXPECT_EQ(textOf(low.form3, form3::Label19), "-----");
    EXPECT_FALSE(low.spacingBarPosition); // the planner's slider is left alone

    // One-sided jets, from a wall ("04") or a tube beside it ("06"): wall distances 1 mm whatever
    // w min is; a two-sided one ("05") keeps w min on either side.
    rec.mountingHeight = 3.0;
    for (const auto& [code, wall] : {std::pair{"04", 0.001}, std::pair{"06", 0.001}, std::pair{"05", 13.8}}) {
        SCOPED_TRACE(code);
        rec.resultsWindowFlag = 1;
        test::setJetForm(rec, code);
        view = EvaluateHorizontalJet(state->parts());
        EXPECT_NEAR(+rec.wallRight, wall, 1e-12); // w min = 15 - 1.2
        EXPECT_NEAR(+rec.spacing, 25.2, 1e-12);
    }
}

TEST(HorizontalEvaluation, ThresholdTexts) {
    auto state = horizontalState();
    CalculationRecord& rec = state->record;
    rec.headHeight = 2.0; // h = 1, so a min = 2 (15 - b) for the vertical weight b
    rec.outlet.decayB = 14.9499999;
    ResultsView view = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(textOf(view.form3, form3::Label19), "0,10"); // 0.1000002
    rec.outlet.decayB = 14.9750001;
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(textOf(view.form3, form3::Label19), "-----"); // 0.0499998

    // 10 lg 100 + 4.6 = 24.5999999584 shows " < 25" here; Vsound = 10^((24.6 - 4.6) / 10) = 100.
    rec.outlet.soundA = 10.0;
    rec.outlet.soundB = 4.6;
    rec.maxSoundLevel = 24.6;
    rec.totalFlow = 1000.0;
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(textOf(view.form3, form3::Label15), " < 25");
    EXPECT_EQ(colourOf(view.form3, form3::Label15), LabelColour::Normal);
    // Five outlets by hand: 200 m³/h, LWA = 10 lg 200 + 4.6 = 27.6 above 24.6.
    state->flags.countSetByHand = true;
    rec.outletCount = 5.0;
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(textOf(view.form3, form3::Label15), "28");
    EXPECT_EQ(colourOf(view.form3, form3::Label15), LabelColour::Red);
}

TEST(CountStep, RoundingOfProposedAndHandSetCounts) {
    auto state = horizontalState();
    CalculationRecord& rec = state->record;
    ResultsView view;
    rec.totalFlow = 705.0; // count 7.05 -> N = trunc(7.95) = 7
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_NEAR(+rec.outletCount, 7.05, 1e-12);
    EXPECT_NEAR(+rec.flowPerOutlet, 705.0 / 7.0, 1e-12);
    EXPECT_EQ(view.countBar->position, 7); // where the figures are, not the middle of 5 … 14
    EXPECT_EQ(textOf(view.form3, form3::Edit1), "7");

    state->flags.countSetByHand = true;
    rec.outletCount = 7.0;
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(view.countBar->position, 7);
    EXPECT_EQ(+rec.outletCount, 7.0); // not proposed again
    // A stored count with a fraction: the bar once stood at trunc(7.02 + 0.99) = 8 beside the
    // flows of trunc(7.02 + 0.9) = 7 outlets.
    rec.outletCount = 7.02;
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(view.countBar->position, 7);
    EXPECT_EQ(textOf(view.form3, form3::Edit1), "7");
    EXPECT_NEAR(+rec.flowPerOutlet, 705.0 / 7.0, 1e-12);
    EXPECT_EQ(colourOf(view.form3, form3::Edit1), LabelColour::Normal);
    // A count beyond the range (a reloaded one, say): the bar at the nearer end, the field red
    // with the count the figures are for.
    rec.outletCount = 20.0;
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(view.countBar->position, 14);
    EXPECT_EQ(textOf(view.form3, form3::Edit1), "20");
    EXPECT_EQ(colourOf(view.form3, form3::Edit1), LabelColour::Red);
    EXPECT_NEAR(+rec.flowPerOutlet, 705.0 / 20.0, 1e-12);

    // The scroll bar's step: 705 / 3 = 235 m³/h lies above V max 150.
    EXPECT_TRUE(SetOutletCountByHand(rec, state->flags, 3));
    EXPECT_FALSE(SetOutletCountByHand(rec, state->flags, 7));
}

TEST(CountStep, ASoundLimitAboveWhatTheOutletCarriesLeavesTheCountToItsRange) {
    auto state = horizontalState();
    CalculationRecord& rec = state->record;
    rec.totalFlow = 705.0;
    rec.maxSoundLevel = 150.0; // Vsound = 10^(150 / 20), far above V max 150
    EvaluateHorizontalJet(state->parts());
    EXPECT_NEAR(+rec.outletCount, 4.7, 1e-12); // 705 / 150
    EXPECT_EQ(+rec.flowPerOutlet, 141.0);      // 705 / 5
    rec.totalFlow = 10.0;                      // 10 / 150 would be no outlet at all
    EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(+rec.outletCount, 1.0);
    EXPECT_EQ(+rec.flowPerOutlet, 10.0);
}

TEST(CountStep, LineOutletsCountPerMetre) {
    auto state = horizontalState();
    CalculationRecord& rec = state->record;
    rec.designCode.assign(QStringLiteral("3"));
    rec.effectiveLength = 2000.0;
    rec.nominalLength = 2500.0;
    rec.countBound1 = 2;
    rec.countBound2 = 9;
    ResultsView view = ShowOutletResults(state->parts());
    // Vsound = 10^((40 - 10 lg 2) / 20) = 100 / sqrt 2 per metre; count = 750 / (2 Vsound).
    EXPECT_NEAR(+rec.outletCount, 5.303300855076443, 1e-9);
    EXPECT_EQ(+rec.flowPerOutlet, 62.5); // 750 / 6 / 2
    EXPECT_EQ(view.countBar->minimum, 2);
    EXPECT_EQ(view.countBar->position, 6); // the 6 outlets of the flow, not the middle of 2 … 9
    EXPECT_EQ(textOf(view.form3, form3::Label7), "125,00"); // design 3 shows the flow of a whole outlet
    EXPECT_EQ(textOf(view.form3, form3::Label1), "DLQ  625 / 2500 / 1");
    // The floor-area hint is an ordinary outlet's; one shown before this outlet is hidden.
    EXPECT_EQ(visibleOf(view.form3, form3::Label39), false);

    // A slot outlet's count is judged by the flow of a whole outlet against the stored per-outlet
    // range (2 m of slot at 50 … 150 per metre: 100 … 300 m³/h), not against the per-metre rating.
    rec.vMinOutlet = 100.0;
    rec.vMaxOutlet = 300.0;
    EXPECT_FALSE(SetOutletCountByHand(rec, state->flags, 3)); // 250 m³/h
    EXPECT_TRUE(SetOutletCountByHand(rec, state->flags, 2));  // 375 m³/h
    view = EvaluateHorizontalJet(state->parts());
    EXPECT_EQ(colourOf(view.form3, form3::Edit1), LabelColour::Red); // every evaluation keeps the warning
}

TEST(VerticalEvaluation, PenetrationAndHeadVelocityByHand) {
    auto state = horizontalState();
    loadTexts(*state);
    CalculationRecord& rec = state->record;
    test::setJetForm(rec, "02");
    rec.outlet.soundA = 10.0;
    rec.outlet.soundB = 4.6;
    rec.maxSoundLevel = 24.6;
    rec.totalFlow = 1000.0;
    rec.roomTemp = 20.0;
    rec.supplyTemp = 19.92;
    ResultsView view = ShowOutletResults(state->parts());
    EXPECT_EQ(view.evaluated, JetKind::Vertical);
    EXPECT_EQ(+rec.flowPerOutlet, 100.0);                // 1000 / trunc(10 + 0.9)
    EXPECT_EQ(state->working.dT, 0.05);                  // 0.08 K counts as 0.05 K
    EXPECT_NEAR(+rec.yMax, 2.0, 1e-13);                  // 0.001 * 100 / 0.05
    EXPECT_NEAR(+rec.vMid, 0.25, 1e-15);                 // 0.003 * 100 / 1.2
    EXPECT_EQ(textOf(view.form3, form3::Label15), "25"); // 24.5999999584, no " < 25" here
    EXPECT_EQ(textOf(view.form3, form3::Label35), "2,00");
    EXPECT_EQ(textOf(view.form4, form4::Label27), "0,25");
    EXPECT_EQ(visibleOf(view.form3, form3::Label39), false);
    EXPECT_EQ(textOf(view.form3, form3::Label44), "Text 89");

    rec.supplyTemp = 28.0; // warm air 8 K above the room: 0.001 * 100 / |-8|
    view = EvaluateVerticalJet(state->parts());
    EXPECT_NEAR(+rec.yMax, 0.0125, 1e-15);
}

// A fault anywhere in an evaluation (the count step, a formula, the view) leaves the record, the
// working values and the status exactly as they were, and the message says what failed.
TEST(EvaluationFaults, AFaultChangesNothing) {
    struct Case {
        const char* what;
        std::function<void(test::CalcState&)> spoil;
        const char* message;
    };
    const Case cases[] = {
        {"count 0, then the flow per outlet divides by N = 0",
         [](test::CalcState& s) { s.record.totalFlow = 0.0; }, "0 / 0"},
        {"a sound slope of 0 leaves Vsound 0", [](test::CalcState& s) { s.record.outlet.soundA = 0.0; },
         "division durch Null"},
        {"a hand-set count beyond 32 bits",
         [](test::CalcState& s) {
             s.flags.countSetByHand = true;
             s.record.outletCount = 3e9;
         },
         "32-Bit"},
        {"a NaN coefficient", [](test::CalcState& s) { s.record.outlet.pressureK = std::nan(""); },
         "pressure_k"},
        // Every result is computed before the spacing slider's position overflows.
        {"a spacing the slider cannot show",
         [](test::CalcState& s) {
             s.record.resultsWindowFlag = 0;
             s.record.spacing = 1e10;
         },
         "32-Bit"},
    };
    for (const Case& c : cases) {
        auto state = horizontalState();
        c.spoil(*state);
        state->working = {1.0, 2.0, 3.0, 4.0};
        state->calcStatus = 77;
        const QByteArray before = recordBytes(state->record);
        try {
            ShowOutletResults(state->parts());
            ADD_FAILURE() << c.what << ": no error";
        } catch (const ArithmeticError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.message))) << c.what << ": " << e.what();
            EXPECT_TRUE(e.message().contains(QStringLiteral("nichts geändert"))) << e.what();
        }
        EXPECT_EQ(recordBytes(state->record), before) << c.what;
        EXPECT_EQ(state->working.V, 1.0) << c.what;
        EXPECT_EQ(state->working.dT, 4.0) << c.what;
        EXPECT_EQ(state->calcStatus, 77) << c.what;
    }

    // The count scroll bar at 0: nothing is marked as set by hand, nothing is stored.
    auto state = horizontalState();
    const QByteArray before = recordBytes(state->record);
    EXPECT_THROW(SetOutletCountByHand(state->record, state->flags, 0), ArithmeticError);
    EXPECT_EQ(recordBytes(state->record), before);
    EXPECT_FALSE(state->flags.countSetByHand);
}

TEST(EvaluationFaults, CodeWithoutEvaluationGivesTheHeadingOnly) {
    auto state = horizontalState();
    state->record.designCode.assign(QStringLiteral("2"));
    state->record.nominalLength = 1200.0;
    state->record.sizeText.assign(QStringLiteral("DN100"));
    test::setJetForm(state->record, "07");
    const ResultsView none = ShowOutletResults(state->parts());
    EXPECT_EQ(none.evaluated, JetKind::None);
    EXPECT_EQ(textOf(none.form3, form3::Label1), "DLQ  625/1200/1 (DN100)");
    EXPECT_FALSE(none.countBar); // neither evaluation ran
}
