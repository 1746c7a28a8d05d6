// The judgement of the outlet in the record as the calculation window shows it under its results:
// the layout, the draught rating and one line per failed check, or that every check holds. Core
// layer (fylcore); the window only applies the view.
#pragma once

#include "calc/judgement.h"
#include "results/resultsview.h"

#include <optional>

namespace fyl {

// Adds the judgement's controls to `view`: the layout, the draught line (the judgement's own
// rating, the one the suggestion list shows), and the failed checks in red or the green line that
// all hold. None (the record's outlet could not be judged) says so in red.
void judgementView(const std::optional<Judgement>& judgement, ResultsView& view);

// The judgement's draught rating as the window and the report word it: "16,5 % – Kategorie B",
// marked where the room's temperature leaves it undecided. Empty without a rating.
QString draughtRatingText(const Judgement& judgement);

// Hides the judgement: an outlet without an evaluation has nothing judged.
void hideJudgement(ResultsView& view);

} // namespace fyl
