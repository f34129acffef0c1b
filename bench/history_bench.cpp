// A history's value at one step over full tables: 1000 nodes and 1000 triangles.
#include "analysis/history.h"
#include "analysis/results_csv.h"
#include "model/editing.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace ai {
namespace {

// A 40 x 25 grid of nodes 300 units apart, stretched by 1 % along x and sheared a little
// on the loaded image, covered by its first 1000 triangles.
ProjectState fullStudy()
{
    ProjectState state;
    constexpr int columns = 40;
    for (int i = 0; i < kMaxNodes; ++i) {
        const double x = 300.0 * (i % columns), y = 300.0 * (i / columns);
        const auto n = static_cast<std::size_t>(i + 1);
        state.FreeNodes[n] = {x, y};
        state.LoadNodes[n] = {x * 0.99 + y * 0.002, y + x * 0.001};
    }
    state.NodeCount = kMaxNodes;
    for (int n = 1; state.ElementCount < kMaxElements; ++n) {
        if (n % columns == 0)
            continue; // the last column starts no square
        appendElement(state, n, n + 1, n + columns + 1);
        appendElement(state, n, n + columns + 1, n + columns);
    }
    return state;
}

const GaugeRectangle kEverything{{0, 0}, {1e6, 1e6}};
const Material kSteel{210000, 0.3};

// The mean and sd of a gauge over every triangle, for a linear quantity and Von Mises.
void BM_GaugeOverEveryTriangle(benchmark::State& run)
{
    const auto study = std::make_unique<ProjectState>(fullStudy());
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
    const auto study = std::make_unique<ProjectState>(fullStudy());
    for (auto _ : run)
        benchmark::DoNotOptimize(historyCsvRow(*study, study->NodeCount, {1, "p.png", 1000, 0},
                                               kSteel, Component::VonMises, true, kEverything));
}
BENCHMARK(BM_GaugeHistoryRow)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ai
