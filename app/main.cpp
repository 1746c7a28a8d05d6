#include "app/forms.h"
#include "frame/Unit1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("ZELK FYL"));
    QApplication::setApplicationName(QStringLiteral("ZELK FYL"));
    QApplication::setApplicationVersion(QStringLiteral(ZELK_VERSION));

    fyl::QtDialogs dialogs;
    fyl::QtShell shell;
    fyl::Forms forms(fyl::applicationSettings(), dialogs, shell);
    dialogs.setOwner(forms.form1.get());
    forms.form1->show();
    return QApplication::exec();
}
