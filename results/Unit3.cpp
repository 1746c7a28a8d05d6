#include "results/Unit3.h"

namespace fyl {

TForm3::TForm3(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), state_(state) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("ZELK    Berechnungsfenster"));
    resize(640, 520);
}

} // namespace fyl
