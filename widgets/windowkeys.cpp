// Keys every secondary window answers to. Shared widgets (fylwidgets).
#include "widgets/windowkeys.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

namespace fyl {

void closeOnEscape(QWidget* window) {
    auto* escape = new QShortcut(QKeySequence::Cancel, window);
    escape->setObjectName(QStringLiteral("closeOnEscape"));
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

void pressOnEnter(QWidget* window, QPushButton* button) {
    button->setDefault(true);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        // The window owns its shortcuts.
        new QShortcut(QKeySequence(key), button, [button] { // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)
            if (button->isEnabled() && button->isVisible())
                button->click();
        });
    }
}

} // namespace fyl
