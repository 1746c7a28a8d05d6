// Binds a window's controls to the typed identifiers of a view and applies a view to them.
// Windows layer (fylui).
#pragma once

#include "results/resultsview.h"

#include <QLabel>
#include <QObject>
#include <QWidget>

#include <array>

namespace fyl {

// A label placed at (x, y) with width w and height h, and one that carries an object name.
QLabel* placedLabel(QWidget* parent, const QString& text, int x, int y, int w, int h = 22);
QLabel* namedLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h = 22);

// True for a focus-out by which the planner left a field: not when another window (a message box)
// or a popup took the focus, which would run the field's action again from inside itself.
bool leftByThePlanner(const QEvent* event);

// Gives one control (a widget, a menu or a menu item) what the view says: text, colour and
// visibility.
void applyControlView(QObject* control, const ControlView& view);

// The controls of one window by identifier. Each control is bound as it is built, and takes its
// object name from the identifier, so the name the view uses and the window's control cannot
// drift apart. An identifier without a control is a programming error: it stops debug builds.
template <class View> class ControlTable {
public:
    using Id = typename View::Id;

    template <class Control> Control* bind(Id id, Control* control) {
        control->setObjectName(QString::fromLatin1(controlName(id)));
        controls_[static_cast<std::size_t>(id)] = control;
        return control;
    }

    QObject* control(Id id) const {
        QObject* c = controls_[static_cast<std::size_t>(id)];
        Q_ASSERT_X(c, "ControlTable::control", controlName(id));
        return c;
    }
    QWidget* widget(Id id) const { return qobject_cast<QWidget*>(control(id)); }

    void apply(const View& view) const {
        for (std::size_t i = 0; i < View::size; ++i) {
            const Id id = static_cast<Id>(i);
            if (QObject* c = control(id))
                applyControlView(c, view[id]);
        }
    }

private:
    std::array<QObject*, View::size> controls_{};
};

} // namespace fyl
