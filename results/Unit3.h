// The calculation window TForm3: the results of the chosen outlet, the hints and the outlet
// count. Windows layer (fylui); it shows what the core's results view says.
#pragma once

#include "results/controltable.h"

#include <QWidget>

class QGroupBox;
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
    explicit TForm3(AppState& state, QWidget* parent = nullptr);

    // The control an identifier of the results view addresses.
    QWidget* control(form3::Control id) const { return controls_.control(id); }
    // Shows this window's part of a view: the labels, the count edit and the count scroll bar.
    void applyView(const ResultsView& view);

    QScrollBar* ScrollBar1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

private:
    AppState& state_;
    ControlTable<Form3View> controls_;
};

} // namespace fyl
