#include "shell/bar_value_text.h"

#include "mesh/structured_grid.h"
#include "model/project_state.h"

#include <cmath>

namespace ai {

namespace {

// Hundredths of a pixel: finer than any bar's step of 1 unit, a fifteenth of a pixel.
std::string pixels(int units, const NumberFormat& format)
{
    return formatDouble(std::round(units / kTwipsPerPixel * 100.0) / 100.0, format) + " px";
}

} // namespace

std::string barValueText(Bar bar, int value, const NumberFormat& format)
{
    const bool alongX = bar == Bar::HScroll1 || bar == Bar::HScroll2 || bar == Bar::HScroll3 ||
                        bar == Bar::HScroll4 || bar == Bar::HScroll5;
    const std::string axis = alongX ? "x" : "y";
    switch (bar) {
    case Bar::HScroll1:
    case Bar::VScroll1:
        return "Nombre de noeuds en " + axis + " : " + formatWhole(value);
    case Bar::HScroll2:
    case Bar::VScroll2:
        return "Espacement en " + axis + " : " + pixels(value, format);
    case Bar::HScroll3:
    case Bar::VScroll3: {
        const int change = value - kNoDeformation;
        return "Allongement de chaque maille en " + axis +
               " sur la structure chargée : " + (change > 0 ? "+" : "") + pixels(change, format);
    }
    case Bar::HScroll4:
    case Bar::VScroll4:
        return "Premier noeud sur la structure libre : " + axis + " = " + pixels(value, format);
    case Bar::HScroll5:
    case Bar::VScroll5:
        return "Premier noeud sur la structure chargée : " + axis + " = " + pixels(value, format);
    case Bar::HScroll6:
        return "Distance de voisinage : " + pixels(value, format);
    }
    return {};
}

} // namespace ai
