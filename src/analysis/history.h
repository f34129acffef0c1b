#pragma once

#include "analysis/material.h"
#include "model/project_state.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ai {

// The quantities a history follows, with their physical signs: displacements loaded minus
// free in pixels, strains and stresses positive in tension, stresses in MPa.
enum class HistoryQuantity { U, V, Exx, Eyy, Gxy, Sxx, Syy, Txy, VonMises };

inline constexpr HistoryQuantity kHistoryQuantities[] = {
    HistoryQuantity::U,   HistoryQuantity::V,   HistoryQuantity::Exx,
    HistoryQuantity::Eyy, HistoryQuantity::Gxy, HistoryQuantity::Sxx,
    HistoryQuantity::Syy, HistoryQuantity::Txy, HistoryQuantity::VonMises};

// The quantity as the user reads it ("εxx", "Von Mises") and its unit ("px", "MPa", or
// empty for a strain).
std::string_view quantityName(HistoryQuantity quantity);
std::string_view quantityUnit(HistoryQuantity quantity);

// A rectangle of the free photograph, in view units, over which a virtual gauge averages.
struct GaugeRectangle {
    Position from;
    Position to;
};

// What a history follows: picked nodes or triangles (the mean of their values), the
// triangles of a gauge (their mean), or the two nodes of an extensometer.
struct HistorySelection {
    enum class Kind { Nodes, Triangles, Gauge, Extensometer };
    Kind kind = Kind::Nodes;
    std::vector<int> items; // node or triangle numbers; the extensometer's two nodes
    GaugeRectangle gauge;
};

// A value and its standard deviation, propagated from the positions' (see uncertainty.h).
struct HistoryValue {
    double value = 0.0;
    double sd = 0.0;
};

// The triangles with a value (every corner measured) whose free centroid lies inside the
// gauge, edges included, in table order.
std::vector<int> gaugeTriangles(const ProjectState& state, const GaugeRectangle& gauge);

// The quantity over the selection in the state as it stands. A node's strains and stresses
// are the mean over its triangles with a value; a triangle of no area counts as an exact
// zero, as in the nodal averages. A node not measured, a number out of the tables or a
// triangle without a value contributes nothing; nothing measured gives no value. An
// extensometer gives (d - d0) / d0 whatever the quantity: d0 the nodes' free distance, d
// their loaded one.
std::optional<HistoryValue> selectionValue(const ProjectState& state,
                                           const HistorySelection& selection,
                                           HistoryQuantity quantity, const Material& material,
                                           bool planeStress);

// A selection's history over the load steps: for each step its value, or nothing.
struct HistoryPoint {
    int step = 0;
    std::string photograph;
    std::optional<HistoryValue> value;
};

struct HistoryCurve {
    std::string title;
    std::string quantity; // the name on the value axis
    std::string unit;     // empty for a strain
    std::vector<HistoryPoint> points;
};

// The value axis' label: the quantity, then its unit in brackets when it has one.
std::string curveAxisLabel(const HistoryCurve& curve);

// step,photograph,value_<unit>,sd_<unit> (value,sd for a strain), one line a step, written
// as the results tables are (see results_csv.h); a step without value has empty fields.
std::string curveCsv(const HistoryCurve& curve);

} // namespace ai
