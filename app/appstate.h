// The one instance of everything the windows share, assembled where the program starts. The
// windows and app/ include it; no core file does, so the core folders stay free of cycles.
#pragma once

#include "auxiliary/demopictures.h"
#include "calc/evaluation.h"
#include "catalogue/catalogue.h"
#include "frame/record.h"
#include "frame/runstate.h"
#include "frame/texttable.h"
#include "results/outletresults.h"

#include <array>

namespace fyl {

struct AppState {
    CalculationRecord record{};
    RuntimeFlags flags;
    Folders folders;
    TextTable texts;
    Catalogue catalogue;
    WorkingValues working;
    int calcStatus = 0;                     // status of the last formula call
    std::array<int, 2> selectionCounters{}; // two counters the selection window starts from
    DemoPictures demoPictures;              // filled by the demo command, paged by the slideshow

    // The parts an evaluation reads and changes.
    EvaluationParts evaluationParts() { return {record, working, calcStatus, flags, texts}; }
};

} // namespace fyl
