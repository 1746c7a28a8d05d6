// The arithmetic of numeric input: four operators, parentheses and PI in single precision.
// Core layer (fylcore).
#pragma once

#include <QString>

#include <cstdint>

namespace fyl {

// Evaluates a small arithmetic expression typed into a numeric field ("4,5*6", "(2+3)*4",
// "2*PI", "1E3/4") by rewriting the text: one innermost parenthesis or one operation at a time
// is replaced by its result until one number remains. "*" and "/" go before "+" and "-", each
// pair from left to right. Operands and results are single precision.
//
// `text` is cut before its first "="; on success it becomes the input, "=" and the result
// (fixed-point with a point, `width` wide, `decimals` decimals) when the input holds an
// operator, otherwise just the result. Returns 0 on success; a positive 1-based position of the
// operator or closing parenthesis that could not be evaluated; -1 for unbalanced parentheses,
// a result beyond 1e38, a division by zero or a text that grows to 255 characters. `value` is 0
// after any failure. `calcStatus` receives the result of the parenthesis stage and the error
// position of the final number conversion. Nothing is thrown for malformed input.
int ExpressionEvaluator(QString& text, float& value, std::int16_t width, std::int32_t decimals,
                        int& calcStatus);

} // namespace fyl
