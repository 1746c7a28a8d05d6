// The JSON of an evaluation as evaluate and plan print it: the results the record holds, the
// count range, the working values and every control the view fills. Application layer over the
// core.
#pragma once

#include "calc/evaluation.h"
#include "frame/record.h"
#include "frame/runstate.h"
#include "frame/texttable.h"
#include "results/resultsview.h"

#include <QJsonObject>
#include <QTextStream>

#include <memory>

namespace fyl::cli {

QJsonObject evaluationJson(const CalculationRecord& rec, const WorkingValues& working, int calcStatus,
                           const ResultsView& view);

// What one command works on: the project's record, the program's texts, and the flags and values
// the windows would keep beside them.
struct Session {
    std::unique_ptr<CalculationRecord> record = std::make_unique<CalculationRecord>();
    TextTable texts;
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;
};

// The text table of the program directory; without one the texts stay empty, since the numbers do
// not depend on them.
void loadTexts(Session& session, const QString& programDir);
// Reads the project (a damaged file raises FileError). False, after saying so on `err` with
// `nothingDone` appended, when its jet form code has no evaluation.
bool loadEvaluableProject(Session& session, const QString& path, QTextStream& err,
                          const QString& nothingDone);

} // namespace fyl::cli
