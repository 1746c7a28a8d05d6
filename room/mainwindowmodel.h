// The main window without widgets: the room data fields with every derived value, the panels and
// menus, "weiter", the project data texts, the attachment list, the project commands, the demo
// pictures and the help menu. Core layer (fylcore); room/ sits above the other core folders but the
// room schedules, since "weiter" evaluates the outlet.
// TForm1 and the batch planning of room schedules drive the same model.
#pragma once

#include "auxiliary/demopictures.h"
#include "calc/evaluation.h"
#include "frame/dialogs.h"
#include "frame/record.h"
#include "frame/runstate.h"
#include "frame/shell.h"
#include "frame/texttable.h"
#include "results/planningcopy.h"
#include "results/resultsview.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>

namespace fyl {

// The fourteen numeric room fields by their quantity, in the order the record and the content of
// the window list them.
enum class RoomField : int {
    Width,             // mean, m
    Length,            // mean, m
    Height,            // m
    FloorArea,         // m², takes arithmetic
    Volume,            // m³, takes arithmetic
    AirChangeRate,     // 1/h
    VolumeFlow,        // total supply air, m³/h
    VelocityLimit,     // admissible air velocity, m/s
    HeadHeight,        // m
    MountingHeight,    // of the outlets, m
    CoolingLoad,       // dry, kW
    RoomTemperature,   // °C
    SupplyTemperature, // °C
    MaxSoundPowerLevel // admissible for one outlet, dB
};
inline constexpr int kRoomFieldCount = 14;

// Everything the main window shows, as texts, flags and lists.
struct MainWindowState {
    std::array<QString, kRoomFieldCount> room; // texts of the room fields
    bool areaInput = false;                    // CheckBox1: area and volume are typed
    bool dimensionFieldsEnabled = true;        // width and length; floor area and volume the opposite
    bool continueEnabled = true;               // BitBtn1 "weiter"
    bool continueVisible = true;
    bool roomPanelVisible = false;    // GroupBox3
    bool projectPanelVisible = false; // GroupBox1
    bool menusEnabled = true;         // Vorgaben1 and Projektdaten1; start-up disables them
    std::array<QString, 10> project;  // Edit15 .. Edit24
    QStringList remarks;              // Memo1, one line each
    QStringList attachments;          // ListBox1
    int selectedAttachment = -1;
    QString run1Text;               // the file-name part of the selected attachment
    std::optional<QString> title;   // set once the project name changes (or a project is loaded)
    std::optional<RoomField> focus; // a field the window is to put the focus into
    QString projectFile;            // the file the project was last loaded from or saved into
    // The bytes that file held then (or the project as it started or was begun anew): what the
    // planner would lose by quitting or replacing the project is whatever saving would write
    // differently from these.
    QByteArray savedImage;

    // Private values of the window: what a field held when it got the focus, and the limits that
    // a refused input falls back to.
    struct {
        double area = 0, height = 0, volume = 0, width = 0, length = 0, roomTemp = 0, supplyTemp = 0;
    } snapshot;
    struct {
        double mounting = 0, head = 0, sound = 0;
    } accepted;

    // What the program last wrote into each room field: the text and the value it stands for. A
    // shown text is rounded; while the field still shows it, the field's value is this one.
    struct Written {
        QString text;
        long double value = 0;
        bool valid = false;
    };
    std::array<Written, kRoomFieldCount> written;

