// Windows that keep every control reachable on a screen smaller than their layout (a high scaling
// on a small screen): the layout lies in a scroll area that fills the window and scrolls where the
// window is smaller than the layout, so the window itself may be made as small as the screen.
// Shared widgets (fylwidgets, QtWidgets).
#pragma once

class QMainWindow;
class QScrollArea;
class QWidget;

namespace fyl {

// A scroll area around `content`: the content fills it while it is larger than the content's least
// size and scrolls where it is smaller. Its size hint is the content's whole one, so that a window
// asks for all of it and is made smaller only where the screen is.
QScrollArea* scrollingArea(QWidget* content, QWidget* parent = nullptr);

// A window whose controls stand at fixed places: all of them but a menu bar move, at the places
// they had, into a scroll area below that menu bar, which scrolls where the window is smaller
// than the controls reach.
void scrollFixedLayout(QWidget& window);

// A main window whose central widget holds controls at fixed places: the central widget scrolls
// below the menu bar where the window is smaller than the controls reach.
void scrollCentralWidget(QMainWindow& window);

} // namespace fyl
