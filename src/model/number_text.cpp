#include "model/number_text.h"

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

// Checks the shape [sign] digits [sep digits] [E [sign] digits] and converts it.
std::optional<double> parseWith(std::string_view text, char separator, char otherSeparator)
{
    std::string plain;
    plain.reserve(text.size());
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain.push_back('-');
        ++i;
    }
    bool digits = false;
    bool seenSeparator = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            digits = true;
            plain.push_back(c);
        } else if ((c == separator || c == otherSeparator) && !seenSeparator) {
            seenSeparator = true;
            plain.push_back('.');
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        plain.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain.push_back(text[i++]);
        bool exponentDigits = false;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            exponentDigits = true;
            plain.push_back(text[i]);
        }
        if (!exponentDigits)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    double value = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
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

double roundTo15Digits(double value)
{
    if (!std::isfinite(value))
        return value;
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
