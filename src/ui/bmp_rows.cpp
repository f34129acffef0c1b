#include "ui/bmp_rows.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace ai::ui {

namespace {

// Little-endian fields of the headers.
std::uint32_t u32(const unsigned char* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}
std::uint16_t u16(const unsigned char* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

} // namespace

std::optional<QImage> readBmpTopLeft(const std::string& path, QSize visible,
                                     std::int64_t maxPixels)
{
    std::ifstream file(path, std::ios::binary);
    // The file header (14 bytes) and the plain info header (40 bytes) that Qt and most
    // programs write; the larger ones may carry alpha and colour spaces, left to Qt.
    std::array<unsigned char, 54> header{};
    if (!file.read(reinterpret_cast<char*>(header.data()), header.size()) ||
        header[0] != 'B' || header[1] != 'M' || u32(&header[14]) != 40)
        return std::nullopt;
    const std::uint32_t offset = u32(&header[10]);
    const auto width = static_cast<std::int32_t>(u32(&header[18]));
    const auto signedHeight = static_cast<std::int32_t>(u32(&header[22]));
    const std::uint16_t bits = u16(&header[28]);
    const std::uint32_t compression = u32(&header[30]);
    if (u16(&header[26]) != 1 || (bits != 24 && bits != 32) || compression != 0 || width <= 0 ||
        signedHeight == 0 || signedHeight == INT32_MIN)
        return std::nullopt;
    const std::int64_t height = std::abs(static_cast<std::int64_t>(signedHeight));
    if (static_cast<std::int64_t>(width) * height > maxPixels)
        return std::nullopt;
    const bool bottomUp = signedHeight > 0;
    const int bytesPerPixel = bits / 8;
    const std::int64_t stride = (static_cast<std::int64_t>(width) * bits + 31) / 32 * 4;

    const int columns = std::min(visible.width(), static_cast<int>(width));
    const int rows = static_cast<int>(std::min<std::int64_t>(visible.height(), height));
    QImage image(columns, rows, QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    std::vector<unsigned char> row(static_cast<std::size_t>(columns * bytesPerPixel));
    for (int y = 0; y < rows; ++y) {
        const std::int64_t fileRow = bottomUp ? height - 1 - y : y;
        file.seekg(static_cast<std::streamoff>(offset + fileRow * stride));
        if (!file.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(row.size())))
            return std::nullopt;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < columns; ++x) {
            const unsigned char* bgr = &row[static_cast<std::size_t>(x * bytesPerPixel)];
            line[x] = qRgb(bgr[2], bgr[1], bgr[0]);
        }
    }
    return image;
}

} // namespace ai::ui
