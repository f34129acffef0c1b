#pragma once

#include <array>
#include <cstddef>

namespace ai {

// The eleven scroll bars: five pairs of the grid panel `Frame3`, and `HScroll6` of `Frame4`.
enum class Bar {
    HScroll1, VScroll1, HScroll2, VScroll2, HScroll3, VScroll3,
    HScroll4, VScroll4, HScroll5, VScroll5, HScroll6
};
inline constexpr std::size_t kBarCount = 11;

struct BarRange {
    int minimum;
    int maximum;
    int smallStep;
    int largeStep;
    int initial;
};

inline constexpr BarRange barRange(Bar bar)
{
    switch (bar) {
    case Bar::HScroll1: case Bar::VScroll1: return {2, 50, 1, 1, 2};
    case Bar::HScroll2: case Bar::VScroll2: return {50, 5000, 20, 50, 150};
    case Bar::HScroll3: case Bar::VScroll3: return {0, 5000, 5, 1, 1000};
    case Bar::HScroll4: case Bar::VScroll4: return {0, 10000, 20, 1, 0};
    case Bar::HScroll5: case Bar::VScroll5: return {0, 10000, 20, 1, 0};
    case Bar::HScroll6: return {50, 3000, 20, 1, 400};
    }
    return {0, 0, 0, 0, 0};
}

inline constexpr std::size_t index(Bar bar) { return static_cast<std::size_t>(bar); }

inline constexpr bool isGridBar(Bar bar) { return bar != Bar::HScroll6; }

// Values of all bars, starting at their initial values.
struct BarValues {
    std::array<int, kBarCount> values = [] {
        std::array<int, kBarCount> initial{};
        for (std::size_t i = 0; i < kBarCount; ++i)
            initial[i] = barRange(static_cast<Bar>(i)).initial;
        return initial;
    }();

    int operator[](Bar bar) const { return values[index(bar)]; }
    int& operator[](Bar bar) { return values[index(bar)]; }
};

} // namespace ai
