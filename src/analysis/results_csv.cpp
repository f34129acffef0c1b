#include "analysis/results_csv.h"

#include "analysis/element_stress.h"
#include "analysis/uncertainty.h"

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

std::string nodeResultsCsv(const ProjectState& state, int nodeCount, const Material& material,
                           Component component, bool planeStress)
{
    const StudyUncertainty uncertainty =
        studyUncertainty(state, nodeCount, material, component, planeStress);
    std::string out;
    appendRow(out, {"node", "free_x", "free_y", "loaded_x", "loaded_y", "u", "v", "count",
                    "average", "sd_u", "sd_v", "correlated", "zncc", "sd_average"});
    for (int n = 1; n <= nodeCount; ++n) {
        const Position& free = state.FreeNodes[slot(n)];
        const Position& loaded = state.LoadNodes[slot(n)];
        const Displacement moved = displacement(free, loaded);
        const NodeSum& sum = state.NodeSums[slot(n)];
        const LoadLocation& location = state.LoadLocations[slot(n)];
        const PositionCovariance spread = displacementCovariance(state, n);
        appendRow(out, {whole(n), shortest(free.x), shortest(free.y), shortest(loaded.x),
                        shortest(loaded.y), shortest(moved.u), shortest(moved.v),
                        shortest(sum.count), shortest(sum.value), shortest(std::sqrt(spread.xx)),
                        shortest(std::sqrt(spread.yy)), location.correlated ? "1" : "0",
                        location.correlated ? shortest(location.zncc) : std::string(),
                        shortest(spreadSd(uncertainty.averages[slot(n)], state))});
    }
    return out;
}

std::string elementResultsCsv(const ProjectState& state, const Material& material,
                              Component component, bool planeStress)
{
    const StudyUncertainty uncertainty =
        studyUncertainty(state, state.NodeCount, material, component, planeStress);
    std::string out;
    appendRow(out,
              {"element", "n1", "n2", "n3", "two_a", "exx", "eyy", "gxy", "sxx", "syy", "txy",
               "value", "sd_exx", "sd_eyy", "sd_gxy", "sd_sxx", "sd_syy", "sd_txy", "sd_value"});
    for (int e = 1; e <= state.ElementCount; ++e) {
        const auto& corners = state.Elements[slot(e)].nodes;
        const TriangleMotion motion = triangleMotion(state, e);
        const Strain strain = triangleStrain(motion.free, motion.moved);
        const Stress stress = elasticStress(strain, material, planeStress);
        // A triangle without a figure has empty fields.
        const ElementSd sd = uncertainty.elements[slot(e)].value_or(
            ElementSd{{kUnset, kUnset, kUnset}, {kUnset, kUnset, kUnset}, kUnset});
        appendRow(out, {whole(e), whole(corners[0]), whole(corners[1]), whole(corners[2]),
                        shortest(twiceSignedArea(motion.free)), shortest(strain.xx),
                        shortest(strain.yy), shortest(strain.xy), shortest(stress.xx),
                        shortest(stress.yy), shortest(stress.xy),
                        shortest(stressValue(stress, component)), shortest(sd.strain.xx),
                        shortest(sd.strain.yy), shortest(sd.strain.xy), shortest(sd.stress.xx),
                        shortest(sd.stress.yy), shortest(sd.stress.xy), shortest(sd.value)});
    }
    return out;
}

} // namespace ai
