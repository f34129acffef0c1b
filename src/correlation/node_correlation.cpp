#include "correlation/node_correlation.h"

#include "correlation/subset_refinement.h"
#include "correlation/whole_pixel_search.h"

#include <algorithm>
#include <cmath>
#include <queue>
#include <thread>

namespace ai {

namespace {

// A neighbour's warp predicts a node's displacement to better than this.
constexpr int kPropagatedSearchRadius = 3;

// One node's subset: the whole pixel nearest the node, and the node's offset from it.
struct Subset {
    int column = 0;
    int row = 0;
    double offsetX = 0.0;
    double offsetY = 0.0;
};

Subset subsetAt(Position free)
{
    const double x = free.x / kTwipsPerPixel;
    const double y = free.y / kTwipsPerPixel;
    Subset s{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)), 0.0, 0.0};
    s.offsetX = x - s.column;
    s.offsetY = y - s.row;
    return s;
}

bool finite(Position p) { return p.isSet() && std::isfinite(p.x) && std::isfinite(p.y); }

// Far outside any photograph: no subset can fit there, and the conversion stays in range.
bool withinReach(Position p)
{
    constexpr double kLimit = 1e8;
    return std::fabs(p.x) < kLimit && std::fabs(p.y) < kLimit;
}

struct Attempt {
    NodeMatch match;
    AffineWarp warp;
};

// Searches around the subset centre `guessColumn, guessRow` on the loaded photograph, then
// refines from the whole-pixel match with the given displacement gradient.
Attempt attempt(const GreyImage& free, const GreyImage& loaded, const Subset& subset,
                int guessColumn, int guessRow, const AffineWarp& gradient, int radius,
                const CorrelationSettings& settings)
{
    Attempt result;
    const int half = settings.subset / 2;
    const auto whole = searchWholePixel(free, subset.column, subset.row, half, loaded, guessColumn,
                                        guessRow, radius);
    if (!whole)
        return result;
    AffineWarp start = gradient;
    start.u = whole->column - subset.column;
    start.v = whole->row - subset.row;
    const auto fit = refineSubset(free, subset.column, subset.row, half, loaded, start);
    if (!fit || !(fit->zncc >= settings.minimumZncc) ||
        std::hypot(fit->warp.u - start.u, fit->warp.v - start.v) > settings.subset / 2.0)
        return result;

    // The node sits at its offset from the subset's centre: carry the offset by the warp.
    const AffineWarp& w = fit->warp;
    const double dx = subset.offsetX;
    const double dy = subset.offsetY;
    const double x = subset.column + dx + w.u + w.ux * dx + w.uy * dy;
    const double y = subset.row + dy + w.v + w.vx * dx + w.vy * dy;
    Eigen::Matrix<double, 2, 6> along = Eigen::Matrix<double, 2, 6>::Zero();
    along.row(0) << 1.0, dx, dy, 0.0, 0.0, 0.0;
    along.row(1) << 0.0, 0.0, 0.0, 1.0, dx, dy;
    const Eigen::Matrix2d c = along * fit->covariance * along.transpose();
    const double unitsSquared = kTwipsPerPixel * kTwipsPerPixel;

    result.match.found = true;
    result.match.loaded = {x * kTwipsPerPixel, y * kTwipsPerPixel};
    result.match.covariance = {c(0, 0) * unitsSquared, c(0, 1) * unitsSquared,
                               c(1, 1) * unitsSquared};
    result.match.zncc = fit->zncc;
    result.warp = w;
    return result;
}

// The node's own search, from its starting guess.
Attempt ownAttempt(const GreyImage& free, const GreyImage& loaded, Position freePosition,
                   Position guess, const CorrelationSettings& settings)
{
    if (!finite(freePosition) || !finite(guess) || !withinReach(freePosition) || !withinReach(guess))
        return {};
    const Subset subset = subsetAt(freePosition);
    // The subset's centre moves with the node at first guess.
    const int guessColumn = static_cast<int>(std::lround(guess.x / kTwipsPerPixel - subset.offsetX));
    const int guessRow = static_cast<int>(std::lround(guess.y / kTwipsPerPixel - subset.offsetY));
    return attempt(free, loaded, subset, guessColumn, guessRow, {}, settings.searchRadius, settings);
}

