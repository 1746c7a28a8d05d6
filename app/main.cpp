// Entry point of zelkfyl: the call (--help, --version, an optional project file), the Qt
// application, its German translations and the windows. Application layer.
#include "app/forms.h"
#include "frame/workdir.h"
#include "room/Unit1.h"
#include "widgets/companionstart.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char* argv[]) {
    fyl::CompanionStart call(
        QStringLiteral("zelkfyl"), QStringLiteral("ZELK FYL"),
        QStringLiteral("ZELK FYL: Planung der Luftverteilung eines Raumes. Liest seine Daten aus dem "
                       "aktuellen Verzeichnis."),
        QStringLiteral("Projektdatei (*.zol), die nach dem Start geladen wird wie mit „Projekt“ → „Laden“."),
        QStringLiteral("Projektdatei"));
    if (const auto end = call.start(argc, argv))
        return *end;
    // No display name: Qt would append it to every window title, and the titles are the program's own.
    QApplication::setApplicationName(QStringLiteral("ZELK FYL"));
    // The installed desktop entry, which the desktop finds the program's windows by.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELK_APP_ID));

    fyl::QtDialogs dialogs;
    fyl::QtShell shell;
    fyl::Forms forms(fyl::applicationSettings(), dialogs, shell);
    dialogs.setOwner(forms.form1.get());
    forms.form1->show();
    // The project of the call loads over the shown main window, so that a refused file's box opens
    // over it. The path is made absolute: the recent list keeps it.
    if (const QString project = call.fileArgument(); !project.isEmpty())
        forms.form1->openProject(QFileInfo(project).absoluteFilePath());
    return QApplication::exec();
}
