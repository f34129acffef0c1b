#pragma once

#include "analysis/stress_map.h"
#include "analysis/uncertainty.h"

#include <string_view>

namespace ai {

inline constexpr std::string_view kUncertaintyTitleSuffix = " (écart type)";

// The stress map's picture painted with the standard deviation of each of its values: the
// nodal averages at the nodes, and at the triangles' sampling points the mean values that
// the map takes there, whose spread follows from the nodal averages' exactly.
std::optional<StressMap> buildUncertaintyMap(const ProjectState& state, int nodeCount,
                                             const StudyUncertainty& uncertainty,
                                             Component component, const NumberFormat& format);

} // namespace ai
