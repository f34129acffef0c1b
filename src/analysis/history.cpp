#include "analysis/history.h"

#include "analysis/element_stress.h"
#include "analysis/results_csv.h"
#include "analysis/uncertainty.h"
#include "model/measurement.h"

#include <algorithm>
#include <cmath>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

// A value and its dependence on the nodes' displacements (free minus loaded, view units).
struct Contribution {
    double value = 0.0;
    LinearSpread spread;
};

bool isDisplacement(HistoryQuantity q) { return q == HistoryQuantity::U || q == HistoryQuantity::V; }

// A node whose displacement is a measurement.
bool hasDisplacement(const ProjectState& state, int node)
{
    return node >= 1 && node <= state.NodeCount && node <= kMaxNodes &&
           state.FreeNodes[slot(node)].isSet() && state.LoadNodes[slot(node)].isSet() &&
           isMeasured(state, node);
}

// A triangle whose strain is a measurement (or an exact zero for no area).
bool hasValue(const ProjectState& state, int element)
{
    if (element < 1 || element > state.ElementCount || element > kMaxElements)
        return false;
    const auto& corners = state.Elements[slot(element)].nodes;
    return std::all_of(corners.begin(), corners.end(),
                       [&](int n) { return hasDisplacement(state, n); });
}

// The mean of contributions, or nothing without any.
std::optional<Contribution> meanOf(const std::vector<Contribution>& parts)
{
    if (parts.empty())
        return std::nullopt;
    Contribution mean;
    double sum = 0.0;
    const double weight = 1.0 / static_cast<double>(parts.size());
    // Each node's place in the mean's slopes: a gauge sums hundreds of triangles.
    std::vector<int> place(kTableSlots, -1);
    auto& slopes = mean.spread.slopes;
    for (const Contribution& part : parts) {
        sum += part.value;
        mean.spread.addedSd += weight * part.spread.addedSd;
        for (const auto& [node, slope] : part.spread.slopes) {
            int& at = place[slot(node)];
            if (at < 0) {
                at = static_cast<int>(slopes.size());
                slopes.emplace_back(node, weight * slope);
            } else {
                slopes[static_cast<std::size_t>(at)].second += weight * slope;
            }
        }
    }
    mean.value = sum / static_cast<double>(parts.size());
    return mean;
}

// u or v of a node in pixels, loaded minus free.
Contribution nodeDisplacement(const ProjectState& state, int node, HistoryQuantity q)
{
    const bool u = q == HistoryQuantity::U;
    const Position& free = state.FreeNodes[slot(node)];
    const Position& loaded = state.LoadNodes[slot(node)];
    Contribution c;
    c.value = (u ? loaded.x - free.x : loaded.y - free.y) / kTwipsPerPixel;
    c.spread.add(node, u ? Eigen::RowVector2d(-1.0 / kTwipsPerPixel, 0.0)
                         : Eigen::RowVector2d(0.0, -1.0 / kTwipsPerPixel));
    return c;
}

// The Von Mises stress of a triangle with a value and its dependence on the displacements.
Contribution triangleVonMises(const ProjectState& state, int element, const Material& material,
                              bool planeStress)
{
    const TriangleMotion motion = triangleMotion(state, element);
    const auto& corners = state.Elements[slot(element)].nodes;
    Contribution c;
    if (twiceSignedArea(motion.free) == 0.0)
        return c;
    const Stress stress =
        elasticStress(triangleStrain(motion.free, motion.moved), material, planeStress);
    const Eigen::Matrix3d law = elasticMatrix(material, planeStress);
    const StrainSlopes b = strainSlopes(motion.free);
    c.value = stressValue(stress, Component::VonMises);
    if (c.value == 0.0) {
        // No gradient at zero: the root mean square of V about zero, added whole.
        Eigen::Matrix3d strainCovariance = Eigen::Matrix3d::Zero();
        for (std::size_t i = 0; i < 3; ++i) {
            const PositionCovariance s = displacementCovariance(state, corners[i]);
            Eigen::Matrix2d m;
            m << s.xx, s.xy, s.xy, s.yy;
            strainCovariance += b[i] * m * b[i].transpose();
        }
        c.spread.addedSd =
            std::sqrt((vonMisesForm() * law * strainCovariance * law.transpose()).trace());
        return c;
    }
    const Eigen::Vector3d sigma(stress.xx, stress.yy, stress.xy);
    const Eigen::RowVector3d slope = (vonMisesForm() * sigma / c.value).transpose() * law;
    for (std::size_t i = 0; i < 3; ++i)
        c.spread.add(corners[i], slope * b[i]);
    return c;
}

