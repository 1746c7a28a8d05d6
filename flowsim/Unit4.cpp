#include "flowsim/Unit4.h"

namespace fyl {

TForm4::TForm4(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), state_(state) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Zelk        Strömungssimulation"));
    resize(773, 420);
}

} // namespace fyl
