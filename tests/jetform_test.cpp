// Which evaluation a jet form runs, asked of every road: a catalogue offering every jet form code
// with every design is checked, each choice is taken over by `plan` and evaluated again after a
// reload by `evaluate`, and all of them must agree with one another and with the one rule.
#include "frame/jetkind.h"
#include "frame/projectfile.h"
#include "frame/record.h"
#include "frame/texttable.h"
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

using namespace fyl;

namespace {

const char* const kCodes[] = {"01", "02", "03", "04", "05", "06"};

// One type of each design of the demo catalogue: ordinary, linear slot, slot tube, slot outlet
// sold as whole outlets.
struct Design {
    const char* type;
    const char* design;
};
const Design kDesigns[] = {{"DUE", "0"}, {"LSA", "1"}, {"STR", "2"}, {"LSB", "3"}};

QString kindName(JetKind kind) {
    return kind == JetKind::Horizontal ? QStringLiteral("horizontal")
           : kind == JetKind::Vertical ? QStringLiteral("vertical")
                                       : QStringLiteral("none");
}

// The demo catalogue with the first size of each type above offering all six jet form codes;
// the vertical ones carry the penetration coefficients of the demo's vertical nozzle.
class JetFormRoads : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        QFile source(QStringLiteral(ZELK_SOURCE_DIR "/tools/catalogue/zelk-catalogue.json"));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        QJsonObject catalogue = QJsonDocument::fromJson(source.readAll()).object();
        QJsonArray types = catalogue.value(QStringLiteral("types")).toArray();
        QJsonObject vertical;
        for (const QJsonValue t : types)
            if (t[QStringLiteral("code")] == QStringLiteral("DUE"))
                vertical = t[QStringLiteral("sizes")][0][QStringLiteral("jet_forms")][QStringLiteral("02")]
                               .toObject();
        ASSERT_FALSE(vertical.isEmpty());
        for (auto t = types.begin(); t != types.end(); ++t) {
            QJsonObject type = t->toObject();
            const QString code = type[QStringLiteral("code")].toString();
            if (!std::any_of(std::begin(kDesigns), std::end(kDesigns),
                             [&](const Design& d) { return code == QLatin1String(d.type); }))
                continue;
            QJsonArray sizes = type[QStringLiteral("sizes")].toArray();
            QJsonObject first = sizes[0].toObject();
            const QJsonObject forms = first[QStringLiteral("jet_forms")].toObject();
            const QJsonObject horizontal = forms.begin()->toObject();
            QJsonObject all;
            for (const char* c : kCodes) {
                const bool isVertical = jetFormOf(u"0", QString::fromLatin1(c)).kind == JetKind::Vertical;
                all.insert(QString::fromLatin1(c), isVertical ? vertical : horizontal);
            }
            first.insert(QStringLiteral("jet_forms"), all);
            sizes[0] = first;
            type.insert(QStringLiteral("sizes"), sizes);
            *t = type;
        }
        catalogue.insert(QStringLiteral("types"), types);
        const QString json = dir->filePath(QStringLiteral("catalogue.json"));
        test::writeFile(json, QJsonDocument(catalogue).toJson());
        program = dir->filePath(QStringLiteral("program"));
        const test::CliRun built =
            test::runCli({QStringLiteral("catalogue"), QStringLiteral("build"), json, program});
        ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZELK_PROGRAM_DIR "/Fyltext.txt"),
                                QDir(program).filePath(QStringLiteral("Fyltext.txt"))));
    }
    static void TearDownTestSuite() { delete dir; }

    static test::CliRun cli(QStringList args) {
        return test::runCli(args << QStringLiteral("--program-dir") << program);
    }
    // The size name and a configuration of `type` with jet form `code`, as the ranking lists it.
    static QStringList choiceArgs(const QString& project, const char* type, const char* code) {
        const test::CliRun ranked = cli({QStringLiteral("rank"), project});
        for (const QJsonValue c : ranked.json()[QStringLiteral("choices")].toArray()) {
            const QJsonObject o = c.toObject();
            if (o[QStringLiteral("type")] != QLatin1String(type) ||
                o[QStringLiteral("jet_form")].toInt() != QString::fromLatin1(code).toInt())
                continue;
            QStringList args = {QStringLiteral("--type"),     QLatin1String(type),
                                QStringLiteral("--size"),     o[QStringLiteral("size")].toString(),
                                QStringLiteral("--jet-form"), QString::fromLatin1(code).mid(1)};
            if (o[QStringLiteral("length")].toInt() > 0)
                args << QStringLiteral("--length") << QString::number(o[QStringLiteral("length")].toInt())
                     << QStringLiteral("--slots") << QString::number(o[QStringLiteral("slots")].toInt());
            if (o[QStringLiteral("tube")].toInt() > 0)
                args << QStringLiteral("--tube") << QString::number(o[QStringLiteral("tube")].toInt());
            return args;
        }
        return {};
    }

    static QTemporaryDir* dir;
    static QString program;
};
QTemporaryDir* JetFormRoads::dir = nullptr;
QString JetFormRoads::program;

TEST_F(JetFormRoads, TheCheckerTheTakeOverAndTheReloadAgreeForEveryDesignAndCode) {
    const test::CliRun checked = cli({QStringLiteral("catalogue"), QStringLiteral("check"), program});
    // Every code from 01 to 06 is calculated with every design.
    EXPECT_FALSE(checked.out.contains("rechnet die Strahlform")) << checked.out.toStdString();

    TextTable texts;
    texts.load(QDir(program).filePath(QStringLiteral("Fyltext.txt")));
    // A fresh project of a 10 x 10 x 3 m room with 600 m³/h.
    auto rec = std::make_unique<CalculationRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    ResetRecord(*rec);
    rec->totalFlow = 600;
    rec->mountingHeight = 3;
    const QString project = dir->filePath(QStringLiteral("room.zol"));
    writeProjectFile(project, *rec);
    for (const Design& d : kDesigns) {
        for (const char* code : kCodes) {
            SCOPED_TRACE(std::string(d.type) + " " + code);
            const JetFormRule rule = jetFormOf(QString::fromLatin1(d.design), QString::fromLatin1(code));
            const QStringList args = choiceArgs(project, d.type, code);
            ASSERT_FALSE(args.isEmpty()) << "the ranking offers no such choice";
            const QString planned = dir->filePath(QStringLiteral("%1-%2.zol").arg(d.type, code));
            const test::CliRun taken = cli(QStringList{QStringLiteral("plan"), project}
                                           << args << QStringLiteral("--write") << planned);
            ASSERT_EQ(taken.exitCode, 0) << taken.err.toStdString();
            const test::CliRun reloaded = cli({QStringLiteral("evaluate"), planned});
            ASSERT_EQ(reloaded.exitCode, 0) << reloaded.err.toStdString();
            for (const QJsonObject& o : {taken.json(), reloaded.json()}) {
                EXPECT_EQ(o[QStringLiteral("jet_kind")].toString(), kindName(rule.kind));
                EXPECT_EQ(o[QStringLiteral("display")][QStringLiteral("Label44")].toString(),
                          texts.text(rule.hintEntry));
            }
        }
    }
}

} // namespace
