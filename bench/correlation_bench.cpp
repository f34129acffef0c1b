// The correlation's hot paths: one node at 31 pixels (search and refinement), the
// refinement alone, an assisted click, 1000 nodes over two 6000 x 4000 photographs, and
// 1000 nodes of 33 pixels on a 280 x 900 strip at two search radii and two motions, counted
// per CPU-second.
#include "correlation/node_correlation.h"
#include "correlation/subset_refinement.h"
#include "correlation/synthetic_speckle.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>

// The replaced operator new takes its memory from malloc, so free is the matching release:
// GCC cannot see through the replacement and warns of a mismatch that is not one.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Every allocation through operator new is counted, so that the peak of the bytes held
// during a correlation can be told apart from the photographs made before it.
namespace {
std::atomic<long long> heldBytes{0};
std::atomic<long long> peakBytes{0};
} // namespace

void* operator new(std::size_t size)
{
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        throw std::bad_alloc();
    const long long held = heldBytes += static_cast<long long>(malloc_usable_size(p));
    long long peak = peakBytes.load();
    while (held > peak && !peakBytes.compare_exchange_weak(peak, held)) {
    }
    return p;
}

void operator delete(void* p) noexcept
{
    if (!p)
        return;
    heldBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using namespace ai;

const ai::testing::SyntheticSpeckle& smallSpeckle()
{
    static const ai::testing::SyntheticSpeckle speckle(200, 150);
    return speckle;
}

struct SmallPair {
    GreyImage free = smallSpeckle().render([](double&, double&) {});
    GreyImage loaded = smallSpeckle().render([](double& x, double& y) {
        x = 100.0 + (x - 100.0 - 2.37) / 1.01;
        y -= 1.61;
    });
};

const SmallPair& smallPair()
{
    static const SmallPair pair;
    return pair;
}

// A 6000 x 4000 speckle made cheaply (blurred noise) and its copy moved by a sub-pixel
// translation: what the speed depends on is the size, not the speckle's finesse.
struct LargePair {
    GreyImage free{6000, 4000, std::vector<std::uint8_t>(6000u * 4000u)};
    GreyImage loaded = free;

    LargePair()
    {
        std::mt19937 random(3);
        std::vector<float> noise(free.levels.size());
        for (auto& n : noise)
            n = static_cast<float>(random() % 256);
        auto blurred = noise;
        for (int row = 1; row + 1 < free.height; ++row)
            for (int column = 1; column + 1 < free.width; ++column) {
                float sum = 0.0f;
                for (int j = -1; j <= 1; ++j)
                    for (int k = -1; k <= 1; ++k)
                        sum += noise[static_cast<std::size_t>((row + j) * free.width + column + k)];
                blurred[static_cast<std::size_t>(row * free.width + column)] = sum / 9.0f;
            }
        auto level = [&](int column, int row) {
            return blurred[static_cast<std::size_t>(row * free.width + column)];
        };
        for (int row = 0; row < free.height; ++row)
            for (int column = 0; column < free.width; ++column) {
                const auto at = static_cast<std::size_t>(row * free.width + column);
                free.levels[at] = static_cast<std::uint8_t>(std::clamp((level(column, row) - 128.0f) * 3.0f + 128.0f, 0.0f, 255.0f));
            }
        // Moved by (2.4, 1.3) pixels, bilinear.
        for (int row = 0; row + 2 < free.height; ++row)
            for (int column = 0; column + 3 < free.width; ++column) {
                const double x = column - 2.4 + 3.0;
                const double y = row - 1.3 + 2.0;
                const int i = static_cast<int>(x);
                const int j = static_cast<int>(y);
                const double tx = x - i;
                const double ty = y - j;
                auto f = [&](int c, int r) { return static_cast<double>(free.at(c - 3, r - 2)); };
                if (i - 3 < 0 || j - 2 < 0 || i - 2 >= free.width || j - 1 >= free.height)
                    continue;
                loaded.levels[static_cast<std::size_t>(row * free.width + column)] =
                    static_cast<std::uint8_t>(std::lround(
                        (1 - ty) * ((1 - tx) * f(i, j) + tx * f(i + 1, j)) +
                        ty * ((1 - tx) * f(i, j + 1) + tx * f(i + 1, j + 1))));
            }
    }
};

const LargePair& largePair()
{
    static const LargePair pair;
    return pair;
}

void OneNodeSearchAndRefinement31(benchmark::State& state)
{
    const SmallPair& p = smallPair();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            correlateNode(p.free, p.loaded, {1500.0, 1125.0}, {1500.0, 1125.0}, {}));
}
BENCHMARK(OneNodeSearchAndRefinement31)->Unit(benchmark::kMicrosecond);

