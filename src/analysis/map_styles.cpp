#include "analysis/map_styles.h"

#include "analysis/element_stress.h"
#include "analysis/uncertainty.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

bool measuredCorners(const ProjectState& state, int element)
{
    for (const int n : state.Elements[slot(element)].nodes)
        if (state.LoadLocations[slot(n)].notFound || !state.LoadNodes[slot(n)].isSet())
            return false;
    return true;
}

// The study's displacements are free minus loaded, so its stresses carry the opposite of
// the physical sign; the magnitudes of the map of dots and Von Mises carry none.
double shownValue(const Stress& stress, Component component, MapStyle style)
{
    if (style == MapStyle::Points || component == Component::VonMises)
        return stressValue(stress, component);
    switch (component) {
    case Component::Sxx:
        return -stress.xx;
    case Component::Syy:
        return -stress.yy;
    case Component::Sxy:
        return -stress.xy;
    default:
        return kUnset;
    }
}

double shownSd(const ElementSd& sd, Component component, MapStyle style)
{
    if (style == MapStyle::Points || component == Component::VonMises)
        return sd.value;
    switch (component) {
    case Component::Sxx:
        return sd.stress.xx;
    case Component::Syy:
        return sd.stress.yy;
    case Component::Sxy:
        return sd.stress.xy;
    default:
        return kUnset;
    }
}

const char* componentWords(Component component)
{
    switch (component) {
    case Component::Sxx:
        return "Contrainte normale σxx";
    case Component::Syy:
        return "Contrainte normale σyy";
    case Component::Sxy:
        return "Contrainte de cisaillement τxy";
    default:
        return "Contrainte équivalente de Von Mises";
    }
}

// Points in a triangle or on its edges, whatever its winding.
bool contains(const std::array<Position, 3>& c, double x, double y)
{
    const auto side = [x, y](const Position& a, const Position& b) {
        return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
    };
    const double d1 = side(c[0], c[1]), d2 = side(c[1], c[2]), d3 = side(c[2], c[0]);
    const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
    const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

} // namespace

std::string styledTitle(Component component, bool planeStress, const Material& material,
                        const NumberFormat& format)
{
    std::string title = componentWords(component);
    if (component != Component::VonMises)
        title += " (traction positive)";
    title += planeStress ? " – contraintes planes" : " – déformations planes";
    title += " – E = " + formatDouble(material.young, format) +
             " MPa, ν = " + formatDouble(material.poisson, format);
    return title;
}

std::optional<StyledMap> buildStyledMap(const ProjectState& state, int nodeCount,
                                        const Material& material, Component component,
                                        bool planeStress, MapStyle style,
                                        const NumberFormat& format,
                                        const std::optional<MapRange>& scale)
{
    StyledMap map;
    map.style = style;
    map.title = styledTitle(component, planeStress, material, format);
    const StudyUncertainty uncertainty =
        studyUncertainty(state, nodeCount, material, component, planeStress);

    std::vector<double> sums(slot(nodeCount) + 1, 0.0);
    std::vector<int> counts(slot(nodeCount) + 1, 0);
    map.triangles.resize(slot(std::max(state.ElementCount, 0)));
    for (int e = 1; e <= state.ElementCount; ++e) {
        MapTriangle& triangle = map.triangles[slot(e - 1)];
        const auto& nodes = state.Elements[slot(e)].nodes;
        if (std::any_of(nodes.begin(), nodes.end(), [&](int n) {
                return n < 1 || n > nodeCount || !state.FreeNodes[slot(n)].isSet();
            }))
            continue;
        const TriangleMotion motion = triangleMotion(state, e);
        triangle.corners = motion.free;
        if (!measuredCorners(state, e) || twiceSignedArea(motion.free) == 0)
            continue;
        const Stress stress =
            elasticStress(triangleStrain(motion.free, motion.moved), material, planeStress);
        triangle.value = shownValue(stress, component, style);
        if (!std::isfinite(triangle.value))
            return std::nullopt;
        if (const auto& sd = uncertainty.elements[slot(e)])
            triangle.sd = shownSd(*sd, component, style);
        for (const int n : state.Elements[slot(e)].nodes) {
            sums[slot(n)] += triangle.value;
            ++counts[slot(n)];
        }
    }

    // The scale spans what the map paints: the triangles' values, or the nodes' averages.
    double low = INFINITY, high = -INFINITY;
    for (int e = 1; e <= state.ElementCount; ++e) {
        MapTriangle& triangle = map.triangles[slot(e - 1)];
        if (!triangle.valued())
            continue;
        for (std::size_t i = 0; i < 3; ++i) {
            const int n = state.Elements[slot(e)].nodes[i];
            triangle.nodeValues[i] = sums[slot(n)] / counts[slot(n)];
        }
        const auto& shown =
            style == MapStyle::Continuous
                ? triangle.nodeValues
                : std::array<double, 3>{triangle.value, triangle.value, triangle.value};
        for (const double v : shown) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (low <= high)
        map.extremes = MapRange{low, high};
    else
        low = high = 0;
    if (scale) {
        low = scale->minimum;
        high = scale->maximum;
    }
    const bool diverging = style != MapStyle::Points && component != Component::VonMises;
    map.scale = roundScale(low, high, diverging);
    for (const double tick : map.scale.ticks)
        map.tickTexts.push_back(map.scale.tickText(tick, format));
    return map;
}

const MapTriangle* triangleAt(const StyledMap& map, double x, double y)
{
    for (auto it = map.triangles.rbegin(); it != map.triangles.rend(); ++it)
        if (it->corners[0].isSet() && contains(it->corners, x, y))
            return &*it;
    return nullptr;
}

std::string shortNumber(double value, const NumberFormat& format)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    std::string s = text;
    std::replace(s.begin(), s.end(), '.', format.decimal);
    return s;
}

std::string triangleReadout(const MapTriangle& triangle, const std::string& unit,
                            const NumberFormat& format)
{
    if (!triangle.valued())
        return "élément sans valeur";
    std::string text = shortNumber(triangle.value, format);
    if (isSet(triangle.sd))
        text += " ± " + shortNumber(triangle.sd, format);
    return text + " " + unit;
}

} // namespace ai
