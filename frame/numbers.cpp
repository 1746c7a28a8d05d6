// All conversion between numbers and text: parsing, the fixed, general, width and scientific
// forms. Core layer (fylcore).
#include "frame/numbers.h"

#include "frame/errors.h"

#include <QByteArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

static_assert(std::numeric_limits<long double>::digits == 64, "long double must be 80-bit extended");

namespace fyl::numbers {

namespace {

QChar g_separator = QLatin1Char(',');

// Decimal digits of |value| with half-up rounding: `digits` holds significant digits without
// leading zeros, and the value is 0.d1d2d3... * 10^exponent. Rounding goes first to 15
// significant digits (to drop the binary noise of a stored double, so 12.345 rounds as the
// planner typed it) and then half-up at the requested place.
struct Decimal {
    std::string digits; // empty for zero
    int exponent = 0;
    bool negative = false;
};

Decimal decompose(long double value, int significant) {
    Decimal d;
    d.negative = std::signbit(value);
    value = std::fabs(value);
    if (value == 0.0L)
        return d;
    significant = std::clamp(significant, 1, 18);
    char buf[64];
    // Both conversions round the exact binary value correctly; the double one is several times
    // quicker, and nearly every value here is a stored double.
    const auto narrow = static_cast<double>(value);
    auto res =
        static_cast<long double>(narrow) == value
            ? std::to_chars(buf, buf + sizeof buf, narrow, std::chars_format::scientific, significant - 1)
            : std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
    // "d.ddde±xx": the digits without the point, then the exponent.
    const char* const e = std::find(buf, res.ptr, 'e');
    for (const char* p = buf; p != e; ++p)
        if (*p != '.')
            d.digits += *p;
    int exponent = 0;
    const char* from = e + 1;
    const bool negativeExponent = from != res.ptr && *from == '-';
    if (from != res.ptr && (*from == '-' || *from == '+'))
        ++from;
    std::from_chars(from, res.ptr, exponent);
    d.exponent = (negativeExponent ? -exponent : exponent) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// Rounds half-up so that at most `keep` digits remain (keep may be 0 or negative: the value then
// rounds to zero or to one unit of the first place above).
void roundTo(Decimal& d, int keep) {
    if (static_cast<int>(d.digits.size()) <= keep)
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            d.digits.pop_back();
            if (d.digits.empty())
                d.digits.assign(1, '1');
            ++d.exponent;
        } else {
            ++d.digits[static_cast<std::size_t>(i)];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

Decimal prepared(long double value, int precision) {
    return decompose(value, std::max(15, std::min(precision, 18)));
}

// Writes the decimal with exactly `decimals` places and the given separator.
QString writeFixed(const Decimal& d, int decimals, QChar separator) {
    decimals = std::max(decimals, 0);
    const int digitCount = static_cast<int>(d.digits.size());
    const int intDigits = d.digits.empty() ? 0 : std::max(d.exponent, 0); // none: "0"
    QString out;
    out.reserve(2 + std::max(intDigits, 1) + 1 + decimals);
    if (d.negative && !d.digits.empty())
        out += QLatin1Char('-');
    // Digit k of the value, counted from the first significant one; zeros beyond them.
    const auto digitAt = [&](int k) {
        return QLatin1Char(k >= 0 && k < digitCount ? d.digits[static_cast<std::size_t>(k)] : '0');
    };
    if (intDigits == 0)
        out += QLatin1Char('0');
    for (int k = 0; k < intDigits; ++k)
        out += digitAt(k);
    if (decimals > 0) {
        out += separator;
        // The first place after the separator is digit `exponent` (negative for leading zeros).
        const int first = d.digits.empty() ? digitCount : d.exponent;
        for (int k = 0; k < decimals; ++k)
            out += digitAt(first + k);
    }
    return out;
}

QString writeGeneral(Decimal d, int precision, QChar separator) {
    roundTo(d, precision);
    if (d.digits.empty())
        return QStringLiteral("0");
    const int exponent = d.exponent - 1; // of the form d.ddd * 10^exponent
    if (d.exponent > precision || d.exponent < -3) {
        QString out;
        if (d.negative)
            out += QLatin1Char('-');
        out += QLatin1Char(d.digits[0]);
        if (d.digits.size() > 1) {
            out += separator;
            out += QString::fromStdString(d.digits.substr(1));
        }
        out += QLatin1Char('E');
        out += QString::number(exponent);
        return out;
    }
    const int decimals = std::max(0, static_cast<int>(d.digits.size()) - d.exponent);
    return writeFixed(d, decimals, separator);
}

ConversionError notANumber(const QString& text) {
    return ConversionError(QStringLiteral("'%1' ist kein gültiger Gleitkommawert.").arg(text));
}

} // namespace

QChar decimalSeparator() {
    return g_separator;
}
void setDecimalSeparator(QChar separator) {
    g_separator = separator;
}

ScannedNumber scanNumber(const QString& text, QChar separator) {
    ScannedNumber scan;
    const int n = static_cast<int>(text.size());
    int i = 0;
    std::string digits; // the form std::from_chars reads: no sign, a point, "e" and its sign
    const auto takeDigits = [&] {
        int count = 0;
        for (; i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9'; ++i, ++count)
            digits += static_cast<char>(text[i].unicode());
        return count;
    };
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        scan.negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int mantissaDigits = takeDigits();
    if (i < n && text[i] == separator) {
        digits += '.';
        ++i;
        mantissaDigits += takeDigits();
    }
    scan.end = i;
    if (mantissaDigits == 0)
        return scan;
    if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        digits += 'e';
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            scan.negativeExponent = text[i] == QLatin1Char('-');
            digits += static_cast<char>(text[i].unicode());
            ++i;
        }
        const int exponentDigits = takeDigits();
        scan.end = i;
        if (exponentDigits == 0)
            return scan;
    }
    scan.complete = true;
    scan.status = std::from_chars(digits.data(), digits.data() + digits.size(), scan.magnitude).ec;
    return scan;
}

long double parseReal(const QString& text) {
    return parseRealWith(text, g_separator);
}

long double parseRealWith(const QString& text, QChar separator) {
    const QString t = text.trimmed();
    const ScannedNumber scan = scanNumber(t, separator);
    if (!scan.complete || scan.end != t.size() || scan.status != std::errc() ||
        !std::isfinite(scan.magnitude))
        throw notANumber(text);
    return scan.negative ? -scan.magnitude : scan.magnitude;
}

int parseInt(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    const int value = t.toInt(&ok, 10);
    bool plain = !t.isEmpty();
    for (int i = 0; i < t.size() && plain; ++i) {
        const QChar c = t[i];
        plain = (c.unicode() >= '0' && c.unicode() <= '9') ||
                (i == 0 && (c == QLatin1Char('+') || c == QLatin1Char('-')) && t.size() > 1);
    }
    if (!ok || !plain)
        throw ConversionError(QStringLiteral("'%1' ist kein gültiger Integerwert.").arg(text));
    return value;
}

QString formatFixed(long double value, int precision, int digits) {
    requireFinite(value, "die auszugebende Zahl");
    precision = std::clamp(precision, 1, 18);
    digits = std::clamp(digits, 0, 18);
    Decimal d = prepared(value, precision);
    if (d.exponent > precision)
        return writeGeneral(d, precision, g_separator);
    roundTo(d, std::min(precision, d.exponent + digits));
    if (d.exponent > precision)
        return writeGeneral(d, precision, g_separator);
    return writeFixed(d, digits, g_separator);
}

QString formatGeneral(long double value, int precision) {
    requireFinite(value, "die auszugebende Zahl");
    precision = std::clamp(precision, 1, 18);
    return writeGeneral(prepared(value, precision), precision, g_separator);
}

QString formatWidth(long double value, int width, int decimals) {
    requireFinite(value, "die auszugebende Zahl");
    decimals = std::clamp(decimals, 0, 18);
    Decimal d = prepared(value, 15);
    roundTo(d, d.exponent + decimals);
    return writeFixed(d, decimals, QLatin1Char('.')).rightJustified(width, QLatin1Char(' '));
}

QString formatScientific(long double value, int width) {
    requireFinite(value, "die auszugebende Zahl");
    const int decimals = width <= 0 ? 17 : std::clamp(width - 8, 1, 17);
    char buf[64];
    auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, decimals);
    std::string text(buf, res.ptr);
    const auto e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    QString out = std::signbit(value) && value != 0.0L ? QStringLiteral("-") : QStringLiteral(" ");
    out += QString::fromStdString(text.substr(0, e));
    out += QLatin1Char('E');
    out += exponent < 0 ? QLatin1Char('-') : QLatin1Char('+');
    out += QString::number(std::abs(exponent)).rightJustified(4, QLatin1Char('0'));
    return out.rightJustified(width, QLatin1Char(' '));
}

} // namespace fyl::numbers
