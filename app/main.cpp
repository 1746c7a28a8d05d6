// Entry point of zelkfyl: the Qt application, its German translations and the windows.
// Application layer.
#include "app/forms.h"
#include "frame/workdir.h"
#include "room/Unit1.h"
#include "widgets/qttranslations.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // No display name: Qt would append it to every window title, and the titles are the program's own.
    QApplication::setApplicationName(QStringLiteral("ZELK FYL"));
    QApplication::setApplicationVersion(QStringLiteral(ZELK_VERSION));
    fyl::installGermanQtTexts(app);

    fyl::QtDialogs dialogs;
    fyl::QtShell shell;
    fyl::Forms forms(fyl::applicationSettings(), dialogs, shell);
    dialogs.setOwner(forms.form1.get());
    forms.form1->show();
    return QApplication::exec();
}
