#include "ui/jpeg_grey.h"

#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include <csetjmp>
#include <vector>

namespace ai::ui {

namespace {

// A progressive file may hold any number of scans, each a pass over the whole picture:
// far more than any encoder writes is refused rather than decoded for minutes.
constexpr int kMostScans = 1000;

struct Decompressor {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    bool damaged = false;
    std::FILE* file = nullptr;

    ~Decompressor()
    {
        jpeg_destroy_decompress(&info);
        if (file)
            std::fclose(file);
    }
};

Decompressor& owner(j_common_ptr info) { return *static_cast<Decompressor*>(info->client_data); }

[[noreturn]] void jumpOnError(j_common_ptr info) { std::longjmp(owner(info).jump, 1); }

// libjpeg goes on after corrupt data with a warning (level -1), filling the rest: that
// photograph is damaged.
void noteWarning(j_common_ptr info, int level)
{
    if (level < 0)
        owner(info).damaged = true;
}

void countScans(j_common_ptr common)
{
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMostScans)
        std::longjmp(owner(common).jump, 1);
}

// Opens the file and sets libjpeg up on it; false with `error` set.
bool start(Decompressor& d, const std::string& path, PictureError& error)
{
    error.failure = PictureFailure::Unreadable;
    d.file = std::fopen(path.c_str(), "rb");
    if (!d.file)
        return false;
    error.failure = PictureFailure::Damaged;
    d.info.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = jumpOnError;
    d.errors.emit_message = noteWarning;
    d.info.client_data = &d;
    jpeg_create_decompress(&d.info);
    d.progress.progress_monitor = countScans;
    d.info.progress = &d.progress;
    jpeg_stdio_src(&d.info, d.file);
    return true;
}

} // namespace

std::optional<QSize> jpegSize(const std::string& path, PictureError& error)
{
    Decompressor d;
    if (!start(d, path, error))
        return std::nullopt;
    if (setjmp(d.jump))
        return std::nullopt;
    jpeg_read_header(&d.info, TRUE);
    error = {};
    return QSize(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));
}

namespace {

// Decodes into `grey`, which like every owner of memory lives outside the jump's scope.
bool readGrey(Decompressor& d, std::int64_t maxPixels, GreyImage& grey,
              std::vector<JSAMPLE>& cmyk, PictureError& error)
{
    if (setjmp(d.jump))
        return false;
    jpeg_read_header(&d.info, TRUE);
    error.size = QSize(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));
    if (static_cast<std::int64_t>(d.info.image_width) * d.info.image_height > maxPixels) {
        error.failure = PictureFailure::TooLarge;
        return false;
    }
    // libjpeg cannot take four-channel files to grey: those rows come as CMYK.
    const bool fourChannels =
        d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = fourChannels ? JCS_CMYK : JCS_GRAYSCALE;
    jpeg_start_decompress(&d.info);
    grey.width = error.size.width();
    grey.height = error.size.height();
    grey.levels.resize(static_cast<std::size_t>(grey.width) * grey.height);
    if (fourChannels)
        cmyk.resize(static_cast<std::size_t>(grey.width) * 4);
    while (d.info.output_scanline < d.info.output_height) {
        std::uint8_t* out = &grey.levels[std::size_t{d.info.output_scanline} * grey.width];
        JSAMPROW row = fourChannels ? cmyk.data() : out;
        jpeg_read_scanlines(&d.info, &row, 1);
        if (!fourChannels)
            continue;
        // The inverted CMYK that Adobe's programs write, as Qt's reader takes it.
        for (int x = 0; x < grey.width; ++x) {
            const JSAMPLE* p = &cmyk[static_cast<std::size_t>(x) * 4];
            out[x] = static_cast<std::uint8_t>(
                qGray(p[0] * p[3] / 255, p[1] * p[3] / 255, p[2] * p[3] / 255));
        }
    }
    jpeg_finish_decompress(&d.info);
    return !d.damaged;
}

} // namespace

std::shared_ptr<GreyImage> decodeJpegGrey(const std::string& path, std::int64_t maxPixels,
                                          PictureError& error)
{
    Decompressor d;
    if (!start(d, path, error))
        return nullptr;
    auto grey = std::make_shared<GreyImage>();
    std::vector<JSAMPLE> cmyk;
    if (!readGrey(d, maxPixels, *grey, cmyk, error))
        return nullptr;
    error = {};
    return grey;
}

} // namespace ai::ui
