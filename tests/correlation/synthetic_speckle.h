#pragma once

#include "correlation/grey_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace ai::testing {

// A smooth speckle: dark Gaussian dots of about 2 pixels' radius on a light ground,
// defined everywhere in pixel coordinates, so that a photograph of it moved by any known
// map can be rendered exactly.
class SyntheticSpeckle {
public:
    explicit SyntheticSpeckle(int width, int height, unsigned seed = 7)
        : width_(width), height_(height)
    {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> x(-10.0, width + 10.0);
        std::uniform_real_distribution<double> y(-10.0, height + 10.0);
        std::uniform_real_distribution<double> size(1.4, 2.6);
        const int dots = width * height / 14;
        for (int i = 0; i < dots; ++i)
            dots_.push_back({x(random), y(random), size(random)});
        // Bins of 8 pixels so that each point looks at the dots near it only.
        columns_ = (width + 20) / 8 + 1;
        bins_.resize(static_cast<std::size_t>(columns_ * ((height + 20) / 8 + 1)));
        for (std::size_t i = 0; i < dots_.size(); ++i)
            bins_[bin(dots_[i].x, dots_[i].y)].push_back(i);
    }

    // Brightness 0..1 of the material point (x, y).
    double brightness(double x, double y) const
    {
        double dark = 0.0;
        const int bx = static_cast<int>((x + 10.0) / 8.0);
        const int by = static_cast<int>((y + 10.0) / 8.0);
        for (int j = by - 1; j <= by + 1; ++j)
            for (int i = bx - 1; i <= bx + 1; ++i) {
                if (i < 0 || j < 0 || i >= columns_ ||
                    static_cast<std::size_t>(j * columns_ + i) >= bins_.size())
                    continue;
                for (const std::size_t d : bins_[static_cast<std::size_t>(j * columns_ + i)]) {
                    const Dot& dot = dots_[d];
                    const double r2 = (x - dot.x) * (x - dot.x) + (y - dot.y) * (y - dot.y);
                    dark += std::exp(-r2 / (2.0 * dot.size * dot.size));
                }
            }
        return 0.9 - 0.75 * std::min(dark, 1.0);
    }

    // The photograph whose pixel (i, j) sees the material point materialPoint(i, j), with
    // 3 x 3 samples per pixel; as large as the material unless told otherwise.
    GreyImage render(const std::function<void(double&, double&)>& materialPoint, int width = 0,
                     int height = 0) const
    {
        width = width > 0 ? width : width_;
        height = height > 0 ? height : height_;
        GreyImage image{width, height,
                        std::vector<std::uint8_t>(static_cast<std::size_t>(width * height))};
        for (int j = 0; j < height; ++j)
            for (int i = 0; i < width; ++i) {
                double sum = 0.0;
                for (int a = 0; a < 3; ++a)
                    for (int b = 0; b < 3; ++b) {
                        double x = i - 0.5 + (a + 0.5) / 3.0;
                        double y = j - 0.5 + (b + 0.5) / 3.0;
                        materialPoint(x, y);
                        sum += brightness(x, y);
                    }
                image.levels[static_cast<std::size_t>(j * width + i)] =
                    static_cast<std::uint8_t>(std::lround(255.0 * sum / 9.0));
            }
        return image;
    }

private:
    struct Dot {
        double x;
        double y;
        double size;
    };
    std::size_t bin(double x, double y) const
    {
        return static_cast<std::size_t>(static_cast<int>((y + 10.0) / 8.0) * columns_ +
                                        static_cast<int>((x + 10.0) / 8.0));
    }

    int width_;
    int height_;
    int columns_ = 0;
    std::vector<Dot> dots_;
    std::vector<std::vector<std::size_t>> bins_;
};

// A copy with Gaussian noise of `fraction` of the grey range, rounded to grey levels.
inline GreyImage withNoise(GreyImage image, double fraction, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 255.0 * fraction);
    for (auto& level : image.levels)
        level = static_cast<std::uint8_t>(std::clamp(std::lround(level + noise(random)), 0L, 255L));
    return image;
}

} // namespace ai::testing
