#include "analysis/uncertainty.h"

#include "model/measurement.h"

#include <cmath>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

using Matrix3 = Eigen::Matrix3d;
using Vector3 = Eigen::Vector3d;
using Matrix2 = Eigen::Matrix2d;

Matrix2 matrixOf(const PositionCovariance& c)
{
    Matrix2 m;
    m << c.xx, c.xy, c.xy, c.yy;
    return m;
}

Vector3 vectorOf(const Strain& s) { return {s.xx, s.yy, s.xy}; }
Vector3 vectorOf(const Stress& s) { return {s.xx, s.yy, s.xy}; }

// The gradient of the value in the stress, or nothing where it has none (V = 0).
std::optional<Vector3> valueGradient(const Stress& stress, Component component, double value)
{
    if (value == 0.0)
        return std::nullopt;
    switch (component) {
    case Component::Sxx:
        return Vector3(std::copysign(1.0, stress.xx), 0, 0);
    case Component::Syy:
        return Vector3(0, std::copysign(1.0, stress.yy), 0);
    case Component::Sxy:
        return Vector3(0, 0, std::copysign(1.0, stress.xy));
    case Component::VonMises:
        return Vector3(vonMisesForm() * vectorOf(stress) / value);
    case Component::None:
        break;
    }
    return std::nullopt;
}

// The root mean square of the value about zero when the true stress is zero.
double valueRmsAtZero(const Matrix3& stressCovariance, Component component)
{
    switch (component) {
    case Component::Sxx:
        return std::sqrt(stressCovariance(0, 0));
    case Component::Syy:
        return std::sqrt(stressCovariance(1, 1));
    case Component::Sxy:
        return std::sqrt(stressCovariance(2, 2));
    case Component::VonMises:
        return std::sqrt((vonMisesForm() * stressCovariance).trace());
    case Component::None:
        break;
    }
    return 0.0;
}

Strain sdOf(const Matrix3& covariance)
{
    return {std::sqrt(covariance(0, 0)), std::sqrt(covariance(1, 1)), std::sqrt(covariance(2, 2))};
}

// One triangle: its figures and its value's dependence on its corners' displacements.
struct ElementSpread {
    std::optional<ElementSd> sd;
    LinearSpread value;
};

ElementSpread elementSpread(const ProjectState& state, int nodeCount, int e, const Matrix3& law,
                            Component component, bool planeStress, const Material& material)
{
    ElementSpread result;
    const auto& corners = state.Elements[slot(e)].nodes;
    for (const int n : corners)
        if (n < 1 || n > nodeCount)
            return result;
    if (!hasMeasuredCorners(state, e))
        return result;
    const TriangleMotion motion = triangleMotion(state, e);
    if (twiceSignedArea(motion.free) == 0.0)
        return result;

    const StrainSlopes b = strainSlopes(motion.free);
    // A node listed twice moves both corners at once.
    Matrix3 strainCovariance = Matrix3::Zero();
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            if (corners[i] == corners[j])
                strainCovariance +=
                    b[i] * matrixOf(displacementCovariance(state, corners[i])) * b[j].transpose();
    const Matrix3 stressCovariance = law * strainCovariance * law.transpose();

    const Stress stress =
        elasticStress(triangleStrain(motion.free, motion.moved), material, planeStress);
    const double value = stressValue(stress, component);
    ElementSd sd;
    sd.strain = sdOf(strainCovariance);
    const Strain stressSd = sdOf(stressCovariance);
    sd.stress = {stressSd.xx, stressSd.yy, stressSd.xy};
    if (const auto gradient = valueGradient(stress, component, value)) {
        sd.value = std::sqrt(gradient->dot(stressCovariance * *gradient));
        const Eigen::RowVector3d byStrain = gradient->transpose() * law;
        for (std::size_t i = 0; i < 3; ++i)
            result.value.add(corners[i], byStrain * b[i]);
    } else {
        sd.value = valueRmsAtZero(stressCovariance, component);
        result.value.addedSd = sd.value;
    }
    result.sd = sd;
    return result;
}

} // namespace

