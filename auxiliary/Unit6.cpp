// The picture slideshow TForm6. Windows layer (fylui).
#include "auxiliary/Unit6.h"

namespace fyl {

TForm6::TForm6(AppState& state, QWidget* parent) : QWidget(parent, Qt::Window), state_(state) {
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Form6"));
    resize(808, 633);
}

} // namespace fyl
