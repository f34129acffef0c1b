#pragma once

#include "model/number_text.h"
#include "model/project_state.h"

#include <string>

namespace ai {

// The bytes of a mesh file holding nodes 1 to nodeCount and triangles 1 to
// ElementCount: ASCII, CR LF line ends, coordinates in the user's number format.
// An empty entry is written as an empty value.
std::string writeMeshFile(const ProjectState& state, int nodeCount, const NumberFormat& format);

} // namespace ai
