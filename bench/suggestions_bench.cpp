// Benchmark of the suggestions: every calculable choice of the demo catalogue taken over,
// evaluated and ranked for one room, as the selection window's "Vorschläge" runs it.
#include "catalogue/loaders.h"
#include "frame/record.h"
#include "selection/suggestions.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

void BM_SuggestOutlets(benchmark::State& bench) {
    const QString program = QStringLiteral(ZELK_PROGRAM_DIR);
    fyl::Catalogue catalogue;
    fyl::LoadCatalogue(catalogue, program);
    fyl::TextTable texts;
    texts.load(program + QStringLiteral("/Fyltext.txt"));
    fyl::Folders folders;
    folders.program = program;
    auto room = std::make_unique<fyl::CalculationRecord>();
    std::memset(room.get(), 0, sizeof *room);
    fyl::ResetRecord(*room);
    room->totalFlow = 1700.0;
    room->roomTemp = 26.0;
    room->supplyTemp = 18.0;
    std::size_t choices = 0;
    for (auto _ : bench) {
        const std::vector<fyl::Suggestion> list = fyl::suggestOutlets(catalogue, *room, texts, folders);
        choices = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    bench.counters["choices"] = static_cast<double>(choices);
}
BENCHMARK(BM_SuggestOutlets)->Unit(benchmark::kMillisecond);

} // namespace
