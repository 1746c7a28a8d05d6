// The parts of the state a planning action works on, and one action's copies of what it may change (record,
// flags, working values, status), stored back only when the action ends without an error. Every window model
// works this way. Core layer (fylcore).
#pragma once

#include "calc/evaluation.h"
#include "frame/dialogs.h"
#include "frame/record.h"
#include "frame/runstate.h"
#include "frame/texttable.h"
#include "results/outletresults.h"

namespace fyl {

// The parts of the program state every window model works on; each model adds what it needs more.
struct PlanningParts {
    CalculationRecord& record;
    RuntimeFlags& flags;
    WorkingValues& working;
    int& calcStatus; // status of the last formula call
    const TextTable& texts;
    Dialogs& dialogs;
};

struct PlanningCopy {
    CalculationRecord rec;
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;

    // From any parts bundle with the members record, flags, working and calcStatus.
    template <class Parts>
    explicit PlanningCopy(const Parts& p)
        : rec(p.record), flags(p.flags), working(p.working), calcStatus(p.calcStatus) {}
    template <class Parts> void storeInto(Parts& p) const {
        p.record = rec;
        p.flags = flags;
        p.working = working;
        p.calcStatus = calcStatus;
    }
    // The copies as an evaluation works on them.
    EvaluationParts evaluationParts(const TextTable& texts) {
        return {rec, working, calcStatus, flags, texts};
    }
};

} // namespace fyl
