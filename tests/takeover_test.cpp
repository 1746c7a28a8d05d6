// Taking an outlet over on the demo catalogue: its figures depend on the room and on it alone,
// whatever was taken over before (through the selection's steps, plan and the ranking), and the
// one count they are for is the count the window, the report, both exchange files and the ranking
// show.
#include "catalogue/loaders.h"
#include "exchange/exchangefiles.h"
#include "frame/errors.h"
#include "frame/numbers.h"
#include "frame/projectfile.h"
#include "frame/record.h"
#include "frame/recordfields.h"
#include "frame/shell.h"
#include "print/reportpages.h"
#include "selection/planchoice.h"
#include "selection/suggestions.h"
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <variant>

using namespace fyl;

namespace {

QString choiceName(const OutletChoice& c) {
    QString name = c.type + QLatin1Char('/') + c.size + QLatin1Char('/') + QString::number(c.jetForm);
    if (c.length)
        name += QStringLiteral("/%1/%2").arg(double(*c.length)).arg(*c.slotCount);
    if (c.tube)
        name += QStringLiteral("/%1").arg(double(*c.tube));
    return name;
}

// Everything a view sets, one line per control, so that two views compare as texts.
template <class View> void describe(const View& view, QStringList& out) {
    for (std::size_t i = 0; i < View::size; ++i) {
        const auto id = static_cast<typename View::Id>(i);
        const ControlView& c = view[id];
        out << QStringLiteral("%1 %2 %3 %4")
                   .arg(QLatin1String(controlName(id)), c.text.value_or(QStringLiteral("-")))
                   .arg(c.colour ? int(*c.colour) : -1)
                   .arg(c.visible ? int(*c.visible) : -1);
    }
}

QStringList describe(const ResultsView& view) {
    QStringList out;
    describe(view.form3, out);
    describe(view.form4, out);
    if (view.countBar)
        out << QStringLiteral("bar %1 %2 %3")
                   .arg(view.countBar->minimum)
                   .arg(view.countBar->maximum)
                   .arg(view.countBar->position);
    out << QStringLiteral("spacing bar %1").arg(view.spacingBarPosition.value_or(-99999));
    return out;
}

// An exchange file's lines, or why the writer refused the record.
QStringList lines(QStringList (*writer)(const CalculationRecord&), const CalculationRecord& rec) {
    try {
        return writer(rec);
    } catch (const Error& e) {
        return {e.message()};
    }
}

// A room as a planner enters it, with the values the main window derives from it.
std::unique_ptr<CalculationRecord> randomRoom(std::mt19937& rng) {
    auto u = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto rec = std::make_unique<CalculationRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    ResetRecord(*rec);
    rec->roomWidth = std::round(u(3.0, 15.0) * 10) / 10;
    rec->roomLength = std::round(u(4.0, 25.0) * 10) / 10;
    rec->roomHeight = std::round(u(2.6, 5.0) * 10) / 10;
    rec->floorArea = rec->roomWidth * rec->roomLength;
    rec->roomVolume = rec->floorArea * rec->roomHeight;
    rec->airChangeRate = std::round(u(2.0, 8.0));
    rec->totalFlow = rec->roomVolume * rec->airChangeRate;
    rec->mountingHeight = rec->roomHeight;
    rec->headHeight = u(0.0, 1.0) < 0.5 ? 1.8 : 1.2;
    rec->roomTemp = std::round(u(20.0, 26.0));
    rec->supplyTemp = rec->roomTemp - std::round(u(-6.0, 10.0));
    rec->maxSoundLevel = std::round(u(30.0, 45.0));
    return rec;
}

class TakeOver : public testing::Test {
protected:
    void SetUp() override {
        LoadCatalogue(catalogue, program);
        texts.load(program + QStringLiteral("/Fyltext.txt"));
        folders.program = program;
    }

    // One program run: its record, flags and selection, kept from one take-over to the next as
    // the windows keep them.
    struct Run {
        Run(const TakeOver& t, const CalculationRecord& room)
            : record(std::make_unique<CalculationRecord>(room)),
              model(
                  {{*record, flags, working, calcStatus, t.texts, dialogs}, t.catalogue, shell, t.folders}) {}
        std::unique_ptr<CalculationRecord> record;
        RuntimeFlags flags;
        WorkingValues working;
        int calcStatus = 0;
        CollectingDialogs dialogs;
        InertShell shell;
        SelectionModel model;
    };

