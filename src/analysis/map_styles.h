#pragma once

#include "analysis/colour_scale.h"
#include "analysis/material.h"
#include "analysis/stress_map.h"
#include "model/number_text.h"
#include "model/project_state.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace ai {

// The study's map of dots, or one of the two readable maps: each triangle filled with
// its own signed value, or with the colours interpolated from its nodes' averages.
enum class MapStyle { Points, Signed, Continuous };

// A triangle of a map with its value as that map shows it. The readable maps give the
// physical sign (tension positive, the opposite of the study's free-minus-loaded
// displacements); the map of dots gives the study's magnitude. A triangle with a corner
// that a correlation did not find, or without area, has no value (NaN).
struct MapTriangle {
    std::array<Position, 3> corners;
    double value = kUnset;
    double sd = kUnset;
    // The nodes' averages of the shown values over their valued triangles (continuous map).
    std::array<double, 3> nodeValues{kUnset, kUnset, kUnset};

    bool valued() const { return isSet(value); }
};

struct StyledMap {
    MapStyle style = MapStyle::Points;
    std::string title;
    std::string unit = "MPa";
    ColourScale scale;
    std::vector<std::string> tickTexts; // beside scale.ticks, in the user's number format
    std::vector<MapTriangle> triangles; // triangle e at e - 1
    // The extremes of the values the scale spans, before rounding; nothing without a value.
    std::optional<MapRange> extremes;
};

// "Contrainte normale σxx (traction positive) – contraintes planes – E = 75 MPa, ν = 0,25".
std::string styledTitle(Component component, bool planeStress, const Material& material,
                        const NumberFormat& format);

// The map of triangles 1 to ElementCount of a study whose nodes 1 to nodeCount are located.
// Its scale spans its own values, or the range given (one shared by several maps).
std::optional<StyledMap> buildStyledMap(const ProjectState& state, int nodeCount,
                                        const Material& material, Component component,
                                        bool planeStress, MapStyle style,
                                        const NumberFormat& format,
                                        const std::optional<MapRange>& scale = std::nullopt);

// The triangle under a point (view units), the last one listed where triangles overlap;
// nothing outside every triangle.
const MapTriangle* triangleAt(const StyledMap& map, double x, double y);

// A value to four significant digits, which is more than a measurement holds, in the
// user's number format ("-12,35").
std::string shortNumber(double value, const NumberFormat& format);

// "-12,3 ± 0,4 MPa" for the triangle under the pointer, or that it has no value.
std::string triangleReadout(const MapTriangle& triangle, const std::string& unit,
                            const NumberFormat& format);

} // namespace ai
