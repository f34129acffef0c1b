#include "correlation/whole_pixel_search.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace ai {

namespace {

bool subsetInside(const GreyImage& image, int column, int row, int half)
{
    return column - half >= 0 && row - half >= 0 && column + half < image.width &&
           row + half < image.height;
}

// Sums of the grey levels and of their squares over any rectangle, from prefix sums.
class PrefixSums {
public:
    PrefixSums(const GreyImage& image, int left, int top, int width, int height)
        : left_(left), top_(top), stride_(static_cast<std::size_t>(width) + 1),
          sums_(stride_ * (static_cast<std::size_t>(height) + 1)), squares_(sums_.size())
    {
        for (int y = 0; y < height; ++y) {
            std::int64_t rowSum = 0;
            std::int64_t rowSquares = 0;
            for (int x = 0; x < width; ++x) {
                const std::int64_t g = image.at(left + x, top + y);
                rowSum += g;
                rowSquares += g * g;
                const std::size_t at = index(x + 1, y + 1);
                sums_[at] = sums_[index(x + 1, y)] + rowSum;
                squares_[at] = squares_[index(x + 1, y)] + rowSquares;
            }
        }
    }

    // Over the square of side `side` whose top-left pixel is (column, row).
    void square(int column, int row, int side, std::int64_t& sum, std::int64_t& squares) const
    {
        const int x = column - left_;
        const int y = row - top_;
        auto box = [&](const std::vector<std::int64_t>& s) {
            return s[index(x + side, y + side)] - s[index(x, y + side)] - s[index(x + side, y)] +
                   s[index(x, y)];
        };
        sum = box(sums_);
        squares = box(squares_);
    }

private:
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x);
    }

    int left_;
    int top_;
    std::size_t stride_;
    std::vector<std::int64_t> sums_;
    std::vector<std::int64_t> squares_;
};

} // namespace

std::optional<WholePixelMatch> searchWholePixel(const GreyImage& free, int column, int row,
                                                int half, const GreyImage& loaded,
                                                int guessColumn, int guessRow, int radius)
{
    if (!subsetInside(free, column, row, half))
        return std::nullopt;
    const int side = 2 * half + 1;
    const double count = static_cast<double>(side) * side;

    std::vector<std::int32_t> reference(static_cast<std::size_t>(side) * side);
    std::int64_t freeSum = 0;
    std::int64_t freeSquares = 0;
    for (int j = 0; j < side; ++j)
        for (int k = 0; k < side; ++k) {
            const std::int32_t f = free.at(column - half + k, row - half + j);
            reference[static_cast<std::size_t>(j * side + k)] = f;
            freeSum += f;
            freeSquares += static_cast<std::int64_t>(f) * f;
        }
    const double freeSpread =
        static_cast<double>(freeSquares) - static_cast<double>(freeSum) * freeSum / count;
    if (freeSpread <= 0.0)
        return std::nullopt;

    // The candidate centres whose subsets lie in the loaded photograph.
    const int firstColumn = std::max(guessColumn - radius, half);
    const int lastColumn = std::min(guessColumn + radius, loaded.width - 1 - half);
    const int firstRow = std::max(guessRow - radius, half);
    const int lastRow = std::min(guessRow + radius, loaded.height - 1 - half);
    if (firstColumn > lastColumn || firstRow > lastRow)
        return std::nullopt;
    const int columns = lastColumn - firstColumn + 1;
    const PrefixSums sums(loaded, firstColumn - half, firstRow - half, columns + side - 1,
                          lastRow - firstRow + side);

    std::optional<WholePixelMatch> best;
    std::vector<std::int32_t> products(static_cast<std::size_t>(columns));
    for (int candidateRow = firstRow; candidateRow <= lastRow; ++candidateRow) {
        // The products of every candidate of this row at once: the innermost loop runs
        // over neighbouring candidates, contiguous in memory.
        std::fill(products.begin(), products.end(), 0);
        for (int j = 0; j < side; ++j) {
            const std::uint8_t* line =
                &loaded.levels[static_cast<std::size_t>(candidateRow - half + j) *
                                   static_cast<std::size_t>(loaded.width) +
                               static_cast<std::size_t>(firstColumn - half)];
            const std::int32_t* referenceLine = &reference[static_cast<std::size_t>(j * side)];
            for (int k = 0; k < side; ++k) {
                const std::int32_t f = referenceLine[k];
                const std::uint8_t* g = line + k;
                for (int c = 0; c < columns; ++c)
                    products[static_cast<std::size_t>(c)] += f * g[c];
            }
        }
        for (int c = 0; c < columns; ++c) {
            std::int64_t sum = 0;
            std::int64_t squares = 0;
            sums.square(firstColumn + c - half, candidateRow - half, side, sum, squares);
            const double spread =
                static_cast<double>(squares) - static_cast<double>(sum) * sum / count;
            if (spread <= 0.0)
                continue;
            const double covariance = static_cast<double>(products[static_cast<std::size_t>(c)]) -
                                      static_cast<double>(freeSum) * sum / count;
            const double zncc = covariance / std::sqrt(freeSpread * spread);
            if (!best || zncc > best->zncc)
                best = WholePixelMatch{firstColumn + c, candidateRow, zncc};
        }
    }
    return best;
}

} // namespace ai
