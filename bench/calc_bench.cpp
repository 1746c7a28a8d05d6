#include "calc/evaluation.h"
#include "calc/formulas.h"
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

void setChars(char* field, std::size_t size, const char* value) {
    std::memset(field, 0, size);
    std::memcpy(field, value, std::strlen(value));
}

// A ceiling diffuser whose critical-distance search takes five bisection steps of about 100
// inner steps each.
void prepare(fyl::AppState& state, const char* jetForm) {
    fyl::CalculationRecord& rec = state.record;
    fyl::ResetRecord(rec);
    fyl::OutletRecord& o = rec.outlet;
    setChars(o.typeName, sizeof o.typeName, "DLQ");
    setChars(o.jetFormCode, sizeof o.jetFormCode, jetForm);
    o.vMin = 50.0;
    o.vMax = 150.0;
    o.pressureK = 0.01;
    o.pressureM = 2.0;
    o.soundB = -5.0;
    o.soundA = 20.0;
    o.decayK = 0.032;
    o.decayB = 2.0;
    o.decayA = 1.0;
    o.freeJetF = 0.5;
    o.detachC = 0.64;
    o.detachTempExp = 1.0;
    o.detachFlowExp = 1.0;
    o.buoyancy = 274.658203125;
    o.trajExp = 1.0;
    o.zoneCoef = -1.0;
    o.spread = 90.0;
    o.widthTerm = 10.0;
    o.headCoef = 0.003;
    o.headExp = 1.0;
    o.penCoef = 0.001;
    o.penTempExp = 1.0;
    o.penFlowExp = 1.0;
    rec.designCode.assign(QStringLiteral("0"));
    rec.totalFlow = 750.0;
    rec.roomTemp = 26.0;
    rec.supplyTemp = 18.0;
}

void BM_HorizontalEvaluation(benchmark::State& bench) {
    auto state = std::make_unique<fyl::AppState>();
    prepare(*state, "01");
    for (auto _ : bench) {
        fyl::ResultsView view;
        fyl::EvaluateHorizontalJet(*state, view);
        benchmark::DoNotOptimize(state->record.criticalDistance);
    }
}
BENCHMARK(BM_HorizontalEvaluation);

void BM_VerticalEvaluation(benchmark::State& bench) {
    auto state = std::make_unique<fyl::AppState>();
    prepare(*state, "02");
    for (auto _ : bench) {
        fyl::ResultsView view;
        fyl::EvaluateVerticalJet(*state, view);
        benchmark::DoNotOptimize(state->record.yMax);
    }
}
BENCHMARK(BM_VerticalEvaluation);

void BM_CriticalDistanceSearch(benchmark::State& bench) {
    auto state = std::make_unique<fyl::AppState>();
    prepare(*state, "01");
    const fyl::OutletRecord outlet = state->record.outlet;
    int status = 0;
    const long before = g_allocations.load();
    for (auto _ : bench) {
        double xk = 0.0;
        fyl::CriticalDistanceSearch(outlet, 1, 8.0, 0.2, 93.75, 7.5, xk, status);
        benchmark::DoNotOptimize(xk);
    }
    bench.counters["allocations"] = static_cast<double>(g_allocations.load() - before);
}
BENCHMARK(BM_CriticalDistanceSearch);

void BM_Expression(benchmark::State& bench) {
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
