// Entry point of zelkfyl-cli: dispatches to the registered commands. Application layer over
// the core.
#include "cli/commands.h"
#include "cli/options.h"
#include "frame/batchplatform.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

namespace fyl::cli {

std::map<QString, CommandInfo>& commandRegistry() {
    static std::map<QString, CommandInfo> registry;
    return registry;
}

int runCommand(const QString& name, const QStringList& args, QTextStream& out, QTextStream& err) {
    const CommandInfo& command = commandRegistry().at(name);
    return runCommandBody(QString::fromUtf8(command.usage), out, err,
                          [&] { return command.run(args, out, err); });
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

int dispatch(QStringList args, QTextStream& out, QTextStream& err) {
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
    if (!fyl::cli::commandRegistry().count(command)) {
        err << "Unbekannter Befehl: " << command << "\n\n";
        printUsage(err);
        return 2;
    }
    return fyl::cli::runCommand(command, args, out, err);
}

} // namespace

int main(int argc, char* argv[]) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return fyl::cli::guardedMain(err, [&] {
        const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("zelkfyl-cli"));
        QCoreApplication::setApplicationVersion(QStringLiteral(ZELK_VERSION));
        const int status = dispatch(QCoreApplication::arguments().mid(1), out, err);
        // The streams outlive the application: what they hold is written before it ends.
        out.flush();
        err.flush();
        return status;
    });
}
