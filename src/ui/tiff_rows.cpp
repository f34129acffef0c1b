// TIFF photographs read row by row with libtiff.
#include "ui/picture_rows.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace ai::ui {

namespace {

// The largest block libtiff may allocate at once: a strip or tile, never the picture.
constexpr tmsize_t kSingleAllocationLimit = 256 << 20;
// Rows of 32-bit pixels decoded at once by libtiff's general reader.
constexpr std::int64_t kBandBytes = 64 << 20;

// libtiff writes its warnings and errors to the terminal by default; a failed read says enough.
int quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

class TiffRows final : public PictureRows {
public:
    ~TiffRows() override
    {
        if (general_)
            TIFFRGBAImageEnd(&image_);
        if (tiff_)
            TIFFClose(tiff_);
    }

    bool open(const std::string& path, std::int64_t maxPixels, PictureError& error)
    {
        TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
        TIFFOpenOptionsSetMaxSingleMemAlloc(options, kSingleAllocationLimit);
        TIFFOpenOptionsSetErrorHandlerExtR(options, quiet, nullptr);
        TIFFOpenOptionsSetWarningHandlerExtR(options, quiet, nullptr);
        // Not mapped: a mapped strip would count whole in the memory the program holds.
        tiff_ = TIFFOpenExt(path.c_str(), "rm", options);
        TIFFOpenOptionsFree(options);
        error.failure = PictureFailure::Damaged;
        std::uint32_t width = 0, height = 0;
        if (!tiff_ || !TIFFGetField(tiff_, TIFFTAG_IMAGEWIDTH, &width) ||
            !TIFFGetField(tiff_, TIFFTAG_IMAGELENGTH, &height) || width == 0 || height == 0)
            return false;
        size_ = QSize(static_cast<int>(std::min<std::uint32_t>(width, INT32_MAX)),
                      static_cast<int>(std::min<std::uint32_t>(height, INT32_MAX)));
        error.size = size_;
        if (static_cast<std::int64_t>(width) * height > maxPixels) {
            error.failure = PictureFailure::TooLarge;
            return false;
        }
        std::uint16_t bits = 0, samples = 0, planar = 0, photometric = 0;
        TIFFGetFieldDefaulted(tiff_, TIFFTAG_BITSPERSAMPLE, &bits);
        TIFFGetFieldDefaulted(tiff_, TIFFTAG_SAMPLESPERPIXEL, &samples);
        TIFFGetFieldDefaulted(tiff_, TIFFTAG_PLANARCONFIG, &planar);
        TIFFGetField(tiff_, TIFFTAG_PHOTOMETRIC, &photometric);
        samples_ = samples;
        rgb_ = photometric == PHOTOMETRIC_RGB && samples == 3;
        // The plain photographs, 8-bit RGB or grey in strips, are read a scanline at a time;
        // libtiff's general reader takes every other kind a band of rows at a time, and
        // premultiplies alpha as Qt's reader (which uses it) does.
        const bool plain = !TIFFIsTiled(tiff_) && bits == 8 && planar == PLANARCONFIG_CONTIG &&
                           (rgb_ || (photometric == PHOTOMETRIC_MINISBLACK && samples == 1));
        if (plain) {
            scanline_.resize(static_cast<std::size_t>(TIFFScanlineSize(tiff_)));
            error = {};
            return scanline_.size() >= static_cast<std::size_t>(width) * samples;
        }
        char message[1024] = {};
        if (!TIFFRGBAImageOK(tiff_, message) || !TIFFRGBAImageBegin(&image_, tiff_, 0, message)) {
            error.failure = PictureFailure::NotAPhotograph;
            return false;
        }
        general_ = true;
        // Rows as the file stores them, as the plain reader gives them.
        image_.req_orientation = image_.orientation;
        format_ = image_.alpha != 0 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        std::uint32_t band = 0;
        if (TIFFIsTiled(tiff_))
            TIFFGetField(tiff_, TIFFTAG_TILELENGTH, &band);
        else
            TIFFGetFieldDefaulted(tiff_, TIFFTAG_ROWSPERSTRIP, &band);
        const std::int64_t most = std::max<std::int64_t>(1, kBandBytes / (4 * std::int64_t{width}));
        bandRows_ = static_cast<int>(std::clamp<std::int64_t>(band, 1, std::min<std::int64_t>(most, height)));
        error = {};
        return true;
    }

    bool readRow(int y, uchar* line) override
    {
        auto* pixels = reinterpret_cast<QRgb*>(line);
        const int width = size_.width();
        if (!general_) {
            // Most codecs cannot seek inside a strip: the rows before are decoded and dropped.
            for (; next_ <= y; ++next_)
                if (TIFFReadScanline(tiff_, scanline_.data(), static_cast<std::uint32_t>(next_)) < 0)
                    return false;
            for (int x = 0; x < width; ++x) {
                const unsigned char* s = &scanline_[static_cast<std::size_t>(x) * samples_];
                pixels[x] = rgb_ ? qRgb(s[0], s[1], s[2]) : qRgb(s[0], s[0], s[0]);
            }
            return true;
        }
        if (y < bandTop_ || y >= bandTop_ + bandHeight_) {
            bandTop_ = y / bandRows_ * bandRows_;
            bandHeight_ = std::min(bandRows_, size_.height() - bandTop_);
            band_.resize(static_cast<std::size_t>(width) * bandHeight_);
            image_.row_offset = bandTop_;
            image_.col_offset = 0;
            if (!TIFFRGBAImageGet(&image_, band_.data(), static_cast<std::uint32_t>(width),
                                  static_cast<std::uint32_t>(bandHeight_))) {
                bandHeight_ = 0;
                return false;
            }
        }
        const std::uint32_t* from = &band_[static_cast<std::size_t>(y - bandTop_) * width];
        for (int x = 0; x < width; ++x)
            pixels[x] = qRgba(static_cast<int>(TIFFGetR(from[x])), static_cast<int>(TIFFGetG(from[x])),
                              static_cast<int>(TIFFGetB(from[x])), static_cast<int>(TIFFGetA(from[x])));
        return true;
    }

private:
    TIFF* tiff_ = nullptr;
    int samples_ = 0;
    bool rgb_ = false;
    std::vector<unsigned char> scanline_;
    int next_ = 0;
    bool general_ = false;
    TIFFRGBAImage image_{};
    int bandRows_ = 1;
    int bandTop_ = 0;
    int bandHeight_ = 0;
    std::vector<std::uint32_t> band_;
};

} // namespace

std::unique_ptr<PictureRows> openTiffRows(const std::string& path, std::int64_t maxPixels,
                                          PictureError& error)
{
    auto rows = std::make_unique<TiffRows>();
    if (!rows->open(path, maxPixels, error))
        return nullptr;
    return rows;
}

} // namespace ai::ui
