#include "batch/batch_options.h"

#include "model/number_text.h"
#include "shell/scroll_bars.h"

#include <charconv>
#include <filesystem>
#include <map>
#include <set>

namespace ai::batch {

const std::string_view kUsage =
    "Utilisation : analyse-image-batch [OPTIONS] FICHIER_MAILLAGE\n"
    "              analyse-image-batch [OPTIONS] --points=FICHIER_CSV\n"
    "Lit un fichier de maillage, peut y ajouter une structure maillée, le remailler ou\n"
    "localiser ses noeuds par corrélation d'images, calcule une étude et en écrit les\n"
    "résultats, sans ouvrir de fenêtre. Les étapes suivent cet ordre : lecture,\n"
    "structure maillée, grille sur une région, maillage automatique, corrélation, étude,\n"
    "résultats, sauvegarde.\n"
    "\n"
    "  --points=FICHIER       lit, au lieu d'un fichier de maillage, une liste de points\n"
    "                         en pixels, noeuds sans élément : une ligne de noms x,y ou\n"
    "                         x,y,loaded_x,loaded_y (positions de départ sur la\n"
    "                         photographie chargée), puis un point par ligne, avec un\n"
    "                         point décimal ; ou les mêmes séparés par ';' avec une\n"
    "                         virgule ou un point décimal\n"
    "  --decimal=SEP          ',' ou '.' : séparateur décimal des fichiers de maillage\n"
    "                         lus et écrits (par défaut celui du système)\n"
    "  --grid=NX,NY,SX,SY,GX,GY,FX,FY,LX,LY\n"
    "                         ajoute une structure maillée avec ces dix valeurs de barres\n"
    "  --grid-region=X0,Y0,X1,Y1,PAS\n"
    "                         ajoute une grille sur le rectangle de coins (X0,Y0) et\n"
    "                         (X1,Y1) de la photographie libre, noeuds espacés de PAS,\n"
    "                         tout en pixels entiers\n"
    "  --automesh=D           remplace les éléments par le maillage automatique de\n"
    "                         distance D\n"
    "  --correlate --free-image=PHOTO --loaded-image=PHOTO\n"
    "                         localise chaque noeud sur la photographie de la structure\n"
    "                         chargée par corrélation avec celle de la structure libre,\n"
    "                         à partir de sa position chargée\n"
    "  --loaded-image=PHOTO répété\n"
    "                         une séquence d'essai : chaque photographie est une étape de\n"
    "                         chargement, dans l'ordre, chacune corrélée à partir des\n"
    "                         positions trouvées à l'étape précédente ; chaque fichier\n"
    "                         écrit, sauf l'historique, l'est pour chaque étape, son numéro\n"
    "                         avant l'extension (carte-03.png), et les nombres de la\n"
    "                         corrélation sont donnés par étape\n"
    "  --history-csv=FICHIER  l'historique de l'essai, une ligne par étape (demande\n"
    "                         --correlate et --study)\n"
    "  --gauge=X0,Y0,X1,Y1    jauge virtuelle : l'historique donne, au lieu des positions\n"
    "                         et des valeurs, la moyenne des déformations et contraintes\n"
    "                         des éléments dont le centre est dans ce rectangle de la\n"
    "                         photographie libre (pixels entiers)\n"
    "  --subset=N             côté des imagettes en pixels, impair, de 11 à 101 (31)\n"
    "  --search=R             rayon de recherche en pixels entiers, de 0 à 200 (20)\n"
    "  --study=sxx|syy|sxy|vm calcule l'étude de cette composante\n"
    "  --plane-stress | --plane-strain\n"
    "                         l'hypothèse (par défaut déformations planes)\n"
    "  --young=E --poisson=NU le matériau (par défaut 1 et 0,47 ; virgule ou point)\n"
    "  --nodes-csv=FICHIER    la table des noeuds (sans --study, ses colonnes count,\n"
    "                         average_MPa et sd_average_MPa sont vides)\n"
    "  --elements-csv=FICHIER la table des éléments\n"
    "  --map-png=FICHIER [--image=PHOTO]\n"
    "                         l'image de la carte des contraintes (sur la photo, à défaut\n"
    "                         sur celle de --free-image, ou sur un fond uni)\n"
    "  --map-style=points|signed|continuous\n"
    "                         la carte par points (celle de la fenêtre), signée (chaque\n"
    "                         élément de sa valeur, traction positive) ou continue (les\n"
    "                         moyennes aux noeuds interpolées, sur la photo estompée)\n"
    "  --map-svg=FICHIER      la même carte en SVG\n"
    "  --sd-map-png=FICHIER   la même carte peinte avec l'écart type de chaque valeur\n"
    "  --report=FICHIER.pdf   le rapport de l'étude (A4, PDF)\n"
    "  --save=FICHIER         écrit l'étude comme fichier de maillage, sous ce nom exact\n"
    "  --help                 affiche cette aide\n"
    "\n"
    "--elements-csv, les images des cartes et le rapport demandent --study. Un message sur\n"
    "la sortie d'erreur donne les nombres de noeuds et d'éléments lus, un autre ceux des\n"
    "noeuds localisés et non trouvés par la corrélation et des éléments écartés de l'étude\n"
    "(pour une séquence, un par étape : « Étape 3 : ... »).\n"
    "\n"
    "Colonnes des tables CSV (point décimal ; case vide : pas de valeur). Axes de la\n"
    "photographie (x vers la droite, y vers le bas) ; le déplacement est chargé moins\n"
    "libre, déformations et contraintes sont positives en traction.\n"
    "  historique step (étape), photograph, found, not_found (noeuds trouvés et non\n"
    "           trouvés) ; loaded_x_px_N, loaded_y_px_N (position chargée de chaque\n"
    "           noeud, vide s'il n'est pas trouvé) et value_MPa_E (valeur de chaque\n"
    "           élément) ; ou avec --gauge : gauge_triangles (éléments moyennés), exx,\n"
    "           eyy, gxy, sxx_MPa, syy_MPa, txy_MPa\n"
    "  noeuds   node ; free_x_px, free_y_px, loaded_x_px, loaded_y_px (positions, pixels) ;\n"
    "           u_px, v_px (déplacement, pixels) ; count (éléments) ; average_MPa (moyenne\n"
    "           de la valeur de la carte) ; sd_u_px, sd_v_px (écarts types, pixels) ;\n"
    "           correlated (1 : trouvé par corrélation) ; zncc ; sd_average_MPa ;\n"
    "           not_found (1 : non trouvé, position chargée et déplacement vides)\n"
    "  éléments element ; n1, n2, n3 ; two_a_px2 (double aire signée, pixels carrés) ;\n"
    "           exx, eyy, gxy (déformations, sans unité) ; sxx_MPa, syy_MPa, txy_MPa ;\n"
    "           value_MPa (valeur de la carte : |composante| ou Von Mises) ; sd_exx,\n"
    "           sd_eyy, sd_gxy, sd_sxx_MPa, sd_syy_MPa, sd_txy_MPa, sd_value_MPa (écarts\n"
    "           types) ; un élément dont un noeud n'a pas été trouvé n'a que two_a_px2\n"
    "\n"
    "Code de sortie : 0 quand tout est fait ; 1 quand une donnée est refusée ou qu'un\n"
    "fichier ne peut être lu ou écrit (aucun fichier n'est alors laissé à moitié écrit) ;\n"
    "2 quand la ligne de commande est incorrecte.\n";

namespace {

// Pixels of a photograph of at most a million pixels a side.
constexpr int kLargestPixel = 1000000;

// A whole number written in plain decimal digits, the whole text.
std::optional<int> wholeNumber(std::string_view text)
{
    int value = 0;
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// A whole number of a range given by the option, or the reason it is not.
std::optional<std::string> checkWhole(std::string_view text, std::string_view option, int minimum,
                                      int maximum, bool odd, int& value)
{
    const auto number = wholeNumber(text);
    if (!number || *number < minimum || *number > maximum || (odd && *number % 2 == 0))
        return std::string(option) + " « " + std::string(text) + " » doit être un nombre entier" +
               (odd ? " impair" : "") + " de " + formatWhole(minimum) + " à " +
               formatWhole(maximum) + ".";
    value = *number;
    return std::nullopt;
}

// A bar value as the bar itself would take it, or the reason it cannot.
std::optional<std::string> checkBarValue(std::string_view text, Bar bar, std::string_view what,
                                         int& value)
{
    const BarRange range = barRange(bar);
    return checkWhole(text, what, range.minimum, range.maximum, false, value);
}

std::vector<std::string_view> commaSeparated(std::string_view text)
{
    std::vector<std::string_view> values;
    for (std::size_t from = 0;;) {
        const std::size_t comma = text.find(',', from);
        values.push_back(text.substr(from, comma - from));
        if (comma == std::string_view::npos)
            return values;
        from = comma + 1;
    }
}

std::optional<std::string> parseGrid(std::string_view text, GridBars& grid)
{
    static constexpr std::string_view names[] = {"NX", "NY", "SX", "SY", "GX",
                                                 "GY", "FX", "FY", "LX", "LY"};
    int* fields[] = {&grid.columns,      &grid.rows,         &grid.spacingX, &grid.spacingY,
                     &grid.deformationX, &grid.deformationY, &grid.freeX,    &grid.freeY,
                     &grid.loadX,        &grid.loadY};
    const std::vector<std::string_view> values = commaSeparated(text);
    if (values.size() != 10)
        return "--grid demande dix valeurs séparées par des virgules "
               "(NX,NY,SX,SY,GX,GY,FX,FY,LX,LY), pas " +
               formatWhole(static_cast<long long>(values.size())) + ".";
    // The ten values follow the bars' order: HScroll1, VScroll1, ... VScroll5.
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string what = "--grid : la valeur " + std::string(names[i]);
        if (auto error = checkBarValue(values[i], static_cast<Bar>(i), what, *fields[i]))
            return error;
    }
    return std::nullopt;
}

std::optional<std::string> parseGridRegion(std::string_view text, GridRegion& grid)
{
    static constexpr std::string_view names[] = {"X0", "Y0", "X1", "Y1", "PAS"};
    int* fields[] = {&grid.region.x0, &grid.region.y0, &grid.region.x1, &grid.region.y1,
                     &grid.step};
    const std::vector<std::string_view> values = commaSeparated(text);
    if (values.size() != 5)
        return "--grid-region demande cinq valeurs séparées par des virgules "
               "(X0,Y0,X1,Y1,PAS), pas " +
               formatWhole(static_cast<long long>(values.size())) + ".";
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string what = "--grid-region : la valeur " + std::string(names[i]);
        if (auto error =
                checkWhole(values[i], what, i == 4 ? 1 : 0, kLargestPixel, false, *fields[i]))
            return error;
    }
    const int largest = largestRegionStep(grid.region);
    if (grid.step > largest)
        return "--grid-region : le pas de " + formatWhole(grid.step) +
               " pixels ne laisse pas deux noeuds sur chaque côté du rectangle de " +
               formatWhole(grid.region.width()) + " x " + formatWhole(grid.region.height()) +
               " pixels : il doit valoir au plus " + formatWhole(largest) + ".";
    return std::nullopt;
}

std::optional<std::string> parseGauge(std::string_view text, PixelRegion& gauge)
{
    static constexpr std::string_view names[] = {"X0", "Y0", "X1", "Y1"};
    int* fields[] = {&gauge.x0, &gauge.y0, &gauge.x1, &gauge.y1};
    const std::vector<std::string_view> values = commaSeparated(text);
    if (values.size() != 4)
        return "--gauge demande quatre valeurs séparées par des virgules (X0,Y0,X1,Y1), pas " +
               formatWhole(static_cast<long long>(values.size())) + ".";
    for (std::size_t i = 0; i < values.size(); ++i)
        if (auto error = checkWhole(values[i], "--gauge : la valeur " + std::string(names[i]), 0,
                                    kLargestPixel, false, *fields[i]))
            return error;
    return std::nullopt;
}

std::optional<Component> componentNamed(std::string_view name)
{
    if (name == "sxx")
        return Component::Sxx;
    if (name == "syy")
        return Component::Syy;
    if (name == "sxy")
        return Component::Sxy;
    if (name == "vm")
        return Component::VonMises;
    return std::nullopt;
}

// Two outputs under one name would leave only the last one.
std::optional<std::string> sharedOutput(const Options& o)
{
    std::map<std::filesystem::path, std::string> seen;
    const std::pair<const std::string*, const char*> outputs[] = {
        {&o.nodesCsv, "--nodes-csv"}, {&o.elementsCsv, "--elements-csv"},
        {&o.mapPng, "--map-png"},     {&o.mapSvg, "--map-svg"},
        {&o.report, "--report"},      {&o.sdMapPng, "--sd-map-png"},
        {&o.save, "--save"},          {&o.historyCsv, "--history-csv"}};
    for (const auto& [file, option] : outputs) {
        if (file->empty())
            continue;
        const auto path = std::filesystem::absolute(*file).lexically_normal();
        const auto [it, added] = seen.emplace(path, option);
        if (!added)
            return it->second + " et " + option + " écriraient le même fichier « " + *file + " ».";
    }
    return std::nullopt;
}

std::optional<std::string> checkTogether(const Options& o, const std::set<std::string>& given)
{
    if (o.meshFile.empty() && o.pointsFile.empty())
        return std::string("il manque le fichier de maillage à lire (ou --points).");
    if (!o.meshFile.empty() && !o.pointsFile.empty())
        return "--points remplace le fichier de maillage : « " + o.meshFile + " » ou « " +
               o.pointsFile + " » ?";
    const bool maps = !o.mapPng.empty() || !o.mapSvg.empty() || !o.sdMapPng.empty() ||
                      !o.report.empty();
    if (!o.study && (!o.elementsCsv.empty() || maps))
        return std::string("--elements-csv, --map-png, --map-svg, --sd-map-png et --report "
                           "demandent --study.");
    if (!o.image.empty() && !maps)
        return std::string("--image ne sert qu'avec une carte (--map-png, --map-svg, "
                           "--sd-map-png) ou --report.");
    if (given.contains("--map-style") && o.mapPng.empty() && o.mapSvg.empty() && o.report.empty())
        return std::string("--map-style ne sert qu'avec --map-png, --map-svg ou --report.");
    if (o.correlate && (o.freeImage.empty() || o.loadedImages.empty()))
        return std::string("--correlate demande les deux photographies : --free-image et "
                           "--loaded-image.");
    if (!o.correlate && (given.contains("--subset") || given.contains("--search")))
        return std::string("--subset et --search ne servent qu'avec --correlate.");
    if (!o.historyCsv.empty() && (!o.correlate || !o.study))
        return std::string("--history-csv demande --correlate et --study.");
    if (o.gauge && o.historyCsv.empty())
        return std::string("--gauge ne sert qu'avec --history-csv.");
    if (!o.correlate && !o.loadedImages.empty())
        return std::string("--loaded-image ne sert qu'avec --correlate.");
    if (!o.correlate && !maps && !o.freeImage.empty())
        return std::string("--free-image ne sert qu'avec --correlate, une carte (--map-png, "
                           "--map-svg, --sd-map-png) ou --report.");
    return sharedOutput(o);
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine result;
    Options options;
    std::set<std::string> given;
    bool onlyFiles = false;
    auto fail = [&result](std::string error) {
        result.error = std::move(error);
        return result;
    };

    for (const std::string& argument : arguments) {
        if (onlyFiles || argument.empty() || argument.front() != '-' || argument == "-") {
            if (!options.meshFile.empty())
                return fail("un seul fichier de maillage est lu : « " + options.meshFile +
                            " » ou « " + argument + " » ?");
            options.meshFile = argument;
            continue;
        }
        if (argument == "--") {
            onlyFiles = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            result.help = true;
            return result;
        }

        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const bool hypothesis = name == "--plane-stress" || name == "--plane-strain";
        const bool flag = hypothesis || name == "--correlate";
        if (flag && equals != std::string::npos)
            return fail(name + " ne prend pas de valeur.");
        // Either hypothesis counts as the one choice of hypothesis.
        const std::string key = hypothesis ? "hypothesis" : name;
        // The load steps of a sequence are the same option given once per step.
        if (key != "--loaded-image" && !given.insert(key).second)
            return fail(hypothesis ? "une seule hypothèse : --plane-stress ou --plane-strain."
                                   : name + " est donnée deux fois.");
        if (flag) {
            if (hypothesis)
                options.planeStress = name == "--plane-stress";
            else
                options.correlate = true;
            continue;
        }
        if (equals == std::string::npos || equals + 1 == argument.size()) {
            static const std::set<std::string> known = {
                "--decimal",     "--grid",        "--automesh",     "--study",     "--young",
                "--poisson",     "--nodes-csv",   "--elements-csv", "--map-png",   "--image",
                "--save",        "--free-image",  "--loaded-image", "--subset",    "--search",
                "--sd-map-png",  "--points",      "--map-svg",      "--map-style", "--report",
                "--grid-region", "--history-csv", "--gauge"};
            if (!known.contains(name))
                return fail("option inconnue « " + argument + " ».");
            return fail(name + " demande une valeur : " + name + "=...");
        }
        const std::string value = argument.substr(equals + 1);

        if (name == "--decimal") {
            if (value != "," && value != ".")
                return fail("--decimal vaut ',' ou '.', pas « " + value + " ».");
            options.decimal = value.front();
        } else if (name == "--grid") {
            GridBars grid;
            if (auto error = parseGrid(value, grid))
                return fail(*error);
            options.grid = grid;
        } else if (name == "--grid-region") {
            GridRegion region;
            if (auto error = parseGridRegion(value, region))
                return fail(*error);
            options.region = region;
        } else if (name == "--automesh") {
            int distance = 0;
            if (auto error =
                    checkBarValue(value, Bar::HScroll6, "--automesh : la distance", distance))
                return fail(*error);
            options.automeshDistance = distance;
        } else if (name == "--study") {
            options.study = componentNamed(value);
            if (!options.study)
                return fail("--study vaut sxx, syy, sxy ou vm, pas « " + value + " ».");
        } else if (name == "--young") {
            options.young = value;
        } else if (name == "--poisson") {
            options.poisson = value;
        } else if (name == "--points") {
            options.pointsFile = value;
        } else if (name == "--nodes-csv") {
            options.nodesCsv = value;
        } else if (name == "--elements-csv") {
            options.elementsCsv = value;
        } else if (name == "--map-png") {
            options.mapPng = value;
        } else if (name == "--map-svg") {
            options.mapSvg = value;
        } else if (name == "--map-style") {
            const std::map<std::string, MapStyle> styles = {{"points", MapStyle::Points},
                                                            {"signed", MapStyle::Signed},
                                                            {"continuous", MapStyle::Continuous}};
            const auto style = styles.find(value);
            if (style == styles.end())
                return fail("--map-style vaut points, signed ou continuous, pas « " + value +
                            " ».");
            options.mapStyle = style->second;
        } else if (name == "--report") {
            options.report = value;
        } else if (name == "--sd-map-png") {
            options.sdMapPng = value;
        } else if (name == "--image") {
            options.image = value;
        } else if (name == "--save") {
            options.save = value;
        } else if (name == "--free-image") {
            options.freeImage = value;
        } else if (name == "--loaded-image") {
            options.loadedImages.push_back(value);
        } else if (name == "--history-csv") {
            options.historyCsv = value;
        } else if (name == "--gauge") {
            PixelRegion gauge;
            if (auto error = parseGauge(value, gauge))
                return fail(*error);
            options.gauge = gauge;
        } else if (name == "--subset") {
            if (auto error = checkWhole(value, "--subset : le côté", 11, 101, true, options.subset))
                return fail(*error);
        } else if (name == "--search") {
            if (auto error =
                    checkWhole(value, "--search : le rayon", 0, 200, false, options.search))
                return fail(*error);
        } else {
            return fail("option inconnue « " + argument + " ».");
        }
    }
    if (auto error = checkTogether(options, given))
        return fail(*error);
    result.options = std::move(options);
    return result;
}

} // namespace ai::batch
