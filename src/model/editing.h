#pragma once

#include "model/project_state.h"

namespace ai {

// Appends node NodeCount + 1 with its free position at the click and NodeSums ("0", "0").
// Returns its number, or 0 when the table already holds kMaxNodes nodes.
int createNode(ProjectState& state, float X, float Y);

// Gives a node its position on one view, as a click coordinate.
void placeNode(Position& position, float X, float Y);

// Removes the nodes numbered after `count` and everything they carry; nodes are
// only ever removed from the end of the numbering. Drag and pending numbers that
// named a removed node are cleared.
void removeNodesAfter(ProjectState& state, int count);

// Removes the triangles numbered after `count`, emptying their corners.
void removeElementsAfter(ProjectState& state, int count);

// Appends a triangle. Returns false, leaving the study as it was, when the table is full.
bool appendElement(ProjectState& state, int first, int second, int third);

// The table part of the three erase commands.
void eraseLastElement(ProjectState& state);
void eraseMesh(ProjectState& state);
void eraseAll(ProjectState& state);

} // namespace ai
