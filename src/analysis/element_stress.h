#pragma once

#include "analysis/material.h"
#include "model/project_state.h"

#include <array>

namespace ai {

// Measured displacement of a node: free position minus loaded position.
struct Displacement {
    double u = 0.0;
    double v = 0.0;
};

Displacement displacement(const Position& free, const Position& loaded);

// Engineering strains; xy is the shear angle gamma.
struct Strain {
    double xx = 0.0;
    double yy = 0.0;
    double xy = 0.0;
};

struct Stress {
    double xx = 0.0;
    double yy = 0.0;
    double xy = 0.0;
};

// The free positions and the displacements of a triangle's corners, in corner order.
struct TriangleMotion {
    std::array<Position, 3> free;
    std::array<Displacement, 3> moved;
};

TriangleMotion triangleMotion(const ProjectState& state, int element);

// Twice the signed area of a triangle over the free geometry of its corners, in their order.
double twiceSignedArea(const std::array<Position, 3>& free);

// The constant strain of the linear triangle over the free geometry of its corners, in
// their order. Dividing by the signed double area serves either winding; only an exact
// zero area (aligned or repeated corners) gives no strain.
Strain triangleStrain(const std::array<Position, 3>& free,
                      const std::array<Displacement, 3>& displacements);

// The isotropic elastic law: plane stress, or plane strain without the out-of-plane stress.
Stress elasticStress(const Strain& strain, const Material& material, bool planeStress);

// The mapped value of a triangle: the component's magnitude, or the Von Mises stress with
// no out-of-plane stress. Never negative.
double stressValue(const Stress& stress, Component component);

} // namespace ai
