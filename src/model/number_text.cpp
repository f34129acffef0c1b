#include "model/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace ai {

namespace {

// std::to_chars in general format with a precision, then the general-number
// conventions: upper-case exponent and the locale's decimal separator.
std::string formatGeneral(double value, int digits, const NumberFormat& format)
{
    if (value == 0.0)
        return "0"; // no "-0"
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, digits);
    std::string text(buffer.data(), result.ptr);
    for (char& c : text) {
        if (c == '.')
            c = format.decimal;
        else if (c == 'e')
            c = 'E';
    }
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Digits past these cannot move a number to another double as long as one that is not 0
// among them is kept as a 1: every halfway point between doubles has fewer digits.
constexpr std::size_t kKeptDigits = 800;

// Checks the shape [sign] digits [sep digits] [E [sign] digits] and converts it. The
// digits are kept in a short text however long the number is written.
std::optional<double> parseWith(std::string_view text, char separator, char otherSeparator)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The value is significant x 10^scale, significant without leading zeros.
    std::string significant;
    long long scale = 0;
    bool digits = false;
    bool seenSeparator = false;
    bool droppedOther = false; // a digit other than 0 past the kept ones
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            digits = true;
            if (significant.empty() && c == '0') {
                scale -= seenSeparator ? 1 : 0;
            } else if (significant.size() < kKeptDigits) {
                significant.push_back(c);
                scale -= seenSeparator ? 1 : 0;
            } else {
                droppedOther = droppedOther || c != '0';
                scale += seenSeparator ? 0 : 1;
            }
        } else if ((c == separator || c == otherSeparator) && !seenSeparator) {
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        const bool negativeExponent = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        bool exponentDigits = false;
        // Saturated far beyond any double's exponent.
        for (; i < text.size() && isDigit(text[i]); ++i) {
            exponentDigits = true;
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000'000LL);
        }
        if (!exponentDigits)
            return std::nullopt;
        exponent = negativeExponent ? -exponent : exponent;
    }
    if (i != text.size())
        return std::nullopt;
    if (significant.empty())
        return negative ? -0.0 : 0.0;
    if (droppedOther) {
        significant.push_back('1');
        --scale;
    }

    const long long power = scale + exponent;
    const std::string plain = (negative ? "-" : "") + significant + "e" + std::to_string(power);
    double value = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    // Below 1 (fewer digits than the power takes away), out of range is too small for a
    // double: its double is 0, as 1e-400.
    if (result.ec == std::errc::result_out_of_range &&
        static_cast<long long>(significant.size()) + power <= 0)
        return 0.0;
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::string formatSingle(float value, const NumberFormat& format)
{
    // Formatting the float through a double keeps its value; 7 digits are the
    // single-precision general format.
    return formatGeneral(static_cast<double>(value), 7, format);
}

std::string formatDouble(double value, const NumberFormat& format)
{
    return formatGeneral(value, 15, format);
}

std::string formatWhole(long long value) { return std::to_string(value); }

std::optional<double> parseNumber(std::string_view text, const NumberFormat& format)
{
    return parseWith(text, format.decimal, format.decimal);
}

std::optional<double> parseNumberAnySeparator(std::string_view text)
{
    return parseWith(text, ',', '.');
}

double clickCoordinate(float value)
{
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                       static_cast<double>(value), std::chars_format::general, 7);
    double result = 0.0;
    std::from_chars(buffer.data(), written.ptr, result);
    return result;
}

namespace {

// Powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowers{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The 15-digit rounding without making the text, where it is sure: the value scaled to 15
// integer digits in extended precision (which holds every power of ten used exactly, and
// the product within 1e-4), rounded to that integer unless it lies near a halfway point,
// then scaled back by one exact power of ten, a single correctly rounded operation.
std::optional<double> quickRoundTo15Digits(double value)
{
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-7 && magnitude < 1e21))
        return std::nullopt;
    const int power = static_cast<int>(std::floor(std::log10(magnitude)));
    const int shift = 14 - power; // from -6 to 21
    const long double scaled =
        shift >= 0
            ? static_cast<long double>(magnitude) * kExactPowers[static_cast<std::size_t>(shift)]
            : static_cast<long double>(magnitude) / kExactPowers[static_cast<std::size_t>(-shift)];
    if (scaled < 1e14L || scaled >= 1e15L - 1)
        return std::nullopt; // the power of ten was off by one
    const long double whole = std::floor(scaled);
    const long double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5L) < 1e-3L)
        return std::nullopt;
    const double digits = static_cast<double>(whole + (fraction > 0.5L ? 1 : 0));
    const double rounded = shift >= 0 ? digits / kExactPowers[static_cast<std::size_t>(shift)]
                                      : digits * kExactPowers[static_cast<std::size_t>(-shift)];
    return std::copysign(rounded, value);
}

} // namespace

double roundTo15Digits(double value)
{
    if (!std::isfinite(value))
        return value;
    if (const auto quick = quickRoundTo15Digits(value))
        return *quick;
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::general, 15);
    double result = 0.0;
    // Next to the largest double, the 15-digit text lies beyond it: that text reads as
    // an infinity, as no number.
    if (std::from_chars(buffer.data(), written.ptr, result).ec == std::errc::result_out_of_range)
        return std::copysign(std::numeric_limits<double>::infinity(), value);
    return result;
}

float toSingle(double value)
{
    const float rounded = static_cast<float>(value);
    if (!std::isfinite(rounded) || static_cast<double>(rounded) == value)
        return rounded;
    // The double may sit exactly halfway between two floats although the decimal
    // text it came from does not: only then does rounding through the double differ
    // from reading the text as a single, so read the text again in that case.
    const float other = static_cast<double>(rounded) < value
                            ? std::nextafter(rounded, std::numeric_limits<float>::infinity())
                            : std::nextafter(rounded, -std::numeric_limits<float>::infinity());
    const double midpoint = (static_cast<double>(rounded) + static_cast<double>(other)) / 2.0;
    if (midpoint != value)
        return rounded;
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::general, 15);
    float result = 0.0f;
    std::from_chars(buffer.data(), written.ptr, result);
    return result;
}

} // namespace ai
