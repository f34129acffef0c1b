#include "analysis/uncertainty_map.h"

#include "model/measurement.h"

#include <cmath>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

} // namespace

std::optional<StressMap> buildUncertaintyMap(const ProjectState& state, int nodeCount,
                                             const StudyUncertainty& uncertainty,
                                             Component component, const NumberFormat& format)
{
    NodeSumTable sds{};
    for (int n = 1; n <= nodeCount; ++n) {
        const auto& average = uncertainty.averages[slot(n)];
        sds[slot(n)] = NodeSum{1.0, average ? spreadSd(*average, state) : kUnset};
    }

    const auto sampler = [&](int e) -> std::optional<std::array<SamplePoint, 4>> {
        const auto& nodes = state.Elements[slot(e)].nodes;
        std::array<Position, 3> corners;
        for (std::size_t i = 0; i < 3; ++i)
            corners[i] = state.FreeNodes[slot(nodes[i])];
        // Each point's value is a fixed mean of the corners' values: the weights are the
        // points of a unit value at one corner.
        std::array<std::array<SamplePoint, 4>, 3> weights;
        for (std::size_t i = 0; i < 3; ++i) {
            std::array<double, 3> unit{};
            unit[i] = 1.0;
            weights[i] = samplingPoints(corners, unit);
        }
        std::array<SamplePoint, 4> points = weights[0];
        const bool valued = hasMeasuredCorners(state, e);
        for (std::size_t k = 0; k < 4; ++k) {
            LinearSpread spread;
            for (std::size_t i = 0; i < 3; ++i) {
                if (nodes[i] < 1 || nodes[i] > nodeCount)
                    continue;
                if (const auto& average = uncertainty.averages[slot(nodes[i])])
                    spread.addScaled(*average, weights[i][k].value);
            }
            points[k].value = valued ? spreadSd(spread, state) : kUnset;
            if (std::isinf(points[k].value))
                return std::nullopt;
        }
        return points;
    };
    return buildMap(state, nodeCount, sds, sampler,
                    mapTitle(component) + std::string(kUncertaintyTitleSuffix), format);
}

} // namespace ai
