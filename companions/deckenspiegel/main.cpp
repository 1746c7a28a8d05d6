// deckenspiegel: the ceiling-plan tool that ZELK FYL starts with its exchange file. Shows the plan
// in a window, or with --pdf / --png writes it and ends without one. Application (QtWidgets).
#include "companions/deckenspiegel/ceilingoutput.h"
#include "companions/deckenspiegel/planwindow.h"
#include "exchange/ceilinglookup.h"

#include "frame/errors.h"
#include "frame/workdir.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QSettings>
#include <QTextStream>

#include <cstring>
#include <memory>

namespace {

// Writing files or printing help needs no display; on Linux such a run goes to the offscreen
// platform so that it works in a batch job without one.
bool runsWithoutWindow(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strncmp(a, "--pdf", 5) == 0 || std::strncmp(a, "--png", 5) == 0 ||
            std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool batch = runsWithoutWindow(argc, argv);
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    if (batch && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    const std::unique_ptr<QGuiApplication> app =
        batch ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("deckenspiegel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELK_VERSION));
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Deckenspiegel zu ZELK FYL: zeigt die Durchlässe der Austauschdatei im Raum."));
    parser.addHelpOption();
    const QCommandLineOption pdfOption(QStringLiteral("pdf"),
                                       QStringLiteral("Den Plan als PDF (A4 quer) schreiben."),
                                       QStringLiteral("OUT.pdf"));
    const QCommandLineOption pngOption(
        QStringLiteral("png"), QStringLiteral("Den Plan als PNG-Bild schreiben."), QStringLiteral("OUT.png"));
    parser.addOptions({pdfOption, pngOption});
    parser.addPositionalArgument(
        QStringLiteral("datei"),
        QStringLiteral("Austauschdatei: ein Name im tmp-Ordner des Arbeitsverzeichnisses "
                       "oder ein Pfad (ohne Angabe: Zoldaten.tmp)."),
        QStringLiteral("[datei]"));
    if (!parser.parse(QCoreApplication::arguments()) || parser.positionalArguments().size() > 1) {
        err << (parser.errorText().isEmpty() ? QStringLiteral("Höchstens eine Austauschdatei angeben.")
                                             : parser.errorText())
            << "\n"
            << parser.helpText();
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }

    const QString argument = parser.positionalArguments().value(0);
    QString path;
    fyl::CeilingExchange exchange;
    try {
        path = fyl::ceiling::locateExchangeFile(argument,
                                                fyl::storedTemporaryFolder(*fyl::applicationSettings()));
        exchange = fyl::ceiling::loadCeilingExchange(path);
    } catch (const fyl::Error& e) {
        // A file that was found but not read is named; a failed search names what it looked for.
        const QString file = QDir::toNativeSeparators(path);
        if (batch)
            err << (file.isEmpty() ? QString() : file + QStringLiteral(": ")) << e.message() << "\n";
        else
            QMessageBox::critical(
                nullptr, QStringLiteral("Deckenspiegel"),
                QStringLiteral("Die Austauschdatei kann nicht gelesen werden.\n\n%1%2")
                    .arg(file.isEmpty() ? QString() : QStringLiteral("Datei: %1\n\n").arg(file),
                         e.message()));
        return 1;
    }

    if (!batch) {
        fyl::ceiling::CeilingPlanWindow window(exchange, path);
        window.show();
        return app->exec();
    }

    const fyl::ceiling::CeilingLayout layout = fyl::ceiling::layOutCeiling(exchange);
    if (!layout.problem.isEmpty()) {
        err << QDir::toNativeSeparators(path) << ": " << layout.problem << "\n";
        return 1;
    }
    try {
        const QDate today = QDate::currentDate();
        if (parser.isSet(pdfOption))
            fyl::ceiling::writeCeilingPlanPdf(parser.value(pdfOption), exchange, layout, today);
        if (parser.isSet(pngOption))
            fyl::ceiling::writeCeilingPlanPng(parser.value(pngOption), exchange, layout, today);
    } catch (const fyl::Error& e) {
        err << e.message() << "\n";
        return 1;
    }
    return 0;
}
