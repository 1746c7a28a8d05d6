// Dialogs that answer from a script and a shell that only records: for driving the windows
// without a planner (the short guide's pictures, the tests). Core layer (fylcore).
#pragma once

#include "frame/dialogs.h"
#include "frame/shell.h"

#include <QStringList>

#include <deque>
#include <optional>

namespace fyl {

// Answers the program's questions from queues and records everything it was shown.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        enum Kind { Information, Confirm, Error, OpenFile, SaveFile, Folder, Print } kind;
        QString text;
    };

    std::deque<bool> confirmAnswers; // empty: answer No
    // Answers to questions that may be withdrawn (nothing: "Abbrechen"); none left: as confirm.
    std::deque<std::optional<bool>> withdrawableAnswers;
    std::deque<QString> fileAnswers; // a null QString, or none left: cancel
    std::deque<bool> printAnswers;   // none left: cancel
    std::vector<Shown> shown;
    std::vector<FileDialogRequest> fileRequests;

    void information(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<bool> confirmOrCancel(const QString& text) override;
    void error(const QString& message) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(const FileDialogRequest& request) override; // from fileAnswers
    bool printDialog(QPrinter& printer) override;

    QStringList texts(Shown::Kind kind) const;

private:
    std::optional<QString> fileDialog(Shown::Kind kind, const FileDialogRequest& request);
};

class RecordingShell : public Shell {
public:
    QStringList opened;
    QStringList started;
    bool handlerAvailable = true;

    bool hasHandler(const QString& documentPath) override;
    bool open(const QString& target) override;
    bool start(const QString& program, const QStringList& arguments, const QString& workingFolder) override;
};

} // namespace fyl
