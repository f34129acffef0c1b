#pragma once

#include <string_view>

// The texts of the status line. The text shown is also the interaction mode: handlers
// compare it, whole and case-sensitively, with these.
namespace ai::status {

inline constexpr std::string_view Waiting = "Attente de commandes";
inline constexpr std::string_view NodeMoved = "Noeud déplacé.";
inline constexpr std::string_view CreatePrompt = "Cliquer sur la structure libre pour créer un noeud.";
inline constexpr std::string_view LocatePrompt =
    "Cliquer sur la structure chargée pour localiser le noeud créé.";
inline constexpr std::string_view FirstPick =
    "Selectionner le premier noeud de l'élément sur la structure libre.";
inline constexpr std::string_view SecondPick =
    "Selectionner le second noeud de l'élément sur la structure libre.";
inline constexpr std::string_view ThirdPick =
    "Selectionner le troisième noeud de l'élément sur la structure libre.";
inline constexpr std::string_view Dragging = "Glisser pour déposer ce noeud.";
inline constexpr std::string_view Stopped = "Commande stopée.";
inline constexpr std::string_view Erased = "Effacement effectué.";
inline constexpr std::string_view GridChanged = "Modification structure maillée.";
inline constexpr std::string_view AutoMeshed = "Maillage automatique";
inline constexpr std::string_view Computing = "Calcul des solutions.";
inline constexpr std::string_view Computed = "Calcul effectué.";
inline constexpr std::string_view Correlated = "Localisation par corrélation effectuée.";
inline constexpr std::string_view RegionPrompt =
    "Tracer sur la structure libre le rectangle à couvrir d'une grille.";
inline constexpr std::string_view RegionDragging =
    "Glisser jusqu'au coin opposé du rectangle de la grille.";
inline constexpr std::string_view RegionGridAdded = "Grille ajoutée sur la région.";
inline constexpr std::string_view CurveNodesPrompt =
    "Cliquer sur la structure libre les noeuds dont suivre la valeur, puis Stop.";
inline constexpr std::string_view CurveTrianglesPrompt =
    "Cliquer sur la structure libre dans les éléments dont suivre la valeur, puis Stop.";
inline constexpr std::string_view GaugePrompt =
    "Tracer sur la structure libre le rectangle de la jauge virtuelle.";
inline constexpr std::string_view GaugeDragging =
    "Glisser jusqu'au coin opposé de la jauge virtuelle.";
inline constexpr std::string_view GaugeDrawn = "Jauge virtuelle tracée.";
inline constexpr std::string_view ExtensometerFirst =
    "Cliquer sur la structure libre le premier noeud de l'extensomètre.";
inline constexpr std::string_view ExtensometerSecond =
    "Cliquer sur la structure libre le second noeud de l'extensomètre.";
inline constexpr std::string_view ExtensometerChosen = "Extensomètre virtuel choisi.";

// Under a resting text the views need no redrawing.
inline bool isResting(std::string_view text) { return text == Waiting || text == NodeMoved; }

// Texts that the first redraw that draws turns back into Waiting.
inline bool isTransient(std::string_view text)
{
    return text == Computed || text == AutoMeshed || text == GridChanged || text == Correlated ||
           text == RegionGridAdded || text == GaugeDrawn || text == ExtensometerChosen;
}

} // namespace ai::status
