// Benchmarks of the evaluation, the critical-distance search and the expression evaluator.
#include "calc/criticalsearch.h"
#include "calc/evaluation.h"
#include "calc/formulas.h"
#include "fixtures/calcfixture.h"
#include "frame/expression.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

// Counts heap allocations, so the formula benchmarks can show that they make none.
namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

void BM_HorizontalEvaluation(benchmark::State& bench) {
    auto state = fyl::test::ceilingDiffuserState("01");
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts the runs
    for (auto _ : bench) {
        fyl::ResultsView view = fyl::EvaluateHorizontalJet(state->parts());
        benchmark::DoNotOptimize(view);
    }
}
BENCHMARK(BM_HorizontalEvaluation);

void BM_VerticalEvaluation(benchmark::State& bench) {
    auto state = fyl::test::ceilingDiffuserState("02");
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts the runs
    for (auto _ : bench) {
        fyl::ResultsView view = fyl::EvaluateVerticalJet(state->parts());
        benchmark::DoNotOptimize(view);
    }
}
BENCHMARK(BM_VerticalEvaluation);

void BM_CriticalDistanceSearch(benchmark::State& bench) {
    auto state = fyl::test::ceilingDiffuserState("01");
    const fyl::OutletRecord outlet = state->record.outlet;
    int status = 0;
    const long before = g_allocations.load();
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts the runs
    for (auto _ : bench) {
        double xk = 0.0;
        fyl::CriticalDistanceSearch(outlet, 1, 8.0, 0.2, 93.75, 7.5, xk, status);
        benchmark::DoNotOptimize(xk);
    }
    bench.counters["allocations"] = static_cast<double>(g_allocations.load() - before);
}
BENCHMARK(BM_CriticalDistanceSearch);

void BM_Expression(benchmark::State& bench) {
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts the runs
    for (auto _ : bench) {
        QString text = QStringLiteral("(4,5+1,5)*2*PI-10/4");
        float value = 0.0f;
        int status = 0;
        benchmark::DoNotOptimize(fyl::ExpressionEvaluator(text, value, 5, 2, status));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_Expression);

} // namespace
