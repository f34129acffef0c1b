// Writing and reading a mesh file of full tables: 1000 nodes and 1000 triangles.
#include "io/mesh_file_reader.h"
#include "io/mesh_file_writer.h"
#include "model/editing.h"

#include <benchmark/benchmark.h>

namespace ai {
namespace {

const NumberFormat comma{','};

ProjectState fullStudy()
{
    ProjectState state;
    for (int i = 1; i <= kMaxNodes; ++i) {
        const auto n = static_cast<std::size_t>(i);
        state.FreeNodes[n] = {15015.0 - i * 7.5, 300.0 + i * 1.25};
        state.LoadNodes[n] = {15030.0 - i * 7.5, 315.0 + i * 1.5};
    }
    state.NodeCount = kMaxNodes;
    for (int e = 1; e <= kMaxElements; ++e)
        appendElement(state, e, e % kMaxNodes + 1, (e + 1) % kMaxNodes + 1);
    return state;
}

void BM_WriteMeshFile(benchmark::State& run)
{
    const ProjectState study = fullStudy();
    for (auto _ : run)
        benchmark::DoNotOptimize(writeMeshFile(study, study.NodeCount, comma));
}
BENCHMARK(BM_WriteMeshFile)->Unit(benchmark::kMicrosecond);

void BM_ReadMeshFile(benchmark::State& run)
{
    const std::string bytes = writeMeshFile(fullStudy(), kMaxNodes, comma);
    ProjectState state;
    for (auto _ : run) {
        eraseAll(state);
        benchmark::DoNotOptimize(readMeshFile(bytes, state));
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations()) *
                          static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadMeshFile)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ai