    // A room field's value at the precision the record stores it: what the program wrote while the
    // field still shows that text, else the text read as a number (ConversionError if it is none).
    // Every reader of a room field goes through here, so a rounded text is never read back.
    long double roomValue(RoomField field) const;
    // The value the program wrote, while the field still shows the text it wrote with it.
    std::optional<long double> writtenValue(RoomField field) const;
    // The program shows `value` in a room field as `text`.
    void writeRoom(RoomField field, const QString& text, long double value);
};

// What an action asks of the other windows besides the main window's own state.
struct MainWindowOutcome {
    bool showSelection = false;   // "weiter" in selection mode
    bool showCalculation = false; // "weiter" in calculation mode
    bool closeFlowSimulation = false;
    bool closeSelectionAndCalculation = false; // load and new project
    bool resetSelection = false;               // new project: the selection back to its first step
    std::optional<ResultsView> results;        // the evaluation's view for TForm3 and TForm4
    bool showInformation = false;              // Hilfe2
    // Demo2: the slideshow gets these texts and shows the list's current picture.
    std::optional<SlideshowTexts> showSlideshow;
};

// The parts of the program state the main window works on.
struct MainWindowParts : PlanningParts {
    Shell& shell;
    Folders& folders; // the demo command sets the demo folder
    DemoPictures& demoPictures;
};

// The main window's title with the mark of a project changed since it was last saved or loaded.
QString markedTitle(const QString& title, bool changed);

class MainWindowModel {
public:
    explicit MainWindowModel(MainWindowParts parts);

    const MainWindowState& state() const { return state_; }
    // The field an action wants the focus in, handed out once.
    std::optional<RoomField> takeFocusRequest() { return std::exchange(state_.focus, std::nullopt); }

    // Typing: the window hands over a field's text as it changes; nothing is computed.
    void setRoomText(RoomField field, const QString& text);
    // Another window put a value into a room field, shown as `text`.
    void setRoomValue(RoomField field, const QString& text, double value);
    void setProjectText(int index, const QString& text); // 0 = Edit15 .. 9 = Edit24; Edit15 sets the title
    void setRemarks(const QStringList& lines);
    void setAreaInput(bool checked); // the check box's state, before its click action runs

    // A room field got the focus: its snapshot (the cooling load goes straight into the record).
    void enterField(RoomField field);
    // Enter in a room field, or leaving it: the field's action. Every action works on copies and
    // stores them only at its end, so an error leaves window, record and values as they were.
    MainWindowOutcome leaveField(RoomField field);
    MainWindowOutcome weiter(); // BitBtn1

    void roomDataCommand();                      // Vorgaben1
    void checkBoxClicked();                      // CheckBox1: the room data command twice
    void projectDataCommand(const QDate& today); // Projektdaten1
    void setMenusEnabled(bool enabled);
    // The calculation window hands back: the room data panel shown, or "weiter" enabled and shown.
    void showRoomPanel();
    void enableContinue(); // start-up disables the panel menus until a project exists
    void hideRoomPanel();  // a click on the free area of a panel hides it
    void hideProjectPanel();

    // The record into the window and back.
    void StoreWindowInRecord(CalculationRecord& rec) const;
    void FillWindowFromRecord();

    // Attachment list.
    void Add1Click();
    void Del1Click();
    void selectAttachment(int index); // ListBox1Click
    void Run1Click(); // also a double click on the list: opens the selected file with its program

    // Demo pictures and help: the slideshow over the demo folder's pictures, the information
    // window, the short guide.
    MainWindowOutcome Demo2Click();
    MainWindowOutcome Hilfe2Click();
    void Kurzanleitung1Click();

    // Project file commands.
    void Speichern1Click();
    // `path`: the project to load without the open dialog (the recently opened list).
    MainWindowOutcome Laden1Click(const QDate& today, const std::optional<QString>& path = std::nullopt);
    MainWindowOutcome Neu1Click();
    // Whether saving now would write other bytes than the project file last saved or loaded held
    // (for a project never saved: other bytes than it had when it was started or begun anew). A
    // field that is no number counts as a change: the planner typed something no file holds.
    bool projectChanged() const;
    // The project as it now stands is the unchanged one: the end of the start-up.
    void takeAsUnchanged();
    // Before the project is quit (FormClose), replaced by a new one or by a loaded one: question
    // 173 when it changed, and on Yes the save with its dialog. False when the planner withdrew
    // the question or the save was cancelled or failed: the action then does not go on, so the
    // project is not lost. The room schedules begin their projects without it.
    bool askToSaveChanges();

    struct Work; // one action's copies; internal

private:
    template <class Action> auto transaction(Action action);

    MainWindowParts parts_;
    MainWindowState state_;
};

} // namespace fyl
