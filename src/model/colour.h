#pragma once

#include <cstdint>

namespace ai {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kNodeMarkRed{255, 0, 0};
// A node that a correlation did not find: a colour far from the red mark and from the
// edges' blue, and from the greys of a photograph.
inline constexpr Rgb kNotFoundMark{255, 0, 255};

} // namespace ai
