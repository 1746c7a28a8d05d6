// Where a window opens, inside the available area of its screen. Shared widgets (fylwidgets,
// QtWidgets).
#include "widgets/screenfit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace fyl {

namespace {

int fitOneAxis(int start, int length, int areaStart, int areaLength) {
    if (length >= areaLength)
        return areaStart;
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}

// A window manager's title bar and borders [logical pixels], assumed where no frame is known yet:
// rather a little too large, so that a window made as large as the screen keeps its title bar and
// its bottom buttons on it.
constexpr QMargins kAssumedFrame(4, 32, 4, 4);

// The frame around the client area. Before a window has been shown the platform may not know it
// yet (X11 learns it from the window manager); another shown window's frame is the best guess,
// and without one a usual frame is assumed.
QMargins frameMarginsOf(const QWidget& window) {
    const auto margins = [](const QWidget& w) {
        const QRect frame = w.frameGeometry(), client = w.geometry();
        return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                        frame.right() - client.right(), frame.bottom() - client.bottom());
    };
    if (window.isVisible())
        return margins(window);
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != &window && other->isVisible() && other->isWindow() && !margins(*other).isNull())
            return margins(*other);
    return kAssumedFrame;
}

const QScreen* screenOf(const QWidget& window, QPoint place) {
    if (const QScreen* s = QGuiApplication::screenAt(place))
        return s;
    if (const QScreen* s = window.screen())
        return s;
    return QGuiApplication::primaryScreen();
}

void fitInto(QWidget& window, QPoint wanted, const QScreen* screen, WhenTooLarge tooLarge) {
    if (screen == nullptr) {
        window.move(wanted);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameMarginsOf(window);
    if (tooLarge == WhenTooLarge::Shrink) {
        const QSize room = area.size().shrunkBy(frame);
        QSize size = window.size().boundedTo(room);
        // Lower than its layout asks, the window scrolls it up and down: the scroll bar gets room
        // beside the layout where the screen has it, so the layout need not scroll sideways too.
        const QSize wanted = window.sizeHint();
        const int bar = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &window);
        const bool scrollsDown = size.height() < wanted.height(),
                   scrollsAcross = size.width() < wanted.width();
        if (scrollsDown)
            size.setWidth(std::min(room.width(), std::max(size.width(), wanted.width() + bar)));
        if (scrollsAcross)
            size.setHeight(std::min(room.height(), std::max(size.height(), wanted.height() + bar)));
        size = size.expandedTo(window.minimumSize());
        if (size != window.size())
            window.resize(size);
    }
    const QSize outer = window.size().grownBy(frame);
    window.move(fitOntoScreen(QRect(wanted, outer), area));
}

} // namespace

QPoint fitOntoScreen(const QRect& frame, const QRect& available) {
    return {fitOneAxis(frame.left(), frame.width(), available.left(), available.width()),
            fitOneAxis(frame.top(), frame.height(), available.top(), available.height())};
}

void placeOnScreen(QWidget& window, QPoint wanted, WhenTooLarge tooLarge) {
    fitInto(window, wanted, screenOf(window, wanted), tooLarge);
}

void centreOnScreen(QWidget& window, const QScreen* screen, WhenTooLarge tooLarge) {
    if (screen == nullptr)
        screen = screenOf(window, window.pos());
    if (screen == nullptr)
        return;
    // Shrunk first, so that the smaller window is the one centred.
    fitInto(window, window.pos(), screen, tooLarge);
    const QMargins frame = frameMarginsOf(window);
    const QSize outer = window.size().grownBy(frame);
    const QRect area = screen->availableGeometry();
    const QPoint centred =
        area.topLeft() + QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
    window.move(fitOntoScreen(QRect(centred, outer), area));
}

} // namespace fyl
