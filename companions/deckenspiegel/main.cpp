// deckenspiegel: the ceiling-plan tool that ZELK FYL starts with its exchange file. Shows the plan
// in a window, or with --pdf / --png writes it and ends without one. Application (QtWidgets).
#include "companions/deckenspiegel/ceilingoutput.h"
#include "companions/deckenspiegel/planwindow.h"
#include "exchange/ceilinglookup.h"

#include "frame/errors.h"
#include "frame/files.h"
#include "frame/workdir.h"
#include "widgets/companionstart.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStatusBar>
#include <QTextStream>

int main(int argc, char* argv[]) {
    fyl::CompanionStart call(
        QStringLiteral("deckenspiegel"), QStringLiteral("Deckenspiegel"),
        QStringLiteral("Deckenspiegel zu ZELK FYL: zeigt die Durchlässe der Austauschdatei im Raum."),
        QStringLiteral("Austauschdatei: ein Name im tmp-Ordner des Arbeitsverzeichnisses "
                       "oder ein Pfad (ohne Angabe: Zoldaten.tmp)."));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"),
                                       QStringLiteral("Den Plan als PDF (A4 quer) schreiben."),
                                       QStringLiteral("OUT.pdf"));
    const QCommandLineOption pngOption(
        QStringLiteral("png"), QStringLiteral("Den Plan als PNG-Bild schreiben."), QStringLiteral("OUT.png"));
    call.addBatchOption(pdfOption);
    call.addBatchOption(pngOption);
    if (const auto end = call.start(argc, argv))
        return *end;
    const QCommandLineParser& parser = call.parser();

    QString path;
    fyl::CeilingExchange exchange;
    std::optional<fyl::LayoutExchange> judged;
    QString ignored; // why a layout file beside the exchange file is not drawn
    try {
        path = fyl::ceiling::locateExchangeFile(call.fileArgument(),
                                                fyl::storedTemporaryFolder(*fyl::applicationSettings()));
        QStringList outputs;
        for (const QCommandLineOption* option : {&pdfOption, &pngOption})
            if (parser.isSet(*option))
                outputs << parser.value(*option);
        if (const QString clash = fyl::outputClash({path}, outputs); !clash.isEmpty())
            return call.wrongCall(clash);
        exchange = fyl::ceiling::loadCeilingExchange(path);
        judged = fyl::ceiling::loadLayoutBeside(path, exchange, &ignored);
    } catch (const fyl::Error& e) {
        // A file that was found but not read is named; a failed search names what it looked for.
        const QString file = QDir::toNativeSeparators(path);
        return call.fail(
            fyl::kExitFileFailed, (file.isEmpty() ? QString() : file + QStringLiteral(": ")) + e.message(),
            QStringLiteral("Die Austauschdatei kann nicht gelesen werden.\n\n%1%2")
                .arg(file.isEmpty() ? QString() : QStringLiteral("Datei: %1\n\n").arg(file), e.message()));
    }

    if (!call.batch()) {
        fyl::ceiling::CeilingPlanWindow window(exchange, judged, path,
                                               fyl::storedProjectFolder(*fyl::applicationSettings()));
        window.show();
        if (!ignored.isEmpty())
            window.statusBar()->showMessage(ignored);
        return QCoreApplication::exec();
    }

    if (!ignored.isEmpty())
        QTextStream(stderr) << ignored << '\n';
    const fyl::ceiling::CeilingLayout layout = fyl::ceiling::planCeiling(exchange, judged);
    if (!layout.problem.isEmpty())
        return call.fail(fyl::kExitFileFailed,
                         QDir::toNativeSeparators(path) + QStringLiteral(": ") + layout.problem);
    try {
        // Both made first and placed together: a failure writes neither.
        const QDate today = QDate::currentDate();
        std::vector<std::pair<QString, QByteArray>> files;
        if (parser.isSet(pdfOption))
            files.emplace_back(parser.value(pdfOption),
                               fyl::ceiling::ceilingPlanPdf(exchange, layout, today));
        if (parser.isSet(pngOption))
            files.emplace_back(parser.value(pngOption),
                               fyl::ceiling::ceilingPlanPng(exchange, layout, today));
        fyl::writeFilesTogether(files);
    } catch (const fyl::Error& e) {
        return call.fail(fyl::kExitFileFailed, e.message());
    }
    return fyl::kExitDone;
}