Eigen::Matrix3d elasticMatrix(const Material& material, bool planeStress)
{
    Matrix3 d;
    d.col(0) = vectorOf(elasticStress({1, 0, 0}, material, planeStress));
    d.col(1) = vectorOf(elasticStress({0, 1, 0}, material, planeStress));
    d.col(2) = vectorOf(elasticStress({0, 0, 1}, material, planeStress));
    return d;
}

Eigen::Matrix3d vonMisesForm()
{
    Matrix3 m;
    m << 1, -0.5, 0, -0.5, 1, 0, 0, 0, 3;
    return m;
}

StrainSlopes strainSlopes(const std::array<Position, 3>& free)
{
    // The strain is linear in the displacements: the strain of a unit displacement of one
    // corner's u or v is that corner's column of B.
    StrainSlopes b;
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t axis = 0; axis < 2; ++axis) {
            std::array<Displacement, 3> unit{};
            (axis == 0 ? unit[i].u : unit[i].v) = 1.0;
            b[i].col(static_cast<Eigen::Index>(axis)) = vectorOf(triangleStrain(free, unit));
        }
    return b;
}

PositionCovariance displacementCovariance(const ProjectState& state, int node)
{
    const LoadLocation& location = state.LoadLocations[slot(node)];
    if (location.correlated)
        return location.covariance;
    // Free and loaded positions both known to the pixel, independently.
    const PositionCovariance pixel{};
    return {pixel.xx * 2, 0.0, pixel.yy * 2};
}

void LinearSpread::add(int node, const Eigen::RowVector2d& slope)
{
    for (auto& [n, s] : slopes)
        if (n == node) {
            s += slope;
            return;
        }
    slopes.emplace_back(node, slope);
}

void LinearSpread::addScaled(const LinearSpread& other, double weight)
{
    for (const auto& [n, s] : other.slopes)
        add(n, weight * s);
    addedSd += weight * other.addedSd;
}

double spreadSd(const LinearSpread& spread, const ProjectState& state)
{
    double variance = 0.0;
    for (const auto& [n, s] : spread.slopes)
        variance += s * matrixOf(displacementCovariance(state, n)) * s.transpose();
    return std::sqrt(variance) + spread.addedSd;
}

StudyUncertainty studyUncertainty(const ProjectState& state, int nodeCount,
                                  const Material& material, Component component, bool planeStress)
{
    StudyUncertainty result;
    result.elements.resize(slot(state.ElementCount) + 1);
    result.averages.resize(slot(nodeCount) + 1);
    std::vector<int> counts(slot(nodeCount) + 1, 0);
    const Matrix3 law = elasticMatrix(material, planeStress);

    // The nodal average is the plain mean of the values of the triangles that list the node
    // (a triangle of no area adds an exact 0): sum their spreads, then divide by the count.
    std::vector<LinearSpread> sums(slot(nodeCount) + 1);
    for (int e = 1; e <= state.ElementCount; ++e) {
        ElementSpread spread =
            elementSpread(state, nodeCount, e, law, component, planeStress, material);
        result.elements[slot(e)] = spread.sd;
        if (!hasMeasuredCorners(state, e))
            continue;
        for (const int n : state.Elements[slot(e)].nodes)
            if (n >= 1 && n <= nodeCount) {
                ++counts[slot(n)];
                sums[slot(n)].addScaled(spread.value, 1.0);
            }
    }
    const auto withoutAverage = nodesWithoutAverage(state, nodeCount);
    for (int n = 1; n <= nodeCount; ++n) {
        const int count = counts[slot(n)];
        if (withoutAverage[slot(n)])
            continue; // no average, hence no spread
        LinearSpread mean;
        mean.addScaled(sums[slot(n)], count > 1 ? 1.0 / count : 1.0);
        result.averages[slot(n)] = std::move(mean);
    }
    return result;
}

} // namespace ai