// A strain or stress of a triangle with a value, with its physical sign.
Contribution triangleQuantity(const ProjectState& state, int element, HistoryQuantity q,
                              const Material& material, bool planeStress)
{
    if (q == HistoryQuantity::VonMises)
        return triangleVonMises(state, element, material, planeStress);
    const TriangleMotion motion = triangleMotion(state, element);
    Contribution c;
    if (twiceSignedArea(motion.free) == 0.0)
        return c;
    // The study's displacement is free minus loaded: the physical signs are opposite.
    const Strain strain = triangleStrain(motion.free, motion.moved);
    const Stress stress = elasticStress(strain, material, planeStress);
    const Eigen::Matrix3d law = elasticMatrix(material, planeStress);
    Eigen::RowVector3d slope = Eigen::RowVector3d::Zero(); // d value / d (study) strain
    switch (q) {
    case HistoryQuantity::Exx:
        c.value = -strain.xx;
        slope(0) = -1;
        break;
    case HistoryQuantity::Eyy:
        c.value = -strain.yy;
        slope(1) = -1;
        break;
    case HistoryQuantity::Gxy:
        c.value = -strain.xy;
        slope(2) = -1;
        break;
    case HistoryQuantity::Sxx:
        c.value = -stress.xx;
        slope = -law.row(0);
        break;
    case HistoryQuantity::Syy:
        c.value = -stress.yy;
        slope = -law.row(1);
        break;
    case HistoryQuantity::Txy:
        c.value = -stress.xy;
        slope = -law.row(2);
        break;
    case HistoryQuantity::U:
    case HistoryQuantity::V:
    case HistoryQuantity::VonMises:
        break;
    }
    const StrainSlopes b = strainSlopes(motion.free);
    for (std::size_t i = 0; i < 3; ++i)
        c.spread.add(state.Elements[slot(element)].nodes[i], slope * b[i]);
    return c;
}

// A triangle's value: its strain or stress, or the mean displacement of its corners.
Contribution triangleValue(const ProjectState& state, int element, HistoryQuantity q,
                           const Material& material, bool planeStress)
{
    if (!isDisplacement(q))
        return triangleQuantity(state, element, q, material, planeStress);
    std::vector<Contribution> corners;
    for (const int n : state.Elements[slot(element)].nodes)
        corners.push_back(nodeDisplacement(state, n, q));
    return *meanOf(corners);
}

// A node's value: its displacement, or the mean over its triangles with a value.
std::optional<Contribution> nodeValue(const ProjectState& state, int node, HistoryQuantity q,
                                      const Material& material, bool planeStress)
{
    if (!hasDisplacement(state, node))
        return std::nullopt;
    if (isDisplacement(q))
        return nodeDisplacement(state, node, q);
    std::vector<Contribution> triangles;
    for (int e = 1; e <= state.ElementCount && e <= kMaxElements; ++e) {
        const auto& corners = state.Elements[slot(e)].nodes;
        if (std::find(corners.begin(), corners.end(), node) != corners.end() && hasValue(state, e))
            triangles.push_back(triangleQuantity(state, e, q, material, planeStress));
    }
    return meanOf(triangles);
}

