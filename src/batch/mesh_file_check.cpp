#include "batch/mesh_file_check.h"

#include "io/mesh_file_keys.h"
#include "io/profile_text.h"
#include "model/number_text.h"

#include <cmath>

namespace ai::batch {

namespace {

std::string quoted(std::string_view text) { return "« " + std::string(text) + " »"; }

// What is wrong with a count, or nothing. An absent or empty count reads as 0.
std::optional<std::string> badCount(const ProfileText& profile, std::string_view key,
                                    std::string_view what, int limit, double& count)
{
    const std::string_view text = profile.value(meshfile::InitSection, key).value_or("");
    count = text.empty() ? 0.0 : parseNumberAnySeparator(text).value_or(-1.0);
    if (count >= 0.0 && count <= limit && count == std::floor(count))
        return std::nullopt;
    return "le nombre de " + std::string(what) + " de la section [init], " + quoted(text) +
           ", n'est pas un nombre entier de 0 à " + formatWhole(limit) + ".";
}

// The value of a key as the reader takes it, or why it cannot.
std::optional<std::string> badValue(const ProfileText& profile, std::string_view section,
                                    const std::string& key, double& value)
{
    const auto text = profile.value(section, key);
    if (!text)
        return "la clé " + key + " manque dans la section [" + std::string(section) + "]";
    if (text->empty())
        return "la clé " + key + " de la section [" + std::string(section) + "] est vide";
    const auto number = parseNumberAnySeparator(*text);
    if (!number)
        return "la clé " + key + " de la section [" + std::string(section) + "] vaut " +
               quoted(*text) + ", qui n'est pas un nombre";
    value = *number;
    return std::nullopt;
}

std::string nodeProblem(const ProfileText& profile, int node)
{
    double value = 0.0;
    for (const char axis : {'x', 'y'})
        if (auto problem =
                badValue(profile, meshfile::FreeNodeSection, meshfile::nodeKey(axis, node), value))
            return "le noeud " + formatWhole(node) +
                   " n'a pas de position sur la structure libre : " + *problem + ".";
    for (const char axis : {'x', 'y'})
        if (auto problem =
                badValue(profile, meshfile::LoadNodeSection, meshfile::nodeKey(axis, node), value))
            return "le noeud " + formatWhole(node) +
                   " n'est pas localisé sur la structure chargée : " + *problem + ".";
    return "le noeud " + formatWhole(node) + " n'a pas pu être lu.";
}

std::string elementProblem(const ProfileText& profile, int element, int nodeCount)
{
    const std::string which = "l'élément " + formatWhole(element);
    for (int corner = 1; corner <= 3; ++corner) {
        const std::string key = meshfile::cornerKey(corner, element);
        double node = 0.0;
        if (auto problem = badValue(profile, meshfile::ElementSection, key, node))
            return which + " est incomplet : " + *problem + ".";
        if (node != std::floor(node) || node < 1.0 || node > nodeCount)
            return which + " désigne par sa clé " + key + " le noeud " +
                   quoted(*profile.value(meshfile::ElementSection, key)) +
                   ", qui n'existe pas : le fichier compte " + formatWhole(nodeCount) + " noeuds.";
    }
    return which + " n'a pas pu être lu.";
}

} // namespace

bool hasMeshCounts(std::string_view bytes)
{
    const ProfileText profile{bytes};
    return profile.value(meshfile::InitSection, meshfile::NodeCountKey) ||
           profile.value(meshfile::InitSection, meshfile::ElementCountKey);
}

std::optional<std::string> incompleteEntry(std::string_view bytes, const MeshFileCounts& read)
{
    const ProfileText profile{bytes};
    double nodes = 0.0;
    double elements = 0.0;
    if (auto problem = badCount(profile, meshfile::NodeCountKey, "noeuds", kMaxNodes, nodes))
        return problem;
    if (auto problem =
            badCount(profile, meshfile::ElementCountKey, "éléments", kMaxElements, elements))
        return problem;
    if (read.nodes < nodes)
        return nodeProblem(profile, read.nodes + 1);
    if (read.elements < elements)
        return elementProblem(profile, read.elements + 1, read.nodes);
    return std::nullopt;
}

} // namespace ai::batch
