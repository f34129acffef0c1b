#include "analysis/material.h"

namespace ai {

namespace {

std::string separatorName(const NumberFormat& format)
{
    if (format.decimal == ',')
        return "une virgule décimale";
    if (format.decimal == '.')
        return "un point décimal";
    return std::string("le séparateur décimal « ") + format.decimal + " »";
}

// What is wrong with a text that is not a number, as a sentence of the message.
std::string notANumber(std::string_view text)
{
    return text.empty() ? std::string("la case est vide")
                        : "« " + std::string(text) + " » n'est pas un nombre";
}

std::string poissonHint(const NumberFormat& format)
{
    return "Le taper avec " + separatorName(format) + ", par exemple " + formatDouble(0.3, format) +
           ".";
}

} // namespace

MaterialReading readMaterial(std::string_view youngText, std::string_view poissonText,
                             bool planeStress, const NumberFormat& format)
{
    const auto young = parseNumber(youngText, format);
    if (!young)
        return {std::nullopt, "Module de Young incorrect : " + notANumber(youngText) +
                                  ". Taper le module en MPa avec " + separatorName(format) +
                                  ", par exemple " + formatDouble(72.5, format) + "."};

    const auto poisson = parseNumber(poissonText, format);
    if (!poisson)
        return {std::nullopt, "Coefficient de Poisson incorrect : " + notANumber(poissonText) +
                                  ". " + poissonHint(format)};

    const double nu = *poisson;
    if (planeStress && (nu == 1.0 || nu == -1.0))
        return {std::nullopt, "Coefficient de Poisson incorrect : en hypothèse de contraintes "
                              "planes, il ne peut valoir ni 1 ni -1. " +
                                  poissonHint(format)};
    if (!planeStress && (nu == 0.5 || nu == -1.0))
        return {std::nullopt, "Coefficient de Poisson incorrect : en hypothèse de déformations "
                              "planes, il ne peut valoir ni " +
                                  formatDouble(0.5, format) + " ni -1. " + poissonHint(format)};

    return {Material{*young, nu}, {}};
}

} // namespace ai
