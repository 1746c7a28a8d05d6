// zelkfyl-cli exchange: the exchange files of the ceiling-plan and the sound tool, as the
// calculation window's Tools menu writes them for a loaded project. Application layer over the core.
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/session.h"

#include "exchange/exchangefiles.h"
#include "frame/files.h"

namespace {

const char* const kUsage =
    "exchange PROJECT.zol [--ceiling Zoldaten.tmp] [--sound Sounddaten.tmp] [--program-dir DIR]";

int runExchange(const QStringList& args, QTextStream&, QTextStream&) {
    fyl::cli::CommandLine call(QString::fromUtf8(kUsage), {"ceiling", "sound", "program-dir"});
    call.parse(args, 1);
    if (!call.isSet("ceiling") && !call.isSet("sound"))
        call.wrongCall(QStringLiteral("Keine Austauschdatei verlangt: --ceiling oder --sound fehlt."));
    fyl::cli::refuseProjectOutputClash(call, {"ceiling", "sound"});

    fyl::cli::Session session;
    fyl::cli::openProject(session, call.programDir(), call.positional(0));
    // The Tools menu is reached from the calculation window, which evaluated the project.
    fyl::cli::evaluateAsShown(session, QStringLiteral("Es wurde keine Austauschdatei geschrieben."));
    // Both files are made before either is written, and placed together: a failure writes none.
    std::vector<std::pair<QString, QByteArray>> files;
    if (call.isSet("ceiling"))
        files.emplace_back(call.value("ceiling"),
                           fyl::exchangeFileBytes(fyl::ceilingExchangeLines(*session.record)));
    if (call.isSet("sound"))
        files.emplace_back(call.value("sound"),
                           fyl::exchangeFileBytes(fyl::soundExchangeLines(*session.record)));
    fyl::writeFilesTogether(files);
    return 0;
}

const fyl::cli::CommandRegistration registration("exchange", runExchange, kUsage);

} // namespace
