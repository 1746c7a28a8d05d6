// The picture slideshow TForm6. Windows layer (fylui).
#pragma once

#include <QWidget>

namespace fyl {

struct AppState;

// The picture slideshow. Created once at start and only shown and hidden afterwards.
class TForm6 : public QWidget {
    Q_OBJECT
public:
    explicit TForm6(AppState& state, QWidget* parent = nullptr);

private:
    AppState& state_;
};

} // namespace fyl
