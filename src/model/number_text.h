#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ai {

// The user's general number format: no thousands separator, no leading blank,
// the locale's decimal separator. The GUI passes the system's separator; tests use ','.
struct NumberFormat {
    char decimal = ',';
};

// Text of a single-precision value with at most 7 significant digits.
std::string formatSingle(float value, const NumberFormat& format);

// Text of a double-precision value with at most 15 significant digits.
std::string formatDouble(double value, const NumberFormat& format);

// Text of a whole number ("17", "-3").
std::string formatWhole(long long value);

// Reads a number written in the user's format. The whole text must be the number:
// an optional sign, digits with at most one decimal separator, an optional exponent.
// Empty text, blanks, thousands separators, infinities and NaN give no number.
std::optional<double> parseNumber(std::string_view text, const NumberFormat& format);

// As parseNumber, but takes ',' or '.' as the decimal separator: for files, which
// never hold a thousands separator, so their one separator can only be the decimal one.
std::optional<double> parseNumberAnySeparator(std::string_view text);

// The value a click coordinate has once written as single-precision text and read back.
double clickCoordinate(float value);

// The value a double has once written with 15 significant digits and read back; an
// infinity when that text is beyond the largest double.
double roundTo15Digits(double value);

// Converts a held coordinate to single precision exactly as reading its text as a
// single would (no double rounding through the double value).
float toSingle(double value);

} // namespace ai
