// What a command works on: the project's record, the program directory's texts and catalogue, and
// the one way of loading a project and evaluating it as the calculation window shows it.
// Application layer over the core.
#pragma once

#include "catalogue/catalogue.h"
#include "cli/options.h"
#include "frame/dialogs.h"
#include "frame/record.h"
#include "frame/runstate.h"
#include "frame/texttable.h"
#include "results/resultsview.h"

#include <QStringList>
#include <QTextStream>

#include <initializer_list>
#include <memory>
#include <optional>

namespace fyl::cli {

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
    std::optional<QString> chooseFolder(const FileDialogRequest&) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }

private:
    QTextStream& err_;
};

// The project's record, the program's texts and catalogue, and the flags and values the windows
// would keep beside them.
struct Session {
    std::unique_ptr<CalculationRecord> record = std::make_unique<CalculationRecord>();
    TextTable texts;
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;
    Catalogue catalogue; // loaded only for the commands that choose outlets
    Folders folders;
};

enum class WithCatalogue { No, Yes };

// The program directory's text table. A missing or unreadable one raises FileError naming it: every
// message, label and hint of the results comes from it, and without it they would be empty.
void loadProgramTexts(TextTable& texts, const QString& programDir);

// The files of the program directory a command may read: the text table, the catalogue and the
// letterhead picture. No output may replace one of them.
QStringList programDataFiles(const QString& programDir);

// A wrong call (exit 2, nothing read or written) when an output is the same file as an input or as
// another output.
void refuseOutputClash(const CommandLine& call, const QStringList& inputs, const QStringList& outputs);
// The same for a command on a project: the project and the program directory's data files are its
// inputs, the files of those of `outputOptions` that the call gives its outputs.
void refuseProjectOutputClash(const CommandLine& call, std::initializer_list<const char*> outputOptions);

// The program directory's texts, its catalogue when asked for, then the project: the last whole
// record of the file (a damaged file raises FileError).
void openProject(Session& session, const QString& programDir, const QString& project,
                 WithCatalogue catalogue = WithCatalogue::No);

// The loaded project as the calculation window shows it, after `countByHand` moved the count
// scroll bar. A jet form code without an evaluation is Refused, the reason followed by
// `nothingDone`.
ResultsView evaluateAsShown(Session& session, const QString& nothingDone,
                            std::optional<int> countByHand = std::nullopt);

} // namespace fyl::cli
