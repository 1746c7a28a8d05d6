// The run-time state that lives beside the record: the folders of this run and the flags that a
// project file does not keep. Core layer (fylcore, QtCore only).
#pragma once

#include <QString>

namespace fyl {

// Folders of one run. The program directory is the current directory at start, not the folder
// of the executable: every data file is read from there.
struct Folders {
    QString program;
    QString working; // kept in the settings as "Arbeitsverzeichnis"
    QString project; // working + "Projekte": initial folder of the project dialogs
    QString temp;    // working + "tmp": exchange files for the external tools
    QString demo;    // program + "Demobild"
};

// Flags of the running program; they live beside the record and are not saved with a project.
struct RuntimeFlags {
    bool freshProject = false;            // no outlet taken over since start or the last new project
    bool loadedWithResults = false;       // the loaded project was in calculation mode
    bool countSetByHand = false;          // the outlet count was set with the results window's scroll bar
    bool spacingSetInFlowPicture = false; // the spacing was set with the flow picture's slider
    bool proportionalPictureDrawn = false;
    bool figuresOnly = false; // nobody reads the result texts (ranking): the evaluations leave them out
    bool criticalSearchLeftOut = false; // a first pass of the ranking, which compares no figure of the search
    bool headingLeftOut = false; // nobody reads the outlet's heading (a ranking that looks for its head)
};

} // namespace fyl
