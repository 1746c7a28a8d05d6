// The information window TForm7. Windows layer (fylui).
#include "auxiliary/Unit7.h"

namespace fyl {

TForm7::TForm7(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), state_(state) {
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Information"));
    resize(560, 149);
}

} // namespace fyl