void Refinement31(benchmark::State& state)
{
    const SmallPair& p = smallPair();
    const ShapeOrder order = state.range(0) == 1 ? ShapeOrder::First : ShapeOrder::Second;
    ShapeParameters start = ShapeParameters::Zero();
    start(0) = 2.0;
    start(6) = 2.0;
    for (auto _ : state)
        benchmark::DoNotOptimize(refineSubset(p.free, 100, 75, 15, p.loaded, start, order));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(Refinement31)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void AssistedClickOn24Megapixels(benchmark::State& state)
{
    const LargePair& p = largePair();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            correlateNode(p.free, p.loaded, {45000.0, 30000.0}, {45030.0, 30015.0}, {}));
}
BENCHMARK(AssistedClickOn24Megapixels)->Unit(benchmark::kMillisecond);

void ThousandNodesOn24Megapixels(benchmark::State& state)
{
    const LargePair& p = largePair();
    CorrelationTask task;
    // A 40 x 25 grid of nodes 140 pixels apart, each joined to its right and lower neighbours.
    for (int j = 0; j < 25; ++j)
        for (int i = 0; i < 40; ++i) {
            const Position at{(200.0 + 140.0 * i) * 15.0, (250.0 + 140.0 * j) * 15.0};
            task.free.push_back(at);
            task.guess.push_back(at);
            std::vector<int> around;
            if (i > 0) around.push_back(j * 40 + i - 1);
            if (i < 39) around.push_back(j * 40 + i + 1);
            if (j > 0) around.push_back((j - 1) * 40 + i);
            if (j < 24) around.push_back((j + 1) * 40 + i);
            task.neighbours.push_back(around);
        }
    int found = 0;
    long long added = 0;
    for (auto _ : state) {
        const long long before = heldBytes.load();
        peakBytes = before;
        const auto matches = correlateNodes(p.free, p.loaded, task, {}, {});
        found = static_cast<int>(std::count_if(matches->begin(), matches->end(),
                                               [](const NodeMatch& m) { return m.found; }));
        added = std::max(added, peakBytes.load() - before);
    }
    state.counters["found"] = found;
    state.counters["peak_added_MB"] = static_cast<double>(added) / (1024.0 * 1024.0);
}
BENCHMARK(ThousandNodesOn24Megapixels)->Unit(benchmark::kMillisecond);

// A 280 x 900 strip stretched 1 % along its length and moved by (3.3, 5.7) pixels, or by
// (3.3, 125.7) pixels, beyond the first search around every node's guess.
struct StripPair {
    explicit StripPair(double shift)
        : loaded(speckle.render([shift](double& x, double& y) {
              x -= 3.3;
              y = 450.0 + (y - shift - 450.0) / 1.01;
          }))
    {
    }
    ai::testing::SyntheticSpeckle speckle{280, 900, 5};
    GreyImage free = speckle.render([](double&, double&) {});
    GreyImage loaded;
};

void ThousandNodesOnAStrip(benchmark::State& state)
{
    static const StripPair near(5.7);
    static const StripPair far(125.7);
    const StripPair& p = state.range(1) == 0 ? near : far;
    CorrelationTask task;
    // 20 x 50 nodes, each joined to its right and lower neighbours; their subsets stay in
    // both photographs when the strip moves little.
    for (int j = 0; j < 50; ++j)
        for (int i = 0; i < 20; ++i) {
            const Position at{(20.0 + 12.1 * i) * 15.0, (20.0 + 17.1 * j) * 15.0};
            task.free.push_back(at);
            task.guess.push_back(at);
            std::vector<int> around;
            if (i > 0) around.push_back(j * 20 + i - 1);
            if (i < 19) around.push_back(j * 20 + i + 1);
            if (j > 0) around.push_back((j - 1) * 20 + i);
            if (j < 49) around.push_back((j + 1) * 20 + i);
            task.neighbours.push_back(around);
        }
    const CorrelationSettings settings{.subset = 33, .searchRadius = static_cast<int>(state.range(0))};
    int found = 0;
    for (auto _ : state) {
        const auto matches = correlateNodes(p.free, p.loaded, task, settings, {});
        found = static_cast<int>(std::count_if(matches->begin(), matches->end(),
                                               [](const NodeMatch& m) { return m.found; }));
    }
    state.counters["found"] = found;
    // Over the process's CPU time: nodes per CPU-second, whatever the threads.
    state.counters["nodes_per_cpu_s"] = benchmark::Counter(
        static_cast<double>(task.free.size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}
BENCHMARK(ThousandNodesOnAStrip)
    ->Args({10, 0})
    ->Args({200, 0})
    ->Args({200, 1})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
