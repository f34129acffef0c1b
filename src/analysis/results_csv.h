#pragma once

#include "analysis/material.h"
#include "model/project_state.h"

#include <string>

namespace ai {

// The results of a study as tables for spreadsheets and scripts (RFC 4180): a header line,
// CR LF line ends, no quoting needed, and numbers with a '.' decimal point whatever the
// user's settings, in the fewest digits that read back to the same double. An empty
// field stands for an empty entry.

// node,free_x,free_y,loaded_x,loaded_y,u,v,count,average for nodes 1 to nodeCount: the
// positions in view units, the displacement free minus loaded, and NodeSums.
std::string nodeResultsCsv(const ProjectState& state, int nodeCount);

// element,n1,n2,n3,two_a,exx,eyy,gxy,sxx,syy,txy,value for every triangle: the signed
// double area of its free geometry, its strain, its stress under the hypothesis and the
// component's value, as the study computes them. Every corner must have both positions.
std::string elementResultsCsv(const ProjectState& state, const Material& material,
                              Component component, bool planeStress);

} // namespace ai
