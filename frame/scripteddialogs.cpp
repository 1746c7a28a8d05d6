// Dialogs that answer from a script and a shell that only records. Core layer (fylcore).
#include "frame/scripteddialogs.h"

namespace fyl {

void ScriptedDialogs::information(const QString& text) {
    shown.push_back({Shown::Information, text});
}

std::optional<bool> ScriptedDialogs::confirmOrCancel(const QString& text) {
    if (withdrawableAnswers.empty())
        return confirm(text);
    shown.push_back({Shown::Confirm, text});
    const std::optional<bool> answer = withdrawableAnswers.front();
    withdrawableAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::confirm(const QString& text) {
    shown.push_back({Shown::Confirm, text});
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

void ScriptedDialogs::error(const QString& message) {
    shown.push_back({Shown::Error, message});
}

std::optional<QString> ScriptedDialogs::fileDialog(Shown::Kind kind, const FileDialogRequest& request) {
    shown.push_back({kind, request.title});
    fileRequests.push_back(request);
    if (fileAnswers.empty())
        return std::nullopt;
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

std::optional<QString> ScriptedDialogs::openFile(const FileDialogRequest& request) {
    return fileDialog(Shown::OpenFile, request);
}

std::optional<QString> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
    return fileDialog(Shown::SaveFile, request);
}

std::optional<QString> ScriptedDialogs::chooseFolder(const FileDialogRequest& request) {
    return fileDialog(Shown::Folder, request);
}

bool ScriptedDialogs::printDialog(QPrinter&) {
    shown.push_back({Shown::Print, QString()});
    if (printAnswers.empty())
        return false;
    const bool answer = printAnswers.front();
    printAnswers.pop_front();
    return answer;
}

QStringList ScriptedDialogs::texts(Shown::Kind kind) const {
    QStringList out;
    for (const Shown& s : shown)
        if (s.kind == kind)
            out << s.text;
    return out;
}

bool RecordingShell::hasHandler(const QString& documentPath) {
    opened << QStringLiteral("?") + documentPath;
    return handlerAvailable;
}

bool RecordingShell::open(const QString& target) {
    opened << target;
    return true;
}

bool RecordingShell::start(const QString& program, const QStringList& arguments,
                           const QString& workingFolder) {
    started << (program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QStringLiteral(" @") +
                workingFolder);
    return true;
}

} // namespace fyl
