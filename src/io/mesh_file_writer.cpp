#include "io/mesh_file_writer.h"

#include "io/mesh_file_keys.h"

#include <string_view>

namespace ai {

namespace {

class LineWriter {
public:
    explicit LineWriter(std::string& out) : out_(out) {}

    void header(std::string_view section)
    {
        out_ += '[';
        out_ += section;
        out_ += "]\r\n";
    }

    void entry(std::string_view key, std::string_view value)
    {
        out_ += key;
        out_ += '=';
        out_ += value;
        out_ += "\r\n";
    }

private:
    std::string& out_;
};

std::string coordinateText(double value, const NumberFormat& format)
{
    return isSet(value) ? formatDouble(value, format) : std::string();
}

std::string nodeNumberText(int node) { return node != 0 ? formatWhole(node) : std::string(); }

void writeNodes(LineWriter& lines, std::string_view section,
                const std::array<Position, kTableSlots>& nodes, int nodeCount,
                const NumberFormat& format)
{
    lines.header(section);
    for (int i = 1; i <= nodeCount; ++i) {
        const Position& node = nodes[static_cast<std::size_t>(i)];
        lines.entry(meshfile::nodeKey('x', i), coordinateText(node.x, format));
        lines.entry(meshfile::nodeKey('y', i), coordinateText(node.y, format));
    }
}

} // namespace

std::string writeMeshFile(const ProjectState& state, int nodeCount, const NumberFormat& format)
{
    std::string out;
    // About 20 bytes a node line and 10 a corner line: one allocation for most studies.
    out.reserve(100 + 4 * 20 * static_cast<std::size_t>(nodeCount) +
                3 * 12 * static_cast<std::size_t>(state.ElementCount));
    LineWriter lines(out);

    lines.header(meshfile::InitSection);
    lines.entry(meshfile::NodeCountKey, formatWhole(nodeCount));
    lines.entry(meshfile::ElementCountKey, formatWhole(state.ElementCount));
    writeNodes(lines, meshfile::FreeNodeSection, state.FreeNodes, nodeCount, format);
    writeNodes(lines, meshfile::LoadNodeSection, state.LoadNodes, nodeCount, format);

    lines.header(meshfile::ElementSection);
    for (int e = 1; e <= state.ElementCount; ++e) {
        const Triangle& triangle = state.Elements[static_cast<std::size_t>(e)];
        for (int corner = 1; corner <= 3; ++corner)
            lines.entry(meshfile::cornerKey(corner, e),
                        nodeNumberText(triangle.nodes[static_cast<std::size_t>(corner - 1)]));
    }
    return out;
}

} // namespace ai
