#include "shell/sequence_maps.h"

#include <memory>

namespace ai {

std::optional<MapRange> styledExtremesOverSteps(const ProjectState& state, int nodeCount,
                                                const std::vector<SequenceStep>& steps,
                                                const Material& material, Component component,
                                                bool planeStress, MapStyle style,
                                                const NumberFormat& format)
{
    auto work = std::make_unique<ProjectState>(state);
    std::optional<MapRange> extremes;
    for (const SequenceStep& step : steps) {
        applyStep(*work, step);
        const auto map =
            buildStyledMap(*work, nodeCount, material, component, planeStress, style, format);
        if (!map || !map->extremes)
            continue;
        extremes = extremes ? unitedRange(*extremes, *map->extremes) : *map->extremes;
    }
    return extremes;
}

} // namespace ai
