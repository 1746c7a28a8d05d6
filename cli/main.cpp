#include "cli/commands.h"

#include <QCoreApplication>

#include <cstdio>
#include <map>

namespace {

const char* const kUsage =
    "Aufruf: zelkfyl-cli BEFEHL [ARGUMENTE]\n"
    "\n"
    "ZELK FYL ohne Fenster: Prüfungen und Stapelverarbeitung.\n"
    "\n"
    "Befehle:\n"
    "  --version    Version ausgeben\n"
    "  --help       diese Hilfe ausgeben\n";

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelkfyl-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        err << kUsage;
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        out << "zelkfyl-cli " << ZELK_VERSION << "\n";
        return 0;
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out << kUsage;
        return 0;
    }
    const std::map<QString, fyl::cli::Command> commands = {
    };
    const auto found = commands.find(command);
    if (found == commands.end()) {
        err << "Unbekannter Befehl: " << command << "\n\n" << kUsage;
        return 2;
    }
    return found->second(args, out, err);
}
