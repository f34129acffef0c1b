#pragma once

#include "analysis/material.h"
#include "model/project_state.h"

#include <string>

namespace ai {

// The results of a study as tables for spreadsheets and scripts (RFC 4180): a header line,
// CR LF line ends, no quoting needed, and numbers with a '.' decimal point whatever the
// user's settings, in the fewest digits that read back to the same double. An empty
// field stands for an empty entry.

// node,free_x,free_y,loaded_x,loaded_y,u,v,count,average,sd_u,sd_v,correlated,zncc,
// sd_average for nodes 1 to nodeCount: the positions in view units, the displacement free
// minus loaded, NodeSums, the standard deviations of the displacement, 1 for a loaded
// position found by correlation (0 otherwise) with its final ZNCC, and the standard
// deviation of the average under the study's material and choices (see uncertainty.h).
std::string nodeResultsCsv(const ProjectState& state, int nodeCount, const Material& material,
                           Component component, bool planeStress);

// element,n1,n2,n3,two_a,exx,eyy,gxy,sxx,syy,txy,value,sd_exx,sd_eyy,sd_gxy,sd_sxx,sd_syy,
// sd_txy,sd_value for every triangle: the signed double area of its free geometry, its
// strain, its stress under the hypothesis and the component's value, as the study computes
// them, then their standard deviations (empty for a triangle of no area). Every corner must
// have both positions.
std::string elementResultsCsv(const ProjectState& state, const Material& material,
                              Component component, bool planeStress);

} // namespace ai
