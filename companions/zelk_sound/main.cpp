// zelk_sound: the sound calculation that the calculation window starts with the exchange file
// "Sounddaten.tmp". Opens its window, or with --pdf or --json works without one for batch jobs.
// Application layer of the sound tool.
#include "app/qtdialogs.h"
#include "companions/zelk_sound/soundprint.h"
#include "companions/zelk_sound/soundsource.h"
#include "companions/zelk_sound/soundwindow.h"
#include "frame/batchplatform.h"
#include "frame/errors.h"
#include "frame/numbers.h"
#include "frame/workdir.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <QTextStream>

#include <memory>

namespace {

using namespace fyl::sound;

// Decided before any application object exists: a batch run must not need a display.
bool isBatch(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--json") || arg == QLatin1String("--pdf") ||
            arg.startsWith(QLatin1String("--pdf=")))
            return true;
    }
    return false;
}

std::unique_ptr<QGuiApplication> makeApplication(int& argc, char* argv[], bool batch) {
    if (!batch)
        return std::make_unique<QApplication>(argc, argv);
    fyl::prepareBatchPlatform();
    return std::make_unique<QGuiApplication>(argc, argv);
}

QString typedDefault(double value) {
    return fyl::numbers::formatFixed(value, 6, 2);
}

} // namespace

// NOLINTNEXTLINE(bugprone-exception-escape): each throwing call is in a try; std::get follows a get_if
int main(int argc, char* argv[]) {
    const bool batch = isBatch(argc, argv);
    const auto app = makeApplication(argc, argv, batch);
    QCoreApplication::setApplicationName(QStringLiteral("zelk_sound"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Schallberechnung zu ZELK FYL: Schalldruckpegel im Raum aus der "
                       "Austauschdatei Sounddaten.tmp."));
    parser.addPositionalArgument(
        QStringLiteral("DATEI"),
        QStringLiteral("die Austauschdatei; ein bloßer Name wird im Ordner \"tmp\" des "
                       "Arbeitsverzeichnisses gesucht (Vorgabe: Sounddaten.tmp)"),
        QStringLiteral("[DATEI]"));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"),
                                       QStringLiteral("das Blatt als PDF schreiben, ohne Fenster"),
                                       QStringLiteral("OUT.pdf"));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("die Werte als JSON ausgeben, ohne Fenster"));
    const QCommandLineOption reverberationOption(
        QStringLiteral("reverberation"), QStringLiteral("Nachhallzeit in s (Vorgabe 0,8)"),
        QStringLiteral("T"), typedDefault(kDefaultReverberationTime));
    const QCommandLineOption distanceOption(
        QStringLiteral("distance"), QStringLiteral("Abstand zum nächsten Durchlass in m (Vorgabe 1,0)"),
        QStringLiteral("R"), typedDefault(kDefaultListenerDistance));
    const QCommandLineOption useOption(
        QStringLiteral("use"), QStringLiteral("Raumnutzung: office, meeting, classroom oder openplan"),
        QStringLiteral("NUTZUNG"), QStringLiteral("office"));
    parser.addOptions({pdfOption, jsonOption, reverberationOption, distanceOption, useOption});
    parser.addHelpOption();

    // Every failure ends the run with exit code 1: in a batch run the message goes to standard
    // error, otherwise into a message box that names the file and the reason.
    fyl::QtDialogs dialogs;
    const auto fail = [&](const QString& message) {
        if (batch)
            err << message << "\n";
        else
            dialogs.error(message);
        return 1;
    };

    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return 0;
    }
    if (parser.positionalArguments().size() > 1)
        return fail(QStringLiteral("Es wird höchstens eine Austauschdatei angegeben, nicht %1.")
                        .arg(parser.positionalArguments().size()));
    const auto use = roomUseFromKey(parser.value(useOption));
    if (!use)
        return fail(QStringLiteral("Unbekannte Raumnutzung \"%1\": office, meeting, classroom oder openplan.")
                        .arg(parser.value(useOption)));

    QString path;
    fyl::SoundExchange exchange;
    try {
        const auto settings = fyl::applicationSettings();
        path = locateSoundFile(parser.positionalArguments().value(0), fyl::storedTemporaryFolder(*settings));
        exchange = readSoundFile(path);
    } catch (const fyl::Error& e) {
        return fail(e.message());
    }

    if (!batch) {
        const WindowStart start{path, parser.value(reverberationOption), parser.value(distanceOption), *use,
                                proposedPdfFolder(path)};
        SoundWindow window(exchange, start, dialogs);
        dialogs.setOwner(&window);
        window.show();
        return QCoreApplication::exec();
    }

    const PlannerChoice choice = evaluateTyped(inputsFrom(exchange), parser.value(reverberationOption),
                                               parser.value(distanceOption), *use);
    if (const auto* message = std::get_if<QString>(&choice.outcome))
        return fail(QStringLiteral("Die Schallberechnung ist nicht möglich: ") + *message);
    const auto& figures = std::get<SoundFigures>(choice.outcome);
    try {
        if (parser.isSet(pdfOption))
            writeSoundSheetPdf(parser.value(pdfOption),
                               {exchange, choice.inputs, figures, QDate::currentDate()});
    } catch (const fyl::Error& e) {
        return fail(e.message());
    }
    if (parser.isSet(jsonOption))
        out << soundJson(exchange, choice.inputs, figures);
    return 0;
}
