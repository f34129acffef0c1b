// PNG photographs read row by row with libpng.
#include "ui/picture_rows.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace ai::ui {

namespace {

// The ancillary chunks that change no pixel as the program shows them: skipped unread, so
// that a chunk claiming gigabytes costs nothing. tRNS (transparency) is kept.
constexpr png_byte kSkippedChunks[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0"
                                      "pHYs\0sBIT\0sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";
constexpr int kSkippedChunkCount = 17;
// What libpng may allocate for one chunk or keep of ancillary ones.
constexpr png_alloc_size_t kChunkBytesLimit = 8 << 20;
constexpr png_uint_32 kAncillaryChunksKept = 64;
// Wider or taller than any photograph: the header is refused at once.
constexpr png_uint_32 kSideLimit = 1 << 20;

// libpng reports errors by longjmp, after printing them by default: a failed read says enough.
[[noreturn]] void jumpOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

class PngRows final : public PictureRows {
public:
    ~PngRows() override
    {
        png_destroy_read_struct(&png_, &info_, nullptr);
        if (file_)
            std::fclose(file_);
    }

    // Everything up to the first row; false with the reason in `error`.
    bool open(const std::string& path, std::int64_t maxPixels, PictureError& error)
    {
        error.failure = PictureFailure::Unreadable;
        file_ = std::fopen(path.c_str(), "rb");
        if (!file_)
            return false;
        error.failure = PictureFailure::Damaged;
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning);
        if (!png_)
            return false;
        info_ = png_create_info_struct(png_);
        if (!info_)
            return false;
        if (setjmp(png_jmpbuf(png_)))
            return false;
        png_set_user_limits(png_, kSideLimit, kSideLimit);
        png_set_chunk_malloc_max(png_, kChunkBytesLimit);
        png_set_chunk_cache_max(png_, kAncillaryChunksKept);
        png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
        png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks,
                                    kSkippedChunkCount);
        png_init_io(png_, file_);
        png_read_info(png_, info_);
        const png_uint_32 width = png_get_image_width(png_, info_);
        const png_uint_32 height = png_get_image_height(png_, info_);
        size_ = QSize(static_cast<int>(width), static_cast<int>(height));
        error.size = size_;
        if (static_cast<std::int64_t>(width) * height > maxPixels) {
            error.failure = PictureFailure::TooLarge;
            return false;
        }

        // Every colour type as 8-bit B, G, R, A in memory (Qt's ARGB32 on a little-endian
        // host), or as 16-bit R, G, B, A (RGBA64) when 16-bit channels have alpha, which Qt
        // premultiplies before narrowing them.
        const bool alpha = (png_get_color_type(png_, info_) & PNG_COLOR_MASK_ALPHA) != 0 ||
                           png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
        const bool wide = alpha && png_get_bit_depth(png_, info_) == 16;
        png_set_expand(png_);
        png_set_gray_to_rgb(png_);
        if (wide) {
            if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
                png_set_swap(png_);
            format_ = QImage::Format_RGBA64;
        } else {
            png_set_scale_16(png_);
            png_set_filler(png_, 0xFF, PNG_FILLER_AFTER);
            if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
                png_set_bgr(png_);
            else
                png_set_swap_alpha(png_);
            // Opaque pictures have 0xFF as filler: RGB32 as Qt's reader gives them.
            format_ = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
        }
        const int passes = png_set_interlace_handling(png_);
        png_read_update_info(png_, info_);
        rowBytes_ = static_cast<std::size_t>(width) * (wide ? 8 : 4);
        if (png_get_rowbytes(png_, info_) != rowBytes_)
            return false;
        // Interlaced rows come in seven passes, the last at the end of the file: those
        // pictures are decoded whole at the first row asked.
        interlaced_ = passes > 1;
        error = {};
        return true;
    }

    bool readRow(int y, uchar* line) override
    {
        if (setjmp(png_jmpbuf(png_)))
            return false;
        if (interlaced_) {
            if (whole_.empty()) {
                whole_.resize(rowBytes_ * static_cast<std::size_t>(size_.height()));
                std::vector<png_bytep> rows(static_cast<std::size_t>(size_.height()));
                for (std::size_t r = 0; r < rows.size(); ++r)
                    rows[r] = whole_.data() + r * rowBytes_;
                png_read_image(png_, rows.data());
            }
            std::memcpy(line, whole_.data() + static_cast<std::size_t>(y) * rowBytes_, rowBytes_);
            return true;
        }
        // libpng reads forward only: the rows before are decoded and dropped.
        for (; next_ < y; ++next_)
            png_read_row(png_, nullptr, nullptr);
        png_read_row(png_, line, nullptr);
        ++next_;
        return true;
    }

private:
    std::FILE* file_ = nullptr;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    std::size_t rowBytes_ = 0;
    bool interlaced_ = false;
    int next_ = 0;
    std::vector<png_byte> whole_;
};

} // namespace

std::unique_ptr<PictureRows> openPngRows(const std::string& path, std::int64_t maxPixels,
                                         PictureError& error)
{
    auto rows = std::make_unique<PngRows>();
    if (!rows->open(path, maxPixels, error))
        return nullptr;
    return rows;
}

} // namespace ai::ui
