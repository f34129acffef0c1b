#include "model/number_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace ai {
namespace {

const NumberFormat comma{','};
const NumberFormat point{'.'};

TEST(NumberText, FormatsWithTheUsersSeparatorAndNoPadding)
{
    EXPECT_EQ(formatSingle(123.5f, comma), "123,5");
    EXPECT_EQ(formatSingle(123.5f, point), "123.5");
    EXPECT_EQ(formatSingle(15015.0f, comma), "15015");
    EXPECT_EQ(formatSingle(-0.0f, comma), "0");
    EXPECT_EQ(formatSingle(1.0f / 3.0f, comma), "0,3333333");
    EXPECT_EQ(formatDouble(1.0 / 3.0, comma), "0,333333333333333");
    EXPECT_EQ(formatDouble(2.0 / 3.0, comma), "0,666666666666667");
    EXPECT_EQ(formatDouble(0.47, comma), "0,47");
    EXPECT_EQ(formatDouble(1e18, comma), "1E+18");
    EXPECT_EQ(formatDouble(-12.5, comma), "-12,5");
    EXPECT_EQ(formatWhole(1150), "1150");
}

TEST(NumberText, ParsesOnlyWholeNumbersInTheUsersFormat)
{
    EXPECT_EQ(parseNumber("0,47", comma), 0.47);
    EXPECT_EQ(parseNumber("-12,50", comma), -12.5);
    EXPECT_EQ(parseNumber("+3", comma), 3.0);
    EXPECT_EQ(parseNumber("0375", comma), 375.0);
    EXPECT_EQ(parseNumber(",5", comma), 0.5);
    EXPECT_EQ(parseNumber("1E+18", comma), 1e18);
    EXPECT_EQ(parseNumber("2,5e-3", comma), 0.0025);
    for (const char* bad : {"", " 1", "1 ", "0.47", "1,000,5", "abc", "1e", "-", ",", "inf",
                            "nan", "1e999", "12a", "+-1"})
        EXPECT_FALSE(parseNumber(bad, comma).has_value()) << bad;
    EXPECT_EQ(parseNumber("0.47", point), 0.47);
    EXPECT_FALSE(parseNumber("0,47", point).has_value());
    EXPECT_EQ(parseNumberAnySeparator("12,5"), 12.5);
    EXPECT_EQ(parseNumberAnySeparator("12.5"), 12.5);
    EXPECT_FALSE(parseNumberAnySeparator("1.000,5").has_value());
}

TEST(NumberText, ClickCoordinatesBehaveAsTheirSevenDigitText)
{
    // A click value held as a number must equal its single-precision text read back.
    EXPECT_EQ(clickCoordinate(123.5f), 123.5);
    const float third = 1.0f / 3.0f;
    EXPECT_EQ(clickCoordinate(third), 0.3333333);
    EXPECT_EQ(clickCoordinate(123456.78f), 123456.8);
    EXPECT_EQ(formatDouble(clickCoordinate(third), comma), formatSingle(third, comma));
    EXPECT_EQ(roundTo15Digits(2.0 / 3.0), 0.666666666666667);
    EXPECT_EQ(roundTo15Digits(-std::numeric_limits<double>::max()),
              -std::numeric_limits<double>::infinity());
    EXPECT_EQ(roundTo15Digits(1e300), 1e300);
}

TEST(NumberText, ToSingleMatchesReadingTheTextAsASingle)
{
    EXPECT_EQ(toSingle(49.9), 49.9f);
    EXPECT_EQ(toSingle(350.0), 350.0f);
    // 16777217 lies exactly halfway between two floats; its text reads as 16777216 in
    // single precision (ties to even), as does the double.
    EXPECT_EQ(toSingle(16777217.0), 16777216.0f);
    // A value whose double sits exactly on a midpoint, although its text does not.
    const double midpoint = 1.0 + 0x1.0p-24; // halfway between 1 and the next float
    EXPECT_EQ(toSingle(midpoint), 1.0f);
}

} // namespace
} // namespace ai
