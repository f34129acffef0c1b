// The study and the map's points at full tables: 1000 nodes and 1000 triangles.
#include "analysis/study.h"
#include "io/mesh_file_writer.h"
#include "model/editing.h"
#include "support/fakes.h"

#include <benchmark/benchmark.h>

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

void BM_ComputeStudy(benchmark::State& run)
{
    const ProjectState study = fullStudy();
    const StudyRequest request{"210000", "0,3", Component::VonMises, true, NumberFormat{','}};
    for (auto _ : run)
        benchmark::DoNotOptimize(computeStudy(study, study.NodeCount, request));
}
BENCHMARK(BM_ComputeStudy)->Unit(benchmark::kMicrosecond);

// The whole command over a study opened from its mesh file, painting every point into a
// recording map window.
void BM_StudyCommand(benchmark::State& run)
{
    test::Harness h;
    h.files.files["etude.MEF"] = writeMeshFile(fullStudy(), kMaxNodes, NumberFormat{','});
    h.dialogs.answers.push_back("etude.MEF");
    h.controller.open();
    h.controller.text1Changed("210000");
    h.controller.text2Changed("0,3");
    for (auto _ : run)
        h.controller.vonmiesectrteplane();
    if (h.state().ElementCount != kMaxElements || h.map.points.empty())
        run.SkipWithError("the study did not run over full tables");
}
BENCHMARK(BM_StudyCommand)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ai
