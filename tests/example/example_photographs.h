#pragma once

#include "correlation/grey_image.h"
#include "correlation/synthetic_speckle.h"

#include <QImage>

#include <string>

namespace ai::example {

using testing::withNoise;

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

} // namespace ai::example
