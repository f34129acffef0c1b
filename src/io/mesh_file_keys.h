#pragma once

#include "model/number_text.h"

#include <string>
#include <string_view>

// Section and key names of the mesh file, shared by its writer and its reader.
namespace ai::meshfile {

inline constexpr std::string_view InitSection = "init";
inline constexpr std::string_view FreeNodeSection = "freenodelist";
inline constexpr std::string_view LoadNodeSection = "loadnodelist";
inline constexpr std::string_view ElementSection = "freemeshlist";

inline constexpr std::string_view NodeCountKey = "node";
inline constexpr std::string_view ElementCountKey = "mesh";

// nodex12, nodey12
inline std::string nodeKey(char axis, int node)
{
    return std::string("node") + axis + formatWhole(node);
}

// The corner's digit comes right after "mesh": corner 1 of element 12 is mesh112.
inline std::string cornerKey(int corner, int element)
{
    return "mesh" + formatWhole(corner) + formatWhole(element);
}

} // namespace ai::meshfile
