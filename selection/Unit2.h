// The selection window TForm2: installation kind, type, size and jet form, the flow filter, the
// type's picture and attributes, and the slot tube and linear slot configuration. Windows layer
// (fylui); it shows the state of the selection model and hands its handlers to it.
#pragma once

#include "results/controltable.h"
#include "selection/selectionmodel.h"
#include "selection/selectiontexts.h"
#include "selection/suggestionswindow.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace fyl {

struct AppState;
class StretchedImage;

// Created once at start and only shown and hidden afterwards.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2(AppState& state, Dialogs& dialogs, Shell& shell, QWidget* parent = nullptr);

    SelectionModel& model() { return model_; }
    // Receives what a step asks of the other windows.
    std::function<void(const SelectionOutcome&)> outcomeHandler;
    // Runs after each of the window's actions, which may have changed the project.
    std::function<void()> actionDone;
    // Shows the model's state again after another window changed it.
    void refresh();
    // A fixed-text control by its identifier.
    QObject* control(form2::Text id) const { return texts_.control(id); }

    QListWidget *listbox1 = nullptr, *ListBox2 = nullptr, *ListBox8 = nullptr, *ListBox9 = nullptr,
                *ListBox10 = nullptr, *ListBox11 = nullptr, *ListBox12 = nullptr, *ListBox13 = nullptr,
                *ListBox14 = nullptr, *ListBox15 = nullptr, *ListBox16 = nullptr, *ListBox17 = nullptr,
                *ListBox18 = nullptr;
    QGroupBox *GroupBox4 = nullptr, *groupbox1 = nullptr, *GroupBox2 = nullptr, *GroupBox3 = nullptr;
    QWidget *Panel1 = nullptr, *Panel2 = nullptr;
    QLabel *Label11 = nullptr, *Label17 = nullptr, *Label19 = nullptr, *Label22 = nullptr, *Label24 = nullptr,
           *Label26 = nullptr, *Label28 = nullptr, *Label30 = nullptr, *Label32 = nullptr, *Label34 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QPushButton *zurueck = nullptr, *weiter = nullptr, *BitBtn1 = nullptr, *Button2 = nullptr,
                *Button3 = nullptr, *Button4 = nullptr, *Button5 = nullptr;
    QPushButton* Vorschlaege = nullptr; // opens the ranked suggestions for the room
    SuggestionsWindow* suggestions() const { return suggestions_; }
    StretchedImage* Image2 = nullptr;
    QAction* Info1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override; // FormClose

private:
    void FormCreate();
    void build();
    void connectHandlers();
    void act(const std::function<void()>& step);
    void actWithOutcome(const std::function<SelectionOutcome()>& step);
    void showPicture();
    void showSuggestions();
    void takeSuggestion(const Suggestion& suggestion);

    AppState& state_;
    Dialogs& dialogs_;
    SelectionModel model_;
    ControlTable<Form2View> texts_;
    QString shownPicture_;
    QPointer<SuggestionsWindow> suggestions_;
};

} // namespace fyl
