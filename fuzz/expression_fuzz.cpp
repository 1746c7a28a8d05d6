// Fuzz target of the arithmetic of numeric input fields. Fuzzing harness over the core (fylcore).
//
// The first byte chooses the width, the second the decimals of the rewritten text, the rest is
// the typed text (UTF-8). A success gives a finite value and a text without "nan" or "inf"; a
// failure gives 0 and a position inside the text, or -1.
#include "fuzz/fuzzsupport.h"

#include "frame/expression.h"

#include <algorithm>
#include <cmath>

using namespace fyl;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const auto width = static_cast<std::int16_t>(data[0] % 24);
    const auto decimals = static_cast<std::int32_t>(data[1] % 12);
    const QString typed = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    QString text = typed;
    float value = 12345.0f; // what the field held before
    int calcStatus = 0;
    const int result = ExpressionEvaluator(text, value, width, decimals, calcStatus);
    const QString detail = typed + QStringLiteral(" -> ") + text;
    if (result == 0) {
        // 1e38 bounds the result of an operation; a typed number may reach the single-precision limit.
        require(std::isfinite(value), "an expression gave a non-finite value", detail);
        require(!fuzz::showsNonFinite(text) || fuzz::showsNonFinite(typed),
                "an expression's text shows a non-finite number", detail);
    } else {
        require(value == 0.0f, "a failed expression left a value", detail);
        // Positions count in the rewritten text, which may grow up to 255 characters.
        require(result == -1 || (result > 0 && result <= std::max<qsizetype>(typed.size(), 255)),
                "a failed expression points outside the text", detail + QStringLiteral(" at ") + QString::number(result));
    }
    return 0;
}
