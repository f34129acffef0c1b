#include "correlation/node_correlation.h"

#include "correlation/feature_seeding.h"
#include "correlation/material_under_node.h"
#include "correlation/neighbour_consistency.h"
#include "correlation/subset_refinement.h"
#include "correlation/whole_pixel_search.h"
#include "correlation/worker_pool.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <queue>

namespace ai {

namespace {

// A neighbour's warp predicts a node's displacement to better than this.
constexpr int kPropagatedSearchRadius = 3;
// Every node first looks this close to its guess; only those it leaves out pay the whole
// search radius.
constexpr int kNearSearchRadius = 10;
// A whole-pixel peak this poor is chance, not the subset deformed: refining it costs the
// most iterations for nothing.
constexpr double kLeastWholePixelZncc = 0.6;
// The nodes first given the whole search radius at once, among those still missing.
constexpr std::size_t kWideSearchBatch = 16;
// Below this share of the nodes found by their own searches, the guesses are taken as
// wrong (a large rotation or jump) and the matched features give new ones.
constexpr double kFoundShareBeforeFeatures = 0.5;
// Photographs prefiltered whole when the nodes' windows would cover them this many times.
constexpr double kWholePrefilterCover = 1.0;
constexpr long long kWholePrefilterMostPixels = 8'000'000;

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

bool usable(Position p) { return finite(p) && withinReach(p); }

// True when each quarter of the subset holds a speckle: a quadratic shape needs grey-level
// detail across the whole subset, and one that straddles an edge of the structure, half on
// a plain background, would only extrapolate its curvature.
bool texturedThroughout(const GreyImage& free, const Subset& subset, int half)
{
    double spreads[4] = {0.0, 0.0, 0.0, 0.0};
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int left = quarter % 2 == 0 ? subset.column - half : subset.column + 1;
        const int top = quarter < 2 ? subset.row - half : subset.row + 1;
        double sum = 0.0;
        double squares = 0.0;
        for (int row = top; row < top + half; ++row)
            for (int column = left; column < left + half; ++column) {
                const double g = free.at(column, row);
                sum += g;
                squares += g * g;
            }
        const double n = static_cast<double>(half) * half;
        spreads[quarter] = squares / n - (sum / n) * (sum / n);
    }
    const auto [least, most] = std::minmax_element(std::begin(spreads), std::end(spreads));
    return *least >= 0.25 * *most;
}

// What every attempt of one correlation shares.
struct Context {
    const GreyImage& free;
    const GreyImage& loaded;
    const CorrelationSettings& settings;
    PrefilteredPair prefiltered;
};

// The affine fit, or the quadratic one where the field's curvature across the subset makes
// it fit significantly better: an F test on the residuals, so that the extra parameters,
// which add noise, are only paid for where they remove a larger bias. At F > 4 they were
// still taken under noise where the affine fit was the more precise.
std::optional<SubsetFit> bestFit(const Context& context, const Subset& subset, int half,
                                 const ShapeParameters& start)
{
    constexpr double kSignificance = 6.0; // for F(6, n - 12)
    // The quadratic fit costs more than the affine one: it is tried only where the gain the
    // affine fit predicts for it comes within a factor two of significance.
    constexpr double kWorthTrying = kSignificance / 2.0;
    const bool mayBend =
        context.settings.secondOrderWhereBetter && texturedThroughout(context.free, subset, half);
    auto first = refineSubset(context.free, subset.column, subset.row, half, context.loaded, start,
                              ShapeOrder::First, context.prefiltered, mayBend);
    if (!mayBend)
        return first;
    if (first && first->secondOrderGain / 6.0 <=
                     kWorthTrying * first->residualSquares / (first->pixels - 12))
        return first;
    auto second = refineSubset(context.free, subset.column, subset.row, half, context.loaded,
                               first ? first->shape : start, ShapeOrder::Second, context.prefiltered);
    if (!first || !second)
        return first ? first : second;
    const double gain = (first->residualSquares - second->residualSquares) / 6.0;
    const double noise = second->residualSquares / (second->pixels - 12);
    return gain > kSignificance * noise ? second : first;
}

struct Attempt {
    NodeMatch match;
    AffineWarp warp; // of the subset's centre
};

// Refines the subset from a start shape and judges the fit.
Attempt refineFrom(const Context& context, const Subset& subset, const ShapeParameters& start)
{
    Attempt result;
    const CorrelationSettings& settings = context.settings;
    const int half = settings.subset / 2;
    // The subset and the pixel around it that its gradients need lie in the free photograph.
    if (subset.column - half - 1 < 0 || subset.row - half - 1 < 0 ||
        subset.column + half + 1 >= context.free.width || subset.row + half + 1 >= context.free.height)
        return result;
    const std::optional<SubsetFit> fit = bestFit(context, subset, half, start);
    if (!fit || !(fit->zncc >= settings.minimumZncc) ||
        std::hypot(fit->shape(0) - start(0), fit->shape(6) - start(6)) > settings.subset / 2.0)
        return result;
    // The residual holds the noise of both photographs, about equal.
    const double noiseVariance =
        fit->residualSquares / (2.0 * static_cast<double>(fit->pixels - 6));
    if (!onMaterial(context.free, subset.column + subset.offsetX, subset.row + subset.offsetY,
                    settings.subset, noiseVariance))
        return result;

    // The node sits at its offset from the subset's centre: carry the offset by the warp.
    const Eigen::Matrix<double, 2, 12> along =
        SubsetFit::displacementAt(subset.offsetX, subset.offsetY);
    const Eigen::Vector2d moved = along * fit->shape;
    const double x = subset.column + subset.offsetX + moved(0);
    const double y = subset.row + subset.offsetY + moved(1);
    const Eigen::Matrix2d c = along * fit->covariance * along.transpose();
    const double unitsSquared = kTwipsPerPixel * kTwipsPerPixel;

    result.match.found = true;
    result.match.loaded = {x * kTwipsPerPixel, y * kTwipsPerPixel};
    result.match.covariance = {c(0, 0) * unitsSquared, c(0, 1) * unitsSquared,
                               c(1, 1) * unitsSquared};
    result.match.zncc = fit->zncc;
    result.warp = fit->warp();
    result.match.gradient = {result.warp.ux, result.warp.uy, result.warp.vx, result.warp.vy};
    return result;
}

// Searches around the subset centre `guessColumn, guessRow` on the loaded photograph, then
// refines from the match with the given displacement gradient.
Attempt searchAndRefine(const Context& context, const Subset& subset, int guessColumn,
                        int guessRow, const AffineWarp& gradient, int radius)
{
    const auto whole = searchWholePixel(context.free, subset.column, subset.row,
                                        context.settings.subset / 2, context.loaded, guessColumn,
                                        guessRow, radius);
    if (!whole || whole->zncc < kLeastWholePixelZncc)
        return {};
    ShapeParameters start = shapeOf(gradient);
    start(0) = whole->column + whole->offsetColumn - subset.column;
    start(6) = whole->row + whole->offsetRow - subset.row;
    return refineFrom(context, subset, start);
}

// From a predicted warp of the subset's centre: refined straight from it, which carries a
// rotation a search of the unwarped subset cannot see, else searched close around it.
Attempt fromPrediction(const Context& context, const Subset& subset, const AffineWarp& predicted)
{
    if (!(std::fabs(predicted.u) < 1e6 && std::fabs(predicted.v) < 1e6))
        return {};
    Attempt direct = refineFrom(context, subset, shapeOf(predicted));
    if (direct.match.found)
        return direct;
    AffineWarp gradient = predicted;
    gradient.u = gradient.v = 0.0;
    return searchAndRefine(context, subset, subset.column + static_cast<int>(std::lround(predicted.u)),
                           subset.row + static_cast<int>(std::lround(predicted.v)), gradient,
                           std::min(kPropagatedSearchRadius, context.settings.searchRadius));
}

// The node's own search, from its starting guess, within `radius`.
Attempt ownAttempt(const Context& context, Position freePosition, Position guess, int radius)
{
    if (!usable(freePosition) || !usable(guess))
        return {};
    const Subset subset = subsetAt(freePosition);
    // The subset's centre moves with the node at first guess.
    const int guessColumn = static_cast<int>(std::lround(guess.x / kTwipsPerPixel - subset.offsetX));
    const int guessRow = static_cast<int>(std::lround(guess.y / kTwipsPerPixel - subset.offsetY));
    return searchAndRefine(context, subset, guessColumn, guessRow, {}, radius);
}

// The warp a found node predicts for the subset centred at (column, row).
AffineWarp predictedAt(const AffineWarp& w, const Subset& from, const Subset& to)
{
    const double dx = to.column - from.column;
    const double dy = to.row - from.row;
    AffineWarp p = w;
    p.u = w.u + w.ux * dx + w.uy * dy;
    p.v = w.v + w.vx * dx + w.vy * dy;
    return p;
}

// One correlation of many nodes: the phases share its threads and prefiltered splines.
class NodesCorrelation {
public:
    NodesCorrelation(const GreyImage& free, const GreyImage& loaded, const CorrelationTask& task,
                     const CorrelationSettings& settings, const CorrelationProgress& progress)
        : context_{free, loaded, settings, {}}, task_(task), progress_(progress),
          attempts_(task.free.size())
    {
        for (const Position p : task.free)
            subsets_.push_back(usable(p) ? subsetAt(p) : Subset{});
        prefilterWholeWhenDense();
    }

