// The print window TForm5. Windows layer (fylui).
#pragma once

#include <QWidget>

namespace fyl {

struct AppState;

// The print window: choice of the report pages. Created once at start and only shown and hidden afterwards.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(AppState& state, QWidget* parent = nullptr);

private:
    AppState& state_;
};

} // namespace fyl
