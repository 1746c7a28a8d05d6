// zelkfyl-cli expr: the arithmetic of the area and volume fields. Application layer over the core.
#include "cli/commands.h"

#include "frame/expression.h"
#include "frame/jsontext.h"

#include <QCommandLineParser>
#include <limits>

namespace {

const char* const kUsage = "expr TEXT [--width W] [--decimals D]";

bool readInt(const QString& text, int low, int high, int& value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok && value >= low && value <= high;
}

int runExpr(const QStringList& args, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption widthOption(QStringLiteral("width"), QStringLiteral("Breite"),
                                         QStringLiteral("W"), QStringLiteral("5"));
    const QCommandLineOption decimalsOption(QStringLiteral("decimals"), QStringLiteral("Nachkommastellen"),
                                            QStringLiteral("D"), QStringLiteral("2"));
    parser.addOptions({widthOption, decimalsOption});
    // TEXT comes first and is taken whole, so a leading minus ("-3*2") is never read as an option.
    if (args.isEmpty()) {
        err << "Aufruf: zelkfyl-cli " << kUsage << "\n";
        return 2;
    }
    QString text = args.constFirst();
    int width = 5;
    int decimals = 2;
    const bool parsed = parser.parse(QStringList{QStringLiteral("expr")} + args.mid(1));
    if (!parsed || !parser.positionalArguments().isEmpty() ||
        !readInt(parser.value(widthOption), std::numeric_limits<std::int16_t>::min(),
                 std::numeric_limits<std::int16_t>::max(), width) ||
        !readInt(parser.value(decimalsOption), std::numeric_limits<int>::min(),
                 std::numeric_limits<int>::max(), decimals)) {
        if (!parsed)
            err << parser.errorText() << "\n";
        err << "Aufruf: zelkfyl-cli " << kUsage << "\n";
        return 2;
    }

    float value = 0.0f;
    int calcStatus = 0;
    const int error =
        fyl::ExpressionEvaluator(text, value, static_cast<std::int16_t>(width), decimals, calcStatus);
    // The value is single precision: its shortest form reads back as the same float.
    out << "{\"value\": " << fyl::exactReal(value) << ", \"error\": " << error
        << ", \"text\": " << fyl::jsonString(text) << "}\n";
    return 0;
}

const fyl::cli::CommandRegistration registration("expr", runExpr, kUsage);

} // namespace
