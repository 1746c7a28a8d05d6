#pragma once

#include <QWidget>

namespace fyl {

struct AppState;

// The flow simulation: the room section with the zones of excessive velocity. Created once at start and only
// shown and hidden afterwards.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(AppState& state, QWidget* parent = nullptr);

private:
    AppState& state_;
};

} // namespace fyl
