// The typed errors of the core and the one finite check. Core layer (fylcore).
#include "frame/errors.h"

#include <cmath>

namespace fyl {

Error::Error(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}

void throwNotFinite(const char* what) {
    throw ArithmeticError(QStringLiteral("Ungültige Gleitkommaoperation: %1 ist keine endliche Zahl.")
                              .arg(QString::fromLatin1(what)));
}

} // namespace fyl
