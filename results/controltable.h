// Binds a window's controls to the typed identifiers of a view and applies a view to them.
// Windows layer (fylui).
#pragma once

#include "results/resultsview.h"

#include <QWidget>

#include <array>

namespace fyl {

// Gives one control what the view says: text, colour (labels and group boxes) and visibility.
void applyControlView(QWidget* control, const ControlView& view);

// The controls of one window by identifier. Each control is bound as it is built, and takes its
// object name from the identifier, so the name the view uses and the window's control cannot
// drift apart. An identifier without a control is a programming error: it stops debug builds.
template <class View> class ControlTable {
public:
    using Id = typename View::Id;

    template <class Widget> Widget* bind(Id id, Widget* control) {
        control->setObjectName(QString::fromLatin1(controlName(id)));
        controls_[static_cast<std::size_t>(id)] = control;
        return control;
    }

    QWidget* control(Id id) const {
        QWidget* w = controls_[static_cast<std::size_t>(id)];
        Q_ASSERT_X(w, "ControlTable::control", controlName(id));
        return w;
    }

    void apply(const View& view) const {
        for (std::size_t i = 0; i < View::size; ++i) {
            const Id id = static_cast<Id>(i);
            if (QWidget* w = control(id))
                applyControlView(w, view[id]);
        }
    }

private:
    std::array<QWidget*, View::size> controls_{};
};

} // namespace fyl
