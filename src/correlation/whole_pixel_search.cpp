#include "correlation/whole_pixel_search.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
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

// The smallest length from `n` whose only prime factors are 2, 3, 5 and 7: FFTW's fast sizes.
int fastLength(int n)
{
    for (int m = std::max(n, 1);; ++m) {
        int r = m;
        for (const int p : {2, 3, 5, 7})
            while (r % p == 0)
                r /= p;
        if (r == 1)
            return m;
    }
}

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// The buffers of one thread, grown as needed, aligned as FFTW plans them.
struct Buffers {
    std::size_t realSize = 0;
    std::size_t complexSize = 0;
    std::unique_ptr<double, FftwFree> window;
    std::unique_ptr<double, FftwFree> subset;
    std::unique_ptr<fftw_complex, FftwFree> windowSpectrum;
    std::unique_ptr<fftw_complex, FftwFree> subsetSpectrum;

    void reserve(std::size_t real, std::size_t complex)
    {
        if (real > realSize) {
            window.reset(fftw_alloc_real(real));
            subset.reset(fftw_alloc_real(real));
            realSize = real;
        }
        if (complex > complexSize) {
            windowSpectrum.reset(fftw_alloc_complex(complex));
            subsetSpectrum.reset(fftw_alloc_complex(complex));
            complexSize = complex;
        }
    }
};

struct Plans {
    fftw_plan forward;
    fftw_plan backward;
};

// One pair of plans per transform size, made once and kept for the program's life: FFTW's
// planner may not run in two threads at once, its plans may.
class PlanCache {
public:
    ~PlanCache()
    {
        for (auto& [size, plans] : plans_) {
            fftw_destroy_plan(plans.forward);
            fftw_destroy_plan(plans.backward);
        }
    }

    const Plans& plansFor(int rows, int columns)
    {
        const std::lock_guard lock(mutex_);
        auto found = plans_.find({rows, columns});
        if (found != plans_.end())
            return found->second;
        const auto real = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
        const auto complex =
            static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns / 2 + 1);
        const std::unique_ptr<double, FftwFree> in(fftw_alloc_real(real));
        const std::unique_ptr<fftw_complex, FftwFree> out(fftw_alloc_complex(complex));
        const Plans made{
            fftw_plan_dft_r2c_2d(rows, columns, in.get(), out.get(), FFTW_ESTIMATE),
            fftw_plan_dft_c2r_2d(rows, columns, out.get(), in.get(), FFTW_ESTIMATE)};
        return plans_.emplace(std::pair{rows, columns}, made).first->second;
    }

private:
    std::mutex mutex_;
    std::map<std::pair<int, int>, Plans> plans_;
};

const Plans& plansFor(int rows, int columns)
{
    static PlanCache cache;
    return cache.plansFor(rows, columns);
}

// The vertex of the parabola through three scores, as an offset from the middle one.
double parabolaPeak(double before, double middle, double after)
{
    const double curvature = before - 2.0 * middle + after;
    if (!(curvature < 0.0))
        return 0.0;
    return std::clamp(0.5 * (before - after) / curvature, -0.5, 0.5);
}

} // namespace

