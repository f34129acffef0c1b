#include "analysis/material.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

const NumberFormat comma{','};

bool contains(const std::string& text, std::string_view part)
{
    return text.find(part) != std::string::npos;
}

TEST(Material, ReadsTheTypedValuesWithTheUsersSeparator)
{
    const auto reading = readMaterial("75", "0,25", true, comma);
    ASSERT_TRUE(reading.material.has_value());
    EXPECT_EQ(reading.material->young, 75.0);
    EXPECT_EQ(reading.material->poisson, 0.25);
    // Away from its own law's poles a ratio is computed, however unphysical.
    EXPECT_TRUE(readMaterial("1", "0,5", true, comma).material.has_value());
    EXPECT_TRUE(readMaterial("1", "1", false, comma).material.has_value());
}

TEST(Material, RefusalsSayWhichValueIsWrongAndWhatIsExpected)
{
    for (const char* young : {"", "abc", "1.5", "1 000"}) {
        const auto reading = readMaterial(young, "0,3", true, comma);
        EXPECT_FALSE(reading.material.has_value()) << young;
        EXPECT_TRUE(contains(reading.refusal, "Module de Young")) << reading.refusal;
        EXPECT_TRUE(contains(reading.refusal, "virgule")) << reading.refusal;
    }
    for (const char* poisson : {"", "0.3", "x"}) {
        const auto reading = readMaterial("1", poisson, false, comma);
        EXPECT_FALSE(reading.material.has_value()) << poisson;
        EXPECT_TRUE(contains(reading.refusal, "Coefficient de Poisson")) << reading.refusal;
    }
    EXPECT_TRUE(
        contains(readMaterial("1", "0,3", true, NumberFormat{'.'}).refusal, "point décimal"));

    for (const char* pole : {"1", "-1", "1,0"}) {
        const auto reading = readMaterial("1", pole, true, comma);
        EXPECT_FALSE(reading.material.has_value()) << pole;
        EXPECT_TRUE(contains(reading.refusal, "contraintes planes")) << reading.refusal;
    }
    for (const char* pole : {"0,5", "-1"}) {
        const auto reading = readMaterial("1", pole, false, comma);
        EXPECT_FALSE(reading.material.has_value()) << pole;
        EXPECT_TRUE(contains(reading.refusal, "ni 0,5 ni -1")) << reading.refusal;
    }
}

} // namespace
} // namespace ai
