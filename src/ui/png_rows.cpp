#include "ui/png_rows.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace ai::ui {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports errors by longjmp: everything that owns memory lives outside the jump's
// scope, and nothing between the setjmp and the jump needs destroying.
struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
};

// Reads the rows into `image`, which the caller made of the clipped size; false on damage.
bool readRows(PngReader& reader, std::FILE* file, QImage& image, std::vector<png_byte>& row,
              std::int64_t maxPixels, QSize visible)
{
    if (setjmp(png_jmpbuf(reader.png)))
        return false;
    png_init_io(reader.png, file);
    png_read_info(reader.png, reader.info);
    const png_uint_32 width = png_get_image_width(reader.png, reader.info);
    const png_uint_32 height = png_get_image_height(reader.png, reader.info);
    if (png_get_interlace_type(reader.png, reader.info) != PNG_INTERLACE_NONE ||
        static_cast<std::int64_t>(width) * height > maxPixels)
        return false;

    // Every colour type as 8-bit B, G, R, A in memory: Qt's ARGB32 on a little-endian host,
    // and its byte-order-independent form through png_set_swap_alpha on a big-endian one.
    const bool alpha = (png_get_color_type(reader.png, reader.info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                       png_get_valid(reader.png, reader.info, PNG_INFO_tRNS) != 0;
    // Qt premultiplies 16-bit channels before narrowing them: other roundings, left to it.
    if (alpha && png_get_bit_depth(reader.png, reader.info) == 16)
        return false;
    png_set_expand(reader.png);
    png_set_scale_16(reader.png);
    png_set_gray_to_rgb(reader.png);
    png_set_filler(reader.png, 0xFF, PNG_FILLER_AFTER);
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
        png_set_bgr(reader.png);
    else
        png_set_swap_alpha(reader.png);
    png_read_update_info(reader.png, reader.info);
    if (png_get_rowbytes(reader.png, reader.info) != static_cast<png_size_t>(width) * 4)
        return false;

    const int columns = std::min(visible.width(), static_cast<int>(width));
    const int rows = std::min(visible.height(), static_cast<int>(height));
    // Opaque pictures have 0xFF as filler: RGB32 as Qt's reader gives them.
    image = QImage(columns, rows, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return false;
    row.resize(static_cast<std::size_t>(width) * 4);
    for (int y = 0; y < rows; ++y) {
        png_read_row(reader.png, row.data(), nullptr);
        std::memcpy(image.scanLine(y), row.data(), static_cast<std::size_t>(columns) * 4);
    }
    return true;
}

} // namespace

std::optional<QImage> readPngTopLeft(const std::string& path, QSize visible,
                                     std::int64_t maxPixels)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return std::nullopt;
    png_byte signature[8] = {};
    if (std::fread(signature, 1, sizeof signature, file.get()) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0)
        return std::nullopt;

    PngReader reader;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (reader.png == nullptr)
        return std::nullopt;
    reader.info = png_create_info_struct(reader.png);
    if (reader.info == nullptr)
        return std::nullopt;
    png_set_sig_bytes(reader.png, sizeof signature);

    QImage image;
    std::vector<png_byte> row;
    if (!readRows(reader, file.get(), image, row, maxPixels, visible))
        return std::nullopt;
    return image;
}

} // namespace ai::ui
