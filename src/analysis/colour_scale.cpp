#include "analysis/colour_scale.h"

#include "analysis/colour_ramps.h"

#include <algorithm>
#include <cmath>

namespace ai {

namespace {

std::uint8_t channel(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// The decimals a multiple of `step` needs to be written exactly (2.5 needs one more).
int decimalsOf(double step)
{
    int decimals = 0;
    while (decimals < 12 &&
           std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) >
               1e-9 * step * std::pow(10.0, decimals))
        ++decimals;
    return decimals;
}

} // namespace

Rgb ColourScale::colour(double value) const
{
    if (!diverging)
        return rampB((value - minimum) / (maximum - minimum));
    // White at zero, pure blue at the most negative tick, pure red at the most positive.
    const double t = std::clamp(value / maximum, -1.0, 1.0);
    if (t < 0)
        return {channel(255 * (1 + t)), channel(255 * (1 + t)), 255};
    return {255, channel(255 * (1 - t)), channel(255 * (1 - t))};
}

std::string ColourScale::tickText(double tick, const NumberFormat& format) const
{
    const int decimals = decimalsOf(step);
    const double rounded = std::round(tick / step) * step;
    std::string text = std::to_string(rounded == 0 ? 0.0 : rounded); // no "-0"
    // std::to_string gives six decimals with a point: keep what the step needs.
    const auto point = text.find('.');
    text.resize(decimals == 0 ? point : point + 1 + static_cast<std::size_t>(decimals));
    if (decimals > 6)
        text = formatDouble(rounded, format);
    else if (decimals > 0)
        text[point] = format.decimal;
    return text;
}

ColourScale roundScale(double low, double high, bool diverging)
{
    if (diverging) {
        high = std::max(std::abs(low), std::abs(high));
        low = -high;
    }
    if (!(high > low)) {
        const double pad = low == 0 ? 1.0 : std::abs(low) * 0.1;
        low -= pad;
        high += pad;
    }
    ColourScale scale;
    scale.diverging = diverging;
    if (!std::isfinite(low) || !std::isfinite(high - low)) {
        scale.ticks = {0, 0.2, 0.4, 0.6, 0.8, 1};
        return scale;
    }
    // Of the round steps that give five to ten ticks, the one that wastes the least of the
    // bar's length on values the map does not hold; the larger step on a tie.
    constexpr double kMantissas[] = {5, 2.5, 2, 1};
    double bestFirst = 0, bestLast = 0;
    bool found = false;
    const double top = std::pow(10.0, std::ceil(std::log10(high - low)));
    for (double power = top; power >= top / 1000; power /= 10)
        for (const double mantissa : kMantissas) {
            const double step = mantissa * power;
            const double first = std::floor(low / step + 1e-9);
            const double last = std::ceil(high / step - 1e-9);
            const double count = last - first + 1;
            if (count < 5 || count > 10)
                continue;
            if (!found ||
                (last - first) * step < (bestLast - bestFirst) * scale.step - 1e-12 * step) {
                found = true;
                scale.step = step;
                bestFirst = first;
                bestLast = last;
            }
        }
    scale.minimum = bestFirst * scale.step;
    scale.maximum = bestLast * scale.step;
    for (double k = bestFirst; k <= bestLast; ++k)
        scale.ticks.push_back(k * scale.step);
    return scale;
}

} // namespace ai
