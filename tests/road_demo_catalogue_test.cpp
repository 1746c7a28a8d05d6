// The planning road on the demo catalogue through the real windows: room data, "weiter", the
// selection steps and the calculation window, one road per design code, each checked against
// zelkfyl-cli plan and evaluate, with the one count in the report and the exchange files; the data
// sheet and tender text the build wrote, opened on the way.
#include "flowsim/Unit4.h"
#include "frame/files.h"
#include "frame/numbers.h"
#include "tests/support/clirun.h"
#include "tests/support/roadfixture.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace fyl;
using fyl::test::copyFolder;
using fyl::test::RoadTest;

namespace {

QJsonObject withoutDisplay(QJsonObject o) {
    for (const char* key : {"display", "designation", "design"})
        o.remove(QString::fromLatin1(key));
    return o;
}

// One outlet per design code on the demo catalogue. The heading, the count edit and the flows are
// the hand computations of the plan command's tests; the count edit shows the number of outlets
// the flows are computed for.
struct Road {
    const char* name;
    const char* flow;     // typed into the volume flow
    const char* mounting; // typed into the mounting height; none: the new project's 3,00
    const char* kind;
    const char* type;
    const char* size;
    int jetForm;
    const char* tube; // design "2" only
    const char* length;
    const char* slotCount;
    const char* designation;
    const char* count;
    const char* flowShown;     // Label7, where it has a short hand computation
    const char* mountingAfter; // Edit10 after the take-over: the planner's height, whatever the outlet's
};

const Road kRoads[] = {
    // 1700 / 7; the range 5 .. 12.
    {"Design0Horizontal", "1700", nullptr, "Deckendurchlässe", "DRL", "DRL 400", 1, nullptr, nullptr, nullptr,
     "DRL  400 horizontal", "7", "242,86", "3,00"},
    // 4000 / 11; the range 8 .. 18.
    {"Design0Vertical", "4000", nullptr, "Deckendurchlässe", "DRL", "DRL 500", 2, nullptr, nullptr, nullptr,
     "DRL  500 vertikal", "11", "363,64", "3,00"},
    // 2.40 m per outlet for 8 .. 20 m of slot: 4 .. 9 outlets.
    {"Design1", "1200", nullptr, "Schlitzdurchlässe", "LSA", "LSA 20", 4, nullptr, "1200", "2",
     "LSA  20 / 1200 / 2", "7", nullptr, "3,00"},
    // A 200 mm tube hangs at 2.80 m, not 2.90 m; 3.00 m per outlet for 6 .. 15 m: 2 .. 5 outlets.
    {"Design2", "600", "2,9", "Schlitzdurchlässe", "STR", "STR 15", 5, "200", "1500", "2",
     "STR  15/1500/2 (  200)", "5", nullptr, "2,9"},
    // Question 166 answered Yes: the slot at 2.90 m; N = 10 gives 65 per metre, 130 per 2 m outlet; 5 .. 13.
    {"Design3", "1300", "2,5", "Schlitzdurchlässe", "LSB", "LSB 20", 4, nullptr, "1000", "2",
     "LSB  20 / 1000 / 2", "10", "130,00", "2,5"},
};

void PrintTo(const Road& road, std::ostream* os) {
    *os << road.name;
}

class RoadOnTheDemoCatalogue : public RoadTest, public testing::WithParamInterface<Road> {};

} // namespace