std::optional<Contribution> extensometer(const ProjectState& state, const std::vector<int>& nodes)
{
    if (nodes.size() != 2 || nodes[0] == nodes[1] || !hasDisplacement(state, nodes[0]) ||
        !hasDisplacement(state, nodes[1]))
        return std::nullopt;
    const Position& f1 = state.FreeNodes[slot(nodes[0])];
    const Position& f2 = state.FreeNodes[slot(nodes[1])];
    const Position& l1 = state.LoadNodes[slot(nodes[0])];
    const Position& l2 = state.LoadNodes[slot(nodes[1])];
    const double d0 = std::hypot(f1.x - f2.x, f1.y - f2.y);
    const double d = std::hypot(l1.x - l2.x, l1.y - l2.y);
    if (d0 == 0.0 || d == 0.0)
        return std::nullopt;
    Contribution c;
    c.value = (d - d0) / d0;
    // The loaded positions are free minus displacement: d grows as node 1's displacement
    // moves it towards node 2.
    const Eigen::RowVector2d along((l1.x - l2.x) / (d * d0), (l1.y - l2.y) / (d * d0));
    c.spread.add(nodes[0], -along);
    c.spread.add(nodes[1], along);
    return c;
}

} // namespace

std::string_view quantityName(HistoryQuantity quantity)
{
    switch (quantity) {
    case HistoryQuantity::U:
        return "u";
    case HistoryQuantity::V:
        return "v";
    case HistoryQuantity::Exx:
        return "εxx";
    case HistoryQuantity::Eyy:
        return "εyy";
    case HistoryQuantity::Gxy:
        return "γxy";
    case HistoryQuantity::Sxx:
        return "σxx";
    case HistoryQuantity::Syy:
        return "σyy";
    case HistoryQuantity::Txy:
        return "τxy";
    case HistoryQuantity::VonMises:
        break;
    }
    return "Von Mises";
}

std::string_view quantityUnit(HistoryQuantity quantity)
{
    if (isDisplacement(quantity))
        return "px";
    if (quantity == HistoryQuantity::Exx || quantity == HistoryQuantity::Eyy ||
        quantity == HistoryQuantity::Gxy)
        return "";
    return "MPa";
}

std::vector<int> gaugeTriangles(const ProjectState& state, const GaugeRectangle& gauge)
{
    std::vector<int> inside;
    for (int e = 1; e <= state.ElementCount && e <= kMaxElements; ++e) {
        if (!hasValue(state, e))
            continue;
        const auto free = triangleMotion(state, e).free;
        const double x = (free[0].x + free[1].x + free[2].x) / 3.0;
        const double y = (free[0].y + free[1].y + free[2].y) / 3.0;
        if (x >= std::min(gauge.from.x, gauge.to.x) && x <= std::max(gauge.from.x, gauge.to.x) &&
            y >= std::min(gauge.from.y, gauge.to.y) && y <= std::max(gauge.from.y, gauge.to.y))
            inside.push_back(e);
    }
    return inside;
}

std::optional<HistoryValue> selectionValue(const ProjectState& state,
                                           const HistorySelection& selection,
                                           HistoryQuantity quantity, const Material& material,
                                           bool planeStress)
{
    using Kind = HistorySelection::Kind;
    std::optional<Contribution> result;
    if (selection.kind == Kind::Extensometer) {
        result = extensometer(state, selection.items);
    } else {
        std::vector<Contribution> parts;
        const std::vector<int> items = selection.kind == Kind::Gauge
                                           ? gaugeTriangles(state, selection.gauge)
                                           : selection.items;
        for (const int item : items)
            if (selection.kind == Kind::Nodes) {
                if (auto c = nodeValue(state, item, quantity, material, planeStress))
                    parts.push_back(std::move(*c));
            } else if (hasValue(state, item)) {
                parts.push_back(triangleValue(state, item, quantity, material, planeStress));
            }
        result = meanOf(parts);
    }
    if (!result)
        return std::nullopt;
    return HistoryValue{result->value, spreadSd(result->spread, state)};
}

std::string curveAxisLabel(const HistoryCurve& curve)
{
    return curve.unit.empty() ? curve.quantity : curve.quantity + " (" + curve.unit + ")";
}

std::string curveCsv(const HistoryCurve& curve)
{
    const std::string suffix = curve.unit.empty() ? std::string() : "_" + curve.unit;
    std::string out = "step,photograph,value" + suffix + ",sd" + suffix + "\r\n";
    for (const HistoryPoint& point : curve.points) {
        out += std::to_string(point.step) + ',' + csvField(point.photograph) + ',';
        if (point.value)
            out += csvNumber(point.value->value) + ',' + csvNumber(point.value->sd);
        else
            out += ',';
        out += "\r\n";
    }
    return out;
}

} // namespace ai
