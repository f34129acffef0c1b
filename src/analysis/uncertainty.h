#pragma once

#include "analysis/element_stress.h"
#include "analysis/material.h"
#include "model/project_state.h"

#include <Eigen/Core>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace ai {

// The standard deviations of a study's results, propagated from the uncertainty of the
// positions. A position clicked, generated or read from a mesh file counts with the pixel's
// resolution per coordinate; a loaded position found by correlation carries the
// correlation's covariance, its free position (the subset's centre) counting as exact.
// Nodes are taken as independent of one another.
//
// What the figures do not cover: the constant-strain triangle's own model error (a linear
// displacement over each triangle) and the bias of a correlation subset that cannot follow
// the field (near a hole or an edge). They are the scatter of the results from the random
// error of the positions only.

// The covariance of a node's displacement, free minus loaded, view units squared.
PositionCovariance displacementCovariance(const ProjectState& state, int node);

// The elastic law as a matrix: its columns are the stresses of the unit strains.
Eigen::Matrix3d elasticMatrix(const Material& material, bool planeStress);

// The Von Mises stress as a quadratic form: V^2 = sigma^T M sigma.
Eigen::Matrix3d vonMisesForm();

// d(strain) / d(u, v) of each corner of a triangle of nonzero area, over its free geometry.
using StrainSlopes = std::array<Eigen::Matrix<double, 3, 2>, 3>;
StrainSlopes strainSlopes(const std::array<Position, 3>& free);

// A value's dependence on the node displacements to first order: d value / d(u, v) of each
// node it depends on, plus a standard deviation added whole (a conservative part, below).
struct LinearSpread {
    std::vector<std::pair<int, Eigen::RowVector2d>> slopes;
    double addedSd = 0.0;

    void add(int node, const Eigen::RowVector2d& slope);
    void addScaled(const LinearSpread& other, double weight);
};

// The standard deviation of a value of that spread: the exact variance of its linear part
// over the nodes' independent displacements, then the added part (sd(a + b) <= sd a + sd b).
double spreadSd(const LinearSpread& spread, const ProjectState& state);

// The standard deviations of a triangle's strain, stress and value.
struct ElementSd {
    Strain strain;
    Stress stress;
    double value = 0.0;
};

struct StudyUncertainty {
    // Slot e for triangles 1 to ElementCount. Nothing for a triangle of no area, whose zero
    // strain is a convention and not a measurement, or one with a corner out of the study
    // or not measured.
    std::vector<std::optional<ElementSd>> elements;
    // Slot n for nodes 1 to nodeCount: the spread of the nodal average; nothing for a node
    // without average (see node_values.h).
    std::vector<std::optional<LinearSpread>> averages;
};

// The triangles' strains are linear in their six displacements: Var(strain) = B S B^T with
// the free geometry, then through the elastic law to the stress. The value |sigma| has the
// standard deviation of sigma; the Von Mises stress V follows its gradient. Where V = 0 the
// gradient does not exist: the figure is then the root mean square of V about zero,
// sqrt(E[V^2]), which is exact since V^2 is quadratic in the stress. Such a triangle enters
// the nodal averages as an added, fully correlated part (a conservative bound); every other
// triangle enters them exactly, with the covariance of the displacements it shares with
// its neighbours.
StudyUncertainty studyUncertainty(const ProjectState& state, int nodeCount,
                                  const Material& material, Component component, bool planeStress);

} // namespace ai
