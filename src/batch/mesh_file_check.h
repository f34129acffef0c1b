#pragma once

#include "io/mesh_file_reader.h"

#include <optional>
#include <string>
#include <string_view>

namespace ai::batch {

// A mesh file names its counts in "[init]"; a file without either count is no mesh file.
bool hasMeshCounts(std::string_view bytes);

// Why the reading of a mesh file kept less than its "[init]" counts announce: a count that
// is not a whole number from 0 to 1000, or the first node or triangle that could not be
// read and what is wrong with it, in French. Nothing when the file was read whole.
std::optional<std::string> incompleteEntry(std::string_view bytes, const MeshFileCounts& read);

} // namespace ai::batch
