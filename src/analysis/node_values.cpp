#include "analysis/node_values.h"

#include "analysis/element_stress.h"
#include "model/measurement.h"
#include "model/number_text.h"

#include <cmath>
#include <optional>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

std::string notPlaced(int node, std::string_view structure)
{
    return "Calcul impossible : le noeud " + formatWhole(node) +
           " n'a pas de position sur la structure " + std::string(structure) +
           ". Chaque noeud d'un élément doit être placé sur les deux structures.";
}

// Every node must carry its displacement, and every corner must name such a node.
std::optional<std::string> findUnplacedNode(const ProjectState& state, int nodeCount)
{
    for (int n = 1; n <= nodeCount; ++n) {
        if (!state.FreeNodes[slot(n)].isSet())
            return notPlaced(n, "libre");
        if (!state.LoadNodes[slot(n)].isSet())
            return notPlaced(n, "chargée");
    }
    for (int e = 1; e <= state.ElementCount; ++e) {
        for (const int n : state.Elements[slot(e)].nodes) {
            if (n < 1 || n > state.NodeCount)
                return "Calcul impossible : l'élément " + formatWhole(e) +
                       " désigne un noeud qui n'existe pas. Effacer le maillage et en faire un "
                       "autre.";
            if (n > nodeCount)
                return notPlaced(n, "chargée");
        }
    }
    return std::nullopt;
}

} // namespace

NodeValues computeNodeValues(const ProjectState& state, int nodeCount, const Material& material,
                             Component component, bool planeStress)
{
    NodeValues result;
    if (auto refusal = findUnplacedNode(state, nodeCount)) {
        result.refusal = std::move(*refusal);
        return result;
    }

    for (int n = 1; n <= nodeCount; ++n)
        result.sums[slot(n)] = NodeSum{0.0, 0.0};

    for (int e = 1; e <= state.ElementCount; ++e) {
        if (!hasMeasuredCorners(state, e))
            continue;
        const TriangleMotion motion = triangleMotion(state, e);
        const Strain strain = triangleStrain(motion.free, motion.moved);
        const double value = stressValue(elasticStress(strain, material, planeStress), component);
        result.elements[slot(e)] = value;
        for (const int n : state.Elements[slot(e)].nodes) {
            NodeSum& sum = result.sums[slot(n)];
            sum.count += 1.0;
            sum.value = roundTo15Digits(sum.value + value);
            // An overflow anywhere shows in the sums, which only grow.
            if (!std::isfinite(sum.value)) {
                result.refusal = std::string(kOverflowRefusal);
                return result;
            }
        }
    }

    const auto withoutAverage = nodesWithoutAverage(state, nodeCount);
    for (int n = 1; n <= nodeCount; ++n) {
        NodeSum& sum = result.sums[slot(n)];
        if (withoutAverage[slot(n)])
            sum.value = kUnset;
        else
            sum.value = sum.count == 0.0 ? 0.0 : roundTo15Digits(sum.value / sum.count);
    }
    return result;
}

} // namespace ai
