#pragma once

#include "analysis/map_styles.h"
#include "analysis/material.h"
#include "model/number_text.h"
#include "model/project_state.h"

#include <optional>
#include <string>
#include <vector>

namespace ai {

// The correlation's settings as the user chose them, for the report.
struct CorrelationChoices {
    int subset = 31;       // pixels
    int searchRadius = 20; // whole pixels
};

// One of the photographs, as the platform found it.
struct ReportPhotograph {
    std::string role; // "Structure libre", "Structure chargée"
    std::string path;
    std::optional<std::pair<int, int>> size; // pixels, when the file could be read
};

// A row of the values' table: a triangle's value and its standard deviation.
struct ReportValue {
    std::string name; // "Minimum", "Médiane", "Maximum"
    int element = 0;
    double value = 0.0;
    double sd = kUnset;
};

// What a study's report says, in French, computed without any page or font: the
// photographs, the mesh, the correlation where one ran, the material and hypothesis, and the
// least, median and greatest of the triangles' values (physical sign, as the readable maps
// show them) with their standard deviations.
struct StudyReport {
    std::vector<ReportPhotograph> photographs;
    int nodes = 0;
    int triangles = 0;
    int measuredNodes = 0; // those a correlation did not fail to find
    bool correlated = false;
    int found = 0;
    int notFound = 0;
    int leftOutTriangles = 0; // with a corner that was not found
    std::optional<CorrelationChoices> correlation;
    std::string component;
    std::string hypothesis;
    Material material;
    std::string unit = "MPa";
    std::vector<ReportValue> values; // empty when no triangle has a value

    // The report's lines under each heading, numbers in the user's format.
    std::vector<std::pair<std::string, std::vector<std::string>>>
    sections(const NumberFormat& format) const;
};

// `map` gives the triangles' values; nodes 1 to nodeCount are the study's.
StudyReport summariseStudy(const ProjectState& state, int nodeCount, const StyledMap& map,
                           Component component, bool planeStress, const Material& material,
                           std::vector<ReportPhotograph> photographs,
                           const CorrelationChoices& correlation);

} // namespace ai