std::optional<WholePixelMatch> searchWholePixel(const GreyImage& free, int column, int row,
                                                int half, const GreyImage& loaded,
                                                int guessColumn, int guessRow, int radius)
{
    if (!subsetInside(free, column, row, half) || radius < 0)
        return std::nullopt;
    const int side = 2 * half + 1;
    const double count = static_cast<double>(side) * side;

    // The candidate centres whose subsets lie in the loaded photograph.
    const int firstColumn = std::max(guessColumn - radius, half);
    const int lastColumn = std::min(guessColumn + radius, loaded.width - 1 - half);
    const int firstRow = std::max(guessRow - radius, half);
    const int lastRow = std::min(guessRow + radius, loaded.height - 1 - half);
    if (firstColumn > lastColumn || firstRow > lastRow)
        return std::nullopt;
    const int columns = lastColumn - firstColumn + 1;
    const int rows = lastRow - firstRow + 1;
    const int windowColumns = columns + side - 1;
    const int windowRows = rows + side - 1;

    // The transform is at least as large as the window, so the circular correlation of the
    // zero-padded subset over it never wraps for the candidates kept.
    const int fftRows = fastLength(windowRows);
    const int fftColumns = fastLength(windowColumns);
    const auto realSize = static_cast<std::size_t>(fftRows) * static_cast<std::size_t>(fftColumns);
    const int spectrumColumns = fftColumns / 2 + 1;
    const auto complexSize =
        static_cast<std::size_t>(fftRows) * static_cast<std::size_t>(spectrumColumns);
    thread_local Buffers buffers;
    buffers.reserve(realSize, complexSize);
    double* window = buffers.window.get();
    double* subset = buffers.subset.get();
    std::fill(subset, subset + realSize, 0.0);
    std::fill(window, window + realSize, 0.0);

    // The zero-mean free subset: its products with any window are then the covariances.
    double freeMean = 0.0;
    for (int j = 0; j < side; ++j)
        for (int k = 0; k < side; ++k)
            freeMean += free.at(column - half + k, row - half + j);
    freeMean /= count;
    double freeSpread = 0.0;
    for (int j = 0; j < side; ++j)
        for (int k = 0; k < side; ++k) {
            const double f = free.at(column - half + k, row - half + j) - freeMean;
            subset[static_cast<std::size_t>(j * fftColumns + k)] = f;
            freeSpread += f * f;
        }
    if (freeSpread <= 1e-9)
        return std::nullopt;
    for (int j = 0; j < windowRows; ++j) {
        const std::uint8_t* line = &loaded.levels[static_cast<std::size_t>(firstRow - half + j) *
                                                      static_cast<std::size_t>(loaded.width) +
                                                  static_cast<std::size_t>(firstColumn - half)];
        std::copy(line, line + windowColumns, window + static_cast<std::size_t>(j) * fftColumns);
    }

    const Plans& plans = plansFor(fftRows, fftColumns);
    fftw_complex* a = buffers.windowSpectrum.get();
    fftw_complex* b = buffers.subsetSpectrum.get();
    fftw_execute_dft_r2c(plans.forward, window, a);
    fftw_execute_dft_r2c(plans.forward, subset, b);
    // Window times the subset's conjugate: the correlation, not the convolution.
    for (std::size_t i = 0; i < complexSize; ++i) {
        const double re = a[i][0] * b[i][0] + a[i][1] * b[i][1];
        const double im = a[i][1] * b[i][0] - a[i][0] * b[i][1];
        a[i][0] = re;
        a[i][1] = im;
    }
    fftw_execute_dft_c2r(plans.backward, a, window);
    const double scale = 1.0 / static_cast<double>(realSize);

    const PrefixSums sums(loaded, firstColumn - half, firstRow - half, windowColumns, windowRows);
    std::vector<double> scores(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns),
                               -2.0);
    std::optional<WholePixelMatch> best;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            std::int64_t sum = 0;
            std::int64_t squares = 0;
            sums.square(firstColumn - half + c, firstRow - half + r, side, sum, squares);
            const double spread =
                static_cast<double>(squares) - static_cast<double>(sum) * sum / count;
            if (spread <= 1e-9)
                continue;
            const double covariance = window[static_cast<std::size_t>(r * fftColumns + c)] * scale;
            const double zncc = covariance / std::sqrt(freeSpread * spread);
            scores[static_cast<std::size_t>(r * columns + c)] = zncc;
            if (!best || zncc > best->zncc)
                best = WholePixelMatch{firstColumn + c, firstRow + r, zncc, 0.0, 0.0};
        }
    if (!best)
        return best;
    const int c = best->column - firstColumn;
    const int r = best->row - firstRow;
    auto score = [&](int rr, int cc) { return scores[static_cast<std::size_t>(rr * columns + cc)]; };
    if (c > 0 && c + 1 < columns)
        best->offsetColumn = parabolaPeak(score(r, c - 1), best->zncc, score(r, c + 1));
    if (r > 0 && r + 1 < rows)
        best->offsetRow = parabolaPeak(score(r - 1, c), best->zncc, score(r + 1, c));
    return best;
}

} // namespace ai
