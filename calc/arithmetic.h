// Checked extended-precision arithmetic: division, logarithm, root, storing and truncation
// that raise ArithmeticError instead of producing NaN or infinity. Core layer (fylcore).
#pragma once

#include "frame/errors.h"

#include <QString>

#include <cmath>
#include <cstdint>

// The checks the x87 unit made in hardware: the original program ran with the invalid-operation,
// zero-divide and overflow exceptions enabled, so each of these ended the action with an error
// message. Here they raise ArithmeticError at the same points; underflow stays silent.
namespace fyl::arith {

[[noreturn]] inline void zeroDivide() {
    throw ArithmeticError(QStringLiteral("Gleitkommadivision durch Null."));
}

[[noreturn]] inline void invalidOperation(const char* detail) {
    throw ArithmeticError(
        QStringLiteral("Ungültige Gleitkommaoperation: %1.").arg(QString::fromUtf8(detail)));
}

// Rounds an extended value to double where the value is stored; a value beyond the range of
// double (or NaN from an invalid operation) raises.
inline double stored(long double value) {
    if (std::isnan(value))
        invalidOperation("keine Zahl");
    // From here on a value rounds to infinity: the largest double plus half its last unit.
    constexpr long double kOverflow = 0x1.fffffffffffff8p+1023L;
    if (std::fabs(value) >= kOverflow)
        throw ArithmeticError(QStringLiteral("Gleitkommaüberlauf."));
    return static_cast<double>(value);
}

inline long double divide(long double numerator, long double divisor) {
    if (divisor == 0.0L) {
        if (numerator == 0.0L || std::isnan(numerator))
            invalidOperation("0 / 0");
        zeroDivide();
    }
    return numerator / divisor;
}

inline long double ln(long double x) {
    if (!(x > 0.0L))
        invalidOperation("Logarithmus eines Wertes kleiner oder gleich 0");
    return std::log(x);
}

inline long double sqrtOf(long double x) {
    if (!(x >= 0.0L))
        invalidOperation("Wurzel eines negativen Wertes");
    return std::sqrt(x);
}

// Integer part (toward zero) of a value that must fit a 32-bit signed integer.
inline std::int32_t truncToInt32(long double x) {
    if (!(x > -2147483649.0L && x < 2147483648.0L))
        invalidOperation("der Wert passt nicht in eine 32-Bit-Ganzzahl");
    return static_cast<std::int32_t>(std::trunc(x));
}

} // namespace fyl::arith