TEST_P(RoadOnTheDemoCatalogue, WindowsShowWhatPlanPrintsAndTheSavedProjectEvaluatesAlike) {
    const Road& road = GetParam();
    copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
    startWindows();
    enter(main->edit7, QString::fromUtf8(road.flow));
    if (road.mounting != nullptr)
        enter(main->Edit10, QString::fromUtf8(road.mounting));
    const QString room = path("room.zol");
    save(room);

    dialogs.confirmAnswers = {true};
    press(main->BitBtn1);
    ASSERT_TRUE(selection->isVisible());
    pick(selection->listbox1, QString::fromUtf8(road.kind));
    pick(selection->ListBox8, QString::fromUtf8(road.type));
    pick(selection->ListBox9, QString::fromUtf8(road.size));
    if (selection->ListBox10->count() > 1)
        pick(selection->ListBox10, QStringLiteral("0%1").arg(road.jetForm));
    press(selection->weiter);
    if (road.tube != nullptr) {
        pick(selection->ListBox14, QString::fromUtf8(road.tube));
        pick(selection->ListBox15, QString::fromUtf8(road.length));
        pick(selection->ListBox16, QString::fromUtf8(road.slotCount));
        press(selection->Button3);
    } else if (road.length != nullptr) {
        pick(selection->ListBox17, QString::fromUtf8(road.length));
        if (selection->ListBox18->count() > 1)
            pick(selection->ListBox18, QString::fromUtf8(road.slotCount));
        press(selection->Button5);
    }
    ASSERT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
    ASSERT_TRUE(results->isVisible());
    EXPECT_FALSE(selection->isVisible());
    EXPECT_EQ(main->Edit10->text(), QString::fromUtf8(road.mountingAfter));
    EXPECT_EQ(shown(form3::Label1), QString::fromUtf8(road.designation));
    EXPECT_EQ(shown(form3::Edit1), QString::fromUtf8(road.count));
    if (road.flowShown != nullptr) {
        EXPECT_EQ(shown(form3::Label7), QString::fromUtf8(road.flowShown));
    }

    QStringList args = {QStringLiteral("plan"),          room,
                        QStringLiteral("--type"),        QString::fromUtf8(road.type),
                        QStringLiteral("--size"),        QString::fromUtf8(road.size),
                        QStringLiteral("--jet-form"),    QString::number(road.jetForm),
                        QStringLiteral("--program-dir"), program};
    if (road.tube != nullptr)
        args << QStringLiteral("--tube") << QString::fromUtf8(road.tube);
    if (road.length != nullptr)
        args << QStringLiteral("--length") << QString::fromUtf8(road.length) << QStringLiteral("--slots")
             << QString::fromUtf8(road.slotCount);
    const QString planned = path("planned.zol");
    const test::CliRun plan = test::runCli(args << QStringLiteral("--write") << planned);
    ASSERT_EQ(plan.exitCode, 0) << plan.err.toStdString();
    const QJsonObject planJson = plan.json();
    const bool vertical = planJson[QStringLiteral("jet_kind")].toString() == QLatin1String("vertical");
    EXPECT_EQ(vertical, road.jetForm == 2);
    EXPECT_EQ(results->widget(form3::GroupBox2)->isVisible(), vertical);
    EXPECT_EQ(results->widget(form3::GroupBox1)->isVisible(), !vertical);

    // What the window shows is what the command printed, control by control.
    auto expectShownAsIn = [&](const QJsonObject& json, const char* source) {
        const QJsonObject display = json[QStringLiteral("display")].toObject();
        QList<form3::Control> values = {form3::Label1,  form3::Label6,     form3::Label7,  form3::Label8,
                                        form3::Label10, form3::Label13,    form3::Label15, form3::Label44,
                                        form3::Edit1,   form3::DraughtHint};
        values += vertical ? QList<form3::Control>{form3::Label35, form3::Label36}
                           : QList<form3::Control>{form3::Label19, form3::Label20};
        for (form3::Control id : values)
            EXPECT_EQ(shown(id), display[QLatin1String(controlName(id))].toString())
                << source << " " << controlName(id);
        EXPECT_EQ(red(form3::Label15),
                  display[QStringLiteral("Label15.color")].toString() == QLatin1String("red"))
            << source;
        EXPECT_EQ(json[QStringLiteral("count_range")].toArray(),
                  (QJsonArray{results->ScrollBar1->minimum(), results->ScrollBar1->maximum()}))
            << source;
        EXPECT_EQ(json[QStringLiteral("count_position")].toInt(), results->ScrollBar1->value()) << source;
    };
    expectShownAsIn(planJson, "plan");
    EXPECT_EQ(planJson[QStringLiteral("designation")].toString(), shown(form3::Label1));

    const QString saved = path("saved.zol");
    save(saved);
    const test::CliRun evaluate =
        test::runCli({QStringLiteral("evaluate"), saved, QStringLiteral("--program-dir"), program});
    ASSERT_EQ(evaluate.exitCode, 0) << evaluate.err.toStdString();
    expectShownAsIn(evaluate.json(), "evaluate");
    EXPECT_EQ(withoutDisplay(evaluate.json()), withoutDisplay(planJson));
    // The windows and the command leave the same record behind.
    EXPECT_EQ(test::readFile(saved), test::readFile(planned));

    // The count the window shows is the report's "Anzahl" and both exchange files'.
    const QString count = shown(form3::Edit1);
    const QString pdf = path("report.pdf");
    ASSERT_EQ(test::runCli({QStringLiteral("report"), saved, QStringLiteral("--pdf"), pdf,
                            QStringLiteral("--program-dir"), program})
                  .exitCode,
              0);
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    const QString report = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const QRegularExpressionMatch row =
        QRegularExpression(QStringLiteral("Anzahl Durchlässe\\s+(\\d+)")).match(report);
    ASSERT_TRUE(row.hasMatch()) << report.toStdString();
    EXPECT_EQ(row.captured(1), count);
    const QString ceiling = path("Zoldaten.tmp"), sound = path("Sounddaten.tmp");
    ASSERT_EQ(test::runCli({QStringLiteral("exchange"), saved, QStringLiteral("--ceiling"), ceiling,
                            QStringLiteral("--sound"), sound, QStringLiteral("--program-dir"), program})
                  .exitCode,
              0);
    auto line = [](const QString& file, int n) {
        return QString::fromLatin1(test::readFile(file)).split(QStringLiteral("\r\n")).value(n).trimmed();
    };
    EXPECT_EQ(line(ceiling, 5), count);
    EXPECT_EQ(line(sound, 3), count);
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryDesign, RoadOnTheDemoCatalogue, testing::ValuesIn(kRoads),
                         [](const testing::TestParamInfo<Road>& info) {
                             return std::string(info.param.name);
                         });

