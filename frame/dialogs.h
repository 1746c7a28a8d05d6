// The Dialogs interface every message and file dialog goes through, show text and ask text by
// entry number, and the action wrapper. Core layer (fylcore).
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPrinter;

namespace fyl {

// What a file dialog is opened with. `filter` uses Qt's "Name (*.ext);;Other (*)" form.
struct FileDialogRequest {
    QString title;
    QString folder;   // initial folder
    QString fileName; // proposed file name
    QString filter;
    QString defaultSuffix; // appended when the typed name has none
};

// Every modal interaction of the program. The windows use a Qt implementation; tests and the
// command line use scripted ones that answer from a queue and record what was shown.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void information(const QString& text) = 0;
    virtual bool confirm(const QString& text) = 0; // true for Yes
    // A question the planner may also withdraw ("Abbrechen", Escape): Yes, No, or nothing.
    // Without a planner to withdraw it, it is the plain question.
    virtual std::optional<bool> confirmOrCancel(const QString& text) { return confirm(text); }
    virtual void error(const QString& message) = 0;
    // The chosen file's full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // A folder chooser opened in `request.folder`: the chosen folder, or nothing when cancelled.
    virtual std::optional<QString> chooseFolder(const FileDialogRequest& request) = 0;
    // The print dialog on `printer`: the system's printers or a PDF file. True when the planner
    // confirmed; the printer then carries the choice.
    virtual bool printDialog(QPrinter& printer) = 0;
};

// Batch work without a planner: every message is kept in order (a question with " – Ja", its
// answer), file and print dialogs are cancelled.
class CollectingDialogs : public Dialogs {
public:
    QStringList messages;
    void information(const QString& text) override { messages << text; }
    bool confirm(const QString& text) override {
        messages << text + QStringLiteral(" – Ja");
        return true;
    }
    void error(const QString& message) override { messages << message; }
    std::optional<QString> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const FileDialogRequest&) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }
};

// Runs one user action. A fyl::Error or any other exception ends the action; its message is
// shown in the standard error box and the program runs on. Returns true when the action ran
// to its end.
bool runAction(Dialogs& dialogs, const std::function<void()>& action);

} // namespace fyl
