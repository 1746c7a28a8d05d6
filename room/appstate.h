// Everything the windows share, one instance of it assembled where the program starts. Core layer
// (QtCore only), but for the windows and programs alone: core functions take only the parts they
// need, so that no core file depends on all the others (the layering check refuses it).
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
