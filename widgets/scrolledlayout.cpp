// Scroll areas that let a window be smaller than its layout. Shared widgets (fylwidgets, QtWidgets).
#include "widgets/scrolledlayout.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QScrollArea>
#include <QVBoxLayout>

namespace fyl {

namespace {

// QScrollArea's own hint is bounded to a few dozen lines of text, which would give a window a
// scroll bar even where the screen has room for all of it.
class FittingScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const QWidget* content = widget();
        if (content == nullptr)
            return QScrollArea::sizeHint();
        const int frame = 2 * frameWidth();
        return content->sizeHint().expandedTo(content->minimumSize()) + QSize(frame, frame);
    }
};

// The size from the corner to the far edges of every control, hidden ones too: what the layout
// needs whatever the window shows later. A background stretched over the rest may be cut.
QSize extentOfControls(const QWidget& content) {
    QSize extent;
    for (const QWidget* child : content.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            extent = extent.expandedTo(QSize(child->geometry().right() + 1, child->geometry().bottom() + 1));
    return extent;
}

} // namespace

QScrollArea* scrollingArea(QWidget* content, QWidget* parent) {
    auto* area = new FittingScrollArea(parent);
    area->setObjectName(QStringLiteral("scrollingArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    return area;
}

void scrollFixedLayout(QWidget& window) {
    QMenuBar* menu = window.findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
    const int top = menu != nullptr ? menu->geometry().bottom() + 1 : 0;
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("layout"));
    for (QWidget* child : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child == menu || child->isWindow())
            continue;
        // A new parent hides a widget; the ones hidden on purpose stay hidden.
        const bool hidden = child->isHidden();
        const QRect at = child->geometry().translated(0, -top);
        child->setParent(content);
        child->setGeometry(at);
        child->setHidden(hidden);
    }
    content->setMinimumSize(extentOfControls(*content));
    auto* column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    if (menu != nullptr)
        column->setMenuBar(menu);
    column->addWidget(scrollingArea(content, &window));
}

void scrollCentralWidget(QMainWindow& window) {
    QWidget* central = window.takeCentralWidget();
    central->setMinimumSize(extentOfControls(*central));
    window.setCentralWidget(scrollingArea(central, &window));
}

} // namespace fyl
