#pragma once

#include <optional>

namespace ai::example {

// A plate with a circular hole under a remote uniaxial tension along x, in plane stress
// (Kirsch). Lengths in any one unit, stresses in the unit of the modulus.
struct PlateLoad {
    double remoteStress = 0.0;
    double young = 1.0;
    double poisson = 0.0;
    double radius = 1.0;
};

struct Vector2 {
    double x = 0.0;
    double y = 0.0;
};

struct StressTensor {
    double xx = 0.0;
    double yy = 0.0;
    double xy = 0.0;
};

// Positions are taken from the hole's centre. The solution is symmetric about both axes
// (u even in y, v odd in y), so it holds as written in a frame whose y grows downwards,
// as the images' does; only the sign of the shear stress depends on the frame.
// Both are defined outside the hole (r >= radius); the hole's centre itself is excluded.
Vector2 kirschDisplacement(const PlateLoad& load, Vector2 position);
StressTensor kirschStress(const PlateLoad& load, Vector2 position);

// The material point that `share` of the load brings to `loaded`, the hole centred at
// `centre`: the fixed point of free = loaded - share u(free), to `tolerance`, a contraction
// since the strains are a few per cent. Nothing when it lies in the hole.
std::optional<Vector2> kirschMaterialPoint(const PlateLoad& load, Vector2 centre, Vector2 loaded,
                                           double share, double tolerance);

} // namespace ai::example
