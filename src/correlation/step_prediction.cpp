#include "correlation/step_prediction.h"

#include "correlation/neighbour_consistency.h"

#include <algorithm>
#include <utility>

namespace ai {

namespace {

constexpr std::size_t kFewestNeighbours = 4;
constexpr std::size_t kNearestNeighbours = 8;

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

} // namespace

StepPrediction::StepPrediction(const ProjectState& state, int nodeCount)
    : free_(state.FreeNodes.begin(), state.FreeNodes.begin() + nodeCount + 1),
      triangleNeighbours_(slot(nodeCount) + 1), tracks_(slot(nodeCount) + 1),
      gradients_(slot(nodeCount) + 1)
{
    // Every node the first step correlates is at rest on the free photograph.
    for (std::size_t n = 1; n < tracks_.size(); ++n)
        if (free_[n].isSet() && state.LoadNodes[n].isSet())
            tracks_[n] = {
                .followed = true, .found = true, .steady = false, .at = free_[n], .before = {}};
    for (int e = 1; e <= state.ElementCount; ++e)
        for (const int a : state.Elements[slot(e)].nodes)
            for (const int b : state.Elements[slot(e)].nodes) {
                if (a == b || a < 1 || b < 1 || a > nodeCount || b > nodeCount)
                    continue;
                auto& list = triangleNeighbours_[slot(a)];
                if (std::find(list.begin(), list.end(), b) == list.end())
                    list.push_back(b);
            }
}

void StepPrediction::record(const ProjectState& state, const StudyCorrelationOutcome& outcome)
{
    for (const int n : outcome.notFound)
        if (slot(n) < tracks_.size())
            tracks_[slot(n)].found = tracks_[slot(n)].steady = false;
    for (const int n : outcome.found) {
        if (slot(n) >= tracks_.size() || !tracks_[slot(n)].followed)
            continue;
        Track& track = tracks_[slot(n)];
        track.steady = track.found;
        track.before = track.at;
        track.at = state.LoadNodes[slot(n)];
        track.found = true;
        if (slot(n) < outcome.gradients.size())
            gradients_[slot(n)] = outcome.gradients[slot(n)];
    }
}

std::vector<DisplacementGradient> StepPrediction::predict(ProjectState& state) const
{
    // Each found node's expected displacement and gradient, in pixels, as its neighbours
    // would lend them.
    std::vector<Displacement> expected(tracks_.size());
    for (std::size_t n = 1; n < tracks_.size(); ++n) {
        const Track& track = tracks_[n];
        if (!track.followed || !track.found)
            continue;
        Position next = track.at;
        if (track.steady)
            next = {2.0 * track.at.x - track.before.x, 2.0 * track.at.y - track.before.y};
        state.LoadNodes[n] = next;
        const DisplacementGradient& g = gradients_[n];
        expected[n] = {true, free_[n].x / kTwipsPerPixel, free_[n].y / kTwipsPerPixel,
                       AffineWarp{(next.x - free_[n].x) / kTwipsPerPixel, g.ux, g.uy,
                                  (next.y - free_[n].y) / kTwipsPerPixel, g.vx, g.vy}};
    }
    std::vector<DisplacementGradient> gradients = gradients_;
    for (std::size_t n = 1; n < tracks_.size(); ++n) {
        if (!tracks_[n].followed || tracks_[n].found)
            continue;
        const std::vector<int> around = foundAround(n);
        if (around.empty())
            continue;
        const Displacement node{
            false, free_[n].x / kTwipsPerPixel, free_[n].y / kTwipsPerPixel, {}};
        const AffineWarp w = medianPrediction(expected, around, node);
        state.LoadNodes[n] = {free_[n].x + w.u * kTwipsPerPixel, free_[n].y + w.v * kTwipsPerPixel};
        gradients[n] = {w.ux, w.uy, w.vx, w.vy};
    }
    return gradients;
}

std::vector<int> StepPrediction::foundAround(std::size_t node) const
{
    std::vector<int> list;
    for (const int m : triangleNeighbours_[node])
        if (tracks_[slot(m)].followed && tracks_[slot(m)].found)
            list.push_back(m);
    if (list.size() >= kFewestNeighbours)
        return list;
    std::vector<std::pair<double, int>> nearest;
    for (std::size_t m = 1; m < tracks_.size(); ++m)
        if (tracks_[m].followed && tracks_[m].found &&
            std::find(list.begin(), list.end(), static_cast<int>(m)) == list.end()) {
            const double dx = free_[m].x - free_[node].x;
            const double dy = free_[m].y - free_[node].y;
            nearest.emplace_back(dx * dx + dy * dy, static_cast<int>(m));
        }
    const std::size_t wanted = std::min(nearest.size(), kNearestNeighbours - list.size());
    std::partial_sort(nearest.begin(), nearest.begin() + static_cast<std::ptrdiff_t>(wanted),
                      nearest.end());
    for (std::size_t i = 0; i < wanted; ++i)
        list.push_back(nearest[i].second);
    return list;
}

} // namespace ai
