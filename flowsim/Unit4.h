// The flow simulation window TForm4: the room section with the zones of excessive velocity, and
// the spacing and wall distances beside it. Windows layer (fylui).
#pragma once

#include "results/controltable.h"

#include <QWidget>

class QScrollBar;

namespace fyl {

struct AppState;

// Created once at start and only shown and hidden afterwards.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(AppState& state, QWidget* parent = nullptr);

    // The control an identifier of the results view addresses.
    QObject* control(form4::Control id) const { return controls_.control(id); }
    QWidget* widget(form4::Control id) const { return controls_.widget(id); }
    // Shows this window's part of a view: distances, velocities and the spacing slider.
    void applyView(const ResultsView& view);

    QScrollBar* ScrollBar2 = nullptr;
    QScrollBar* ScrollBar3 = nullptr;
    QScrollBar* ScrollBar4 = nullptr;

private:
    AppState& state_;
    ControlTable<Form4View> controls_;
};

} // namespace fyl
