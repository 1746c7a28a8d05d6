// The selection window TForm2. Windows layer (fylui).
#include "selection/Unit2.h"

namespace fyl {

TForm2::TForm2(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), state_(state) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("ZELK        Auswahlfenster"));
    resize(760, 379);
}

} // namespace fyl
