// Applying one control's part of a view to the Qt widget that shows it. Windows layer (fylui).
#include "results/controltable.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

namespace fyl {

void applyControlView(QWidget* control, const ControlView& view) {
    if (view.text) {
        if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(*view.text);
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(*view.text);
        else if (auto* box = qobject_cast<QGroupBox*>(control))
            box->setTitle(*view.text);
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(*view.text);
        else
            Q_ASSERT_X(false, "applyControlView", "a text for a control that shows none");
    }
    if (view.colour) {
        // Labels colour their text; a group box goes back to the window's own face colour.
        QPalette palette = control->palette();
        const QPalette standard = control->style() ? control->style()->standardPalette() : QPalette();
        if (qobject_cast<QGroupBox*>(control)) {
            palette.setColor(QPalette::Window, standard.color(QPalette::Window));
        } else {
            palette.setColor(QPalette::WindowText, *view.colour == LabelColour::Red
                                                       ? QColor(Qt::red)
                                                       : standard.color(QPalette::WindowText));
        }
        control->setPalette(palette);
    }
    if (view.visible)
        control->setVisible(*view.visible);
}

} // namespace fyl
