// The print window TForm5. Windows layer (fylui).
#include "print/Unit5.h"

namespace fyl {

TForm5::TForm5(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), state_(state) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Drucken"));
    resize(400, 240);
}

} // namespace fyl
