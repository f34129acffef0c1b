// A history's value at one step over full tables: 1000 nodes and 1000 triangles.
#include "analysis/history.h"
#include "analysis/results_csv.h"
#include "grid_study.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace ai {
namespace {

using bench::gridStudy;

const GaugeRectangle kEverything{{0, 0}, {1e6, 1e6}};
const Material kSteel{210000, 0.3};

// The mean and sd of a gauge over every triangle, for a linear quantity and Von Mises.
void BM_GaugeOverEveryTriangle(benchmark::State& run)
{
    const auto study = std::make_unique<ProjectState>(gridStudy());
    const auto quantity = static_cast<HistoryQuantity>(run.range(0));
    for (auto _ : run)
        benchmark::DoNotOptimize(selectionValue(
            *study, {HistorySelection::Kind::Gauge, {}, kEverything}, quantity, kSteel, true));
}
BENCHMARK(BM_GaugeOverEveryTriangle)
    ->Arg(static_cast<int>(HistoryQuantity::Sxx))
    ->Arg(static_cast<int>(HistoryQuantity::VonMises))
    ->Unit(benchmark::kMillisecond);

// The batch's line of a step with a gauge: its six means.
void BM_GaugeHistoryRow(benchmark::State& run)
{
    const auto study = std::make_unique<ProjectState>(gridStudy());
    for (auto _ : run)
        benchmark::DoNotOptimize(historyCsvRow(*study, study->NodeCount, {1, "p.png", 1000, 0},
                                               kSteel, Component::VonMises, true, kEverything));
}
BENCHMARK(BM_GaugeHistoryRow)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ai