    std::optional<std::vector<NodeMatch>> run()
    {
        const int radius = context_.settings.searchRadius;
        const int near = std::min(radius, kNearSearchRadius);
        if (!task_.gradient.empty() && !startFromGradients())
            return std::nullopt;
        // A few nodes spread over the task search first and lend their warps to their
        // neighbours, which then need no search of their own; the nodes that propagation
        // does not reach, across a jump for instance, search for themselves.
        if (!searchWide(near, true))
            return std::nullopt;
        if (radius > near && !searchWide(radius, false))
            return std::nullopt;
        if (foundCount() < kFoundShareBeforeFeatures * static_cast<double>(usableCount())) {
            if (!seedFromFeatures())
                return std::nullopt;
            settle();
        }
        std::vector<NodeMatch> matches(attempts_.size());
        for (std::size_t n = 0; n < attempts_.size(); ++n)
            matches[n] = attempts_[n].match;
        return matches;
    }

private:
    std::vector<std::size_t> missing() const
    {
        std::vector<std::size_t> nodes;
        for (std::size_t n = 0; n < attempts_.size(); ++n)
            if (!attempts_[n].match.found && usable(task_.free[n]))
                nodes.push_back(n);
        return nodes;
    }

    int foundCount() const
    {
        return static_cast<int>(std::count_if(attempts_.begin(), attempts_.end(),
                                              [](const Attempt& a) { return a.match.found; }));
    }

