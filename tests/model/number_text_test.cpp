#include "model/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace ai {
namespace {

const NumberFormat comma{','};
using Numbers = std::vector<std::optional<double>>;

std::string texts(auto format, auto... values) { return ((format(values, comma) + " ") + ...); }
Numbers numbers(auto parse, auto... texts) { return {parse(texts)...}; }

TEST(NumberText, WritesAndReadsTheUsersFormatAndHeldValuesBehaveAsTheirText)
{
    EXPECT_EQ(texts(formatSingle, 123.5f, 15015.0f, -0.0f, 1.0f / 3.0f),
              "123,5 15015 0 0,3333333 ");
    EXPECT_EQ(texts(formatDouble, 1.0 / 3.0, 2.0 / 3.0, 0.47, 1e18, -12.5),
              "0,333333333333333 0,666666666666667 0,47 1E+18 -12,5 ");
    EXPECT_EQ(formatSingle(123.5f, {'.'}) + " " + formatWhole(1150), "123.5 1150");
    const auto user = [](const char* text) { return parseNumber(text, comma); };
    EXPECT_EQ(numbers(user, "0,47", "-12,50", "+3", "0375", ",5", "1E+18", "2,5e-3"),
              (Numbers{0.47, -12.5, 3.0, 375.0, 0.5, 1e18, 0.0025}));
    // Below the smallest double the value is 0; above the largest, no number.
    EXPECT_EQ(numbers(user, "1e-400", "-0,00012E-320", "0e-99999", "12345e-328", "0,1e310"),
              (Numbers{0.0, 0.0, 0.0, 0.0, std::nullopt}));
    // However many digits: a 1 after a thousand zeros puts 2^53 + 1 above the halfway point.
    const std::string zeros(1000, '0');
    const auto text = [](const std::string& t) { return parseNumber(t, comma); };
    EXPECT_EQ(numbers(text, "9007199254740993," + zeros + "1", "9007199254740993," + zeros,
                      "0," + zeros + "123E+1003", "1" + zeros,
                      "-" + zeros + "25" + zeros + "E-1000"),
              (Numbers{9007199254740994.0, 9007199254740992.0, 123.0, std::nullopt, -25.0}));
    EXPECT_EQ(numbers(user, "", " 1", "1 ", "0.47", "1,000,5", "abc", "1e", "-", ",", "inf", "nan",
                      "1e999", "12a", "+-1"),
              Numbers(14));
    EXPECT_EQ(numbers([](const char* text) { return parseNumber(text, {'.'}); }, "0.47", "0,47"),
              (Numbers{0.47, std::nullopt}));
    EXPECT_EQ(numbers(parseNumberAnySeparator, "12,5", "12.5", "1.000,5"),
              (Numbers{12.5, 12.5, std::nullopt}));

    const float third = 1.0f / 3.0f;
    EXPECT_EQ(
        (std::vector{clickCoordinate(123.5f), clickCoordinate(third), clickCoordinate(123456.78f)}),
        (std::vector{123.5, 0.3333333, 123456.8}));
    EXPECT_EQ(formatDouble(clickCoordinate(third), comma), formatSingle(third, comma));
    EXPECT_EQ((std::vector{roundTo15Digits(2.0 / 3.0), roundTo15Digits(1e300),
                           roundTo15Digits(-std::numeric_limits<double>::max())}),
              (std::vector{0.666666666666667, 1e300, -std::numeric_limits<double>::infinity()}));
    // As the text read as a single, not via a double: the ties 16777217 and 1 + 2^-24 go to even.
    EXPECT_EQ((std::vector{toSingle(49.9), toSingle(16777217.0), toSingle(1.0 + 0x1.0p-24)}),
              (std::vector{49.9f, 16777216.0f, 1.0f}));
}

// Rounding to 15 digits is reading back the value's 15-digit text, for every kind of value
// the study rounds: thirds of coordinate sums, strains, stresses, across the powers of ten.
TEST(NumberText, RoundingTo15DigitsIsReadingBackThe15DigitText)
{
    std::mt19937_64 random(12);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> power(-12, 24);
    for (int k = 0; k < 300000; ++k) {
        const double value = k % 3 == 0
                                 ? (mantissa(random) + std::round(mantissa(random) * 1e4)) / 3
                                 : mantissa(random) * std::pow(10.0, power(random));
        char text[64];
        const auto end =
            std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15).ptr;
        double expected = 0.0;
        std::from_chars(text, end, expected);
        ASSERT_EQ(roundTo15Digits(value), expected) << std::string(text, end);
    }
    for (const double exact : {0.1, 1e15 - 1, 999999999999999.5, 1e-7, 1e21, 0.5e-7})
        EXPECT_EQ(roundTo15Digits(exact), std::stod(formatDouble(exact, {'.'}))) << exact;
}

} // namespace
} // namespace ai
