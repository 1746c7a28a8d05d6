// All conversion between numbers and text: parsing, the fixed, general, width and scientific
// forms. Core layer (fylcore).
#pragma once

#include <QChar>
#include <QString>

#include <system_error>

// The one place where numbers become text and text becomes numbers. Real arithmetic is done in
// long double (80-bit extended on x86-64) and stored as double; the functions below take long
// double so that an intermediate value is formatted exactly as computed.
namespace fyl::numbers {

// The decimal separator of the dialogue: one setting for the whole program, ',' by default.
QChar decimalSeparator();
void setDecimalSeparator(QChar separator);

// A decimal number as the dialogue and the expression evaluator read it: leading blanks, an
// optional sign, digits with an optional `separator` among them (one digit at least), then an
// optional exponent: "E" or "e", an optional sign and one digit at least. Scanning stops at the
// first character that does not fit; whether text may follow is the caller's rule.
struct ScannedNumber {
    bool complete = false; // every part that was begun has its digits
    int end = 0;           // index of the first character not taken
    bool negative = false;
    bool negativeExponent = false;
    // What std::from_chars made of the digits when complete: std::errc() with the magnitude, or
    // result_out_of_range beyond the range of long double.
    std::errc status = std::errc::invalid_argument;
    long double magnitude = 0.0L;
};
ScannedNumber scanNumber(const QString& text, QChar separator);

// Leading and trailing blanks allowed, an optional sign, digits with the decimal separator,
// an optional exponent ("1,5E-3"). Anything else raises ConversionError naming the text.
long double parseReal(const QString& text);
// The same with `separator` in place of the dialogue's: for files that decide their own.
long double parseRealWith(const QString& text, QChar separator);
// An optional sign and decimal digits, blanks around allowed; out-of-range values and any
// other text raise ConversionError.
int parseInt(const QString& text);

// Fixed-point text: rounded to at most `precision` significant digits and at most `digits`
// decimals, whichever is fewer, then written with exactly `digits` decimals. A number with more
// integer digits than `precision` is written in general form with `precision` digits.
QString formatFixed(long double value, int precision, int digits);

// The shortest text with at most `precision` significant digits: no trailing zeros, no
// trailing separator; exponent form ("1E20", "1,5E-7") only beyond `precision` integer digits
// or below 1E-4 (0,0001 stays fixed, 0,00001 gives "1E-5").
QString formatGeneral(long double value, int precision = 15);

// Fixed notation with a point, right-aligned with blanks to at least `width` characters; no
// point when `decimals` is 0. The form of the exchange files and of rewritten expressions.
QString formatWidth(long double value, int width, int decimals);

// Exponent form with a point: a blank or minus, one digit, the point, the decimals, "E", the
// exponent's sign and four digits. `width` 16 gives 8 decimals (" 2.00000000E+0001"); a width
// of 0 or less gives the longest form with 17 decimals.
QString formatScientific(long double value, int width);

} // namespace fyl::numbers