    struct Taken {
        QByteArray bytes;
        QStringList view, ceiling, sound;
        QString error;
    };

    Taken take(Run& run, const OutletChoice& choice) const {
        Taken t;
        try {
            run.model.resetToFirstStep();
            const SelectionOutcome outcome = planOutlet(run.model, catalogue, choice, *run.record);
            if (outcome.results)
                t.view = describe(*outcome.results);
        } catch (const Error& e) {
            t.error = e.message();
        }
        t.bytes = recordBytes(*run.record);
        t.ceiling = lines(&ceilingExchangeLines, *run.record);
        t.sound = lines(&soundExchangeLines, *run.record);
        return t;
    }

    const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
    Catalogue catalogue;
    TextTable texts;
    Folders folders;
};

} // namespace

// A, then B, then A again gives the record, the view and the exchange files of A in a new project
// of the room.
TEST_F(TakeOver, AnOutletAfterOthersGivesWhatItGivesInANewProject) {
    std::mt19937 rng(20);
    int compared = 0;
    for (int i = 0; i < 40; ++i) {
        const std::unique_ptr<CalculationRecord> room = randomRoom(rng);
        const std::vector<OutletChoice> offered = offeredChoices(catalogue, *room, texts, folders);
        ASSERT_GT(offered.size(), 100u);
        std::uniform_int_distribution<std::size_t> pick(0, offered.size() - 1);
        const OutletChoice& a = offered[pick(rng)];
        const OutletChoice& b = offered[pick(rng)];
        SCOPED_TRACE(
            QStringLiteral("room %1: %2 after %3").arg(i).arg(choiceName(a), choiceName(b)).toStdString());

        Run history(*this, *room);
        take(history, a);
        history.flags.countSetByHand = true; // the planner moved the count bar for A
        history.record->outletCount = 2.0;
        take(history, b);
        const Taken again = take(history, a);

        Run newProject(*this, *room);
        const Taken first = take(newProject, a);

        EXPECT_EQ(again.error, first.error);
        EXPECT_EQ(again.view, first.view);
        EXPECT_EQ(again.ceiling, first.ceiling);
        EXPECT_EQ(again.sound, first.sound);
        ASSERT_EQ(again.bytes.size(), first.bytes.size());
        qsizetype differs = 0;
        while (differs < again.bytes.size() && again.bytes[differs] == first.bytes[differs])
            ++differs;
        EXPECT_EQ(differs, again.bytes.size()) << "the records differ first at byte " << differs;
        compared += first.error.isEmpty() ? 1 : 0;
    }
    EXPECT_GT(compared, 30);
}

