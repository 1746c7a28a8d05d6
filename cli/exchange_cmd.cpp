// zelkfyl-cli exchange: the exchange files of the ceiling-plan and the sound tool, as the
// calculation window's Tools menu writes them for a loaded project. Application layer over the core.
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/session.h"

#include "exchange/exchangefiles.h"
#include "exchange/layoutexchange.h"
#include "frame/files.h"

namespace {

const char* const kExchangeUsage =
    "exchange PROJECT.zol [--ceiling Zoldaten.tmp] [--sound Sounddaten.tmp] [--program-dir DIR]";

int runExchange(const QStringList& args, QTextStream&, QTextStream&) {
    fyl::cli::CommandLine call(QString::fromUtf8(kExchangeUsage), {"ceiling", "sound", "program-dir"});
    call.parse(args, 1);
    if (!call.isSet("ceiling") && !call.isSet("sound"))
        call.wrongCall(QStringLiteral("Keine Austauschdatei verlangt: --ceiling oder --sound fehlt."));
    // The ceiling plan's layout file goes beside its exchange file, an output as well.
    QStringList outputs;
    if (call.isSet("ceiling"))
        outputs << call.value("ceiling") << fyl::layoutFileBeside(call.value("ceiling"));
    if (call.isSet("sound"))
        outputs << call.value("sound");
    fyl::cli::refuseOutputClash(call, fyl::cli::programDataFiles(call.programDir()) << call.positional(0),
                                outputs);

    fyl::cli::Session session;
    fyl::cli::openProject(session, call.programDir(), call.positional(0), fyl::cli::WithCatalogue::Yes);
    // The Tools menu is reached from the calculation window, which evaluated the project.
    fyl::cli::evaluateAsShown(session, QStringLiteral("Es wurde keine Austauschdatei geschrieben."));
    // Every file is made before any is written, and they are placed together: a failure writes none.
    std::vector<std::pair<QString, QByteArray>> files;
    if (call.isSet("ceiling"))
        files = fyl::ceilingPlanFiles(call.value("ceiling"), *session.record, session.catalogue);
    if (call.isSet("sound"))
        files.emplace_back(call.value("sound"),
                           fyl::exchangeFileBytes(fyl::soundExchangeLines(*session.record)));
    fyl::writeFilesTogether(files);
    return 0;
}

const fyl::cli::CommandRegistration exchangeRegistration("exchange", runExchange, kExchangeUsage);

} // namespace
