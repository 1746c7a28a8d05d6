// Applying one control's part of a view to the Qt widget that shows it. Windows layer (fylui).
#include "results/controltable.h"

#include <QAbstractButton>
#include <QAction>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>

namespace fyl {

QLabel* placedLabel(QWidget* parent, const QString& text, int x, int y, int w, int h) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, h);
    return l;
}

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h) {
    QLabel* l = placedLabel(parent, text, x, y, w, h);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

bool leftByThePlanner(const QEvent* event) {
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void applyControlView(QObject* control, const ControlView& view) {
    if (auto* action = qobject_cast<QAction*>(control)) {
        if (view.text)
            action->setText(*view.text);
        if (view.visible)
            action->setVisible(*view.visible);
        return;
    }
    auto* widget = qobject_cast<QWidget*>(control);
    Q_ASSERT(widget);
    if (view.text) {
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(*view.text);
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->setText(*view.text);
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            box->setTitle(*view.text);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(*view.text);
        else if (auto* menu = qobject_cast<QMenu*>(widget))
            menu->setTitle(*view.text);
        else
            Q_ASSERT_X(false, "applyControlView", "a text for a control that shows none");
    }
    if (view.colour) {
        const bool red = *view.colour == LabelColour::Red;
        QPalette palette = widget->palette();
        const QPalette standard =
            widget->style() != nullptr ? widget->style()->standardPalette() : QPalette();
        if (qobject_cast<QGroupBox*>(widget) != nullptr) {
            // A group box goes back to the window's own face colour.
            palette.setColor(QPalette::Window, standard.color(QPalette::Window));
        } else if (qobject_cast<QLineEdit*>(widget) != nullptr) {
            palette.setColor(QPalette::Base, red ? QColor(Qt::red) : QColor(Qt::white));
        } else {
            // A dark green: the light one is hard to read on the window's grey.
            const bool green = *view.colour == LabelColour::Green;
            palette.setColor(QPalette::WindowText, red     ? QColor(Qt::red)
                                                   : green ? QColor(0, 128, 0)
                                                           : standard.color(QPalette::WindowText));
        }
        widget->setPalette(palette);
    }
    if (view.visible)
        widget->setVisible(*view.visible);
}

} // namespace fyl
