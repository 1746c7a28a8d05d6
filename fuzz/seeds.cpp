// fyl-fuzzseeds OUTDIR: writes the seed corpora of the fuzz targets into OUTDIR/<target>/ with the
// program's own writers: project images of the evaluation fixture and of outlets planned from the
// demo catalogue, their exchange files, the committed catalogue and text table, expressions.
// Fuzzing harness over the core (fylcore).
#include "fuzz/fuzzsupport.h"

#include "catalogue/loaders.h"
#include "fixtures/calcfixture.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/projectfile.h"
#include "frame/shell.h"
#include "results/exchangefiles.h"
#include "results/outletresults.h"
#include "selection/planchoice.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <memory>

namespace {

using namespace fyl;

QString outDir;

void seed(const char* target, const QString& name, const QByteArray& bytes) {
    const QString folder = outDir + QLatin1Char('/') + QString::fromLatin1(target);
    QDir().mkpath(folder);
    fuzz::writeBytes(folder + QLatin1Char('/') + name, bytes);
}

QByteArray readData(const char* name) {
    QFile file(fuzz::dataFile(name));
    if (!file.open(QIODevice::ReadOnly))
        fuzz::violated("cannot read a data file", file.fileName());
    return file.readAll();
}

// A project as saved, and the two exchange files the calculation window writes for it.
void projectSeeds(const QString& name, const CalculationRecord& rec) {
    const QString path = fuzz::scratchFolder() + QStringLiteral("/seed.zol");
    writeProjectFile(path, rec);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    seed("project", name + QStringLiteral(".zol"), file.readAll());
    try {
        seed("ceilingexchange", name + QStringLiteral(".tmp"), exchangeFileBytes(ceilingExchangeLines(rec)));
        seed("soundexchange", name + QStringLiteral(".tmp"), exchangeFileBytes(soundExchangeLines(rec)));
    } catch (const Error&) {
        // a record without results has no exchange files to offer
    }
}

void fixtureProjects() {
    for (const char* jetForm : {"01", "02", "03", "04", "05", "06"}) {
        auto state = test::ceilingDiffuserState(jetForm);
        ShowOutletResults(state->parts());
        projectSeeds(QStringLiteral("fixture-") + QString::fromLatin1(jetForm), state->record);
    }
    auto fresh = std::make_unique<CalculationRecord>();
    ResetRecord(*fresh);
    projectSeeds(QStringLiteral("fresh"), *fresh);
}

// Outlets of every design the selection distinguishes, taken over as `zelkfyl-cli plan` does.
void plannedProjects() {
    const QString programDir = QStringLiteral(ZELK_SOURCE_DIR "/data");
    Catalogue catalogue;
    LoadCatalogue(catalogue, programDir);
    Folders folders;
    folders.program = programDir;
    struct Plan {
        const char* name;
        double flow, mounting;
        OutletChoice choice;
    };
    const Plan plans[] = {
        {"DRL400-1", 1700, 3.0, {QStringLiteral("DRL"), QStringLiteral("DRL 400"), 1, {}, {}, {}}},
        {"DRL500-2", 4000, 3.0, {QStringLiteral("DRL"), QStringLiteral("DRL 500"), 2, {}, {}, {}}},
        {"LSA20-4", 1200, 3.0, {QStringLiteral("LSA"), QStringLiteral("LSA 20"), 4, 1200.0L, 2, {}}},
        {"STR15-5", 600, 2.9, {QStringLiteral("STR"), QStringLiteral("STR 15"), 5, 1500.0L, 2, 200.0L}},
        {"LSB20-4", 1300, 2.5, {QStringLiteral("LSB"), QStringLiteral("LSB 20"), 4, 1000.0L, 2, {}}},
    };
    for (const Plan& plan : plans) {
        auto rec = std::make_unique<CalculationRecord>();
        ResetRecord(*rec);
        rec->totalFlow = plan.flow;
        rec->mountingHeight = plan.mounting;
        rec->continueUsed = 1;
        RuntimeFlags flags;
        WorkingValues working;
        int calcStatus = 0;
        CollectingDialogs dialogs;
        InertShell shell;
        SelectionModel model(
            {{*rec, flags, working, calcStatus, fuzz::programTexts(), dialogs}, catalogue, shell, folders});
        planOutlet(model, catalogue, plan.choice, *rec);
        rec->flowPictureShown = 0;
        projectSeeds(QString::fromLatin1(plan.name), *rec);
    }
}

void catalogueSeeds() {
    QByteArray all;
    for (std::size_t i = 0; i < fuzz::kCatalogueFiles.size(); ++i) {
        if (i > 0)
            all += fuzz::kCatalogueFileSeparator;
        all += readData(fuzz::kCatalogueFiles[i]);
        if (i == 5)
            seed("catalogue", QStringLiteral("without-detail-file"), all);
    }
    seed("catalogue", QStringLiteral("demo"), all);
}

void textSeeds() {
    seed("texttable", QStringLiteral("Fyltext.txt"), readData("Fyltext.txt"));
    seed("texttable", QStringLiteral("short"), "00001 erste\r\n00002 zweite\n00003 dritte");
    const char* expressions[] = {"12*8,5", "2*PI", "(2+3)*4", "1E3/4", "4,5*6-1/3", "((1+2)*(3-4))/0,5", "7=9"};
    int n = 0;
    for (const char* text : expressions)
        seed("expression", QStringLiteral("expr-%1").arg(++n), QByteArray("\x0a\x02") + text);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: fyl-fuzzseeds OUTDIR\n");
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    try {
        fixtureProjects();
        plannedProjects();
        catalogueSeeds();
        textSeeds();
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
