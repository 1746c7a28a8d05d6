// zelkfyl-cli expr: the arithmetic of the area and volume fields. Application layer over the core.
#include "cli/commands.h"
#include "cli/options.h"

#include "frame/expression.h"
#include "frame/jsontext.h"

#include <limits>

namespace {

const char* const kExprUsage = "expr TEXT [--width W] [--decimals D]";

int runExpr(const QStringList& args, QTextStream& out, QTextStream&) {
    fyl::cli::CommandLine call(QString::fromUtf8(kExprUsage), {"width", "decimals"});
    // TEXT comes first and is taken whole, so a leading minus ("-3*2") is never read as an option.
    if (args.isEmpty())
        call.wrongCall(QStringLiteral("Der Ausdruck fehlt."));
    QString text = args.constFirst();
    call.parse(args.mid(1), 0);
    const int width = call.integer("width", std::numeric_limits<std::int16_t>::min(),
                                   std::numeric_limits<std::int16_t>::max())
                          .value_or(5);
    const int decimals = call.integer("decimals").value_or(2);

    float value = 0.0f;
    int calcStatus = 0;
    const int error =
        fyl::ExpressionEvaluator(text, value, static_cast<std::int16_t>(width), decimals, calcStatus);
    // The value is single precision: its shortest form reads back as the same float.
    out << "{\"value\": " << fyl::exactReal(value) << ", \"error\": " << error
        << ", \"text\": " << fyl::jsonString(text) << "}\n";
    return 0;
}

const fyl::cli::CommandRegistration exprRegistration("expr", runExpr, kExprUsage);

} // namespace
