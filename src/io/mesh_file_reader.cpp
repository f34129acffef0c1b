#include "io/mesh_file_reader.h"

#include "io/mesh_file_keys.h"
#include "io/profile_text.h"
#include "model/number_text.h"

#include <algorithm>
#include <cmath>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

// The number of entries a count of "[init]" asks for, or nothing when it is not a number.
std::optional<int> readCount(const ProfileText& profile, std::string_view key, int tableSize)
{
    const std::string_view text = profile.value(meshfile::InitSection, key).value_or("");
    if (text.empty())
        return 0;
    const auto value = parseNumberAnySeparator(text);
    if (!value)
        return std::nullopt;
    // Entry i is read while i <= count, and the tables end the reading after their size.
    return static_cast<int>(std::clamp(std::floor(*value), 0.0, static_cast<double>(tableSize)));
}

// A value converted to a number and back to text, as the value of that text: 0375
// reads as 375. A value whose text would overflow counts as no number.
std::optional<double> readValue(const ProfileText& profile, std::string_view section,
                                const std::string& key)
{
    const auto text = profile.value(section, key);
    if (!text)
        return std::nullopt;
    const auto value = parseNumberAnySeparator(*text);
    if (!value)
        return std::nullopt;
    const double normalised = roundTo15Digits(*value);
    if (!std::isfinite(normalised))
        return std::nullopt;
    return normalised;
}

std::optional<Position> readPosition(const ProfileText& profile, std::string_view section,
                                     int node)
{
    const auto x = readValue(profile, section, meshfile::nodeKey('x', node));
    if (!x)
        return std::nullopt;
    const auto y = readValue(profile, section, meshfile::nodeKey('y', node));
    if (!y)
        return std::nullopt;
    return Position{*x, *y};
}

// Reads nodes 1 to count while all four coordinates are there; returns how many.
int readNodes(const ProfileText& profile, ProjectState& state, int count)
{
    for (int i = 1; i <= count; ++i) {
        const auto free = readPosition(profile, meshfile::FreeNodeSection, i);
        if (!free)
            return i - 1;
        const auto load = readPosition(profile, meshfile::LoadNodeSection, i);
        if (!load)
            return i - 1;
        state.FreeNodes[slot(i)] = *free;
        state.LoadNodes[slot(i)] = *load;
    }
    return count;
}

// Reads triangles 1 to count while each corner names a node in 1 to nodeCount;
// returns how many.
int readElements(const ProfileText& profile, ProjectState& state, int count, int nodeCount)
{
    for (int e = 1; e <= count; ++e) {
        Triangle triangle;
        for (int corner = 1; corner <= 3; ++corner) {
            const auto value =
                readValue(profile, meshfile::ElementSection, meshfile::cornerKey(corner, e));
            if (!value || *value != std::floor(*value) || *value < 1.0 ||
                *value > static_cast<double>(nodeCount))
                return e - 1;
            triangle.nodes[slot(corner - 1)] = static_cast<int>(*value);
        }
        state.Elements[slot(e)] = triangle;
    }
    return count;
}

} // namespace

std::optional<MeshFileCounts> readMeshFile(std::string_view bytes, ProjectState& state)
{
    const ProfileText profile{std::string(bytes)};
    const auto nodeCount = readCount(profile, meshfile::NodeCountKey, kMaxNodes);
    const auto elementCount = readCount(profile, meshfile::ElementCountKey, kMaxElements);
    if (!nodeCount || !elementCount)
        return std::nullopt;

    MeshFileCounts counts;
    counts.nodes = readNodes(profile, state, *nodeCount);
    if (counts.nodes == *nodeCount)
        counts.elements = readElements(profile, state, *elementCount, counts.nodes);
    state.NodeCount = counts.nodes;
    state.ElementCount = counts.elements;
    return counts;
}

} // namespace ai
