// The main window's demo command and help menu: the demo folder's pictures into the slideshow,
// the information window, the short guide. Core layer (fylcore), with the main window's model.
#include "room/mainwindowmodel.h"

#include "auxiliary/demopictures.h"

#include <QDir>

namespace fyl {

MainWindowOutcome MainWindowModel::Demo2Click() {
    MainWindowOutcome out;
    parts_.folders.demo = demoFolder(parts_.folders.program);
    const QStringList found = findDemoPictures(parts_.folders.demo);
    if (found.isEmpty()) {
        showText(parts_.texts, parts_.dialogs, 182);
        return out;
    }
    takeDemoPictures(parts_.demoPictures, found);
    out.showSlideshow = slideshowTexts(parts_.texts);
    return out;
}

MainWindowOutcome MainWindowModel::Hilfe2Click() {
    MainWindowOutcome out;
    out.showInformation = true;
    return out;
}

void MainWindowModel::Kurzanleitung1Click() {
    // Joined with "/" on every platform, which Windows accepts as well. The whole program
    // directory, however long: a path cut short would open another file than the one looked up.
    const QString guide = parts_.folders.program + QStringLiteral("/Fyl_Anleitung.pdf");
    if (parts_.shell.hasHandler(guide) && parts_.shell.open(guide))
        return;
    // Where the guide lies, so that the planner can open it another way.
    parts_.dialogs.information(parts_.texts.text(202) + QStringLiteral("\n\n") +
                               QDir::toNativeSeparators(guide));
}

} // namespace fyl
