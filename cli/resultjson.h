// The JSON of an evaluation as evaluate and plan print it: the results the record holds, the
// count range, the working values and every control the view fills. Application layer over the
// core.
#pragma once

#include "calc/evaluation.h"
#include "frame/dialogs.h"
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

// What the windows would show in a message box goes to standard error; every question is answered
// Yes (and says so), file and print dialogs are cancelled.
class AnsweringDialogs : public Dialogs {
public:
    explicit AnsweringDialogs(QTextStream& err) : err_(err) {}
    void information(const QString& text) override { err_ << text << "\n"; }
    bool confirm(const QString& text) override {
        err_ << text << " – Ja\n";
        return true;
    }
    void error(const QString& message) override { err_ << message << "\n"; }
    std::optional<QString> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }

private:
    QTextStream& err_;
};

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
