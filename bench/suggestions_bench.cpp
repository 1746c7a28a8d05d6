// Benchmarks of the suggestions: every calculable choice of the demo catalogue taken over,
// evaluated and ranked for one room, as the selection window's "Vorschläge" runs it; and the head
// of that ranking alone, as a room schedule finds it.
#include "catalogue/loaders.h"
#include "frame/record.h"
#include "selection/suggestions.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <optional>

namespace {

struct RankingInputs {
    fyl::Catalogue catalogue;
    fyl::TextTable texts;
    fyl::Folders folders;
    std::unique_ptr<fyl::CalculationRecord> room = std::make_unique<fyl::CalculationRecord>();

    // A cooled office of a new project (10 x 10 x 3 m), so the critical-distance search runs.
    RankingInputs() {
        const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
        fyl::LoadCatalogue(catalogue, program);
        texts.load(program + QStringLiteral("/Fyltext.txt"));
        folders.program = program;
        std::memset(room.get(), 0, sizeof *room);
        fyl::ResetRecord(*room);
        room->totalFlow = 1700.0;
        room->roomTemp = 26.0;
        room->supplyTemp = 18.0;
    }
};

void BM_SuggestOutlets(benchmark::State& bench) {
    const RankingInputs in;
    std::size_t choices = 0;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts the runs
    for (auto _ : bench) {
        const std::vector<fyl::Suggestion> list =
            fyl::suggestOutlets(in.catalogue, *in.room, in.texts, in.folders);
        choices = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    bench.counters["choices"] = static_cast<double>(choices);
}
BENCHMARK(BM_SuggestOutlets)->Unit(benchmark::kMillisecond);

void BM_BestSuggestion(benchmark::State& bench) {
    const RankingInputs in;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts the runs
    for (auto _ : bench) {
        const std::optional<fyl::Suggestion> head =
            fyl::bestSuggestion(in.catalogue, *in.room, in.texts, in.folders);
        benchmark::DoNotOptimize(head->dp);
    }
}
BENCHMARK(BM_BestSuggestion)->Unit(benchmark::kMillisecond);

} // namespace
