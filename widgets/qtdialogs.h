// The Dialogs interface on Qt's message boxes and file dialogs. Shared widgets
// (fylwidgets, QtWidgets): the windows and the companion tools use it.
#pragma once

#include "frame/dialogs.h"

#include <QPointer>
#include <QWidget>

namespace fyl {

// The dialogs of the running program: Qt's message boxes and file dialogs, owned by the window the
// planner is in.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void information(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<bool> confirmOrCancel(const QString& text) override;
    void error(const QString& message) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(const FileDialogRequest& request) override;
    bool printDialog(QPrinter& printer) override;

private:
    QWidget* owner();
    QWidget* owner_;
    QPointer<QWidget> lastOwner_; // the window the last dialog opened over
};

} // namespace fyl
