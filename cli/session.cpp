// Loading a command's project with the program directory's texts and catalogue, and evaluating it
// as the calculation window shows it. Application layer over the core.
#include "cli/session.h"

#include "calc/evaluation.h"
#include "catalogue/loaders.h"
#include "cli/options.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/jetkind.h"
#include "frame/projectfile.h"
#include "results/outletresults.h"

namespace fyl::cli {

void loadProgramTexts(TextTable& texts, const QString& programDir) {
    texts.load(joinPath(programDir, QStringLiteral("Fyltext.txt")));
}

QStringList programDataFiles(const QString& programDir) {
    QStringList files{joinPath(programDir, QStringLiteral("Fyltext.txt")),
                      joinPath(programDir, QStringLiteral("image4.bmp"))};
    for (const char* name : kKennFiles)
        files << joinPath(programDir, QString::fromLatin1(name));
    for (const char* name : {kJetFormFile, kIndexFile, kOutletListFile, kDetailFile})
        files << joinPath(programDir, QString::fromLatin1(name));
    return files;
}

void refuseOutputClash(const CommandLine& call, const QStringList& inputs, const QStringList& outputs) {
    if (const QString clash = outputClash(inputs, outputs); !clash.isEmpty())
        call.wrongCall(clash);
}

void refuseProjectOutputClash(const CommandLine& call, std::initializer_list<const char*> outputOptions) {
    QStringList outputs;
    for (const char* option : outputOptions)
        if (call.isSet(option))
            outputs << call.value(option);
    refuseOutputClash(call, programDataFiles(call.programDir()) << call.positional(0), outputs);
}

void openProject(Session& session, const QString& programDir, const QString& project,
                 WithCatalogue catalogue) {
    loadProgramTexts(session.texts, programDir);
    session.folders.program = programDir;
    if (catalogue == WithCatalogue::Yes)
        LoadCatalogue(session.catalogue, programDir);
    readProjectFile(project, *session.record);
    setFlagsAfterLoad(*session.record, session.flags);
}

ResultsView evaluateAsShown(Session& session, const QString& nothingDone, std::optional<int> countByHand) {
    const QString jetCode = session.record->outlet.jetFormCodeText();
    if (jetFormOf(session.record->designCode.str(), jetCode).kind == JetKind::None)
        throw Refused{
            QStringLiteral("Für die Strahlform \"%1\" gibt es keine Auswertung (erwartet: 01 bis 06). %2")
                .arg(jetCode, nothingDone)};
    if (countByHand)
        SetOutletCountByHand(*session.record, session.flags, *countByHand);
    return ShowOutletResults(
        {*session.record, session.working, session.calcStatus, session.flags, session.texts});
}

} // namespace fyl::cli
