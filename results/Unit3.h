#pragma once

#include <QWidget>

namespace fyl {

struct AppState;

// The calculation window: results of the chosen outlet. Created once at start and only shown and hidden
// afterwards.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(AppState& state, QWidget* parent = nullptr);

private:
    AppState& state_;
};

} // namespace fyl
