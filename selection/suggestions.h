// Suggestions for a room: every calculable catalogue choice taken over and evaluated as the
// selection would, judged against the room's limits and ranked. Core layer (fylcore).
#pragma once

#include "frame/dialogs.h"
#include "selection/planchoice.h"

#include <optional>
#include <vector>

namespace fyl {

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
};

// Takes `choice` over into `rec` itself, as the selection window would, and evaluates it; what
// fails becomes a reason. The selection's messages go to `dialogs`, its questions are answered there.
Suggestion takeOverChoice(const Catalogue& catalogue, CalculationRecord& rec, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice, Dialogs& dialogs);

// Takes `choice` over into a copy of `room` and evaluates it; what fails becomes a reason.
Suggestion evaluateChoice(const Catalogue& catalogue, const CalculationRecord& room, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice);

// Feasible before infeasible, then fewest outlets, lowest pressure drop, largest sound margin.
bool ranksBefore(const Suggestion& a, const Suggestion& b);

// Every offered choice evaluated and ranked.
std::vector<Suggestion> suggestOutlets(const Catalogue& catalogue, const CalculationRecord& room,
                                       const TextTable& texts, const Folders& folders);
// The head of that ranking, found without the critical-distance search of the choices that cannot
// head it; none when nothing is offered.
std::optional<Suggestion> bestSuggestion(const Catalogue& catalogue, const CalculationRecord& room,
                                         const TextTable& texts, const Folders& folders);

// The suggestion list as the selection window shows it: the column headings and one row of
// texts per suggestion, in the order given, the first column its rank. Each cell has the number
// it sorts by, where it shows a figure (a missing figure sorts as the least).
struct SuggestionRow {
    QStringList cells;
    std::vector<std::optional<double>> sortKeys; // one per cell; none: sorted by its text
    bool feasible = false;
};
QStringList suggestionColumns();
std::vector<SuggestionRow> suggestionRows(const std::vector<Suggestion>& list);

} // namespace fyl
