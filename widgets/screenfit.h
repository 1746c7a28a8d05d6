// Where a window opens: its wanted place, moved just far enough to lie wholly inside the available
// area of the screen it belongs to, at any scaling. Shared widgets (fylwidgets, QtWidgets).
#pragma once

#include <QPoint>
#include <QRect>

class QScreen;
class QWidget;

namespace fyl {

// The top-left corner for a window frame `frame` so that it lies inside `available`: the frame's
// own corner where it fits, otherwise moved by the least distance. A frame larger than the area
// starts at the area's edge, so that its title bar stays reachable.
QPoint fitOntoScreen(const QRect& frame, const QRect& available);

// Whether a window that does not fit may be made smaller: only one whose content follows its size.
enum class WhenTooLarge { Keep, Shrink };

// Moves the window's frame to `wanted` (screen coordinates) and then onto the available area of
// the screen holding that place.
void placeOnScreen(QWidget& window, QPoint wanted, WhenTooLarge tooLarge = WhenTooLarge::Keep);
// Centres the window's frame on the available area of `screen` (of the window's own one when null).
void centreOnScreen(QWidget& window, const QScreen* screen = nullptr,
                    WhenTooLarge tooLarge = WhenTooLarge::Keep);

} // namespace fyl
