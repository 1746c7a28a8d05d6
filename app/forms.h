// The running program: the shared state and the seven windows. Application layer.
#pragma once

#include "print/printchoices.h"
#include "results/resultswindow.h"
#include "room/appstate.h"
#include "room/mainwindowmodel.h"
#include "selection/selectionmodel.h"
#include "widgets/qtdialogs.h"
#include "widgets/qtshell.h"

#include <QSettings>

class QPainter;

#include <memory>

namespace fyl {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;

// The running program: the shared state and the seven windows, created once in their fixed
// order and kept until the end. The main window is created first; its creation runs the
// start-up steps.
class Forms {
public:
    // `settings` keeps the working directory; `dialogs` and `shell` may be replaced by tests.
    Forms(std::unique_ptr<QSettings> settings, Dialogs& dialogs, Shell& shell);
    ~Forms();

    AppState state;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm6> form6;
    std::unique_ptr<TForm7> form7;

    // Open the selection and the calculation window at their places beside the main window.
    void showSelection();
    void showCalculation();

private:
    // Shows and hides the other windows as a main window action asks.
    void follow(const MainWindowOutcome& outcome);
    void follow(const ResultsWindowOutcome& outcome);
    void follow(const SelectionOutcome& outcome);
    void resetSelection();
    // What the print window's "Drucken" prints: the report's chosen pages, one after another.
    void printReport(QPainter& painter, const PrintChoices& choices, double dpi, Dialogs& dialogs);

    Dialogs* dialogs_;
};

} // namespace fyl