// A slot tube hangs lower and a design "3" slot sits higher than the planner's mounting height, for
// that outlet alone: each design planned after each other one gives, field by field, what it gives
// in a new project of the room, the room keeps the planner's height, and the outlet that needs its
// own height is evaluated there, as in a room planned at that height.
TEST_F(TakeOver, TheMountingHeightAnOutletNeedsStaysWithThatOutlet) {
    const auto realFields = [](const QByteArray& bytes) {
        auto rec = std::make_unique<CalculationRecord>();
        setRecordBytes(*rec, bytes);
        QStringList out;
        for (const RecordRealField& f : recordRealFields())
            out << QStringLiteral("%1 %2").arg(QLatin1String(f.key)).arg(readReal(*rec, f), 0, 'g', 17);
        return out.join(QLatin1Char('\n')).toStdString();
    };
    for (const double planned : {3.0, 2.5}) {
        std::mt19937 rng(23);
        const std::unique_ptr<CalculationRecord> room = randomRoom(rng);
        room->roomHeight = 3.0;
        room->mountingHeight = planned;
        room->supplyTemp = room->roomTemp - 4.0;
        // The first offered choice of each design, and the ceiling diffuser of the report.
        std::vector<OutletChoice> designs;
        for (const char* type : {"STR", "LSB", "LSA", "DRL"}) {
            const std::vector<OutletChoice> offered = offeredChoices(catalogue, *room, texts, folders);
            designs.push_back(*std::find_if(offered.begin(), offered.end(), [&](const OutletChoice& c) {
                return c.type == QLatin1String(type);
            }));
        }
        designs.push_back({QStringLiteral("DRL"), QStringLiteral("DRL 625"), 1, {}, {}, {}});
        for (const OutletChoice& second : designs) {
            Run alone(*this, *room);
            const Taken own = take(alone, second);
            ASSERT_TRUE(own.error.isEmpty()) << own.error.toStdString();
            for (const OutletChoice& first : designs) {
                SCOPED_TRACE(QStringLiteral("planned %1 m: %2 after %3")
                                 .arg(planned)
                                 .arg(choiceName(second), choiceName(first))
                                 .toStdString());
                Run history(*this, *room);
                take(history, first);
                EXPECT_EQ(+history.record->mountingHeight, planned);
                const Taken after = take(history, second);
                EXPECT_EQ(realFields(after.bytes), realFields(own.bytes));
                EXPECT_EQ(after.view, own.view);
                EXPECT_TRUE(after.bytes == own.bytes);
            }
        }
        // The tube's top at most at the 3,00 m ceiling, the design "3" slot at 2,90 m at least: each
        // gives what it gives in a room planned at that height, and the room keeps the planner's.
        for (const OutletChoice& choice : {designs[0], designs[1]}) {
            SCOPED_TRACE(choiceName(choice).toStdString());
            CalculationRecord atOwn = *room;
            atOwn.mountingHeight =
                choice.tube ? std::min(planned, 3.0 - double(*choice.tube) / 1000.0) : std::max(planned, 2.9);
            Run atOwnHeight(*this, atOwn);
            take(atOwnHeight, choice);
            atOwnHeight.record->mountingHeight = planned;
            Run inRoom(*this, *room);
            EXPECT_EQ(realFields(take(inRoom, choice).bytes), realFields(recordBytes(*atOwnHeight.record)));
        }
    }
}

// The ranking of a room does not depend on the outlet its project held before.
TEST_F(TakeOver, TheRankingOfARoomIsTheSameWhateverItsProjectHeld) {
    std::mt19937 rng(21);
    auto ranking = [this](const CalculationRecord& rec) {
        QStringList out;
        for (const Suggestion& s : suggestOutlets(catalogue, rec, texts, folders))
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                       .arg(choiceName(s.choice))
                       .arg(s.count)
                       .arg(s.flowPerOutlet, 0, 'g', 17)
                       .arg(s.lwa, 0, 'g', 17)
                       .arg(s.aMin.value_or(-1), 0, 'g', 17)
                       .arg(s.draughtRating.value_or(-1), 0, 'g', 17)
                       .arg(s.reasons.join(QLatin1Char(';')));
        return out;
    };
    for (int i = 0; i < 2; ++i) {
        const std::unique_ptr<CalculationRecord> room = randomRoom(rng);
        const QStringList fresh = ranking(*room);
        // The project last held a slot outlet with many slots (the longest one the room is offered).
        const std::vector<OutletChoice> offered = offeredChoices(catalogue, *room, texts, folders);
        const OutletChoice* held = nullptr;
        for (const OutletChoice& c : offered)
            if (c.slotCount && c.length && !c.tube &&
                (held == nullptr || *c.slotCount * *c.length > *held->slotCount * *held->length))
                held = &c;
        ASSERT_NE(held, nullptr);
        Run project(*this, *room);
        take(project, *held);
        EXPECT_EQ(ranking(*project.record), fresh) << choiceName(*held).toStdString();
    }
}