    int usableCount() const
    {
        return static_cast<int>(std::count_if(task_.free.begin(), task_.free.end(), usable));
    }

    // Whole photographs cost less to prefilter once than the nodes' windows each time.
    void prefilterWholeWhenDense()
    {
        const double side = 2.0 * (context_.settings.subset / 2 + 13) + 1.0;
        const double windows = side * side * static_cast<double>(task_.free.size());
        for (const auto* image : {&context_.free, &context_.loaded}) {
            const long long pixels = static_cast<long long>(image->width) * image->height;
            if (image->width < 5 || image->height < 5 || pixels > kWholePrefilterMostPixels ||
                windows < kWholePrefilterCover * static_cast<double>(pixels))
                continue;
            auto spline = std::make_unique<BSplineWindow>(*image, 0, 0, image->width, image->height);
            (image == &context_.free ? context_.prefiltered.free : context_.prefiltered.loaded) =
                spline.get();
            splines_.push_back(std::move(spline));
        }
    }

    // Runs `job` for each node of `nodes` on the pool, in rounds short enough for the
    // progress to move and a cancel to be felt at once. False when cancelled.
    bool forEach(const std::vector<std::size_t>& nodes, const std::function<void(std::size_t)>& job)
    {
        const int total = static_cast<int>(attempts_.size());
        const int count = static_cast<int>(nodes.size());
        const int round = 64;
        for (int first = 0; first < count; first += round) {
            const int last = std::min(first + round, count);
            pool_.run(last - first,
                      [&](int i) { job(nodes[static_cast<std::size_t>(first + i)]); });
            // The share of the nodes this phase has done, over the whole task; never back.
            const int done = static_cast<int>(static_cast<long long>(last) * total / count);
            if (progress_ && !progress_(std::max(done, progressDone_), total))
                return false;
            progressDone_ = std::max(done, progressDone_);
        }
        return true;
    }

