#include "analysis/uncertainty_map.h"

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
    for (int n = 1; n <= nodeCount; ++n)
        sds[slot(n)] = NodeSum{1.0, spreadSd(uncertainty.averages[slot(n)], state)};

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
        for (std::size_t k = 0; k < 4; ++k) {
            LinearSpread spread;
            for (std::size_t i = 0; i < 3; ++i)
                if (nodes[i] >= 1 && nodes[i] <= nodeCount)
                    spread.addScaled(uncertainty.averages[slot(nodes[i])], weights[i][k].value);
            points[k].value = spreadSd(spread, state);
            if (!std::isfinite(points[k].value))
                return std::nullopt;
        }
        return points;
    };
    return buildMap(state, nodeCount, sds, sampler,
                    mapTitle(component) + std::string(kUncertaintyTitleSuffix), format);
}

} // namespace ai