// Every node's own search, shared among the processor's cores; deterministic, each node's
// result depending on that node alone. False when cancelled.
bool ownAttempts(const GreyImage& free, const GreyImage& loaded, const CorrelationTask& task,
                 const CorrelationSettings& settings, const CorrelationProgress& progress,
                 std::vector<Attempt>& attempts)
{
    const int total = static_cast<int>(task.free.size());
    const int workers =
        static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    // Rounds short enough for the progress to move and a cancel to be felt at once.
    const int round = 16 * workers;
    for (int first = 0; first < total; first += round) {
        const int last = std::min(first + round, total);
        auto work = [&](int worker) {
            for (int n = first + worker; n < last; n += workers)
                attempts[static_cast<std::size_t>(n)] =
                    ownAttempt(free, loaded, task.free[static_cast<std::size_t>(n)],
                               task.guess[static_cast<std::size_t>(n)], settings);
        };
        std::vector<std::jthread> threads;
        for (int worker = 1; worker < workers; ++worker)
            threads.emplace_back(work, worker);
        work(0);
        threads.clear();
        if (progress && !progress(last, total))
            return false;
    }
    return true;
}

} // namespace

NodeMatch correlateNode(const GreyImage& free, const GreyImage& loaded, Position freePosition,
                        Position guess, const CorrelationSettings& settings)
{
    return ownAttempt(free, loaded, freePosition, guess, settings).match;
}

std::optional<std::vector<NodeMatch>> correlateNodes(const GreyImage& free, const GreyImage& loaded,
                                                     const CorrelationTask& task,
                                                     const CorrelationSettings& settings,
                                                     const CorrelationProgress& progress)
{
    const std::size_t total = task.free.size();
    std::vector<Attempt> attempts(total);
    if (!ownAttempts(free, loaded, task, settings, progress, attempts))
        return std::nullopt;

    // Reliability-guided: the best found node first lends its displacement and gradient to
    // the neighbours that their own search missed; each node found so joins the queue.
    auto worse = [&](std::size_t a, std::size_t b) {
        return attempts[a].match.zncc < attempts[b].match.zncc ||
               (attempts[a].match.zncc == attempts[b].match.zncc && a > b);
    };
    std::priority_queue<std::size_t, std::vector<std::size_t>, decltype(worse)> queue(worse);
    for (std::size_t n = 0; n < total; ++n)
        if (attempts[n].match.found)
            queue.push(n);
    while (!queue.empty()) {
        const std::size_t from = queue.top();
        queue.pop();
        if (from >= task.neighbours.size())
            continue;
        const Subset source = subsetAt(task.free[from]);
        const AffineWarp& w = attempts[from].warp;
        for (const int neighbour : task.neighbours[from]) {
            const auto n = static_cast<std::size_t>(neighbour);
            if (neighbour < 0 || n >= total || attempts[n].match.found ||
                !finite(task.free[n]) || !withinReach(task.free[n]))
                continue;
            const Subset subset = subsetAt(task.free[n]);
            const double dx = subset.column - source.column;
            const double dy = subset.row - source.row;
            const double u = w.u + w.ux * dx + w.uy * dy;
            const double v = w.v + w.vx * dx + w.vy * dy;
            if (!(std::fabs(u) < 1e6 && std::fabs(v) < 1e6))
                continue;
            AffineWarp gradient = w;
            gradient.u = gradient.v = 0.0;
            attempts[n] = attempt(free, loaded, subset, subset.column + static_cast<int>(std::lround(u)),
                                  subset.row + static_cast<int>(std::lround(v)), gradient,
                                  std::min(kPropagatedSearchRadius, settings.searchRadius), settings);
            if (attempts[n].match.found)
                queue.push(n);
        }
    }

    std::vector<NodeMatch> matches(total);
    for (std::size_t n = 0; n < total; ++n)
        matches[n] = attempts[n].match;
    return matches;
}

} // namespace ai
