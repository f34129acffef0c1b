#include "analysis/element_stress.h"

#include <cmath>

namespace ai {

Displacement displacement(const Position& free, const Position& loaded)
{
    return {free.x - loaded.x, free.y - loaded.y};
}

TriangleMotion triangleMotion(const ProjectState& state, int element)
{
    TriangleMotion motion;
    const auto& corners = state.Elements[static_cast<std::size_t>(element)].nodes;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto node = static_cast<std::size_t>(corners[i]);
        motion.free[i] = state.FreeNodes[node];
        motion.moved[i] = displacement(state.FreeNodes[node], state.LoadNodes[node]);
    }
    return motion;
}

double twiceSignedArea(const std::array<Position, 3>& free)
{
    const auto& [x1, y1] = free[0];
    const auto& [x2, y2] = free[1];
    const auto& [x3, y3] = free[2];
    return x1 * y2 + x2 * y3 + x3 * y1 - x3 * y2 - x1 * y3 - x2 * y1;
}

Strain triangleStrain(const std::array<Position, 3>& free,
                      const std::array<Displacement, 3>& displacements)
{
    const auto& [x1, y1] = free[0];
    const auto& [x2, y2] = free[1];
    const auto& [x3, y3] = free[2];
    const double twiceArea = twiceSignedArea(free);
    if (twiceArea == 0.0)
        return {};

    const double b1 = y2 - y3, b2 = y3 - y1, b3 = y1 - y2;
    const double c1 = x3 - x2, c2 = x1 - x3, c3 = x2 - x1;
    const auto& [u1, v1] = displacements[0];
    const auto& [u2, v2] = displacements[1];
    const auto& [u3, v3] = displacements[2];
    const double r = 1.0 / twiceArea;
    return {(b1 * u1 + b2 * u2 + b3 * u3) * r, (c1 * v1 + c2 * v2 + c3 * v3) * r,
            (c1 * u1 + c2 * u2 + c3 * u3 + b1 * v1 + b2 * v2 + b3 * v3) * r};
}

Stress elasticStress(const Strain& strain, const Material& material, bool planeStress)
{
    const double e = material.young;
    const double nu = material.poisson;
    if (planeStress) {
        const double k = e / (1.0 - nu * nu);
        return {k * (strain.xx + nu * strain.yy), k * (strain.yy + nu * strain.xx),
                (k / 2.0) * (1.0 - nu) * strain.xy};
    }
    const double shear = e / (2.0 * (1.0 + nu));
    const double lambda = e * nu / ((1.0 + nu) * (1.0 - 2.0 * nu));
    return {(lambda + 2.0 * shear) * strain.xx + lambda * strain.yy,
            lambda * strain.xx + (lambda + 2.0 * shear) * strain.yy, shear * strain.xy};
}

double stressValue(const Stress& stress, Component component)
{
    switch (component) {
    case Component::Sxx:
        return std::fabs(stress.xx);
    case Component::Syy:
        return std::fabs(stress.yy);
    case Component::Sxy:
        return std::fabs(stress.xy);
    case Component::VonMises: {
        const double d = stress.xx - stress.yy;
        return std::sqrt(0.5) * std::sqrt(d * d + stress.yy * stress.yy + stress.xx * stress.xx +
                                          6.0 * (stress.xy * stress.xy));
    }
    case Component::None:
        break;
    }
    return 0.0;
}

} // namespace ai
