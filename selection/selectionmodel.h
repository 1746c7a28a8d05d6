// The selection window without widgets: installation kind, type, size and jet form, the flow
// filter, the type's attributes and data sheet, the take-over of the outlet, and the slot tube and
// linear slot configuration with its forward steps into the evaluation. Core layer (fylcore); it
// sits above results/, whose evaluations its forward steps run. TForm2 and the command line's
// plan drive the same model.
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

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace fyl {

// A list box: its items, the highlighted one (-1: none) and whether it takes clicks.
struct SelectionList {
    QStringList items;
    int selected = -1;
    bool enabled = true;
};

// The slot configuration's choices and what follows from them.
struct SlotConfiguration {
    double minimumTotal = 0.0, maximumTotal = 0.0; // required total slot length [m]
    QString diameter;                              // tube diameter, 5 characters [mm]
    double nominalLength = 0.0;                    // length of one outlet [mm]
    int slotCount = 0;
    double slotLength = 0.0; // per outlet [m], as last computed from length and count
    std::int32_t countFrom = 0, countTo = 0;
    bool diameterChosen = false, lengthChosen = false, countChosen = false;
};

// Everything the selection window shows, spelled as its controls, and the values it keeps.
struct SelectionState {
    // Installation kind and types.
    SelectionList listbox1;
    bool listbox1Visible = true;
    QString GroupBox4; // title: entry 208, then the chosen kind
    bool GroupBox4Visible = true;
    SelectionList ListBox2; // types with a data sheet only
    SelectionList ListBox3; // hidden: the kind's type names
    SelectionList ListBox7; // hidden: the type codes
    SelectionList ListBox8; // calculable types
    SelectionList ListBox9; // sizes

    // Jet form step.
    bool groupbox1Visible = false;
    QString Label17; // the chosen size
    QString Label11; // its flow range
    QString Label19; // the flow unit
    SelectionList ListBox10;
    bool weiterEnabled = false;

    // Flow filter; Edit1 and ScrollBar1 are shown while CheckBox1 is ticked.
    bool Panel1Visible = true;
    bool CheckBox1 = false;
    QString Edit1 = QStringLiteral("10");
    int ScrollBar1 = 50;

    // The chosen type's picture and attributes.
    bool Panel2Visible = false;
    QStringList ListBox11, ListBox12, ListBox13; // mounting places, adjustment kinds, ranges of use
    QString Image2;                              // the picture to load
    QString Image2Fallback;                      // loaded instead when that fails
    bool Info1Enabled = false;

    // Slot tube (GroupBox2) and linear slot (GroupBox3) configuration; a title names the type it
    // configures (empty: the design's).
    QString GroupBox2, GroupBox3;
    bool GroupBox2Visible = false;
    SelectionList ListBox14, ListBox15, ListBox16; // diameters, lengths, slot counts
    QString Label22, Label24, Label26, Label28;    // total length, length per outlet, counts, diameter
    bool Button3Enabled = false;
    bool GroupBox3Visible = false;
    SelectionList ListBox17, ListBox18;       // lengths, slot counts
    QString Label30, Label32, Label34, Edit2; // total length, length per outlet, counts, length
    bool Button5Enabled = false;

    // The selection.
    QString selectedType;
    QString dataSheetName;                 // opened by Info1
    QString sizeKeyPrefix;                 // size name, the key gap and "0"
    int smallestFlow = 0, largestFlow = 0; // of the size [m³/h; per metre for slot outlets]
    SlotConfiguration configuration;
    OutletRecord readBuffer{}; // the detail record of the chosen jet form, as read
    int readRecord = -1;       // its number in the detail file, from 0
};

// What a step asks of the other windows besides this window's own state.
struct SelectionOutcome {
    bool hideSelection = false;         // this window closes
    bool showCalculation = false;       // TForm3 opens at the main window's left edge, 50 pixels down
    std::optional<ResultsView> results; // what TForm3 and TForm4 show now
    // Back to the room data: the main window hides GroupBox3, runs Vorgaben1 and enables BitBtn1.
    bool backToRoomData = false;
};

// The parts of the program state the selection works on.
struct SelectionParts : PlanningParts {
    const Catalogue& catalogue;
    Shell& shell;
    const Folders& folders;
};

// The steps that take an outlet over are named by what they choose; the window's list clicks and
// forward buttons call them, and so do `plan`, the suggestions and the room schedules. The other
// methods are the window's remaining handlers. Each works on copies and stores them only at its
// end, so an error (typed fyl::Error) leaves window, record, flags and values as they were. An item
// index outside its list, or going forward while the window's forward button is disabled, does
// nothing.
class SelectionModel {
public:
    explicit SelectionModel(SelectionParts parts); // FormCreate
    // A model that goes on from `state`, which another model left on parts of which these are
    // copies: the same steps then give the same results.
    SelectionModel(SelectionParts parts, SelectionState state) : parts_(parts), state_(std::move(state)) {}

    const SelectionState& state() const { return state_; }

    // Installation kind (listbox1), type (ListBox8), size (ListBox9), jet form (ListBox10), and
    // forward ("weiter"): the evaluation, or the slot configuration.
    void chooseKind(int index);
    SelectionOutcome chooseType(int index);
    SelectionOutcome chooseSize(int index);
    SelectionOutcome chooseJetForm(int index);
    SelectionOutcome goForward();

    // The slot configuration and its forward step into the evaluation: slot tubes (ListBox14 …
    // ListBox16, Button3), linear slot outlets (ListBox17, ListBox18, Button5).
    SelectionOutcome chooseTubeDiameter(int index);
    void chooseTubeLength(int index);
    void chooseTubeSlotCount(int index);
    SelectionOutcome goForwardWithTube();
    void chooseLinearLength(int index);
    void chooseLinearSlotCount(int index);
    SelectionOutcome goForwardWithLinearSlots();

    // The window's other handlers: a type with a data sheet only (ListBox2), back to the types,
    // leaving the window, the picture and the data sheet.
    void ListBox2Click(int index);
    void zurueckClick();
    SelectionOutcome BitBtn1Click(); // also FormClose
    void Panel2Click();
    void Info1Click();
    // The first step again, as a new project or " Auswahl" after loading results asks.
    void resetToFirstStep();

    // Flow filter. Edit1 takes the typed text; Edit1Exit runs on leaving it and on Enter.
    void CheckBox1Click(bool checked);
    void ScrollBar1Change(int position);
    void setEdit1Text(const QString& text);
    void Edit1Exit();

    // Back from the slot tube and the linear configuration to the jet forms.
    void Button2Click();
    void Button4Click();

    struct Work; // one step's copies; internal

private:
    template <class Step> SelectionOutcome transaction(Step step);

    SelectionParts parts_;
    SelectionState state_;
};

} // namespace fyl
