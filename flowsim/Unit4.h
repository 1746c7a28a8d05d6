// The flow simulation window TForm4: the room section with the zones of excessive velocity, and
// the spacing and wall distances beside it. Windows layer (fylui).
#pragma once

#include "flowsim/flowpicture.h"
#include "flowsim/flowsimmodel.h"
#include "results/controltable.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace fyl {

struct AppState;
class Dialogs;

// Image1: the flow picture painted from its display list into the widget, at the resolution of
// the screen it is on, so that it stays sharp at any scaling.
class FlowPictureImage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setPicture(FlowPicture picture);
    const FlowPicture& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FlowPicture picture_;
};

// Created once at start and only shown and hidden afterwards.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    TForm4(AppState& state, Dialogs& dialogs, QWidget* parent = nullptr);

    // The control an identifier of the results view addresses.
    QObject* control(form4::Control id) const { return controls_.control(id); }
    QWidget* widget(form4::Control id) const { return controls_.widget(id); }
    // Shows this window's part of a view: distances, velocities and the spacing slider.
    void applyView(const ResultsView& view);

    // Computes one outlet's zone; unset, the picture shows no zones.
    ContourRoutine contourRoutine;
    // Receives the results an action computed, for the calculation window.
    std::function<void(const ResultsView&)> resultsHandler;
    // Runs after each of the window's actions, which may have changed the project.
    std::function<void()> actionDone;

    // Opened from the calculation window: velocity limit, head height and mounting height.
    void showPicture(const std::array<QString, 3>& labels);

    // Handlers named as the window's documentation names them.
    void FormCreate();
    void GraphDarstellung1Click();
    void ScrollBar2Change(int position);
    void ScrollBar3Change(int position);
    void ScrollBar4Change(int position);
    void CheckBox1Click(bool checked);
    void CheckBox2Click(bool checked);
    void CheckBox3Click(bool checked);
    void Button1Click();

    // The picture Image1 shows, in its own 369 x 361 pixels, as the PNG export writes it.
    QImage pictureImage() const;

    FlowPictureImage* Image1 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QScrollBar* ScrollBar3 = nullptr;
    QScrollBar* ScrollBar4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void act(const std::function<FlowSimOutcome()>& action);
    void editDone(QLineEdit* edit, QScrollBar* bar);

    AppState& state_;
    Dialogs& dialogs_;
    FlowSimModel model_;
    ControlTable<Form4View> controls_;
};

} // namespace fyl
