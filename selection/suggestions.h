// Suggestions for a room: every calculable catalogue choice taken over and evaluated as the
// selection would, judged against the room's limits and ranked. Core layer (fylcore).
#pragma once

#include "calc/judgement.h"
#include "calc/outletlayout.h"
#include "frame/dialogs.h"
#include "selection/planchoice.h"

#include <functional>
#include <optional>
#include <vector>

namespace fyl {

// What the ranking asks of a room besides its record: the draught category it must reach.
struct RankingOptions {
    QChar targetCategory = QLatin1Char('B'); // 'A', 'B' or 'C'
    // Told why a choice the catalogue lists cannot be offered (an unreadable detail record, a size
    // table that is no numbers), naming the file and the record; the ranking goes on without it.
    std::function<void(const QString& reason)> skipped;
};

// The checks of a suggestion are the judgement's.
using SuggestionCheck = LayoutCheck;

// One evaluated choice. The figures are the record's after the take-over, exactly what `plan`
// gives; those a jet kind has not stay empty.
struct Suggestion {
    OutletChoice choice;
    QString design;
    QString designation; // the calculation window's heading
    QString jetFormName; // the detail record's name of the jet form ("zweiseitig")
    bool evaluated = false; // the take-over ran an evaluation; the figures below are its
    bool feasible = false;
    QStringList reasons; // why it is not feasible, or why it could not be evaluated
    bool vertical = false;
    int count = 0; // the whole count the flow per outlet is for
    double flowPerOutlet = 0, dp = 0, lwa = 0;
    double shownFlow = 0; // the flow per outlet as the calculation window shows it
    std::optional<double> aMin, wMin, criticalDistance, yMax;
    std::optional<double> xKrit; // the detachment distance, where the window shows one (positive)
    double vMid = 0;
    std::optional<double> vLeft, vRight;
    std::optional<double> draughtRating;
    QString draughtCategory;
    double soundMargin = 0; // permitted level minus LWA
    QString flowShown;      // the flow per outlet as the calculation window shows it, with its unit
    // Where the outlets sit, and the count above is the layout's; the figures above are for it.
    std::optional<OutletLayout> layout;
    std::vector<SuggestionCheck> checks; // those that apply to the choice, in the order of their names
    bool draughtValid = true;            // the rating lies inside the model's range
    double lwaTogether = 0;              // all outlets together: LWA + 10 lg count
    QStringList alternatives;            // choices that differ only in tube or slot length, same figures
    // The flow picture's section the figures are for: the layout's worse one (horizontal jets).
    std::optional<double> pictureSpacing, pictureWall;
    JudgementOrder order; // its place in the ranking
};

// Takes `choice` over into `rec` itself, as the selection window would, searches its layouts
// (each count of its count range, each layout of the count) and evaluates it at the best one: the
// record then holds that count, set by hand, and the worse section of the layout as the flow
// picture's spacing and wall distances. What fails becomes a reason. The selection's messages go
// to `dialogs`, its questions are answered there.
Suggestion takeOverChoice(const Catalogue& catalogue, CalculationRecord& rec, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice, Dialogs& dialogs,
                          const RankingOptions& options = {});

// Takes `choice` over into a copy of `room` and evaluates it; what fails becomes a reason.
Suggestion evaluateChoice(const Catalogue& catalogue, const CalculationRecord& room, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice, const RankingOptions& options = {});

// The order of the list: the judgement's order (judgedBefore of JudgementOrder).
bool ranksBefore(const Suggestion& a, const Suggestion& b);

// Every offered choice evaluated at its best layout and ranked; choices that differ only in the
// tube diameter or the slot length and give the same figures are one, the others its alternatives.
std::vector<Suggestion> suggestOutlets(const Catalogue& catalogue, const CalculationRecord& room,
                                       const TextTable& texts, const Folders& folders,
                                       const RankingOptions& options = {});
// The head of that ranking, found without the critical-distance search of the choices that cannot
// head it; none when nothing is offered.
std::optional<Suggestion> bestSuggestion(const Catalogue& catalogue, const CalculationRecord& room,
                                         const TextTable& texts, const Folders& folders,
                                         const RankingOptions& options = {});

// A suggestion taken over: after `planOutlet` took its choice over into the parts' record, its count
// is set by hand and the flow picture stands at its layout's section; the evaluation runs again
// and its view replaces the outcome's, so the windows show the suggestion as it was ranked.
void showAsSuggested(const Suggestion& suggestion, PlanningParts parts, SelectionOutcome& outcome);


// The suggestion list as the selection window shows it: the column headings and one row of
// texts per suggestion, in the order given, the first column its rank. Each cell has the number
// it sorts by, where it shows a figure (a missing figure sorts as the least).
struct SuggestionRow {
    QStringList cells;
    std::vector<std::optional<double>> sortKeys; // one per cell; none: sorted by its text
    bool feasible = false;
    QString toolTip; // the checks with their figures, one per line
};
QStringList suggestionColumns();
// The line above the list: how many are suitable, and the order they stand in.
QString suggestionSummary(const std::vector<Suggestion>& list);
std::vector<SuggestionRow> suggestionRows(const std::vector<Suggestion>& list);

} // namespace fyl
