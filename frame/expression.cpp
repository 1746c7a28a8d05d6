// The arithmetic of numeric input: four operators, parentheses and PI in single precision.
// Core layer (fylcore).
#include "frame/expression.h"

#include "frame/constants.h"
#include "frame/numbers.h"

#include <algorithm>
#include <cmath>
#include <system_error>

namespace fyl {

namespace {

constexpr int kMaxLength = 254; // the working text is a short string
constexpr int kOverflow = -1;

bool isDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}
bool isOperator(QChar c) {
    return c == QLatin1Char('*') || c == QLatin1Char('/') || c == QLatin1Char('+') || c == QLatin1Char('-');
}
// Characters that belong to a number wherever they stand.
bool isOperandChar(QChar c) {
    return isDigit(c) || c == QLatin1Char('.') || c == QLatin1Char(' ') || c == QLatin1Char('E');
}

struct Conversion {
    int errorPosition = 0; // 1-based position of the first character that is not part of a number
    bool overflow = false;
    long double value = 0.0L;
};

// Reads a whole text as a number with a decimal point. Anything else is reported by its position.
Conversion convert(const QString& text) {
    Conversion result;
    const numbers::ScannedNumber scan = numbers::scanNumber(text, QLatin1Char('.'));
    if (!scan.complete || scan.end < text.size()) {
        result.errorPosition = scan.end + 1;
        return result;
    }
    long double magnitude = scan.magnitude;
    if (scan.status == std::errc::result_out_of_range) {
        // Beyond the extended range: a negative exponent makes it zero, otherwise it overflows.
        if (!scan.negativeExponent) {
            result.overflow = true;
            return result;
        }
        magnitude = 0.0L;
    } else if (scan.status != std::errc()) {
        result.errorPosition = 1;
        return result;
    }
    result.value = scan.negative ? -magnitude : magnitude;
    return result;
}

// Narrows to single precision; false when the value does not fit.
bool narrow(long double value, float& out) {
    constexpr long double kOverflow = 0x1.ffffffp+127L; // the largest float plus half its last unit
    if (std::isnan(value) || std::fabs(value) >= kOverflow)
        return false;
    out = static_cast<float>(value);
    return true;
}

// The first occurrence of `op` that counts as an operator: not the text's first character and
// not the sign of an exponent.
int findOperator(const QString& t, QChar op) {
    int from = 0;
    for (;;) {
        const int at = static_cast<int>(t.indexOf(op, from));
        if (at < 0)
            return -1;
        if (at > 0 && t[at - 1] != QLatin1Char('E'))
            return at;
        from = at + 1;
    }
}

// The first operator of a precedence group, whichever of its two characters comes first.
int findFirstOfGroup(const QString& t, QChar first, QChar second) {
    const int a = findOperator(t, first);
    const int b = findOperator(t, second);
    if (a < 0)
        return b;
    return b < 0 ? a : std::min(a, b);
}

// Evaluates a text without parentheses in place; returns 0 or the error result.
// "*" and "/" bind before "+" and "-"; within each pair the operations go from left to right.
int flatStage(QString& t) {
    static const char kGroups[][2] = {{'*', '/'}, {'+', '-'}};
    for (const auto& group : kGroups) {
        for (;;) {
            const int p = findFirstOfGroup(t, QLatin1Char(group[0]), QLatin1Char(group[1]));
            if (p < 0)
                break;
            const char opChar = t[p].toLatin1();
            const int position = p + 1;
            const int size = static_cast<int>(t.size());

            int left = p;
            for (int i = p - 1; i >= 0; --i) {
                const QChar c = t[i];
                if (isOperandChar(c)) {
                    left = i;
                } else if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
                    const bool sign = i == 0 || t[i - 1] == QLatin1Char('E') ||
                                      (isOperator(t[i - 1]) && i + 1 < size && isDigit(t[i + 1]));
                    if (!sign)
                        break;
                    left = i;
                } else if (c == QLatin1Char('*') || c == QLatin1Char('/')) {
                    break;
                } else {
                    return position;
                }
            }
            int right = p + 1; // one past the right operand
            for (int i = p + 1; i < size; ++i) {
                const QChar c = t[i];
                if (isOperandChar(c)) {
                    right = i + 1;
                } else if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
                    if (i != p + 1 && t[i - 1] != QLatin1Char('E'))
                        break;
                    right = i + 1;
                } else if (c == QLatin1Char('*') || c == QLatin1Char('/')) {
                    break;
                } else {
                    return position;
                }
            }
            const QString leftText = t.mid(left, p - left).trimmed();
            const QString rightText = t.mid(p + 1, right - p - 1).trimmed();
            if (leftText.isEmpty() || rightText.isEmpty())
                return position;
            const Conversion x = convert(leftText);
            const Conversion y = convert(rightText);
            if (x.errorPosition != 0 || y.errorPosition != 0)
                return position;
            float a = 0.0f;
            float b = 0.0f;
            if (x.overflow || y.overflow || !narrow(x.value, a) || !narrow(y.value, b))
                return kOverflow;
            long double r = 0.0L;
            switch (opChar) {
            case '*':
                r = static_cast<long double>(a) * b;
                break;
            case '/':
                if (b == 0.0f)
                    return kOverflow;
                r = static_cast<long double>(a) / b;
                break;
            case '+':
                r = static_cast<long double>(a) + b;
                break;
            default:
                r = static_cast<long double>(a) - b;
                break;
            }
            float result = 0.0f;
            if (std::fabs(r) > 1e38L || !narrow(r, result))
                return kOverflow;
            const QString next = t.left(left) + numbers::formatScientific(result, 16) + t.mid(right);
            if (next.size() > kMaxLength)
                return kOverflow;
            t = next;
        }
    }
    return 0;
}

