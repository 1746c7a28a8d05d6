// The calculation window's rules without widgets: its texts at creation, the outlet count set by
// hand, the way back to the selection or the main window, and what the flow picture and print
// commands need. Core layer (fylcore).
#pragma once

#include "calc/evaluation.h"
#include "catalogue/catalogue.h"
#include "frame/dialogs.h"
#include "frame/record.h"
#include "frame/runstate.h"
#include "frame/shell.h"
#include "frame/texttable.h"
#include "results/planningcopy.h"
#include "results/resultsview.h"

#include <optional>

namespace fyl {

// The window title and the fixed texts the text table gives the calculation window at creation.
struct Form3Texts {
    QString title;
    Form3View controls;
};
Form3Texts form3CreationTexts(const TextTable& texts);

// What a calculation window action asks of the windows.
struct ResultsWindowOutcome {
    std::optional<ResultsView> results; // apply to TForm3 and TForm4
    bool hideSelf = false;
    bool showSelection = false;         // 15 right of and 45 below the main window's corner
    bool resetSelection = false;        // the selection back to its first step (a loaded project)
    std::optional<CountBar> countRange; // a new range for the count scroll bar alone
    bool hideSelection = false;
    bool hideFlowSimulation = false;
    bool showMainRoomPanel = false; // the main window and its room data panel
    bool enableMainContinue = false;
    // The flow picture: shown with these three labels (velocity limit, head height, mounting height).
    std::optional<std::array<QString, 3>> flowPictureLabels;
    // The print window: shown, with its CheckBox2 enabled and ticked, or disabled and unticked.
    std::optional<bool> printTemperatures;
};

using ResultsWindowParts = PlanningParts;

// Whether the report can have a picture page: not for a vertical jet whose supply air is within
// 0,1 K of the room, which shows no zone to draw.
bool picturePageAvailable(const CalculationRecord& rec);

// Each action works on copies and stores them only at its end, so an error changes nothing.
class ResultsWindowModel {
public:
    explicit ResultsWindowModel(ResultsWindowParts parts) : parts_(parts) {}

    // The count scroll bar moved to `position`: the count is the planner's from now on, and the
    // evaluation runs again. The count edit turns red when the flow per outlet leaves the outlet's
    // range.
    ResultsWindowOutcome ScrollBar1Change(int position);
    // A count typed into the count edit and taken (Enter, or leaving the edit), with the scroll bar's
    // range: where the bar is to stand, and whether the evaluation runs again for it. Nothing is
    // taken while the edit is empty; a count outside the range is taken at the nearer end. The
    // count the figures are for, typed again, changes nothing, even when the bar stands at an end.
    // A text that is not a whole number raises ConversionError.
    struct TypedCount {
        int position = 0;
        bool evaluate = false;
    };
    std::optional<TypedCount> Edit1Change(const QString& text, int minimum, int maximum) const;
    ResultsWindowOutcome Button1Click(); // " Auswahl": back to the selection
    // "zurück": back to the main window; the count edit's text becomes the outlet count.
    ResultsWindowOutcome Button2Click(const QString& countText);
    ResultsWindowOutcome FormClose();
    ResultsWindowOutcome Raumschnitt1Click(); // the flow picture, refused for isothermal vertical jets
    ResultsWindowOutcome Drucken1Click();
    // Tools menu: the exchange file for the ceiling-plan or the sound tool, then the tool; the flow
    // picture closes. The ceiling plan gets the outlet's judgement too, for which the catalogue
    // gives the type's mounting places.
    ResultsWindowOutcome Deckenspiegel1Click(const Folders& folders, const Catalogue& catalogue,
                                             Shell& shell);
    ResultsWindowOutcome Sound1Click(const Folders& folders, Shell& shell);
    // The outlet's tender text, "Aus_texte" in the program directory, opened with the program the
    // desktop has for it: entry 98 when the outlet names none, entry 100 when it cannot be opened
    // (also for a name that would lead out of that folder). The flow picture closes in any case.
    ResultsWindowOutcome Ausschreibungstext1Click(const Folders& folders, Shell& shell);
    // After any evaluation of the record: the outlet judged at the count it stands at, as the
    // suggestion list judges it, added to `view`. The catalogue gives the type's mounting places,
    // which decide its layouts.
    void judge(const Catalogue& catalogue, ResultsView& view) const;

private:
    ResultsWindowParts parts_;
};

} // namespace fyl
