// The typed errors of the core and the one finite check. Core layer (fylcore).
#pragma once

#include <QString>

#include <cmath>
#include <stdexcept>

namespace fyl {

// Every failure the core reports to the user. The message is German and shown as it stands
// by the standard error box; what() gives the same text in UTF-8 for logs and the CLI.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message);
    const QString& message() const noexcept { return message_; }

private:
    QString message_;
};

// A text that is not a number where a number is read.
class ConversionError : public Error {
public:
    using Error::Error;
};

// A division by zero, a logarithm of a non-positive value, a result that is not finite,
// or a count that does not fit the integer it is stored in.
class ArithmeticError : public Error {
public:
    using Error::Error;
};

// A file that cannot be opened, created, read or written.
class FileError : public Error {
public:
    using Error::Error;
};

// An index outside the bounds of a fixed-size table.
class RangeError : public Error {
public:
    using Error::Error;
};

[[noreturn]] void throwNotFinite(const char* what);

// Raises ArithmeticError when value is NaN or infinite; returns value otherwise. Used at the
// points where a result is stored, so that nothing but a finite number reaches the record.
// Inline: the evaluations check every figure they store, thousands of times per ranking.
inline long double requireFinite(long double value, const char* what) {
    if (!std::isfinite(value)) [[unlikely]]
        throwNotFinite(what);
    return value;
}

} // namespace fyl
