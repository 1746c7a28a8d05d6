// The JSON of an evaluation as evaluate and plan print it: the results the record holds, the
// count range, the working values and every control the view fills. Application layer over the
// core.
#pragma once

#include "calc/evaluation.h"
#include "frame/record.h"
#include "results/resultsview.h"

#include <QJsonObject>

namespace fyl::cli {

QJsonObject evaluationJson(const CalculationRecord& rec, const WorkingValues& working, int calcStatus,
                           const ResultsView& view);

} // namespace fyl::cli
