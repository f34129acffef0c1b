#include "plate_example/kirsch.h"

#include <cmath>

namespace ai::example {

// Polar form with theta from the tension axis, kappa = (3 - nu) / (1 + nu) for plane stress
// and mu the shear modulus; the far field is the uniform uniaxial tension.
Vector2 kirschDisplacement(const PlateLoad& load, Vector2 position)
{
    const double r = std::hypot(position.x, position.y);
    const double theta = std::atan2(position.y, position.x);
    const double a2 = load.radius * load.radius;
    const double a4 = a2 * a2;
    const double kappa = (3.0 - load.poisson) / (1.0 + load.poisson);
    const double mu = load.young / (2.0 * (1.0 + load.poisson));
    const double scale = load.remoteStress / (4.0 * mu);
    const double c2 = std::cos(2.0 * theta);
    const double s2 = std::sin(2.0 * theta);

    const double ur = scale * (r * ((kappa - 1.0) / 2.0 + c2) +
                               (a2 / r) * (1.0 + (1.0 + kappa) * c2) - (a4 / (r * r * r)) * c2);
    const double ut = scale * ((1.0 - kappa) * a2 / r - r - a4 / (r * r * r)) * s2;

    const double c = std::cos(theta);
    const double s = std::sin(theta);
    return {ur * c - ut * s, ur * s + ut * c};
}

StressTensor kirschStress(const PlateLoad& load, Vector2 position)
{
    const double r = std::hypot(position.x, position.y);
    const double theta = std::atan2(position.y, position.x);
    const double q2 = load.radius * load.radius / (r * r);
    const double q4 = q2 * q2;
    const double half = load.remoteStress / 2.0;
    const double c2 = std::cos(2.0 * theta);
    const double s2 = std::sin(2.0 * theta);

    const double rr = half * (1.0 - q2) + half * (1.0 - 4.0 * q2 + 3.0 * q4) * c2;
    const double tt = half * (1.0 + q2) - half * (1.0 + 3.0 * q4) * c2;
    const double rt = -half * (1.0 + 2.0 * q2 - 3.0 * q4) * s2;

    const double c = std::cos(theta);
    const double s = std::sin(theta);
    return {rr * c * c + tt * s * s - 2.0 * rt * s * c, rr * s * s + tt * c * c + 2.0 * rt * s * c,
            (rr - tt) * s * c + rt * (c * c - s * s)};
}

std::optional<Vector2> kirschMaterialPoint(const PlateLoad& load, Vector2 centre, Vector2 loaded,
                                           double share, double tolerance)
{
    const auto fromCentre = [&](Vector2 p) { return std::hypot(p.x - centre.x, p.y - centre.y); };
    Vector2 free = loaded;
    for (int i = 0; i < 60; ++i) {
        // Near the centre the field is not defined, and no point there is material.
        if (fromCentre(free) < load.radius / 2.0)
            return std::nullopt;
        const Vector2 u = kirschDisplacement(load, {free.x - centre.x, free.y - centre.y});
        const Vector2 moved{free.x + share * u.x, free.y + share * u.y};
        const Vector2 next{free.x + loaded.x - moved.x, free.y + loaded.y - moved.y};
        const bool settled = std::hypot(next.x - free.x, next.y - free.y) < tolerance;
        free = next;
        if (settled)
            break;
    }
    if (fromCentre(free) < load.radius)
        return std::nullopt;
    return free;
}

} // namespace ai::example
