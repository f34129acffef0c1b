#include "ui/tiff_rows.h"

#include <tiffio.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace ai::ui {

namespace {

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

// libtiff writes its warnings and errors to the terminal by default; a failed read says enough.
void quiet(const char*, const char*, va_list) {}

} // namespace

std::optional<QImage> readTiffTopLeft(const std::string& path, QSize visible,
                                      std::int64_t maxPixels)
{
    TIFFSetWarningHandler(quiet);
    TIFFSetErrorHandler(quiet);
    const std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpen(path.c_str(), "r"));
    if (!tiff)
        return std::nullopt;
    std::uint32_t width = 0, height = 0;
    std::uint16_t bits = 0, samples = 0, planar = 0, photometric = 0, orientation = 1;
    if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) ||
        !TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits) ||
        !TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples) ||
        !TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PLANARCONFIG, &planar) ||
        !TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric))
        return std::nullopt;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &orientation);
    const bool rgb = photometric == PHOTOMETRIC_RGB && samples == 3;
    const bool grey = photometric == PHOTOMETRIC_MINISBLACK && samples == 1;
    if (TIFFIsTiled(tiff.get()) || bits != 8 || (!rgb && !grey) || planar != PLANARCONFIG_CONTIG ||
        orientation != ORIENTATION_TOPLEFT || width == 0 || height == 0 ||
        static_cast<std::int64_t>(width) * height > maxPixels)
        return std::nullopt;

    const int columns = std::min(visible.width(), static_cast<int>(width));
    const int rows = std::min(visible.height(), static_cast<int>(height));
    QImage image(columns, rows, QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    std::vector<unsigned char> row(static_cast<std::size_t>(TIFFScanlineSize(tiff.get())));
    if (row.size() < static_cast<std::size_t>(width) * samples)
        return std::nullopt;
    // Scanlines are read in order, each strip decoded once: the rows below are never read.
    for (int y = 0; y < rows; ++y) {
        if (TIFFReadScanline(tiff.get(), row.data(), static_cast<std::uint32_t>(y)) < 0)
            return std::nullopt;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < columns; ++x) {
            const unsigned char* s = &row[static_cast<std::size_t>(x) * samples];
            line[x] = rgb ? qRgb(s[0], s[1], s[2]) : qRgb(s[0], s[0], s[0]);
        }
    }
    return image;
}

} // namespace ai::ui
