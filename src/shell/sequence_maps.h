#pragma once

#include "analysis/map_styles.h"
#include "correlation/sequence_correlation.h"

#include <optional>
#include <vector>

namespace ai {

// The extremes of a readable map's values over every step of a sequence, for a scale that
// every step's map shares; nothing when no step has a value.
std::optional<MapRange> styledExtremesOverSteps(const ProjectState& state, int nodeCount,
                                                const std::vector<SequenceStep>& steps,
                                                const Material& material, Component component,
                                                bool planeStress, MapStyle style,
                                                const NumberFormat& format);

} // namespace ai
