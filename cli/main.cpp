// Entry point of zelkfyl-cli: dispatches to the registered commands. Application layer over
// the core.
#include "cli/commands.h"
#include "frame/batchplatform.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

namespace fyl::cli {

std::map<QString, CommandInfo>& commandRegistry() {
    static std::map<QString, CommandInfo> registry;
    return registry;
}

} // namespace fyl::cli

namespace {

void printUsage(QTextStream& stream) {
    stream << "Aufruf: zelkfyl-cli BEFEHL [ARGUMENTE]\n\n"
              "ZELK FYL ohne Fenster: Prüfungen und Stapelverarbeitung.\n\n"
              "Befehle:\n"
              "  --version    Version ausgeben\n"
              "  --help       diese Hilfe ausgeben\n";
    for (const auto& [name, info] : fyl::cli::commandRegistry())
        stream << "  " << info.usage << "\n";
}

// A command that lays out text gets the platform's fonts. It opens no window, so on Linux it runs
// on the offscreen platform, which reads the same fonts and needs no display (a build server, a
// batch job over ssh).
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[]) {
    const auto& registry = fyl::cli::commandRegistry();
    const auto found = argc > 1 ? registry.find(QString::fromLocal8Bit(argv[1])) : registry.end();
    if (found == registry.end() || !found->second.fonts)
        return std::make_unique<QCoreApplication>(argc, argv);
    fyl::prepareBatchPlatform();
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char* argv[]) {
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelkfyl-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        printUsage(err);
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        out << "zelkfyl-cli " << ZELK_VERSION << "\n";
        return 0;
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        printUsage(out);
        return 0;
    }
    const auto& registry = fyl::cli::commandRegistry();
    const auto found = registry.find(command);
    if (found == registry.end()) {
        err << "Unbekannter Befehl: " << command << "\n\n";
        printUsage(err);
        return 2;
    }
    return found->second.run(args, out, err);
}
