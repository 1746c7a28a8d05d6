// A picture stretched over a widget's whole area: the main window's background, the selection
// window's outlet sketch and the slideshow. Shared widgets of the windows (fylwidgets, QtWidgets).
#pragma once

#include <QImage>
#include <QWidget>

namespace fyl {

// A picture stretched over the whole client area.
class StretchedImage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setImage(const QImage& image);
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

} // namespace fyl
