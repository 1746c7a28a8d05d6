// The JSON of an evaluation as evaluate and plan print it: the results the record holds, the
// count range, the working values and every control the view fills. Application layer over the
// core.
#pragma once

#include "calc/evaluation.h"
#include "calc/judgement.h"
#include "frame/record.h"
#include "results/resultsview.h"

#include <QJsonArray>
#include <QJsonObject>

#include <optional>
#include <vector>

namespace fyl::cli {

// `judgement` adds the layout and every check the outlet was judged by, as `rank` lists them.
QJsonObject evaluationJson(const CalculationRecord& rec, const WorkingValues& working, int calcStatus,
                           const ResultsView& view, const std::optional<Judgement>& judgement = std::nullopt);

// A layout and a list of checks, in the one form every command prints them.
QJsonValue layoutJson(const OutletLayout& layout);
QJsonArray checksJson(const std::vector<LayoutCheck>& checks);

} // namespace fyl::cli
