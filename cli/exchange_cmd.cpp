// zelkfyl-cli exchange: the exchange files of the ceiling-plan and the sound tool, as the
// calculation window's Tools menu writes them for a loaded project. Application layer over the core.
#include "cli/commands.h"
#include "cli/resultjson.h"

#include "exchange/exchangefiles.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "results/outletresults.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

const char* const kUsage =
    "exchange PROJECT.zol [--ceiling Zoldaten.tmp] [--sound Sounddaten.tmp] [--program-dir DIR]";

int runExchange(const QStringList& args, QTextStream& out, QTextStream& err) {
    Q_UNUSED(out);
    QCommandLineParser parser;
    const QCommandLineOption ceilingOption(
        QStringLiteral("ceiling"), QStringLiteral("Austauschdatei Deckenspiegel"), QStringLiteral("FILE"));
    const QCommandLineOption soundOption(
        QStringLiteral("sound"), QStringLiteral("Austauschdatei Schallberechnung"), QStringLiteral("FILE"));
    const QCommandLineOption programDirOption(QStringLiteral("program-dir"),
                                              QStringLiteral("Programmverzeichnis"), QStringLiteral("DIR"));
    parser.addOptions({ceilingOption, soundOption, programDirOption});
    if (!parser.parse(QStringList{QStringLiteral("exchange")} + args) ||
        parser.positionalArguments().size() != 1 ||
        (!parser.isSet(ceilingOption) && !parser.isSet(soundOption))) {
        if (!parser.errorText().isEmpty())
            err << parser.errorText() << "\n";
        err << "Aufruf: zelkfyl-cli " << kUsage << "\n";
        return 2;
    }
    const QString programDir =
        parser.isSet(programDirOption) ? parser.value(programDirOption) : QDir::currentPath();

    fyl::cli::Session session;
    fyl::cli::loadTexts(session, programDir);
    try {
        if (!fyl::cli::loadEvaluableProject(session, parser.positionalArguments().constFirst(), err,
                                            QStringLiteral("Es wurde keine Austauschdatei geschrieben.")))
            return 2;
        // The Tools menu is reached from the calculation window, which evaluated the project.
        fyl::ShowOutletResults(
            {*session.record, session.working, session.calcStatus, session.flags, session.texts});
        // Both files are made before either is written, so a failure writes none.
        std::vector<std::pair<QString, QByteArray>> files;
        if (parser.isSet(ceilingOption))
            files.emplace_back(parser.value(ceilingOption),
                               fyl::exchangeFileBytes(fyl::ceilingExchangeLines(*session.record)));
        if (parser.isSet(soundOption))
            files.emplace_back(parser.value(soundOption),
                               fyl::exchangeFileBytes(fyl::soundExchangeLines(*session.record)));
        for (const auto& [path, bytes] : files)
            fyl::writeFileAtomically(path, bytes, QStringLiteral("Die Austauschdatei"));
        return 0;
    } catch (const fyl::Error& e) {
        err << e.message() << "\n";
        return 1;
    }
}

const fyl::cli::CommandRegistration registration("exchange", runExchange, kUsage);

} // namespace
