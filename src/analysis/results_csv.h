#pragma once

#include "analysis/material.h"
#include "model/project_state.h"

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

} // namespace ai
