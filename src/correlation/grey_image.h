#pragma once

#include <cstdint>
#include <vector>

namespace ai {

// The grey levels of a photograph, or of its top-left part, row by row. Pixel column i
// covers the view units around 15 i (its centre), row j likewise.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> levels; // width * height, 0 black to 255 white

    bool empty() const { return width <= 0 || height <= 0; }
    std::uint8_t at(int column, int row) const
    {
        return levels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(column)];
    }
};

} // namespace ai