// Replaces innermost parentheses by their values until none remains.
int parenthesisStage(QString& t) {
    for (;;) {
        const int close = static_cast<int>(t.indexOf(QLatin1Char(')')));
        if (close < 0)
            return 0;
        const int open = static_cast<int>(t.lastIndexOf(QLatin1Char('('), close));
        if (open < 0)
            return close + 1;
        QString inner = t.mid(open + 1, close - open - 1);
        const int error = flatStage(inner);
        if (error != 0)
            return error;
        const QString next = t.left(open) + inner + t.mid(close + 1);
        if (next.size() > kMaxLength)
            return kOverflow;
        t = next;
    }
}

} // namespace

int ExpressionEvaluator(QString& text, float& value, std::int16_t width, std::int32_t decimals,
                        int& calcStatus) {
    value = 0.0f;
    const int equals = static_cast<int>(text.indexOf(QLatin1Char('=')));
    if (equals >= 0)
        text.truncate(equals);
    const QString input = text;

    QString t = input.toUpper();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    t.remove(QLatin1Char(' '));
    t.replace(QStringLiteral("PI"), numbers::formatScientific(kPi, 0));
    // A longer text would not fit the working string; evaluating a cut text would give a wrong number.
    if (t.size() > kMaxLength)
        return kOverflow;

    int error = t.count(QLatin1Char('(')) != t.count(QLatin1Char(')')) ? kOverflow : parenthesisStage(t);
    calcStatus = error;
    if (error != 0)
        return error;
    error = flatStage(t);
    if (error != 0)
        return error;

    const Conversion result = convert(t);
    calcStatus = result.errorPosition;
    if (result.errorPosition != 0)
        return result.errorPosition;
    float narrowed = 0.0f;
    if (result.overflow || !narrow(result.value, narrowed))
        return kOverflow;
    value = narrowed;

    const QString formatted = numbers::formatWidth(narrowed, width, decimals);
    const bool hasOperator = input.contains(QLatin1Char('*')) || input.contains(QLatin1Char('+')) ||
                             input.contains(QLatin1Char('-')) || input.contains(QLatin1Char('/'));
    text = hasOperator ? input + QLatin1Char('=') + formatted : formatted;
    return 0;
}

} // namespace fyl