    // A search within `radius` for the nodes still missing, a few spread among them at a time: one
    // found there lends its warp to its neighbours by propagation, which costs far less
    // than a wide search each. The rounds double, so nodes that nothing joins cost few.
    // With `everyNode`, the nodes beside a found one that propagation did not reach, across
    // a jump for instance, then search too, and so do those whose search found them but that
    // the neighbour test turned down while too few nodes were found to judge them by.
    bool searchWide(int radius, bool everyNode)
    {
        std::vector<char> searched(attempts_.size(), 0);
        std::vector<char> foundBySearch(attempts_.size(), 0);
        std::size_t batch = kWideSearchBatch;
        for (;;) {
            // A node next to a found one was tried from its prediction already.
            std::vector<std::size_t> left;
            for (const std::size_t n : missing())
                if (!searched[n] && !besideFound(n))
                    left.push_back(n);
            if (left.empty()) {
                std::vector<std::size_t> rest;
                for (const std::size_t n : missing())
                    if (everyNode && (!searched[n] || foundBySearch[n]))
                        rest.push_back(n);
                if (rest.empty())
                    return true;
                if (!searchOwn(rest, radius))
                    return false;
                settle();
                return true;
            }
            std::vector<std::size_t> chosen;
            const std::size_t stride = std::max<std::size_t>(1, left.size() / batch);
            for (std::size_t i = 0; i < left.size(); i += stride) {
                chosen.push_back(left[i]);
                searched[left[i]] = 1;
            }
            if (!searchOwn(chosen, radius))
                return false;
            for (const std::size_t n : chosen)
                foundBySearch[n] = attempts_[n].match.found;
            settle();
            batch *= 2;
        }
    }

    bool besideFound(std::size_t n) const
    {
        if (n >= task_.neighbours.size())
            return false;
        return std::any_of(task_.neighbours[n].begin(), task_.neighbours[n].end(), [&](int m) {
            return m >= 0 && static_cast<std::size_t>(m) < attempts_.size() &&
                   attempts_[static_cast<std::size_t>(m)].match.found;
        });
    }

    bool searchOwn(const std::vector<std::size_t>& nodes, int radius)
    {
        return forEach(nodes, [&](std::size_t n) {
            attempts_[n] = ownAttempt(context_, task_.free[n], task_.guess[n], radius);
        });
    }

    // The neighbour test, a second chance for the nodes that fail it, propagation from
    // the nodes that pass, and the test again over what propagation added.
    void settle()
    {
        checkNeighbours();
        propagate();
        checkNeighbours();
    }

    // Every found node against its neighbours; one that fails is refined again from their
    // displacement and gradient and, still failing, is not found. The judgement of each
    // node reads the others as they were before any retry, so the order does not matter.
    void checkNeighbours()
    {
        std::vector<Displacement> found(attempts_.size());
        for (std::size_t n = 0; n < attempts_.size(); ++n)
            if (attempts_[n].match.found)
                found[n] = displacementOf(n);
        const std::vector<std::vector<int>> around =
            consistencyNeighbours(found, task_.neighbours);
        std::vector<std::size_t> failing;
        for (std::size_t n = 0; n < attempts_.size(); ++n)
            if (found[n].found && !passesMedianTest(found, around[n], found[n]))
                failing.push_back(n);
        if (failing.empty())
            return;
        std::vector<Attempt> retried(failing.size());
        pool_.run(static_cast<int>(failing.size()), [&](int i) {
            const std::size_t n = failing[static_cast<std::size_t>(i)];
            Attempt again =
                fromPrediction(context_, subsets_[n], medianPrediction(found, around[n], found[n]));
            if (again.match.found &&
                !passesMedianTest(found, around[n], displacementOf(n, again.warp)))
                again = {};
            retried[static_cast<std::size_t>(i)] = again;
        });
        for (std::size_t i = 0; i < failing.size(); ++i)
            attempts_[failing[i]] = retried[i];
    }

    Displacement displacementOf(std::size_t n) const { return displacementOf(n, attempts_[n].warp); }

    Displacement displacementOf(std::size_t n, const AffineWarp& warp) const
    {
        return {true, static_cast<double>(subsets_[n].column), static_cast<double>(subsets_[n].row), warp};
    }

