// The automatic mesher at full node tables and the grid rebuild at its largest size.
#include "mesh/automatic_mesher.h"
#include "mesh/structured_grid.h"
#include "support/fakes.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// 1000 nodes at random in a square of the given side, in view units.
ai::ProjectState randomNodes(double side)
{
    ai::ProjectState s;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(0.0, side);
    for (int n = 1; n <= ai::kMaxNodes; ++n) {
        const double x = coordinate(random), y = coordinate(random);
        s.FreeNodes[static_cast<std::size_t>(n)] = {x, y};
        s.LoadNodes[static_cast<std::size_t>(n)] = {x, y};
    }
    s.NodeCount = ai::kMaxNodes;
    return s;
}

void meshRepeatedly(benchmark::State& state, double side)
{
    ai::ProjectState study = randomNodes(side);
    const int limit = static_cast<int>(state.range(0));
    for (auto _ : state) {
        ai::buildAutomaticMesh(study, limit);
        benchmark::DoNotOptimize(study.ElementCount);
    }
    state.counters["triangles"] = study.ElementCount;
}

// Every node within D of every other: the lists fill from the lowest numbers.
void BM_Mesher1000NodesDenseCluster(benchmark::State& state) { meshRepeatedly(state, 200.0); }
BENCHMARK(BM_Mesher1000NodesDenseCluster)->Arg(400)->Arg(3000);

// Spread over a square the size of the free view's width: few nodes within D.
void BM_Mesher1000NodesSpreadOut(benchmark::State& state) { meshRepeatedly(state, 15000.0); }
BENCHMARK(BM_Mesher1000NodesSpreadOut)->Arg(50)->Arg(400)->Arg(3000);

// 50 x 11 nodes and 980 triangles: the most nodes and triangles a grid can have.
ai::GridBars largestGrid()
{
    ai::GridBars bars;
    bars.columns = 50;
    bars.rows = 11;
    bars.deformationX = 1015;
    return bars;
}

void BM_GridRebuildLargest(benchmark::State& state)
{
    ai::ProjectState study;
    const ai::GridBars bars = largestGrid();
    for (auto _ : state) {
        ai::rebuildStructuredGrid(study, bars);
        benchmark::DoNotOptimize(study.NodeCount);
    }
}
BENCHMARK(BM_GridRebuildLargest);

// A grid bar's change as the user makes it: the rebuild and the redraw of both views.
void BM_GridBarChangeWithRedraw(benchmark::State& state)
{
    ai::test::Harness h;
    h.controller.automesh();
    h.controller.barChanged(ai::Bar::HScroll1, 50);
    h.controller.barChanged(ai::Bar::VScroll1, 11);
    int spacing = 150;
    for (auto _ : state) {
        spacing = spacing == 150 ? 170 : 150;
        h.controller.barChanged(ai::Bar::HScroll2, spacing);
        benchmark::DoNotOptimize(h.picture1.lines.size());
    }
}
BENCHMARK(BM_GridBarChangeWithRedraw);

} // namespace
