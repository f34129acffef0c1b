#pragma once

#include "model/project_state.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ai::batch {

// A list of points is small: a thousand lines of four numbers.
inline constexpr std::size_t kMaxPointsFileBytes = 1024 * 1024;

// Reads a CSV list of points in photograph pixels into an empty study, as nodes without
// triangles: a header line "x,y" or "x,y,loaded_x,loaded_y" (each name may end in "_px"),
// then one point a line, numbers with a '.' decimal point; or, as a spreadsheet with a decimal
// comma writes it, the same with ';' between the fields and either decimal separator. Without
// loaded columns a point's
// starting guess on the loaded photograph is its free position. Returns why the file
// cannot be used, in French, leaving the study untouched; nothing once it is read.
std::optional<std::string> readPointsFile(std::string_view bytes, ProjectState& state);

} // namespace ai::batch
