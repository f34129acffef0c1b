// The texts that the bars show while moved: meaning, unit, pixels in the user's format.
#include "shell/bar_value_text.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

TEST(BarValueText, SaysTheMeaningAndUnitWithLengthsInPixelsInTheUsersFormat)
{
    const struct {
        Bar bar;
        int value;
        char decimal;
        const char* text;
    } cases[] = {
        {Bar::VScroll1, 7, ',', "Nombre de noeuds en y : 7"},
        {Bar::HScroll2, 170, ',', "Espacement en x : 11,33 px"},
        {Bar::VScroll2, 150, '.', "Espacement en y : 10 px"},
        {Bar::HScroll3, 1015, ',', "Allongement de chaque maille en x sur la structure chargée : +1 px"},
        {Bar::VScroll3, 993, '.', "Allongement de chaque maille en y sur la structure chargée : -0.47 px"},
        {Bar::HScroll3, 1000, ',', "Allongement de chaque maille en x sur la structure chargée : 0 px"},
        {Bar::HScroll4, 0, ',', "Premier noeud sur la structure libre : x = 0 px"},
        {Bar::VScroll5, 10000, ',', "Premier noeud sur la structure chargée : y = 666,67 px"},
        {Bar::HScroll6, 400, ',', "Distance de voisinage : 26,67 px"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(barValueText(c.bar, c.value, NumberFormat{c.decimal}), c.text);
}

} // namespace
} // namespace ai
