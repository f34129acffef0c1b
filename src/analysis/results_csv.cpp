#include "analysis/results_csv.h"

#include "analysis/element_stress.h"
#include "analysis/uncertainty.h"
#include "model/measurement.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <initializer_list>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

} // namespace

std::string csvNumber(double value)
{
    if (std::isnan(value))
        return {};
    if (value == 0.0)
        return "0";
    std::array<char, 32> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), written.ptr);
}

namespace {

std::string shortest(double value) { return csvNumber(value); }

// A length or position of the study, in pixels.
std::string pixels(double viewUnits) { return shortest(viewUnits / kTwipsPerPixel); }

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

// The table of nodes, with the study's columns when its uncertainty is given.
std::string nodeTable(const ProjectState& state, int nodeCount, const StudyUncertainty* study)
{
    std::string out;
    appendRow(out, {"node", "free_x_px", "free_y_px", "loaded_x_px", "loaded_y_px", "u_px", "v_px",
                    "count", "average_MPa", "sd_u_px", "sd_v_px", "correlated", "zncc",
                    "sd_average_MPa", "not_found"});
    for (int n = 1; n <= nodeCount; ++n) {
        const Position& free = state.FreeNodes[slot(n)];
        const bool measured = isMeasured(state, n);
        // A position that is only a starting guess is no measurement.
        const Position loaded = measured ? state.LoadNodes[slot(n)] : Position{};
        const LoadLocation& location = state.LoadLocations[slot(n)];
        const PositionCovariance spread = measured ? displacementCovariance(state, n)
                                                   : PositionCovariance{kUnset, kUnset, kUnset};
        NodeSum sum;
        double averageSd = kUnset;
        if (study) {
            sum = state.NodeSums[slot(n)];
            if (const auto& average = study->averages[slot(n)])
                averageSd = spreadSd(*average, state);
        }
        appendRow(out, {whole(n), pixels(free.x), pixels(free.y), pixels(loaded.x),
                        pixels(loaded.y), pixels(loaded.x - free.x), pixels(loaded.y - free.y),
                        shortest(sum.count), shortest(sum.value), pixels(std::sqrt(spread.xx)),
                        pixels(std::sqrt(spread.yy)), location.correlated ? "1" : "0",
                        location.correlated ? shortest(location.zncc) : std::string(),
                        shortest(averageSd), measured ? "0" : "1"});
    }
    return out;
}

} // namespace

std::string nodeResultsCsv(const ProjectState& state, int nodeCount, const Material& material,
                           Component component, bool planeStress)
{
    const StudyUncertainty uncertainty =
        studyUncertainty(state, nodeCount, material, component, planeStress);
    return nodeTable(state, nodeCount, &uncertainty);
}

std::string nodeResultsCsv(const ProjectState& state, int nodeCount)
{
    return nodeTable(state, nodeCount, nullptr);
}

std::string elementResultsCsv(const ProjectState& state, const Material& material,
                              Component component, bool planeStress)
{
    const StudyUncertainty uncertainty =
        studyUncertainty(state, state.NodeCount, material, component, planeStress);
    std::string out;
    appendRow(out, {"element", "n1", "n2", "n3", "two_a_px2", "exx", "eyy", "gxy", "sxx_MPa",
                    "syy_MPa", "txy_MPa", "value_MPa", "sd_exx", "sd_eyy", "sd_gxy", "sd_sxx_MPa",
                    "sd_syy_MPa", "sd_txy_MPa", "sd_value_MPa"});
    constexpr double kPixelArea = kTwipsPerPixel * kTwipsPerPixel;
    for (int e = 1; e <= state.ElementCount; ++e) {
        const auto& corners = state.Elements[slot(e)].nodes;
        const TriangleMotion motion = triangleMotion(state, e);
        const std::string area = shortest(twiceSignedArea(motion.free) / kPixelArea);
        if (!hasMeasuredCorners(state, e)) {
            appendRow(out, {whole(e), whole(corners[0]), whole(corners[1]), whole(corners[2]), area,
                            "", "", "", "", "", "", "", "", "", "", "", "", "", ""});
            continue;
        }
        // The study's displacement is free minus loaded: its strains and stresses are the
        // physical ones with the opposite sign. The mapped value is a magnitude.
        const Strain strain = triangleStrain(motion.free, motion.moved);
        const Stress stress = elasticStress(strain, material, planeStress);
        // A triangle without a figure has empty fields.
        const ElementSd sd = uncertainty.elements[slot(e)].value_or(
            ElementSd{{kUnset, kUnset, kUnset}, {kUnset, kUnset, kUnset}, kUnset});
        appendRow(out, {whole(e), whole(corners[0]), whole(corners[1]), whole(corners[2]), area,
                        shortest(-strain.xx), shortest(-strain.yy), shortest(-strain.xy),
                        shortest(-stress.xx), shortest(-stress.yy), shortest(-stress.xy),
                        shortest(stressValue(stress, component)), shortest(sd.strain.xx),
                        shortest(sd.strain.yy), shortest(sd.strain.xy), shortest(sd.stress.xx),
                        shortest(sd.stress.yy), shortest(sd.stress.xy), shortest(sd.value)});
    }
    return out;
}

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

std::string historyCsvHeader(int nodeCount, int elementCount, bool gauge)
{
    std::string out = "step,photograph,found,not_found";
    if (gauge) {
        out += ",gauge_triangles,exx,eyy,gxy,sxx_MPa,syy_MPa,txy_MPa";
    } else {
        for (int n = 1; n <= nodeCount; ++n)
            out += ",loaded_x_px_" + whole(n) + ",loaded_y_px_" + whole(n);
        for (int e = 1; e <= elementCount; ++e)
            out += ",value_MPa_" + whole(e);
    }
    return out + "\r\n";
}

std::string historyCsvRow(const ProjectState& state, int nodeCount, const HistoryStep& step,
                          const Material& material, Component component, bool planeStress,
                          const std::optional<GaugeRectangle>& gauge)
{
    std::string out = whole(step.step) + ',' + csvField(step.photograph) + ',' + whole(step.found) +
                      ',' + whole(step.notFound);
    if (gauge) {
        // The gauge's means, as the curves of a virtual gauge give them.
        const HistorySelection triangles{HistorySelection::Kind::Gauge, {}, *gauge};
        out += ',' + whole(static_cast<int>(gaugeTriangles(state, *gauge).size()));
        for (const HistoryQuantity q :
             {HistoryQuantity::Exx, HistoryQuantity::Eyy, HistoryQuantity::Gxy,
              HistoryQuantity::Sxx, HistoryQuantity::Syy, HistoryQuantity::Txy}) {
            const auto mean = selectionValue(state, triangles, q, material, planeStress);
            out += ',' + (mean ? shortest(mean->value) : std::string());
        }
        return out + "\r\n";
    }
    for (int n = 1; n <= nodeCount; ++n) {
        const Position at = isMeasured(state, n) ? state.LoadNodes[slot(n)] : Position{};
        out += ',' + pixels(at.x) + ',' + pixels(at.y);
    }
    for (int e = 1; e <= state.ElementCount; ++e) {
        if (!hasMeasuredCorners(state, e)) {
            out += ',';
            continue;
        }
        const TriangleMotion motion = triangleMotion(state, e);
        const Stress stress =
            elasticStress(triangleStrain(motion.free, motion.moved), material, planeStress);
        out += ',' + shortest(stressValue(stress, component));
    }
    return out + "\r\n";
}

} // namespace ai
