// zelk_sound: the sound calculation that the calculation window starts with the exchange file
// "Sounddaten.tmp". Opens its window, or with --pdf or --json works without one for batch jobs.
// Application layer of the sound tool.
#include "companions/zelk_sound/soundprint.h"
#include "companions/zelk_sound/soundsource.h"
#include "companions/zelk_sound/soundwindow.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/numbers.h"
#include "frame/workdir.h"
#include "widgets/companionstart.h"
#include "widgets/qtdialogs.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTextStream>

namespace {

using namespace fyl::sound;

QString typedDefault(double value) {
    return fyl::numbers::formatFixed(value, 6, 2);
}

} // namespace

// NOLINTNEXTLINE(bugprone-exception-escape): each throwing call is in a try; std::get follows a get_if
int main(int argc, char* argv[]) {
    fyl::CompanionStart call(QStringLiteral("zelk_sound"), QStringLiteral("ZELK FYL"),
                             QStringLiteral("Schallberechnung zu ZELK FYL: Schalldruckpegel im Raum aus der "
                                            "Austauschdatei Sounddaten.tmp."),
                             QStringLiteral("die Austauschdatei; ein bloßer Name wird im Ordner \"tmp\" des "
                                            "Arbeitsverzeichnisses gesucht (Vorgabe: Sounddaten.tmp)"));
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
    call.addBatchOption(pdfOption);
    call.addBatchOption(jsonOption);
    for (const QCommandLineOption& option : {reverberationOption, distanceOption, useOption})
        call.addOption(option);
    if (const auto end = call.start(argc, argv))
        return *end;
    const QCommandLineParser& parser = call.parser();

    const auto use = roomUseFromKey(parser.value(useOption));
    if (!use)
        return call.wrongCall(
            QStringLiteral("Unbekannte Raumnutzung \"%1\": office, meeting, classroom oder openplan.")
                .arg(parser.value(useOption)));

    QString path;
    fyl::SoundExchange exchange;
    const auto settings = fyl::applicationSettings();
    try {
        path = locateSoundFile(call.fileArgument(), fyl::storedTemporaryFolder(*settings));
        if (parser.isSet(pdfOption))
            if (const QString clash = fyl::outputClash({path}, {parser.value(pdfOption)}); !clash.isEmpty())
                return call.wrongCall(clash);
        exchange = readSoundFile(path);
    } catch (const fyl::Error& e) {
        return call.fail(fyl::kExitFileFailed, e.message());
    }

    if (!call.batch()) {
        fyl::QtDialogs dialogs;
        const WindowStart start{path, parser.value(reverberationOption), parser.value(distanceOption), *use,
                                proposedPdfFolder(path, fyl::storedProjectFolder(*settings))};
        SoundWindow window(exchange, start, dialogs);
        dialogs.setOwner(&window);
        window.fitToScreen();
        window.show();
        return QCoreApplication::exec();
    }

    // A room the file gives no figures for is the file's fault; a time or distance that the room
    // refuses is the call's.
    const SoundInputs fromFile = inputsFrom(exchange);
    try {
        requireComputableRoom(fromFile);
    } catch (const fyl::Error& e) {
        return call.fail(
            fyl::kExitFileFailed,
            QStringLiteral("Die Schallberechnung ist nicht möglich (%1): %2").arg(path, e.message()));
    }
    const PlannerChoice choice =
        evaluateTyped(fromFile, parser.value(reverberationOption), parser.value(distanceOption), *use);
    if (const auto* message = std::get_if<QString>(&choice.outcome))
        return call.fail(fyl::kExitWrongCall,
                         QStringLiteral("Die Schallberechnung ist nicht möglich: ") + *message);
    const auto& figures = std::get<SoundFigures>(choice.outcome);
    try {
        if (parser.isSet(pdfOption))
            writeSoundSheetPdf(parser.value(pdfOption),
                               {exchange, choice.inputs, figures, QDate::currentDate()});
    } catch (const fyl::Error& e) {
        return call.fail(fyl::kExitFileFailed, e.message());
    }
    if (parser.isSet(jsonOption))
        QTextStream(stdout) << soundJson(exchange, choice.inputs, figures);
    return fyl::kExitDone;
}
