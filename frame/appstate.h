#pragma once

#include "catalogue/catalogue.h"
#include "frame/record.h"
#include "frame/texttable.h"

#include <QString>

#include <array>

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
    bool projectSaved = false;            // the save command ran since the last load or new project
    bool loadedWithResults = false;       // the loaded project was in calculation mode
    bool countSetByHand = false;          // the outlet count was set with the results window's scroll bar
    bool spacingSetInFlowPicture = false; // the spacing was set with the flow picture's slider
    bool proportionalPictureDrawn = false;
};

// Values the evaluation publishes for the flow picture and the report.
struct WorkingValues {
    double V = 0.0;    // flow per outlet (per metre for line outlets)
    double vlim = 0.0; // admissible velocity
    double h = 0.0;    // vertical run from the outlet to head height
    double dT = 0.0;   // room minus supply temperature
};

// Everything the windows share. There is one instance in the application; core functions take
// the parts they need by reference, so a test builds its own.
struct AppState {
    CalculationRecord record{};
    RuntimeFlags flags;
    Folders folders;
    TextTable texts;
    Catalogue catalogue;
    WorkingValues working;
    int calcStatus = 0;                     // status of the last formula call
    std::array<int, 2> selectionCounters{}; // two counters the selection window starts from
};

} // namespace fyl
