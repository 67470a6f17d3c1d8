// Power against the obvious C-library way of doing the same conversions.
// Run: build/bench/core_bench  (goal: BM_Power <= 1.5x BM_Baseline)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "control_table.h"
#include "defaults_view.h"
#include "power.h"

namespace {

using namespace quorvane;

const NumberFormat kEnglish{".", ","};

void BM_Power(benchmark::State& state) {
    DefaultsView view;
    for (auto _ : state) benchmark::DoNotOptimize(Power(view, kEnglish));
}
BENCHMARK(BM_Power);

void BM_TextToDouble(benchmark::State& state) {
    const std::string text = "997.01";
    for (auto _ : state) benchmark::DoNotOptimize(TextToDouble(text, kEnglish));
}
BENCHMARK(BM_TextToDouble);

void BM_DoubleToText(benchmark::State& state) {
    double value = 6.983;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(DoubleToText(value, kEnglish));
    }
}
BENCHMARK(BM_DoubleToText);

// Four strtod and one snprintf("%.15g"): the work Power does, without validation or rounding.
void BM_Baseline(benchmark::State& state) {
    const char* texts[] = {"997.01", "30", "60", "70"};
    char out[32];
    for (auto _ : state) {
        double product = 1;
        for (const char* text : texts) product *= std::strtod(text, nullptr);
        std::snprintf(out, sizeof out, "%.15g", product);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_Baseline);

}  // namespace

BENCHMARK_MAIN();
