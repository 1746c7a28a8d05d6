// Keys every secondary window answers to. Shared widgets (fylwidgets, QtWidgets).
#pragma once

class QPushButton;
class QWidget;

namespace fyl {

// Escape closes `window` as its close box does (its close handler runs), as dialogs close.
void closeOnEscape(QWidget* window);
// Enter (either key) presses `button`, the window's default, which is drawn as the default.
void pressOnEnter(QWidget* window, QPushButton* button);

} // namespace fyl
