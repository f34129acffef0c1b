// Opening and saving a load sequence of full tables (1000 nodes, 1000 triangles) through the
// controller over in-memory files: every step's mesh file read and checked, or written.
#include "io/mesh_file_writer.h"
#include "io/sequence_index.h"
#include "model/editing.h"
#include "support/fakes.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace ai {
namespace {

// The files of a sequence of `steps` steps in /d, the loaded positions moving step by step.
std::map<std::string, std::string> sequenceFiles(int steps)
{
    auto state = std::make_unique<ProjectState>();
    for (int i = 1; i <= kMaxNodes; ++i)
        state->FreeNodes[static_cast<std::size_t>(i)] = {15.0 * (i % 40), 15.0 * (i / 40)};
    state->NodeCount = kMaxNodes;
    for (int e = 1; e <= kMaxElements; ++e)
        appendElement(*state, e, e % kMaxNodes + 1, (e + 1) % kMaxNodes + 1);
    std::map<std::string, std::string> files;
    SequenceIndex index{"/d/libre.png", {}, 1};
    for (int k = 1; k <= steps; ++k) {
        for (int i = 1; i <= kMaxNodes; ++i) {
            const Position& free = state->FreeNodes[static_cast<std::size_t>(i)];
            state->LoadNodes[static_cast<std::size_t>(i)] = {free.x * (1 + 0.002 * k) + 0.125,
                                                             free.y - 0.0625 * k};
        }
        const std::string mesh = "/d/e-" + std::to_string(k) + ".MEF";
        files[mesh] = writeMeshFile(*state, kMaxNodes, NumberFormat{','});
        index.steps.push_back({"/d/k" + std::to_string(k) + ".png", mesh, {k, 500}});
    }
    files["/d/e.sequence"] = writeSequenceIndex(index, "/d").value_or("");
    return files;
}

void BM_OpenSequence(benchmark::State& run)
{
    const auto files = sequenceFiles(static_cast<int>(run.range(0)));
    auto h = std::make_unique<test::Harness>();
    h->files.files = files;
    for (auto _ : run) {
        h->dialogs.answers = {"/d/e.sequence"};
        h->controller.ouvrirsequence();
    }
    if (h->controller.sequence().steps.size() != static_cast<std::size_t>(run.range(0)))
        run.SkipWithError("the sequence was not opened");
}
BENCHMARK(BM_OpenSequence)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SaveSequence(benchmark::State& run)
{
    auto h = std::make_unique<test::Harness>();
    h->files.files = sequenceFiles(static_cast<int>(run.range(0)));
    h->dialogs.answers = {"/d/e.sequence"};
    h->controller.ouvrirsequence();
    for (auto _ : run) {
        h->dialogs.answers = {"/d/copie"};
        h->controller.enregistrersequence();
    }
    if (h->files.files.count("/d/copie.sequence") == 0)
        run.SkipWithError("the sequence was not saved");
}
BENCHMARK(BM_SaveSequence)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ai
