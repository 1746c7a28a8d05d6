// The Dialogs interface on Qt's message boxes and file dialogs. Shared widgets
// (fylwidgets, QtWidgets): the windows and the companion tools use it.
#pragma once

#include "frame/dialogs.h"

class QWidget;

namespace fyl {

// The dialogs of the running program: Qt's message boxes and file dialogs, owned by the
// currently active window.
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
    bool printDialog(QPrinter& printer) override;

private:
    QWidget* owner() const;
    QWidget* owner_;
};

} // namespace fyl
