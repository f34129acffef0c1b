#pragma once

#include "model/project_state.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace ai {

// No mesh file is this large: 1000 nodes and 1000 triangles of very long values take far
// less. A larger file is taken as one that is not a mesh file, without reading it whole.
inline constexpr std::size_t kMaxMeshFileBytes = 16 * 1024 * 1024;

struct MeshFileCounts {
    int nodes = 0;
    int elements = 0;
};

// Reads the bytes of a mesh file into a study that eraseAll has just emptied and
// returns the counts it now holds. Values are read with either decimal separator.
// Reading ends at the first value that is absent, empty or not a number, and at an entry
// numbered above 1000, the tables' size; only whole entries are kept: a node with its four
// coordinates, a triangle whose three corners each name one of the nodes read. A node list
// that ends early ends the reading before the triangles. A count of "[init]" that is empty
// or absent is 0; a fractional one reads the entries numbered up to it, a negative one
// none. Returns nothing, loading nothing, when a count is present but not a number.
std::optional<MeshFileCounts> readMeshFile(std::string_view bytes, ProjectState& state);

} // namespace ai
