#include "analysis/stress_map.h"

#include "analysis/colour_ramps.h"
#include "model/measurement.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

struct Offset {
    double dx;
    double dy;
};

// The nine points of a dot, in drawing order: corners, sides, then the centre.
constexpr std::array<Offset, 9> kNodeDot{
    {{-20, -20}, {20, -20}, {-20, 20}, {20, 20}, {-20, 0}, {20, 0}, {0, 20}, {0, -20}, {0, 0}}};
// The same nine points with the centre first.
constexpr std::array<Offset, 9> kTriangleDot{
    {{0, 0}, {-20, -20}, {20, -20}, {-20, 20}, {20, 20}, {-20, 0}, {20, 0}, {0, 20}, {0, -20}}};

// The colour bar: 255 rows of three points, the minimum's end at the bottom.
constexpr int kBarRows = 255;
constexpr std::array<double, 3> kBarX{13160, 13180, 13140};
constexpr double kBarBottom = 4000;
constexpr double kBarRowHeight = 15;

void addDot(std::vector<MapDot>& dots, double x, double y, Rgb colour,
            const std::array<Offset, 9>& shape)
{
    for (const Offset& o : shape)
        dots.push_back({static_cast<float>(x + o.dx), static_cast<float>(y + o.dy), colour});
}

double third(double a, double b, double c) { return roundTo15Digits((a + b + c) / 3); }

} // namespace

std::array<SamplePoint, 4> samplingPoints(const std::array<Position, 3>& corners,
                                          const std::array<double, 3>& values)
{
    const SamplePoint g{third(corners[0].x, corners[1].x, corners[2].x),
                        third(corners[0].y, corners[1].y, corners[2].y),
                        third(values[0], values[1], values[2])};
    const auto withCentroid = [&](std::size_t a, std::size_t b) {
        return SamplePoint{third(corners[a].x, corners[b].x, g.x),
                           third(corners[a].y, corners[b].y, g.y),
                           third(values[a], values[b], g.value)};
    };
    return {g, withCentroid(0, 1), withCentroid(0, 2), withCentroid(2, 1)};
}

MapRange mapRange(const NodeSumTable& sums, int nodeCount)
{
    MapRange range;
    for (int n = 1; n <= nodeCount; ++n) {
        const double v = sums[slot(n)].value;
        if (!isSet(v))
            continue; // a node without value has no place on the scale
        if (v > range.maximum)
            range.maximum = v;
        if (v < range.minimum)
            range.minimum = v;
    }
    return range;
}

double truncatedValue(double value)
{
    const double scaled = value * 10000;
    // A value too large to scale has no decimals left to cut.
    return std::isfinite(scaled) ? std::floor(scaled) / 10000 : value;
}

std::string valueLabel(double value, const NumberFormat& format)
{
    return formatDouble(truncatedValue(value), format);
}

std::string mapTitle(Component component)
{
    switch (component) {
    case Component::Sxx:
        return "Constrainte normale selon x en MPa";
    case Component::Syy:
        return "Constrainte normale selon y en MPa";
    case Component::Sxy:
        return "Constrainte de cisaillement en MPa";
    case Component::VonMises:
        return "Constrainte équivalente de Von-Mises en MPa";
    case Component::None:
        break;
    }
    return {};
}

std::optional<StressMap> buildMap(const ProjectState& state, int nodeCount,
                                  const NodeSumTable& nodeValues, const TriangleSampler& sampler,
                                  std::string title, const NumberFormat& format,
                                  const std::optional<MapRange>& scale)
{
    StressMap map;
    map.title = std::move(title);
    map.range = mapRange(nodeValues, nodeCount);
    const MapRange range = scale.value_or(map.range);
    const double span = range.span();
    // Nine dots a node, four times nine a triangle, three a bar row: allocated once.
    map.dots.reserve(9 * slot(std::max(nodeCount, 0)) +
                     (span != 0 ? 36 * slot(std::max(state.ElementCount, 0)) : 0) + 3 * kBarRows);

    for (int n = 1; n <= nodeCount; ++n) {
        if (!isSet(nodeValues[slot(n)].value))
            continue;
        const double r = span == 0 ? 0.5 : (nodeValues[slot(n)].value - range.minimum) / span;
        const Position& p = state.FreeNodes[slot(n)];
        addDot(map.dots, p.x, p.y, rampA(r), kNodeDot);
    }

    if (span != 0) {
        std::vector<std::array<SamplePoint, 4>> samples;
        samples.reserve(slot(state.ElementCount));
        for (int e = 1; e <= state.ElementCount; ++e) {
            auto points = sampler(e);
            if (!points)
                return std::nullopt;
            samples.push_back(*points);
        }
        for (std::size_t k = 0; k < 4; ++k)
            for (const auto& triangle : samples) {
                const SamplePoint& point = triangle[k];
                if (!isSet(point.value))
                    continue;
                addDot(map.dots, point.x, point.y, rampB((point.value - range.minimum) / span),
                       kTriangleDot);
            }
    }

    for (int j = 1; j <= kBarRows; ++j) {
        const Rgb colour = rampB(static_cast<double>(j) / kBarRows);
        for (const double x : kBarX)
            map.dots.push_back({static_cast<float>(x),
                                static_cast<float>(kBarBottom - kBarRowHeight * j), colour});
    }

    map.maximumText = valueLabel(range.maximum, format);
    map.minimumText = valueLabel(range.minimum, format);
    map.unusable = truncatedValue(map.range.maximum) < truncatedValue(map.range.minimum);
    return map;
}

std::optional<StressMap> buildStressMap(const ProjectState& state, int nodeCount,
                                        const NodeSumTable& sums, Component component,
                                        const NumberFormat& format,
                                        const std::optional<MapRange>& scale)
{
    const auto sampler = [&](int e) -> std::optional<std::array<SamplePoint, 4>> {
        std::array<Position, 3> corners;
        std::array<double, 3> values{};
        const bool valued = hasMeasuredCorners(state, e);
        for (std::size_t i = 0; i < 3; ++i) {
            const int n = state.Elements[slot(e)].nodes[i];
            corners[i] = state.FreeNodes[slot(n)];
            values[i] = valued ? sums[slot(n)].value : kUnset;
        }
        const auto points = samplingPoints(corners, values);
        for (const SamplePoint& point : points)
            if (std::isinf(point.value))
                return std::nullopt;
        return points;
    };
    return buildMap(state, nodeCount, sums, sampler, mapTitle(component), format, scale);
}

MapRange unitedRange(const MapRange& a, const MapRange& b)
{
    return {std::min(a.minimum, b.minimum), std::max(a.maximum, b.maximum)};
}

void paintStressMap(const StressMap& map, MapWindow& window, const std::string& freeImageFile)
{
    window.setTitle(map.title);
    window.show();
    window.setBackground(freeImageFile);
    const std::size_t bar = map.dots.size() - std::min(map.dots.size(), kColourBarDots);
    for (std::size_t i = 0; i < map.dots.size(); ++i) {
        const MapDot& dot = map.dots[i];
        if (i < bar)
            window.drawPoint(dot.x, dot.y, dot.colour);
        else
            window.drawLegendPoint(dot.x, dot.y, dot.colour);
    }
    window.setMaximumText(map.maximumText);
    window.setMinimumText(map.minimumText);
}

} // namespace ai
