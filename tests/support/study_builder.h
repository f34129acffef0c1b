#pragma once

// Studies made of given nodes and triangles, and the mesh files that hold them.
#include "io/mesh_file_writer.h"
#include "model/project_state.h"

#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ai::test {

using NodePlaces = std::vector<std::pair<Position, Position>>; // free, loaded

// A position given in photograph pixels.
inline Position px(double x, double y) { return {15 * x, 15 * y}; }

// Nodes whose loaded positions are their free ones.
inline NodePlaces atRest(std::initializer_list<Position> free)
{
    NodePlaces nodes;
    for (const Position& p : free)
        nodes.emplace_back(p, p);
    return nodes;
}

inline std::unique_ptr<ProjectState> studyOf(const NodePlaces& nodes,
                                             std::initializer_list<std::array<int, 3>> triangles)
{
    auto s = std::make_unique<ProjectState>();
    for (const auto& [free, loaded] : nodes)
        s->FreeNodes[++s->NodeCount] = free, s->LoadNodes[s->NodeCount] = loaded;
    for (const auto& corners : triangles)
        s->Elements[++s->ElementCount].nodes = corners;
    return s;
}

// The mesh file of such a study, with a decimal comma.
inline std::string meshFileOf(const NodePlaces& nodes,
                              std::initializer_list<std::array<int, 3>> triangles)
{
    const auto s = studyOf(nodes, triangles);
    return writeMeshFile(*s, s->NodeCount, NumberFormat{','});
}

} // namespace ai::test
