// The dispatcher and the two evaluations as the windows call them: evaluate on the record, turn
// the result into the view of the calculation and flow simulation windows, and commit both only
// when everything succeeded. Core layer (fylcore).
#pragma once

#include "calc/evaluation.h"
#include "frame/record.h"
#include "frame/runstate.h"
#include "frame/texttable.h"
#include "results/resultsview.h"

namespace fyl {

// The parts of the program state an evaluation reads and changes.
struct EvaluationParts {
    CalculationRecord& record;
    WorkingValues& working;
    int& calcStatus; // status of the last formula call
    const RuntimeFlags& flags;
    const TextTable& texts;
};

// The view builders: what each window shows for a result, added to `view`. `rec` is the record
// the result was computed from; they change nothing else and can fail only where a shown value
// does not fit its control (the spacing scroll bar).
void headingView(const CalculationRecord& rec, const TextTable& texts, ResultsView& view);
void countView(const CountResult& count, ResultsView& view);
void horizontalView(const CalculationRecord& rec, const HorizontalResult& result, const TextTable& texts,
                    bool spacingSetInFlowPicture, ResultsView& view);
void verticalView(const CalculationRecord& rec, const VerticalResult& result, const TextTable& texts,
                  ResultsView& view);
// What a view needs besides its texts, for callers that read only the figures (ranking many
// choices): the evaluated kind, the flow per outlet as shown, and the spacing scroll bar, the one
// control a result may not fit. The full views start with these.
void horizontalFigures(const CalculationRecord& rec, const HorizontalResult& result,
                       bool spacingSetInFlowPicture, ResultsView& view);
void verticalFigures(const CalculationRecord& rec, const VerticalResult& result, ResultsView& view);

// The flow per outlet as the calculation window shows it from the count step's flow V: a whole
// outlet's flow for a horizontal jet of design "3", V itself otherwise (per metre for designs "1"
// and "2"). Summaries that stand beside the window take it from here.
double shownFlowPerOutlet(const CalculationRecord& rec, JetKind kind, double V);

// Each runs its evaluation, builds the view and then stores the results, the working values and
// the status. A fault, or a result figure that is not finite, raises ArithmeticError before
// anything is stored, so the record, the working values and the windows keep what they had. With
// RuntimeFlags::figuresOnly the view holds the figures part alone.
ResultsView EvaluateHorizontalJet(EvaluationParts parts);
ResultsView EvaluateVerticalJet(EvaluationParts parts);
// The heading, article number and unit labels, then the evaluation the jet form code asks for;
// a code without an evaluation gives the heading only (`evaluated` stays None).
ResultsView ShowOutletResults(EvaluationParts parts);

} // namespace fyl
