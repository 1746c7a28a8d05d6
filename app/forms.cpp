// The seven windows created once, in their fixed order. Application layer.
#include "app/forms.h"

#include "auxiliary/Unit6.h"
#include "auxiliary/Unit7.h"
#include "flowsim/Unit4.h"
#include "print/Unit5.h"
#include "results/Unit3.h"
#include "room/Unit1.h"
#include "selection/Unit2.h"

#include "flowsim/flowpicture.h"
#include "flowsim/flowpicturepainter.h"
#include "print/reportprint.h"
#include "widgets/screenfit.h"

#include <QLabel>
#include <QPagedPaintDevice>
#include <QPainter>

namespace fyl {

Forms::Forms(std::unique_ptr<QSettings> settingsStore, Dialogs& dialogs, Shell& shell)
    : settings(std::move(settingsStore)), dialogs_(&dialogs) {
    form1 = std::make_unique<TForm1>(state, dialogs, shell, *settings);
    form2 = std::make_unique<TForm2>(state, dialogs, shell);
    form3 = std::make_unique<TForm3>(state, dialogs, shell);
    form4 = std::make_unique<TForm4>(state, dialogs);
    form5 = std::make_unique<TForm5>(state, dialogs);
    form6 = std::make_unique<TForm6>(state, dialogs);
    form7 = std::make_unique<TForm7>(state, dialogs, shell);
    form1->outcomeHandler = [this](const MainWindowOutcome& outcome) { follow(outcome); };
    form3->outcomeHandler = [this](const ResultsWindowOutcome& outcome) { follow(outcome); };
    form2->outcomeHandler = [this](const SelectionOutcome& outcome) { follow(outcome); };
    form4->resultsHandler = [this](const ResultsView& view) { form3->applyView(view); };
    for (std::function<void()>* done : {&form2->actionDone, &form3->actionDone, &form4->actionDone})
        *done = [this] { form1->markChanges(); };
    form4->contourRoutine = jetContours(state.record, dialogs);
    form5->printPages = [this, &dialogs](QPainter& painter, const PrintChoices& choices, double dpi) {
        printReport(painter, choices, dpi, dialogs);
    };
}

void Forms::follow(const SelectionOutcome& outcome) {
    if (outcome.hideSelection)
        form2->hide();
    if (outcome.backToRoomData) {
        // The main window's room data command shows the panel again, "weiter" enabled.
        form1->model().hideRoomPanel();
        runAction(*dialogs_, [this] { form1->model().roomDataCommand(); });
        form1->model().enableContinue();
        form1->refresh();
    }
    if (outcome.results) {
        form3->applyView(*outcome.results);
        form4->applyView(*outcome.results);
    }
    if (outcome.showCalculation)
        showCalculation();
}

void Forms::showSelection() {
    // Its top 45 pixels below and its left 15 pixels right of the main window's corner.
    placeOnScreen(*form2, form1->pos() + QPoint(15, 45), WhenTooLarge::Shrink);
    form2->show();
}

void Forms::showCalculation() {
    // At the main window's left edge, 50 pixels below its top.
    placeOnScreen(*form3, form1->pos() + QPoint(0, 50), WhenTooLarge::Shrink);
    form3->show();
}

void Forms::resetSelection() {
    form2->model().resetToFirstStep();
    form2->refresh();
}

void Forms::follow(const ResultsWindowOutcome& outcome) {
    if (outcome.results) {
        form3->applyView(*outcome.results);
        form4->applyView(*outcome.results);
        // A new count changes the flow per outlet: an open picture follows it.
        if (form4->isVisible())
            form4->GraphDarstellung1Click();
    }
    if (outcome.countRange)
        form3->setCountRange(outcome.countRange->minimum, outcome.countRange->maximum);
    if (outcome.hideSelf)
        form3->hide();
    if (outcome.hideSelection)
        form2->hide();
    if (outcome.hideFlowSimulation)
        form4->hide();
    if (outcome.resetSelection)
        resetSelection();
    if (outcome.showSelection)
        showSelection();
    if (outcome.showMainRoomPanel) {
        form1->show();
        form1->model().showRoomPanel();
        form1->refresh();
    }
    if (outcome.enableMainContinue) {
        form1->model().enableContinue();
        form1->refresh();
    }
    // The flow picture and the report are drawn by their own windows; here they are opened.
    if (outcome.flowPictureLabels)
        form4->showPicture(*outcome.flowPictureLabels);
    if (outcome.printTemperatures) {
        form5->setPicturePageAvailable(*outcome.printTemperatures);
        placeOnScreen(*form5, form1->pos() + QPoint(50, 50));
        form5->show();
    }
}

void Forms::follow(const MainWindowOutcome& outcome) {
    if (outcome.closeSelectionAndCalculation) {
        form2->hide();
        form3->hide();
    }
    if (outcome.results) {
        form3->applyView(*outcome.results);
        form4->applyView(*outcome.results);
    }
    if (outcome.closeFlowSimulation)
        form4->hide();
    if (outcome.showCalculation)
        showCalculation();
    if (outcome.resetSelection)
        resetSelection();
    if (outcome.showSelection) {
        // With the type's attributes hidden.
        form2->model().Panel2Click();
        form2->refresh();
        showSelection();
    }
    if (outcome.showInformation) {
        form7->show();
        form7->raise();
        form7->activateWindow();
    }
    if (outcome.showSlideshow)
        form6->showPictures(*outcome.showSlideshow);
}

void Forms::printReport(QPainter& painter, const PrintChoices& choices, double dpi, Dialogs& dialogs) {
    // The heading the calculation window shows is the outlet's designation on the picture page.
    const auto* heading = qobject_cast<QLabel*>(form3->widget(form3::Label1));
    const ReportInputs in{state.record,
                          state.texts,
                          state.catalogue,
                          heading != nullptr ? heading->text() : QString(),
                          state.folders.program,
                          QDate::currentDate(),
                          static_cast<int>(dpi),
                          choices,
                          state.flags.proportionalPictureDrawn};
    fyl::printReport(painter, in, jetContours(state.record, dialogs));
}

Forms::~Forms() = default;

} // namespace fyl
