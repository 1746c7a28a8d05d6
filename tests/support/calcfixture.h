// A ceiling diffuser in a room whose every result has a short hand computation: the fixture of
// the evaluation tests and the benchmarks. Core only (links fylcore).
#pragma once

#include "calc/evaluation.h"
#include "frame/record.h"
#include "frame/runstate.h"
#include "frame/texttable.h"
#include "results/outletresults.h"

#include <memory>

namespace fyl::test {

// The parts of the program state an evaluation works on, owned in one place.
struct CalcState {
    CalculationRecord record{};
    WorkingValues working;
    int calcStatus = 0;
    RuntimeFlags flags;
    TextTable texts;

    EvaluationParts parts() { return {record, working, calcStatus, flags, texts}; }
};

void setJetForm(CalculationRecord& rec, const char* code);

// Vsound = 10^((35 + 5) / 20) = 100, count 750 / 100 = 7.5, N = 8, V = 93.75; g = 0.032 * 93.75 = 3,
// so the run to 0.2 m/s is 3 / 0.2 = 15 m (decay exponent 1); b dT / G = 274.658203125 * 8 / 93.75² = 0.25.
// Room and mounting height 3 m, head height 1.8 m, limit 0.2 m/s, 35 dB, 100 m².
std::unique_ptr<CalcState> ceilingDiffuserState(const char* jetForm = "01");

} // namespace fyl::test
