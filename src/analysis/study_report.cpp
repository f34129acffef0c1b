#include "analysis/study_report.h"

#include <algorithm>

namespace ai {

namespace {

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

std::string componentName(Component component)
{
    switch (component) {
    case Component::Sxx:
        return "contrainte normale σxx (traction positive)";
    case Component::Syy:
        return "contrainte normale σyy (traction positive)";
    case Component::Sxy:
        return "contrainte de cisaillement τxy";
    default:
        return "contrainte équivalente de Von Mises";
    }
}

std::string whole(long long n) { return formatWhole(n); }

} // namespace

StudyReport summariseStudy(const ProjectState& state, int nodeCount, const StyledMap& map,
                           Component component, bool planeStress, const Material& material,
                           std::vector<ReportPhotograph> photographs,
                           const CorrelationChoices& correlation)
{
    StudyReport report;
    report.photographs = std::move(photographs);
    report.nodes = nodeCount;
    report.triangles = state.ElementCount;
    for (int n = 1; n <= nodeCount; ++n) {
        const LoadLocation& location = state.LoadLocations[slot(n)];
        report.measuredNodes += location.notFound ? 0 : 1;
        report.found += location.correlated && !location.notFound ? 1 : 0;
        report.notFound += location.notFound ? 1 : 0;
    }
    report.correlated = report.found + report.notFound > 0;
    if (report.correlated)
        report.correlation = correlation;
    for (int e = 1; e <= state.ElementCount; ++e) {
        const auto& nodes = state.Elements[slot(e)].nodes;
        report.leftOutTriangles += std::any_of(nodes.begin(), nodes.end(), [&](int n) {
            return n >= 1 && n <= nodeCount && state.LoadLocations[slot(n)].notFound;
        });
    }
    report.component = componentName(component);
    report.hypothesis = planeStress ? "contraintes planes" : "déformations planes";
    report.material = material;
    report.unit = map.unit;

    std::vector<int> valued;
    for (std::size_t i = 0; i < map.triangles.size(); ++i)
        if (map.triangles[i].valued())
            valued.push_back(static_cast<int>(i));
    if (valued.empty())
        return report;
    std::stable_sort(valued.begin(), valued.end(), [&map](int a, int b) {
        return map.triangles[slot(a)].value < map.triangles[slot(b)].value;
    });
    // The lower middle one for an even count: a value some triangle has.
    const int median = valued[(valued.size() - 1) / 2];
    for (const auto& [name, index] :
         {std::pair{"Minimum", valued.front()}, std::pair{"Médiane", median},
          std::pair{"Maximum", valued.back()}}) {
        const MapTriangle& t = map.triangles[slot(index)];
        report.values.push_back({name, index + 1, t.value, t.sd});
    }
    return report;
}

std::vector<std::pair<std::string, std::vector<std::string>>>
StudyReport::sections(const NumberFormat& format) const
{
    std::vector<std::pair<std::string, std::vector<std::string>>> out;
    std::vector<std::string> lines;
    for (const ReportPhotograph& p : photographs)
        lines.push_back(
            p.role + " : " + (p.path.empty() ? "aucune" : p.path) +
            (p.size ? " (" + whole(p.size->first) + " × " + whole(p.size->second) + " pixels)"
             : p.path.empty() ? ""
                              : " (illisible)"));
    out.emplace_back("Photographies", std::move(lines));

    out.emplace_back("Maillage", std::vector<std::string>{
                                     whole(nodes) + " noeuds, " + whole(triangles) + " éléments",
                                     whole(measuredNodes) + " noeuds mesurés sur " + whole(nodes)});

    if (correlation)
        out.emplace_back("Corrélation",
                         std::vector<std::string>{
                             "Imagettes de " + whole(correlation->subset) + " × " +
                                 whole(correlation->subset) + " pixels, recherche à " +
                                 whole(correlation->searchRadius) + " pixels",
                             whole(found) + " noeuds trouvés, " + whole(notFound) + " non trouvés",
                             whole(leftOutTriangles) + " éléments laissés sans valeur"});
    else
        out.emplace_back(
            "Corrélation",
            std::vector<std::string>{
                "Aucune : positions placées à la main, générées ou lues d'un fichier"});

    out.emplace_back("Matériau et hypothèse",
                     std::vector<std::string>{
                         "Module de Young E = " + formatDouble(material.young, format) + " MPa",
                         "Coefficient de Poisson ν = " + formatDouble(material.poisson, format),
                         "Hypothèse de " + hypothesis,
                         "Valeur étudiée : " + component + ", en " + unit});
    return out;
}

} // namespace ai
