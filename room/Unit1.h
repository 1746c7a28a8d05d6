// The main window TForm1: room and project data panels, menus, background picture. Windows
// layer (fylui).
#pragma once

#include "room/mainwindowmodel.h"
#include "widgets/stretchedimage.h"

#include <QImage>
#include <QMainWindow>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSettings;

namespace fyl {

struct AppState;
class Dialogs;
class Shell;

// The main window: room and project data panels over the background picture, and the menus.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(AppState& state, Dialogs& dialogs, Shell& shell, QSettings& settings, QWidget* parent = nullptr);

    // Start-up: runs when the window is created, in this order; a failing step shows its error
    // and the remaining steps are skipped.
    void FormCreate();
    void LoadTextTable();
    void FillWindowFromRecord();

    QString saveDialog1Title; // set from the text table with the window title

    // The windowless model the controls are bound to.
    MainWindowModel& model() { return model_; }
    // Receives what an action asks of the other windows (selection, calculation, flow picture).
    std::function<void(const MainWindowOutcome&)> outcomeHandler;
    // The control that shows a room field.
    QLineEdit* roomEdit(RoomField field) const { return roomEdits_[static_cast<std::size_t>(field)]; }

    // Shows the model's state again after another window changed it.
    void refresh();
    // Marks the title while the project differs from its file; every window's action ends here,
    // since a change made in another window changes the project too.
    void markChanges();

    // Handlers named as the window's documentation names them.
    void BitBtn1Click();
    void Vorgaben1Click();
    void Projektdaten1Click();
    void CheckBox1Click();
    void Neu1Click();
    void Laden1Click();
    // Loads `path` as "Laden" does, without the dialog: a recent project, the file of the call.
    void openProject(const QString& path);
    void Speichern1Click();
    void Add1Click();
    void Del1Click();
    void Run1Click();
    void ListBox1Click();
    void Demo2Click();
    void Hilfe2Click();
    void Kurzanleitung1Click();

    // Menus
    QMenu* Projekt1 = nullptr;
    QAction* Neu1 = nullptr;
    QAction* Laden1 = nullptr;
    QAction* Speichern1 = nullptr;
    QAction* Beenden1 = nullptr;
    QAction* Projektdaten1 = nullptr;
    QAction* Vorgaben1 = nullptr;
    QAction* Demo1 = nullptr;
    QAction* Demo2 = nullptr;
    QMenu* Info1 = nullptr;
    QAction* Hilfe2 = nullptr;
    QAction* Kurzanleitung1 = nullptr;

    StretchedImage* Image1 = nullptr;

    // Room data panel
    QGroupBox* GroupBox3 = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr, *Edit5 = nullptr,
              *Edit6 = nullptr, *edit7 = nullptr, *Edit8 = nullptr, *Edit9 = nullptr, *Edit10 = nullptr,
              *Edit11 = nullptr, *Edit12 = nullptr, *Edit13 = nullptr, *Edit14 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    // Project data panel
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit *Edit15 = nullptr, *Edit16 = nullptr, *Edit17 = nullptr, *Edit18 = nullptr, *Edit19 = nullptr,
              *Edit20 = nullptr, *Edit21 = nullptr, *Edit22 = nullptr, *Edit23 = nullptr, *Edit24 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton *Add1 = nullptr, *Del1 = nullptr, *Run1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override; // FormClose

private:
    // Runs a model action inside the error box wrapper, then shows the model's state and hands on
    // what the action asks of the other windows.
    void act(const std::function<void()>& action);
    void actWithOutcome(const std::function<MainWindowOutcome()>& action);
    // After a new project or a load the room fields hold new values: a field that kept the focus
    // behind its hidden panel gives it up without its action, so that leaving it later does not
    // recompute them from what the planner had typed before.
    void releaseHiddenField();
    // "Laden" with the dialog (no path) or without it.
    void load(const std::optional<QString>& path);
    // Before the project is quit or replaced: the question and the save it may ask for. False
    // when the action is not to go on.
    bool askToSaveChanges();
    void bindModel();
    void buildMenus();
    void buildRoomPanel();
    void buildProjectPanel();
    void setDisplayText(const char* objectName, const QString& text);
    // The "zuletzt geöffnet" submenu, filled from the settings each time it opens.
    void fillRecentMenu();
    // Puts the project file an action loaded or saved at the head of that list.
    void rememberProjectFile(const QString& before);

    AppState& state_;
    Dialogs& dialogs_;
    Shell& shell_;
    QSettings& settings_;
    QMenu* recentMenu_ = nullptr;
    QString title_ = QStringLiteral("Z E L K  F Y L"); // without the mark of a change
    MainWindowModel model_;
    std::array<QLineEdit*, kRoomFieldCount> roomEdits_{}; // by RoomField
    std::array<QLineEdit*, 10> projectEdits_{};
    bool acting_ = false; // an action runs: focus changes it causes are not the planner's
};

} // namespace fyl
