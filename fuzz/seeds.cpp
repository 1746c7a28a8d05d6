// fyl-fuzzseeds OUTDIR: writes the seed corpora of the fuzz targets into OUTDIR/<target>/ with the
// program's own writers: project images of the evaluation fixture and of outlets planned from the
// demo catalogue, their exchange files, the committed catalogue's tables, small catalogues built
// from parts of its source, parts of the committed text table, expressions, room lists kept as
// workbooks.
// Fuzzing harness over the core (fylcore).
#include "fuzz/fuzzsupport.h"

#include "catalogue/cataloguesource.h"
#include "catalogue/loaders.h"
#include "exchange/exchangefiles.h"
#include "fixtures/calcfixture.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/projectfile.h"
#include "frame/shell.h"
#include "frame/texttable.h"
#include "results/outletresults.h"
#include "selection/planchoice.h"
#include "tests/support/workbookfiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <map>
#include <memory>

namespace {

using namespace fyl;

QString outDir;

void seed(const char* target, const QString& name, const QByteArray& bytes) {
    const QString folder = outDir + QLatin1Char('/') + QString::fromLatin1(target);
    QDir().mkpath(folder);
    fuzz::writeBytes(folder + QLatin1Char('/') + name, bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fuzz::violated("cannot read a data file", file.fileName());
    return file.readAll();
}

QByteArray readData(const char* name) {
    return readFile(fuzz::dataFile(name));
}

QByteArray readSource(const char* relative) {
    return readFile(QStringLiteral(ZELK_SOURCE_DIR "/") + QString::fromLatin1(relative));
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

// The catalogue files of a part of the catalogue source, built as `catalogue build` builds them:
// `keep` maps a type code to the sizes kept, each with the jet forms kept. Seeds of a few records
// keep every input small, so that each execution stays quick; the demo's 38 records made one
// input 148 KB.
QByteArray builtCatalogue(const std::map<QString, std::map<QString, QStringList>>& keep) {
    QJsonObject root = QJsonDocument::fromJson(readSource("tools/catalogue/zelk-catalogue.json")).object();
    QJsonArray types;
    for (const QJsonValue& value : root.value(QLatin1String("types")).toArray()) {
        QJsonObject type = value.toObject();
        const auto kept = keep.find(type.value(QLatin1String("code")).toString());
        if (kept == keep.end())
            continue;
        QJsonArray sizes;
        for (const QJsonValue& sizeValue : type.value(QLatin1String("sizes")).toArray()) {
            QJsonObject size = sizeValue.toObject();
            const auto forms = kept->second.find(size.value(QLatin1String("name")).toString());
            if (forms == kept->second.end())
                continue;
            QJsonObject jetForms;
            const QJsonObject all = size.value(QLatin1String("jet_forms")).toObject();
            for (const QString& form : forms->second)
                jetForms.insert(form, all.value(form));
            size.insert(QLatin1String("jet_forms"), jetForms);
            sizes.append(size);
        }
        type.insert(QLatin1String("sizes"), sizes);
        types.append(type);
    }
    root.insert(QLatin1String("types"), types);
    QJsonArray installations;
    for (const QJsonValue& value : root.value(QLatin1String("installations")).toArray()) {
        QJsonObject installation = value.toObject();
        QJsonArray listed;
        for (const QJsonValue& code : installation.value(QLatin1String("types")).toArray())
            if (keep.count(code.toString()))
                listed.append(code);
        if (listed.isEmpty())
            continue;
        installation.insert(QLatin1String("types"), listed);
        installations.append(installation);
    }
    root.insert(QLatin1String("installations"), installations);
    root.remove(QLatin1String("data_sheet_types"));

    const BuiltCatalogue built = buildCatalogue(QJsonDocument(root).toJson());
    QByteArray all;
    for (std::size_t i = 0; i < fuzz::kCatalogueFiles.size(); ++i) {
        if (i > 0)
            all += fuzz::kCatalogueFileSeparator;
        all += built.files.at(QString::fromLatin1(fuzz::kCatalogueFiles[i]));
    }
    return all;
}

void catalogueSeeds() {
    // Every table of the committed catalogue without its records: all its index lines.
    QByteArray all;
    for (std::size_t i = 0; i + 1 < fuzz::kCatalogueFiles.size(); ++i) {
        if (i > 0)
            all += fuzz::kCatalogueFileSeparator;
        all += readData(fuzz::kCatalogueFiles[i]);
    }
    seed("catalogue", QStringLiteral("without-detail-file"), all);
    // A horizontal and a vertical jet of a ceiling diffuser; slot, slot tube and linear slot.
    seed("catalogue", QStringLiteral("ceiling-diffuser"),
         builtCatalogue({{QStringLiteral("DRL"), {{QStringLiteral("DRL 500"), {"01", "02"}}}}}));
    seed("catalogue", QStringLiteral("slot-outlets"),
         builtCatalogue({{QStringLiteral("LSA"), {{QStringLiteral("LSA 20"), {"04"}}}},
                         {QStringLiteral("LSB"), {{QStringLiteral("LSB 20"), {"05"}}}},
                         {QStringLiteral("STR"), {{QStringLiteral("STR 15"), {"06"}}}}}));
}

void textSeeds() {
    // The committed table's first lines and a table one line too long, each line cut short: the
    // whole 7 KB table as a seed made every input that long.
    const QList<QByteArray> lines = readData("Fyltext.txt").split('\n');
    QByteArray first, surplus;
    for (qsizetype i = 0; i < lines.size() && i < 32; ++i)
        first += lines[i] + '\n';
    for (int i = 0; i <= TextTable::kEntries; ++i)
        surplus += QByteArray(lines[i % lines.size()]).replace('\r', "").left(9) + "\r\n";
    seed("texttable", QStringLiteral("Fyltext-32"), first);
    seed("texttable", QStringLiteral("Fyltext-236"), surplus);
    seed("texttable", QStringLiteral("short"), "00001 erste\r\n00002 zweite\n00003 dritte");
    const char* expressions[] = {"12*8,5", "2*PI", "(2+3)*4", "1E3/4", "4,5*6-1/3", "((1+2)*(3-4))/0,5",
                                 "7=9"};
    int n = 0;
    for (const char* text : expressions)
        seed("expression", QStringLiteral("expr-%1").arg(++n), QByteArray("\x0a\x02") + text);
}

// A few rooms as .xlsx and .ods, with a formula, a date and a truth value among them, stored rather
// than deflated; and their sheet data alone, which the target zips itself.
void workbookSeeds() {
    const QString header =
        QStringLiteral("Raum;Breite;Länge;Höhe;Luftwechsel;Volumenstrom;Kühllast;Raumtemperatur;"
                       "Zulufttemperatur;Kopfhöhe;Einbauhöhe;Luftgeschwindigkeit;Schallleistung;"
                       "Typ;Größe;Strahlform;Schlitzlänge;Schlitzanzahl;Rohr;Komfortkategorie");
    const QStringList rooms = {
        QStringLiteral("Büro 1;5.4;6;3;;800;;22;16;1.8;3;0.2;35;;;;;;;A"),
        QStringLiteral("Halle;30;20;6;2;;;22;17.5;1.8;6;0.25;45;STR;STR 25;5;3000;4;250;"),
        QStringLiteral("Text;10;8,5;3;;2000;4,024;22;;1,8;3;0,2;35;;;;;;;")};
    QString sheet = test::xlsxRow(1, header), table = test::odsRow(header);
    for (int i = 0; i < rooms.size(); ++i) {
        sheet += test::xlsxRow(i + 2, rooms[i]);
        table += test::odsRow(rooms[i]);
    }
    sheet += QStringLiteral("<row r=\"6\"><c r=\"A6\" t=\"s\"><v>0</v></c><c r=\"B6\"><f>B2*2</f></c>"
                            "<c r=\"C6\" s=\"1\"><v>45000</v></c><c r=\"D6\" t=\"b\"><v>1</v></c></row>");
    table +=
        QStringLiteral("<table:table-row table:number-rows-repeated=\"2\"><table:table-cell "
                       "office:value-type=\"string\"><text:p>Lager<text:s text:c=\"2\"/>1</text:p>"
                       "</table:table-cell><table:table-cell table:formula=\"of:=1\"/><table:table-cell "
                       "office:value-type=\"date\" office:date-value=\"2024-01-01\"/></table:table-row>");
    seed(
        "workbook", QStringLiteral("rooms.xlsx"),
        test::xlsxWorkbook(QStringLiteral("Tabelle1"), sheet, {QStringLiteral("Lager")}, {0, 14}, {}, false));
    seed("workbook", QStringLiteral("rooms.ods"),
         test::odsWorkbook(QStringLiteral("Tabelle1"), table, false));
    // The same as bare XML: the target zips it itself.
    seed("workbook", QStringLiteral("sheet.xml"), sheet.toUtf8());
    seed("workbook", QStringLiteral("table.xml"), table.toUtf8());
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
        workbookSeeds();
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
