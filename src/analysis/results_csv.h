#pragma once

#include "analysis/history.h"
#include "analysis/material.h"
#include "model/project_state.h"

#include <optional>
#include <string>

namespace ai {

// The results of a study as tables for spreadsheets and scripts (RFC 4180): a header line,
// CR LF line ends, no quoting needed, and numbers with a '.' decimal point whatever the
// user's settings, in the fewest digits that read back to the same double. An empty
// field stands for an empty entry.
//
// The tables give physical quantities, whatever the study holds inside: positions,
// displacements and their standard deviations in pixels, the displacement loaded minus
// free, strains and stresses positive in tension, stresses in MPa. A column's name ends
// with its unit where it has one.

// A number as the tables write it: the shortest text that reads back to the same double
// ("-0" written "0"), empty for NaN.
std::string csvNumber(double value);

// A text field, quoted when it holds a separator, a quote or a line end.
std::string csvField(const std::string& text);

// node,free_x_px,free_y_px,loaded_x_px,loaded_y_px,u_px,v_px,count,average_MPa,sd_u_px,
// sd_v_px,correlated,zncc,sd_average_MPa,not_found for nodes 1 to nodeCount: the positions,
// the displacement, NodeSums (the count of triangles and the average of the mapped value),
// the standard deviations of the displacement, 1 for a loaded position found by correlation
// (0 otherwise) with its final ZNCC, the standard deviation of the average under the study's
// material and choices (see uncertainty.h), and 1 for a node that a correlation did not
// find, whose loaded position and displacement are then empty.
std::string nodeResultsCsv(const ProjectState& state, int nodeCount, const Material& material,
                           Component component, bool planeStress);

// The same table with no study: count, average_MPa and sd_average_MPa empty.
std::string nodeResultsCsv(const ProjectState& state, int nodeCount);

// element,n1,n2,n3,two_a_px2,exx,eyy,gxy,sxx_MPa,syy_MPa,txy_MPa,value_MPa,sd_exx,sd_eyy,
// sd_gxy,sd_sxx_MPa,sd_syy_MPa,sd_txy_MPa,sd_value_MPa for every triangle: the signed double
// area of its free geometry, its strain (gxy the engineering shear), its stress under the
// hypothesis and the mapped value (the component's magnitude or the Von Mises stress), then
// their standard deviations (empty for a triangle of no area). A triangle with a node that
// a correlation did not find has no value: every field after its area is empty. Every
// corner must have both positions.
std::string elementResultsCsv(const ProjectState& state, const Material& material,
                              Component component, bool planeStress);

// One line of a test's history per load step: the step, its photograph, and the numbers of
// nodes the correlation found and did not find at that step.
struct HistoryStep {
    int step = 0;
    std::string photograph;
    int found = 0;
    int notFound = 0;
};

// step,photograph,found,not_found then, with no gauge, loaded_x_px_N,loaded_y_px_N for nodes
// 1 to nodeCount and value_MPa_E for every triangle; with a gauge, gauge_triangles and the
// means of exx,eyy,gxy,sxx_MPa,syy_MPa,txy_MPa over the valued triangles whose free centroid
// lies inside it.
std::string historyCsvHeader(int nodeCount, int elementCount, bool gauge);

// The step's line of the history, from the study as that step leaves it: a node not found
// has empty positions, a triangle without a value an empty value, and a gauge with no valued
// triangle inside empty means.
std::string historyCsvRow(const ProjectState& state, int nodeCount, const HistoryStep& step,
                          const Material& material, Component component, bool planeStress,
                          const std::optional<GaugeRectangle>& gauge);

} // namespace ai
