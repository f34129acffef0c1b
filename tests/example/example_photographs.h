#pragma once

#include "correlation/grey_image.h"

#include <QImage>

#include <cmath>
#include <random>
#include <string>

namespace ai::example {

// One of the example's photographs as grey levels.
inline GreyImage readExamplePhotograph(const std::string& name)
{
    const QImage image =
        QImage(QString::fromStdString(ANALYSE_EXAMPLES_DIR "/" + name)).convertToFormat(QImage::Format_Grayscale8);
    GreyImage grey{image.width(), image.height(), {}};
    grey.levels.reserve(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
    for (int row = 0; row < image.height(); ++row) {
        const uchar* line = image.constScanLine(row);
        grey.levels.insert(grey.levels.end(), line, line + image.width());
    }
    return grey;
}

// A copy with Gaussian noise of `fraction` of the grey range, rounded to grey levels.
inline GreyImage withNoise(const GreyImage& image, double fraction, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 255.0 * fraction);
    GreyImage noisy = image;
    for (auto& level : noisy.levels)
        level = static_cast<std::uint8_t>(std::clamp(std::lround(level + noise(random)), 0L, 255L));
    return noisy;
}

} // namespace ai::example
