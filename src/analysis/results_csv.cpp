#include "analysis/results_csv.h"

#include "analysis/element_stress.h"

#include <array>
#include <charconv>
#include <cmath>
#include <initializer_list>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

// The shortest text that reads back to the same double; "-0" is written "0".
std::string shortest(double value)
{
    if (std::isnan(value))
        return {};
    if (value == 0.0)
        return "0";
    std::array<char, 32> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), written.ptr);
}

void appendRow(std::string& out, std::initializer_list<std::string> fields)
{
    bool first = true;
    for (const std::string& field : fields) {
        if (!first)
            out += ',';
        out += field;
        first = false;
    }
    out += "\r\n";
}

std::string whole(int value) { return std::to_string(value); }

} // namespace

std::string nodeResultsCsv(const ProjectState& state, int nodeCount)
{
    std::string out;
    appendRow(out,
              {"node", "free_x", "free_y", "loaded_x", "loaded_y", "u", "v", "count", "average"});
    for (int n = 1; n <= nodeCount; ++n) {
        const Position& free = state.FreeNodes[slot(n)];
        const Position& loaded = state.LoadNodes[slot(n)];
        const Displacement moved = displacement(free, loaded);
        const NodeSum& sum = state.NodeSums[slot(n)];
        appendRow(out, {whole(n), shortest(free.x), shortest(free.y), shortest(loaded.x),
                        shortest(loaded.y), shortest(moved.u), shortest(moved.v),
                        shortest(sum.count), shortest(sum.value)});
    }
    return out;
}

std::string elementResultsCsv(const ProjectState& state, const Material& material,
                              Component component, bool planeStress)
{
    std::string out;
    appendRow(out, {"element", "n1", "n2", "n3", "two_a", "exx", "eyy", "gxy", "sxx", "syy", "txy",
                    "value"});
    for (int e = 1; e <= state.ElementCount; ++e) {
        const auto& corners = state.Elements[slot(e)].nodes;
        const TriangleMotion motion = triangleMotion(state, e);
        const Strain strain = triangleStrain(motion.free, motion.moved);
        const Stress stress = elasticStress(strain, material, planeStress);
        appendRow(out, {whole(e), whole(corners[0]), whole(corners[1]), whole(corners[2]),
                        shortest(twiceSignedArea(motion.free)), shortest(strain.xx),
                        shortest(strain.yy),
                        shortest(strain.xy), shortest(stress.xx), shortest(stress.yy),
                        shortest(stress.xy), shortest(stressValue(stress, component))});
    }
    return out;
}

} // namespace ai