// The selection's data sheet and the calculation window's tender text open the files the build
// wrote, with the desktop's program; the tender text closes the flow picture.
TEST_F(RoadTest, DataSheetAndTenderTextOpenTheFilesTheBuildWrote) {
    copyFolder(QStringLiteral(ZELK_PROGRAM_DIR), program);
    startWindows();
    enter(main->edit7, QStringLiteral("1700"));
    press(main->BitBtn1);
    pick(selection->listbox1, QStringLiteral("Deckendurchlässe"));
    pick(selection->ListBox8, QStringLiteral("DRL"));
    selection->Info1->trigger();
    const QString folder = forms->state.folders.program;
    const QString sheet = joinPath(folder, QStringLiteral("catalog/DRL.pdf"));
    EXPECT_EQ(shell.opened, (QStringList{QStringLiteral("?") + sheet, sheet}));
    EXPECT_TRUE(QFileInfo(sheet).isFile());

    pick(selection->ListBox9, QStringLiteral("DRL 400"));
    press(selection->weiter);
    ASSERT_TRUE(results->isVisible());
    qobject_cast<QAction*>(results->control(form3::Raumschnitt1))->trigger();
    ASSERT_TRUE(forms->form4->isVisible());
    shell.opened.clear();
    auto* tenderText = qobject_cast<QAction*>(results->control(form3::Ausschreibungstext1));
    EXPECT_FALSE(tenderText->isVisible()); // the menu entry was made invisible by design
    tenderText->trigger();
    const QString text = joinPath(folder, QStringLiteral("Aus_texte/DRL.txt"));
    EXPECT_EQ(shell.opened, (QStringList{QStringLiteral("?") + text, text}));
    EXPECT_TRUE(QFileInfo(text).isFile());
    EXPECT_FALSE(forms->form4->isVisible());
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char(';')).toStdString();
}
