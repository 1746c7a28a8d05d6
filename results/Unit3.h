// The calculation window TForm3: the results of the chosen outlet, the hints and the outlet
// count. Windows layer (fylui); it shows what the core's results view says.
#pragma once

#include "results/controltable.h"
#include "results/resultswindow.h"

#include <QWidget>

#include <functional>

class QAction;
class QGroupBox;
class QMenu;
class QMenuBar;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace fyl {

struct AppState;

// Created once at start and only shown and hidden afterwards.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    TForm3(AppState& state, Dialogs& dialogs, Shell& shell, QWidget* parent = nullptr);

    // The control an identifier of the results view addresses.
    QObject* control(form3::Control id) const { return controls_.control(id); }
    QWidget* widget(form3::Control id) const { return controls_.widget(id); }
    // Shows this window's part of a view: the labels, the count edit and the count scroll bar;
    // after an evaluation also the judgement of the record as it now stands.
    void applyView(const ResultsView& view);

    // Receives what an action asks of the other windows.
    std::function<void(const ResultsWindowOutcome&)> outcomeHandler;
    // Runs after each of the window's actions, which may have changed the project.
    std::function<void()> actionDone;

    // Handlers named as the window's documentation names them.
    void FormCreate();
    void ScrollBar1Change(int position);
    void Edit1Change(const QString& text); // on Enter or leaving the count field
    void Button1Click();
    void Button2Click();
    void Raumschnitt1Click();
    void Drucken1Click();
    void Deckenspiegel1Click();
    void Sound1Click();
    void Ausschreibungstext1Click();
    // The count scroll bar's range alone (the selection sets it back for a loaded project).
    void setCountRange(int minimum, int maximum);

    QMenuBar* MainMenu1 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override; // FormClose

private:
    void act(const std::function<ResultsWindowOutcome()>& action);

    AppState& state_;
    Dialogs& dialogs_;
    Shell& shell_;
    ResultsWindowModel model_;
    ControlTable<Form3View> controls_;
};

} // namespace fyl
