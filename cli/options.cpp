// Declaring and reading a command's arguments, wrong calls and the program's outermost guard.
// Application layer over the core.
#include "cli/options.h"

#include "frame/numbers.h"

#include <QDir>

namespace fyl::cli {

CommandLine::CommandLine(QString usage, std::initializer_list<const char*> withValue,
                         std::initializer_list<const char*> flags)
    : usage_(std::move(usage)), parser_(std::make_unique<QCommandLineParser>()) {
    for (const char* name : withValue)
        parser_->addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("VALUE")));
    for (const char* name : flags)
        parser_->addOption(QCommandLineOption(QString::fromLatin1(name)));
}

void CommandLine::parse(const QStringList& args, int positionals) {
    // The parser takes the program's name first; it is not an argument.
    if (!parser_->parse(QStringList{QStringLiteral("zelkfyl-cli")} + args))
        wrongCall(parser_->errorText());
    // An option given twice would keep its last value without a word; which one was meant is unknown.
    for (const QString& name : parser_->optionNames())
        if (parser_->optionNames().count(name) > 1)
            wrongCall(QStringLiteral("Die Option --%1 ist mehrfach angegeben.").arg(name));
    const QStringList given = parser_->positionalArguments();
    if (given.size() < positionals)
        wrongCall(QStringLiteral("Es fehlen Argumente: erwartet %1, gegeben %2.")
                      .arg(positionals)
                      .arg(given.size()));
    if (given.size() > positionals)
        wrongCall(QStringLiteral("Überzähliges Argument: %1").arg(given.at(positionals)));
}

void CommandLine::wrongCall(const QString& message) const {
    throw WrongCall{message, usage_};
}

bool CommandLine::isSet(const char* name) const {
    return parser_->isSet(QString::fromLatin1(name));
}

QString CommandLine::value(const char* name) const {
    return parser_->value(QString::fromLatin1(name));
}

QString CommandLine::required(const char* name) const {
    if (!isSet(name))
        wrongCall(QStringLiteral("Die Option --%1 fehlt.").arg(QLatin1String(name)));
    return value(name);
}

QString CommandLine::programDir() const {
    if (isSet("program-dir"))
        return value("program-dir");
    const QString installed = qEnvironmentVariable(kProgramDirVariable);
    return installed.isEmpty() ? QDir::currentPath() : installed;
}

std::optional<int> CommandLine::integer(const char* name, int low, int high, const char* what) const {
    if (!isSet(name))
        return std::nullopt;
    const QString text = value(name);
    try {
        return integerArgument(text, low, high, usage_);
    } catch (const WrongCall& call) {
        if (what != nullptr)
            wrongCall(QStringLiteral("'%1' ist keine %2.").arg(text, QString::fromUtf8(what)));
        throw;
    }
}

std::optional<long double> CommandLine::real(const char* name, Decimals decimals) const {
    return converted(name, numbers::parseReal, decimals);
}

QString CommandLine::normalised(const QString& text, Decimals decimals) {
    if (decimals == Decimals::Dialogue)
        return text;
    return QString(text).replace(QLatin1Char('.'), numbers::decimalSeparator());
}

QString CommandLine::messageFor(const ConversionError& e, const QString& given,
                                const QString& normalisedText) {
    if (given == normalisedText)
        return e.message();
    const auto quoted = [](const QString& t) { return QLatin1Char('\'') + t + QLatin1Char('\''); };
    return QString(e.message()).replace(quoted(normalisedText), quoted(given));
}

int integerArgument(const QString& text, int low, int high, const QString& usage) {
    int value = 0;
    try {
        value = numbers::parseInt(text);
    } catch (const ConversionError& e) {
        throw WrongCall{e.message(), usage};
    }
    if (value < low)
        throw WrongCall{QStringLiteral("'%1' ist kleiner als %2.").arg(text).arg(low), usage};
    if (value > high)
        throw WrongCall{QStringLiteral("'%1' ist größer als %2.").arg(text).arg(high), usage};
    return value;
}

int runCommandBody(const QString& usage, QTextStream& out, QTextStream& err,
                   const std::function<int()>& body) {
    try {
        return body();
    } catch (const WrongCall& call) {
        out.flush();
        if (!call.message.isEmpty())
            err << call.message << "\n";
        err << "Aufruf: zelkfyl-cli " << (call.usage.isEmpty() ? usage : call.usage) << "\n";
        return 2;
    } catch (const Refused& refusal) {
        out.flush();
        err << refusal.message << "\n";
        return 2;
    } catch (const Error& e) {
        out.flush();
        err << e.message() << "\n";
        return 1;
    }
}

int guardedMain(QTextStream& err, const std::function<int()>& body) {
    try {
        return body();
    } catch (const Error& e) {
        err << e.message() << "\n";
    } catch (const std::exception& e) {
        err << "Abbruch: " << e.what() << "\n";
    } catch (...) {
        err << "Abbruch: unbekannter Fehler.\n";
    }
    err.flush();
    return 1;
}

} // namespace fyl::cli
