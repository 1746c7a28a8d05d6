// Benchmark of a room schedule run in process: 100 generated rooms (tools/schedule/make_schedule.py,
// as the manual's timing makes its 1000) read, each ranked over the demo catalogue, planned and its
// project written into a folder of its own per run.
#include "catalogue/loaders.h"
#include "frame/files.h"
#include "frame/texttable.h"
#include "schedule/schedulerun.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

void BM_Schedule(benchmark::State& bench) {
    const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
    fyl::Catalogue catalogue;
    fyl::LoadCatalogue(catalogue, program);
    fyl::TextTable texts;
    texts.load(program + QStringLiteral("/Fyltext.txt"));
    const std::vector<fyl::RoomRow> rows =
        fyl::readRoomSchedule(fyl::readWholeFile(QStringLiteral(ZELK_BENCH_ROOMS)));
    QTemporaryDir out;
    if (!out.isValid())
        throw std::runtime_error("no temporary folder");
    const int jobs = static_cast<int>(bench.range(0));
    int run = 0;
    int planned = 0;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts the runs
    for (auto _ : bench) {
        // A new folder each time, so that every run writes new files as a first run does.
        const fyl::ScheduleRun settings{out.filePath(QStringLiteral("lauf-%1").arg(++run)), jobs, {}};
        const fyl::ScheduleResult result = fyl::runRoomSchedule(rows, {catalogue, texts, program}, settings);
        planned = static_cast<int>(rows.size()) - result.failed();
    }
    bench.counters["rooms"] = static_cast<double>(rows.size());
    bench.counters["planned"] = planned;
}
BENCHMARK(BM_Schedule)->ArgName("jobs")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
