// The typed errors of the core and the one finite check. Core layer (fylcore).
#include "frame/errors.h"

#include <cmath>

namespace fyl {

Error::Error(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}

long double requireFinite(long double value, const char* what) {
    if (!std::isfinite(value))
        throw ArithmeticError(QStringLiteral("Ungültige Gleitkommaoperation: %1 ist keine endliche Zahl.")
                                  .arg(QString::fromLatin1(what)));
    return value;
}

} // namespace fyl
