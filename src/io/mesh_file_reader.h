#pragma once

#include "model/project_state.h"

#include <optional>
#include <string_view>

namespace ai {

struct MeshFileCounts {
    int nodes = 0;
    int elements = 0;
};

// Reads the bytes of a mesh file into a study that eraseAll has just emptied and
// returns the counts it now holds. Values are read with either decimal separator.
// Reading ends at the first value that is absent, empty or not a number; only whole
// entries are kept: a node with its four coordinates, a triangle whose three corners
// each name one of the nodes read. A node list that ends early ends the reading before
// the triangles. A count of "[init]" that is empty or absent is 0; a fractional one
// reads the entries numbered up to it, a negative one none, and at most 1000 entries
// are read. Returns nothing, loading nothing, when a count is present but not a number.
std::optional<MeshFileCounts> readMeshFile(std::string_view bytes, ProjectState& state);

} // namespace ai