// For every choice the demo catalogue offers: the count field, the report's "Anzahl", both exchange
// files and the ranking carry the count the flows are for, and those flows make the total flow.
TEST_F(TakeOver, EveryChoiceShowsTheOneCountItsFiguresAreFor) {
    std::mt19937 rng(22);
    int checked = 0;
    for (int i = 0; i < 3; ++i) {
        const std::unique_ptr<CalculationRecord> room = randomRoom(rng);
        for (const OutletChoice& choice : offeredChoices(catalogue, *room, texts, folders)) {
            SCOPED_TRACE(QStringLiteral("room %1: %2").arg(i).arg(choiceName(choice)).toStdString());
            Run run(*this, *room);
            run.model.resetToFirstStep();
            SelectionOutcome outcome;
            try {
                outcome = planOutlet(run.model, catalogue, choice, *run.record);
            } catch (const Error&) {
                continue; // refused with a message; nothing to compare
            }
            if (!outcome.results || outcome.results->evaluated == JetKind::None)
                continue;
            const CalculationRecord& rec = *run.record;
            const int n = outletsOf(rec);
            const QString count = QString::number(n);
            const ResultsView& view = *outcome.results;
            EXPECT_EQ(view.form3[form3::Edit1].text, count);

            // Flow per outlet (per metre of slot for slot outlets) times the count is the total.
            const bool perMetre = rec.designCode.str() != QLatin1String("0");
            const double outletFlow =
                perMetre ? rec.flowPerOutlet * rec.effectiveLength / 1000.0 : rec.flowPerOutlet;
            EXPECT_NEAR(outletFlow * n, rec.totalFlow, 1e-9 * rec.totalFlow);

            const QStringList ceiling = lines(&ceilingExchangeLines, rec);
            const QStringList sound = lines(&soundExchangeLines, rec);
            if (ceiling.size() > 5) {
                EXPECT_EQ(ceiling[5].trimmed(), count);
            }
            if (sound.size() > 3) {
                EXPECT_EQ(sound[3].trimmed(), count);
            }

            // The report's count row: the value printed on the line of the label "Anzahl".
            const ReportPage page = reportDataPage(
                {rec, texts, catalogue, QStringLiteral("x"), program, QDate(2026, 12, 8), 600, {}});
            std::optional<int> rowY;
            QStringList onRow;
            for (const PicturePrimitive& p : page)
                if (const auto* t = std::get_if<TextPrimitive>(&p);
                    t != nullptr && t->text == texts.text(143))
                    rowY = t->at.y;
            ASSERT_TRUE(rowY);
            for (const PicturePrimitive& p : page)
                if (const auto* t = std::get_if<TextPrimitive>(&p); t != nullptr && t->at.y == *rowY)
                    onRow << t->text;
            EXPECT_TRUE(onRow.contains(count)) << onRow.join(QLatin1Char('|')).toStdString();

            // Served area: a min² times that count.
            if (!perMetre && view.evaluated == JetKind::Horizontal && rec.aMin * rec.aMin * n > 0.0) {
                EXPECT_EQ(view.form3[form3::Label39].text,
                          numbers::formatFixed(rec.aMin * rec.aMin * n, 4, 0));
            }

            // The ranking lays the choice out and may take another count: the one it names is the
            // one its record's figures are for.
            auto ranked = std::make_unique<CalculationRecord>(*room);
            CollectingDialogs quiet;
            const Suggestion s = takeOverChoice(catalogue, *ranked, texts, folders, choice, quiet);
            if (s.evaluated) {
                EXPECT_EQ(s.count, outletsOf(*ranked));
                const double rankedFlow = perMetre ? ranked->flowPerOutlet * ranked->effectiveLength / 1000.0
                                                   : ranked->flowPerOutlet;
                EXPECT_NEAR(rankedFlow * s.count, ranked->totalFlow, 1e-9 * ranked->totalFlow);
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 300);
}

// On the command line: plan of an ordinary outlet on a project that last held a four-slot linear
// slot outlet, and the ranking of that project, are those of the new project; a count set with
// plan comes back with evaluate, in the exchange files and in the report.
TEST_F(TakeOver, PlanRankAndACountByHandOnTheCommandLine) {
    QTemporaryDir dir;
    auto rec = std::make_unique<CalculationRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    ResetRecord(*rec);
    rec->roomWidth = 6.0;
    rec->roomLength = 8.0;
    rec->floorArea = 48.0;
    rec->roomVolume = 144.0;
    rec->totalFlow = 600.0;
    rec->airChangeRate = 600.0 / 144.0;
    rec->coolingLoad = 2.0;
    rec->roomTemp = 26.0;
    rec->supplyTemp = 16.0;
    const QString fresh = dir.filePath(QStringLiteral("fresh.zol"));
    writeProjectFile(fresh, *rec);
    auto cli = [&](QStringList args) {
        return test::runCli(args << QStringLiteral("--program-dir") << program);
    };
    auto plan = [&](const QString& in, const QString& out, const QStringList& choice) {
        test::CliRun run = cli(QStringList{QStringLiteral("plan"), in} + choice +
                               QStringList{QStringLiteral("--write"), out});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run;
    };
    const QStringList lsa = {QStringLiteral("--type"),     QStringLiteral("LSA"),
                             QStringLiteral("--size"),     QStringLiteral("LSA 20"),
                             QStringLiteral("--jet-form"), QStringLiteral("4"),
                             QStringLiteral("--length"),   QStringLiteral("1500"),
                             QStringLiteral("--slots"),    QStringLiteral("4")};
    const QStringList drl = {QStringLiteral("--type"),     QStringLiteral("DRL"),
                             QStringLiteral("--size"),     QStringLiteral("DRL 625"),
                             QStringLiteral("--jet-form"), QStringLiteral("1")};
    const QString held = dir.filePath(QStringLiteral("held.zol"));
    plan(fresh, held, lsa);
    const test::CliRun afterSlots = plan(held, dir.filePath(QStringLiteral("a.zol")), drl);
    const test::CliRun inNew = plan(fresh, dir.filePath(QStringLiteral("b.zol")), drl);
    EXPECT_EQ(afterSlots.out, inNew.out);
    EXPECT_EQ(test::readFile(dir.filePath(QStringLiteral("a.zol"))),
              test::readFile(dir.filePath(QStringLiteral("b.zol"))));

    const test::CliRun rankHeld = cli({QStringLiteral("rank"), held});
    const test::CliRun rankFresh = cli({QStringLiteral("rank"), fresh});
    ASSERT_EQ(rankHeld.exitCode, 0) << rankHeld.err.toStdString();
    EXPECT_EQ(rankHeld.out, rankFresh.out);

    // Twelve outlets by hand, saved: evaluate, the exchange files and the report keep the twelve.
    const QString twelve = dir.filePath(QStringLiteral("twelve.zol"));
    const test::CliRun byHand =
        plan(fresh, twelve, drl + QStringList{QStringLiteral("--count"), QStringLiteral("12")});
    EXPECT_EQ(byHand.json()[QStringLiteral("count")].toInt(), 12);
    const test::CliRun evaluate = cli({QStringLiteral("evaluate"), twelve});
    ASSERT_EQ(evaluate.exitCode, 0) << evaluate.err.toStdString();
    const QJsonObject j = evaluate.json();
    EXPECT_EQ(j[QStringLiteral("count")].toInt(), 12);
    EXPECT_EQ(j[QStringLiteral("flow_per_outlet")].toDouble(), 50.0);
    EXPECT_EQ(j[QStringLiteral("display")].toObject()[QStringLiteral("Edit1")].toString(),
              QStringLiteral("12"));
    EXPECT_EQ(j[QStringLiteral("display")].toObject()[QStringLiteral("Edit1.color")].toString(),
              QStringLiteral("red")); // 50 m³/h is below the outlet's least flow
    const QString ceiling = dir.filePath(QStringLiteral("Zoldaten.tmp"));
    const QString sound = dir.filePath(QStringLiteral("Sounddaten.tmp"));
    const test::CliRun exchange = cli({QStringLiteral("exchange"), twelve, QStringLiteral("--ceiling"),
                                       ceiling, QStringLiteral("--sound"), sound});
    ASSERT_EQ(exchange.exitCode, 0) << exchange.err.toStdString();
    auto line = [](const QString& file, int n) {
        return QString::fromLatin1(test::readFile(file)).split(QStringLiteral("\r\n")).value(n).trimmed();
    };
    EXPECT_EQ(line(ceiling, 5), QStringLiteral("12"));
    EXPECT_EQ(line(sound, 3), QStringLiteral("12"));
}
