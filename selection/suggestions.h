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
    bool feasible = false;
    QStringList reasons; // why it is not feasible, or why it could not be evaluated
    bool vertical = false;
    int count = 0; // the whole count the flow per outlet is for
    double flowPerOutlet = 0, dp = 0, lwa = 0;
    std::optional<double> aMin, wMin, criticalDistance, yMax;
    double vMid = 0;
    std::optional<double> vLeft, vRight;
    std::optional<double> draughtRating;
    QString draughtCategory;
    double soundMargin = 0; // permitted level minus LWA
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

} // namespace fyl
