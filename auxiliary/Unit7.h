// The information window TForm7. Windows layer (fylui).
#pragma once

#include <QWidget>

namespace fyl {

struct AppState;

// The information window: the maker's contact lines and the version. Created once at start and only shown and
// hidden afterwards.
class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(AppState& state, QWidget* parent = nullptr);

private:
    AppState& state_;
};

} // namespace fyl
