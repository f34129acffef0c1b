// The redraw at full tables and the pick test, with a view that only counts.
#include "model/picking.h"
#include "render/views_redraw.h"

#include <benchmark/benchmark.h>

namespace {

struct CountingView : ai::ImageView {
    long long calls = 0;
    std::string importPicture(const std::string&) override { return {}; }
    void restorePicture(const std::string&) override { ++calls; }
    bool showsPicture(const std::string&) override { return true; }
    void drawPoint(float, float, ai::Rgb) override { ++calls; }
    void drawLine(float, float, float, float, ai::Rgb) override { ++calls; }
};

ai::ProjectState fullStudy()
{
    ai::ProjectState s;
    s.NodeCount = ai::kMaxNodes;
    for (int n = 1; n <= ai::kMaxNodes; ++n) {
        const double x = 15.0 * (n % 40) * 25 + 0.5;
        const double y = 15.0 * (n / 40) * 13 + 0.25;
        s.FreeNodes[static_cast<std::size_t>(n)] = {x, y};
        s.LoadNodes[static_cast<std::size_t>(n)] = {x + 3, y - 2};
    }
    s.ElementCount = ai::kMaxElements;
    for (int e = 1; e <= ai::kMaxElements; ++e)
        s.Elements[static_cast<std::size_t>(e)].nodes = {e, e % 1000 + 1, (e + 40) % 1000 + 1};
    return s;
}

void BM_Majgraphique1000Nodes1000Triangles(benchmark::State& state)
{
    const ai::ProjectState study = fullStudy();
    CountingView free, loaded;
    for (auto _ : state)
        ai::redrawViews(study, study.NodeCount, free, loaded, ai::Rgb{0, 120, 215});
    benchmark::DoNotOptimize(free.calls + loaded.calls);
}
BENCHMARK(BM_Majgraphique1000Nodes1000Triangles);

void BM_PickAmong1000Nodes(benchmark::State& state)
{
    const ai::ProjectState study = fullStudy();
    float x = 0;
    for (auto _ : state) {
        x = x > 15000 ? 0 : x + 7.5f;
        benchmark::DoNotOptimize(ai::pickNode(study.FreeNodes, study.NodeCount, x, 2000));
    }
}
BENCHMARK(BM_PickAmong1000Nodes);

} // namespace
