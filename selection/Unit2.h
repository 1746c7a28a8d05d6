// The selection window TForm2. Windows layer (fylui).
#pragma once

#include <QWidget>

namespace fyl {

struct AppState;

// The selection window: installation kind, type, size and jet form. Created once at start and only shown and
// hidden afterwards.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(AppState& state, QWidget* parent = nullptr);

private:
    AppState& state_;
};

} // namespace fyl
