#pragma once

#include "analysis/map_window.h"
#include "analysis/node_values.h"
#include "model/colour.h"
#include "model/number_text.h"
#include "model/project_state.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ai {

inline constexpr std::string_view kUnusableMeshMessage =
    "Ce maillage donne des résultats inexploitables : en faire un autre.";

// A sampling point of a triangle, as its texts hold it.
struct SamplePoint {
    double x = 0.0;
    double y = 0.0;
    double value = 0.0;
};

// The centroid G of a triangle, then the centroids of its sub-triangles (1, 2, G),
// (1, 3, G) and (3, 2, G), each value the mean of its three corners' values.
std::array<SamplePoint, 4> samplingPoints(const std::array<Position, 3>& corners,
                                          const std::array<double, 3>& values);

// The scale of the map over the nodal averages that have a value (NaN has none); with no
// such node it keeps its initial values.
struct MapRange {
    double minimum = 1e18;
    double maximum = 0.0;

    double span() const { return maximum - minimum; }
};

MapRange mapRange(const NodeSumTable& sums, int nodeCount);

// A value truncated, never rounded, to four decimals, in the user's number format.
double truncatedValue(double value);
std::string valueLabel(double value, const NumberFormat& format);

std::string mapTitle(Component component);

struct MapDot {
    float x = 0.0f;
    float y = 0.0f;
    Rgb colour;

    friend bool operator==(const MapDot&, const MapDot&) = default;
};

// The colour bar closes every map: 255 rows of three points.
inline constexpr std::size_t kColourBarDots = 3 * 255;

// Everything a run paints in the map window, in painting order: the node dots, the
// triangle points (all centroids first, then all points 2, 3 and 4) unless every node
// has the same value, and the colour bar. Nodes and points without a value get no dot.
struct StressMap {
    std::string title;
    std::string maximumText;
    std::string minimumText;
    std::vector<MapDot> dots;
    // The scale examined no node: the map is shown, the message given, the window hidden.
    bool unusable = false;
    // The extremes of the map's own nodal values, whatever scale coloured it.
    MapRange range;
};

// The sampling points of triangle e (1 to ElementCount), their values NaN for a triangle
// without value, or nothing when a value overflows.
using TriangleSampler = std::function<std::optional<std::array<SamplePoint, 4>>(int element)>;

// The map of the values of nodes 1 to nodeCount at their free positions and of the
// triangles' sampling points, under the title; nothing when a sampling value overflows.
// A scale given (one shared by several maps) colours the map and labels its bar instead of
// the map's own extremes.
std::optional<StressMap> buildMap(const ProjectState& state, int nodeCount,
                                  const NodeSumTable& nodeValues, const TriangleSampler& sampler,
                                  std::string title, const NumberFormat& format,
                                  const std::optional<MapRange>& scale = std::nullopt);

// The map of the nodal averages of nodes 1 to nodeCount over the free positions, or
// nothing when a sampling value overflows. Triangles left out of the study are left clear.
std::optional<StressMap> buildStressMap(const ProjectState& state, int nodeCount,
                                        const NodeSumTable& sums, Component component,
                                        const NumberFormat& format,
                                        const std::optional<MapRange>& scale = std::nullopt);

// The smallest range holding both.
MapRange unitedRange(const MapRange& a, const MapRange& b);

// Shows the window and paints the map over the free photograph, from the background up.
void paintStressMap(const StressMap& map, MapWindow& window, const std::string& freeImageFile);

} // namespace ai
