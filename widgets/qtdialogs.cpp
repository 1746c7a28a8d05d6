// The Dialogs interface on Qt's message boxes and file dialogs. Shared widgets (fylwidgets).
#include "widgets/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace fyl {

namespace {
// The application's title, set on each box itself since the application has no display name.
const QString kBoxTitle = QStringLiteral("ZELK FYL");
} // namespace

QWidget* QtDialogs::owner() {
    if (QWidget* active = QApplication::activeWindow()) {
        if (qobject_cast<QDialog*>(active) == nullptr)
            lastOwner_ = active;
        return active;
    }
    // Right after a dialog closes no window is active until the window manager gives the focus
    // back. The dialog that follows (an error after the save dialog, the save dialog after the quit
    // question) belongs to the window the first one did: the main window would come up with it,
    // above the window the planner is in.
    if (lastOwner_ != nullptr && lastOwner_->isVisible())
        return lastOwner_;
    return owner_;
}

void QtDialogs::information(const QString& text) {
    QMessageBox::information(owner(), kBoxTitle, text, QMessageBox::Ok);
}

bool QtDialogs::confirm(const QString& text) {
    return QMessageBox::question(owner(), kBoxTitle, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

std::optional<bool> QtDialogs::confirmOrCancel(const QString& text) {
    QMessageBox box(QMessageBox::Question, kBoxTitle, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    owner());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    // Named here too: without Qt's German translations the button would read "Cancel".
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    const int answer = box.exec();
    if (answer == QMessageBox::Cancel)
        return std::nullopt;
    return answer == QMessageBox::Yes;
}

void QtDialogs::error(const QString& message) {
    QMessageBox::critical(owner(), kBoxTitle, message, QMessageBox::Ok);
}

namespace {

std::optional<QString> runFileDialog(QWidget* owner, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, request.title, request.folder, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace

std::optional<QString> QtDialogs::openFile(const FileDialogRequest& request) {
    return runFileDialog(owner(), request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest& request) {
    return runFileDialog(owner(), request, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::chooseFolder(const FileDialogRequest& request) {
    QFileDialog dialog(owner(), request.title, request.folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

bool QtDialogs::printDialog(QPrinter& printer) {
    // Qt's dialog lists the system's printers and offers printing into a PDF file, so a
    // planner without a printer still gets the report.
    QPrintDialog dialog(&printer, owner());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace fyl
