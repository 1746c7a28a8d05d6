// How a command of zelkfyl-cli declares and reads its arguments, how a wrong call ends (the message
// and the command's usage on standard error, exit status 2), and the guard that keeps any failure
// from escaping as a crash. Application layer over the core.
#pragma once

#include "frame/errors.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>

namespace fyl::cli {

// The environment variable through which /usr/bin/zelkfyl-cli names the installed program directory
// (its name is set in CMakeLists.txt, which writes the launcher too).
inline constexpr const char* kProgramDirVariable = ZELK_PROGRAM_DIR_VARIABLE;

// A call the command cannot run as written: an unknown option, a missing value, argument or
// option, a number that does not parse or lies outside the command's bounds. Exit status 2, with
// the usage after the message; `usage` empty means the command's own.
struct WrongCall {
    QString message;
    QString usage;
};

// A well-formed call that asks for what the project or the catalogue does not offer (a jet form
// without an evaluation, an unknown outlet): exit status 2 with the message alone.
struct Refused {
    QString message;
};

// Which decimal separators a real option takes: the dialogue's, or also the point a shell user
// writes.
enum class Decimals { Dialogue, CommaOrPoint };

// The arguments of one command: options declared once by name, then read. Every failure to read
// raises WrongCall carrying this command's usage.
class CommandLine {
public:
    // `usage` follows "Aufruf: zelkfyl-cli " on a wrong call; `withValue` names the options that
    // take a value, `flags` those that do not.
    CommandLine(QString usage, std::initializer_list<const char*> withValue,
                std::initializer_list<const char*> flags = {});

    // Reads `args` (after the command word); exactly `positionals` arguments that are not options.
    void parse(const QStringList& args, int positionals);

    const QString& usage() const { return usage_; }
    [[noreturn]] void wrongCall(const QString& message = QString()) const;

    QStringList positionals() const { return parser_->positionalArguments(); }
    QString positional(int index) const { return positionals().at(index); }
    bool isSet(const char* name) const;
    QString value(const char* name) const; // empty when not given
    QString required(const char* name) const;
    // The program directory: --program-dir; else the one the installed launcher names in
    // kProgramDirVariable; else the current folder, as a build's program directory is run.
    QString programDir() const;

    // A whole number within [low, high] through the numbers module. `what` names it in the
    // message ("'0' ist keine <what>."); without it the parser's or the bounds' message is given.
    std::optional<int> integer(const char* name, int low = std::numeric_limits<int>::min(),
                               int high = std::numeric_limits<int>::max(), const char* what = nullptr) const;
    std::optional<long double> real(const char* name, Decimals decimals = Decimals::Dialogue) const;
    // The option's text made into a value by `convert`, a function of the numbers module or one
    // built on it that raises ConversionError; the separator is normalised first as `decimals` says.
    template <class Convert>
    auto converted(const char* name, Convert convert, Decimals decimals = Decimals::Dialogue) const
        -> std::optional<decltype(convert(QString()))> {
        if (!isSet(name))
            return std::nullopt;
        const QString text = normalised(value(name), decimals);
        try {
            return convert(text);
        } catch (const ConversionError& e) {
            wrongCall(messageFor(e, value(name), text));
        }
    }

private:
    static QString normalised(const QString& text, Decimals decimals);
    // The parser's message, naming the text as it was given rather than as normalised.
    static QString messageFor(const ConversionError& e, const QString& given, const QString& normalisedText);

    QString usage_;
    std::unique_ptr<QCommandLineParser> parser_; // held apart so that a CommandLine can be returned
};

// A whole-number argument within [low, high]; WrongCall with `usage` otherwise.
int integerArgument(const QString& text, int low, int high, const QString& usage);

// Runs a command's body: a wrong call prints its message and the usage (exit 2), a refusal or a
// failure of the core prints its message (exit 2 or 1). Standard output is flushed first, so
// the message follows what was printed.
int runCommandBody(const QString& usage, QTextStream& out, QTextStream& err,
                   const std::function<int()>& body);

// The outermost frame of the program: anything that escapes `body` becomes a message on
// standard error and exit status 1, never an abort.
int guardedMain(QTextStream& err, const std::function<int()>& body);

} // namespace fyl::cli
