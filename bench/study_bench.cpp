// The study and the map's points at full tables: 1000 nodes and 1000 triangles.
#include "analysis/study.h"
#include "grid_study.h"
#include "io/mesh_file_writer.h"
#include "support/fakes.h"

#include <benchmark/benchmark.h>

namespace ai {
namespace {

using bench::gridStudy;

void BM_ComputeStudy(benchmark::State& run)
{
    const ProjectState study = gridStudy();
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
    h.files.files["etude.MEF"] = writeMeshFile(gridStudy(), kMaxNodes, NumberFormat{','});
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
