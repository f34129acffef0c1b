#include "io/mesh_file_reader.h"

#include "io/mesh_file_keys.h"
#include "io/profile_text.h"
#include "model/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

// The highest entry number a count of "[init]" asks for, or nothing when it is not a
// number. Entry i is read while i <= count; counts beyond the tables are kept beyond
// them, so that the entry past the tables ends the reading.
std::optional<int> readCount(const ProfileText& profile, std::string_view key)
{
    const std::string_view text = profile.value(meshfile::InitSection, key).value_or("");
    if (text.empty())
        return 0;
    const auto value = parseNumberAnySeparator(text);
    if (!value)
        return std::nullopt;
    return static_cast<int>(std::clamp(std::floor(*value), 0.0, static_cast<double>(kTableSlots)));
}

// Whether a text of a number has at most 15 significant digits, the ones its double
// keeps whole. Stops at the 16th, so that a long text is not read to its end.
bool hasAtMost15Digits(std::string_view text)
{
    int digits = 0;
    int zeros = 0; // zeros after the first significant digit, not yet followed by another
    for (const char c : text) {
        if (c == 'e' || c == 'E')
            break;
        if (c == '0') {
            zeros += digits > 0 ? 1 : 0;
        } else if (c >= '1' && c <= '9') {
            digits += zeros + 1;
            zeros = 0;
            if (digits > 15)
                return false;
        }
    }
    return true;
}

// A value converted to a number and back to text, as the value of that text: 0375
// reads as 375. A value whose text would overflow counts as no number.
std::optional<double> readValue(std::optional<std::string_view> text)
{
    if (!text)
        return std::nullopt;
    const auto value = parseNumberAnySeparator(*text);
    if (!value)
        return std::nullopt;
    // A normal double read from at most 15 digits gives back these digits, hence itself:
    // the text need not be made.
    if (std::fabs(*value) >= std::numeric_limits<double>::min() && hasAtMost15Digits(*text))
        return value;
    const double normalised = roundTo15Digits(*value);
    if (!std::isfinite(normalised))
        return std::nullopt;
    return normalised;
}

std::optional<Position> readPosition(const ProfileText& profile, std::string_view section,
                                     int node)
{
    const auto x = readValue(profile.coordinate(section, 'x', node));
    if (!x)
        return std::nullopt;
    const auto y = readValue(profile.coordinate(section, 'y', node));
    if (!y)
        return std::nullopt;
    return Position{*x, *y};
}

// Reads nodes 1 to count while all four coordinates are there and the tables hold them;
// returns how many.
int readNodes(const ProfileText& profile, ProjectState& state, int count)
{
    for (int i = 1; i <= count; ++i) {
        if (i > kMaxNodes)
            return kMaxNodes;
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

// Reads triangles 1 to count while each corner names a node in 1 to nodeCount and the
// table holds them; returns how many.
int readElements(const ProfileText& profile, ProjectState& state, int count, int nodeCount)
{
    for (int e = 1; e <= count; ++e) {
        if (e > kMaxElements)
            return kMaxElements;
        Triangle triangle;
        for (int corner = 1; corner <= 3; ++corner) {
            const auto value = readValue(profile.corner(corner, e));
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
    const ProfileText profile{bytes};
    const auto nodeCount = readCount(profile, meshfile::NodeCountKey);
    const auto elementCount = readCount(profile, meshfile::ElementCountKey);
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