    // Reliability-guided: the best found node first lends its displacement and gradient to
    // the neighbours that no search found; each node found so joins the queue.
    void propagate()
    {
        const std::size_t total = attempts_.size();
        auto worse = [&](std::size_t a, std::size_t b) {
            return attempts_[a].match.zncc < attempts_[b].match.zncc ||
                   (attempts_[a].match.zncc == attempts_[b].match.zncc && a > b);
        };
        std::priority_queue<std::size_t, std::vector<std::size_t>, decltype(worse)> queue(worse);
        for (std::size_t n = 0; n < total; ++n)
            if (attempts_[n].match.found)
                queue.push(n);
        while (!queue.empty()) {
            const std::size_t from = queue.top();
            queue.pop();
            if (from >= task_.neighbours.size())
                continue;
            for (const int neighbour : task_.neighbours[from]) {
                const auto n = static_cast<std::size_t>(neighbour);
                if (neighbour < 0 || n >= total || attempts_[n].match.found ||
                    !usable(task_.free[n]))
                    continue;
                attempts_[n] = fromPrediction(
                    context_, subsets_[n], predictedAt(attempts_[from].warp, subsets_[from], subsets_[n]));
                if (attempts_[n].match.found)
                    queue.push(n);
            }
        }
    }

    // Every node refined straight from its guess deformed by the gradient it brings, then
    // judged by its neighbours; the searches that follow take only the nodes left.
    bool startFromGradients()
    {
        std::vector<std::size_t> nodes;
        for (std::size_t n = 0; n < attempts_.size() && n < task_.gradient.size(); ++n)
            if (usable(task_.free[n]) && usable(task_.guess[n]))
                nodes.push_back(n);
        if (!forEach(nodes, [&](std::size_t n) {
                attempts_[n] = fromPrediction(context_, subsets_[n], carriedWarp(n));
            }))
            return false;
        settle();
        return true;
    }

    // The warp of node n's subset centre that its guess and its gradient give.
    AffineWarp carriedWarp(std::size_t n) const
    {
        const DisplacementGradient& g = task_.gradient[n];
        const Subset& s = subsets_[n];
        const double u = task_.guess[n].x / kTwipsPerPixel - (s.column + s.offsetX);
        const double v = task_.guess[n].y / kTwipsPerPixel - (s.row + s.offsetY);
        return {u - g.ux * s.offsetX - g.uy * s.offsetY, g.ux, g.uy,
                v - g.vx * s.offsetX - g.vy * s.offsetY, g.vx, g.vy};
    }

    // New guesses for the nodes not found, from the motion of matched features near each.
    bool seedFromFeatures()
    {
        const std::vector<std::size_t> nodes = missing();
        std::vector<double> x;
        std::vector<double> y;
        for (const std::size_t n : nodes) {
            x.push_back(subsets_[n].column);
            y.push_back(subsets_[n].row);
        }
        const auto motions = featureMotions(context_.free, context_.loaded, x, y);
        std::vector<std::size_t> seeded;
        std::vector<AffineWarp> warps(attempts_.size());
        for (std::size_t i = 0; i < nodes.size(); ++i)
            if (motions[i]) {
                seeded.push_back(nodes[i]);
                warps[nodes[i]] = motions[i]->warpAt(x[i], y[i]);
            }
        return forEach(seeded, [&](std::size_t n) {
            attempts_[n] = fromPrediction(context_, subsets_[n], warps[n]);
        });
    }

    Context context_;
    const CorrelationTask& task_;
    const CorrelationProgress& progress_;
    std::vector<Attempt> attempts_;
    std::vector<Subset> subsets_;
    std::vector<std::unique_ptr<BSplineWindow>> splines_;
    WorkerPool pool_;
    int progressDone_ = 0;
};

} // namespace

NodeMatch correlateNode(const GreyImage& free, const GreyImage& loaded, Position freePosition,
                        Position guess, const CorrelationSettings& settings)
{
    const Context context{free, loaded, settings, {}};
    const int near = std::min(settings.searchRadius, kNearSearchRadius);
    Attempt attempt = ownAttempt(context, freePosition, guess, near);
    if (!attempt.match.found && settings.searchRadius > near)
        attempt = ownAttempt(context, freePosition, guess, settings.searchRadius);
    return attempt.match;
}

std::optional<std::vector<NodeMatch>> correlateNodes(const GreyImage& free, const GreyImage& loaded,
                                                     const CorrelationTask& task,
                                                     const CorrelationSettings& settings,
                                                     const CorrelationProgress& progress)
{
    return NodesCorrelation(free, loaded, task, settings, progress).run();
}

} // namespace ai
