// BMP photographs read row by row: every bit depth, palettes, bit fields and RLE.
#include "ui/picture_rows.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <filesystem>
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

enum Compression : std::uint32_t { Plain = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kCoreHeader = 12; // the oldest header: 16-bit sides, 3-byte colours

// One channel of a pixel given by a bit mask, widened to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t top = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m)
    {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            top = mask >> shift;
        }
    }
    int of(std::uint32_t pixel) const
    {
        return top == 0 ? 0 : static_cast<int>(((pixel & mask) >> shift) * 255 / top);
    }
};

class BmpRows final : public PictureRows {
public:
    ~BmpRows() override
    {
        if (file_)
            std::fclose(file_);
    }

    bool open(const std::string& path, std::int64_t maxPixels, PictureError& error)
    {
        error.failure = PictureFailure::Unreadable;
        file_ = std::fopen(path.c_str(), "rb");
        std::error_code lengthError;
        const auto length = std::filesystem::file_size(path, lengthError);
        if (!file_ || lengthError)
            return false;
        error.failure = PictureFailure::Damaged;
        std::array<unsigned char, kFileHeader + 124 + 16> header{};
        const std::size_t got = std::fread(header.data(), 1, header.size(), file_);
        if (got < kFileHeader + 4 || header[0] != 'B' || header[1] != 'M')
            return false;
        offset_ = u32(&header[10]);
        const std::uint32_t headerSize = u32(&header[14]);
        if ((headerSize != kCoreHeader && (headerSize < 40 || headerSize > 124)) ||
            got < kFileHeader + headerSize)
            return false;
        const unsigned char* info = &header[kFileHeader];
        std::int64_t width = 0, signedHeight = 0;
        std::uint32_t compression = Plain, colours = 0;
        if (headerSize == kCoreHeader) {
            width = u16(&info[4]);
            signedHeight = u16(&info[6]);
            bits_ = u16(&info[10]);
        } else {
            width = static_cast<std::int32_t>(u32(&info[4]));
            signedHeight = static_cast<std::int32_t>(u32(&info[8]));
            bits_ = u16(&info[14]);
            compression = u32(&info[16]);
            colours = u32(&info[32]);
        }
        if (u16(&info[headerSize == kCoreHeader ? 8 : 12]) != 1 || width <= 0 || signedHeight == 0)
            return false;
        const std::int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
        bottomUp_ = signedHeight > 0;
        rle_ = compression == Rle8 || compression == Rle4;
        const bool fields = compression == BitFields || compression == AlphaBitFields;
        const bool known = (compression == Plain && (bits_ == 1 || bits_ == 4 || bits_ == 8 ||
                                                     bits_ == 16 || bits_ == 24 || bits_ == 32)) ||
                           (compression == Rle8 && bits_ == 8) ||
                           (compression == Rle4 && bits_ == 4) ||
                           (fields && (bits_ == 16 || bits_ == 32));
        if (!known) {
            // JPEG or PNG inside a BMP, or depths no program writes.
            error.failure = compression > AlphaBitFields || compression == 4 || compression == 5
                                ? PictureFailure::NotAPhotograph
                                : PictureFailure::Damaged;
            return false;
        }
        if (rle_ && !bottomUp_)
            return false;

        // The colour masks: inside the larger headers, just after the 40-byte one.
        std::size_t masksEnd = kFileHeader + headerSize;
        std::array<std::uint32_t, 4> masks{};
        if (fields) {
            const std::size_t count = compression == AlphaBitFields ? 4 : 3;
            const std::size_t at = kFileHeader + 40;
            if (headerSize == 40)
                masksEnd += 4 * count;
            if (got < at + 4 * count)
                return false;
            for (std::size_t i = 0; i < count; ++i)
                masks[i] = u32(&header[at + 4 * i]);
            if (headerSize >= 56 && compression == BitFields)
                masks[3] = u32(&header[at + 12]);
        } else if (bits_ == 16) {
            masks = {0x7C00, 0x03E0, 0x001F, 0};
        } else if (bits_ >= 24) {
            masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};
        }
        // Header bytes taken for pixels would be shown as if they were the photograph.
        if (offset_ < masksEnd || offset_ >= length)
            return false;
        red_ = Channel(masks[0]);
        green_ = Channel(masks[1]);
        blue_ = Channel(masks[2]);
        alpha_ = Channel(masks[3]);

        stride_ = (width * bits_ + 31) / 32 * 4;
        // A picture whose rows the file cannot hold is cut short, whatever size it claims.
        if (!rle_ && static_cast<std::uint64_t>(height) >
                         (length - offset_) / static_cast<std::uint64_t>(stride_))
            return false;
        size_ = QSize(static_cast<int>(std::min<std::int64_t>(width, INT32_MAX)),
                      static_cast<int>(std::min<std::int64_t>(height, INT32_MAX)));
        error.size = size_;
        if (width * height > maxPixels) {
            error.failure = PictureFailure::TooLarge;
            return false;
        }

        if (bits_ <= 8) {
            const std::size_t entry = headerSize == kCoreHeader ? 3 : 4;
            const std::size_t most = std::size_t{1} << bits_;
            const std::size_t count = colours == 0 ? most : std::min<std::size_t>(colours, most);
            // A palette cut by the pixels leaves the indices past it black.
            const std::size_t fits = (offset_ - masksEnd) / entry;
            std::vector<unsigned char> table(entry * std::min(count, fits));
            if (std::fseek(file_, static_cast<long>(masksEnd), SEEK_SET) != 0 ||
                std::fread(table.data(), 1, table.size(), file_) != table.size())
                return false;
            palette_.assign(most, qRgb(0, 0, 0));
            for (std::size_t i = 0; i < table.size() / entry; ++i)
                palette_[i] = qRgb(table[i * entry + 2], table[i * entry + 1], table[i * entry]);
        }
        format_ = alpha_.mask != 0 ? QImage::Format_ARGB32 : QImage::Format_RGB32;
        error = {};
        return true;
    }

    bool readRow(int y, uchar* line) override
    {
        auto* pixels = reinterpret_cast<QRgb*>(line);
        const int width = size_.width();
        if (rle_) {
            if (indices_.empty() && !decodeRle())
                return false;
            const std::uint8_t* from = &indices_[static_cast<std::size_t>(y) * width];
            for (int x = 0; x < width; ++x)
                pixels[x] = palette_[from[x]];
            return true;
        }
        const std::int64_t fileRow = bottomUp_ ? size_.height() - 1 - y : y;
        row_.resize(static_cast<std::size_t>(stride_));
        if (fseeko(file_, static_cast<off_t>(offset_ + fileRow * stride_), SEEK_SET) != 0 ||
            std::fread(row_.data(), 1, row_.size(), file_) != row_.size())
            return false;
        const unsigned char* bytes = row_.data();
        for (int x = 0; x < width; ++x) {
            if (bits_ <= 8) {
                const int perByte = 8 / bits_;
                const int shift = 8 - bits_ * (x % perByte + 1);
                pixels[x] = palette_[(bytes[x / perByte] >> shift) & ((1 << bits_) - 1)];
                continue;
            }
            const unsigned char* at = bytes + static_cast<std::size_t>(x) * (bits_ / 8);
            const std::uint32_t value = bits_ == 16   ? u16(at)
                                        : bits_ == 24 ? (at[0] | at[1] << 8 | at[2] << 16)
                                                      : u32(at);
            pixels[x] = qRgba(red_.of(value), green_.of(value), blue_.of(value),
                              alpha_.mask != 0 ? alpha_.of(value) : 255);
        }
        return true;
    }

private:
    // The palette indices of the whole picture, one byte a pixel, top row first; pixels
    // that the runs skip keep index 0. False when the runs end before the picture does.
    bool decodeRle()
    {
        const int width = size_.width();
        const int height = size_.height();
        indices_.assign(static_cast<std::size_t>(width) * height, 0);
        if (std::fseek(file_, static_cast<long>(offset_), SEEK_SET) != 0)
            return false;
        const auto put = [&](int x, int y, int index) {
            if (x < width && y < height)
                indices_[static_cast<std::size_t>(height - 1 - y) * width + x] =
                    static_cast<std::uint8_t>(index);
        };
        int x = 0, y = 0;
        while (y < height) {
            const int count = std::getc(file_);
            const int value = std::getc(file_);
            if (value == EOF)
                return false;
            if (count > 0) { // a run of one index, or of two alternating nibbles
                for (int i = 0; i < count; ++i, ++x)
                    put(x, y, bits_ == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 15));
            } else if (value == 0) { // end of line
                x = 0;
                ++y;
            } else if (value == 1) { // end of picture: the rest keeps index 0
                return true;
            } else if (value == 2) { // move right and up
                const int dx = std::getc(file_);
                const int dy = std::getc(file_);
                if (dy == EOF)
                    return false;
                x += dx;
                y += dy;
            } else { // `value` indices as they are, padded to an even byte count
                const int bytes = bits_ == 8 ? value : (value + 1) / 2;
                int index = 0;
                for (int i = 0; i < value; ++i, ++x) {
                    if (bits_ == 8 || i % 2 == 0) {
                        index = std::getc(file_);
                        if (index == EOF)
                            return false;
                    }
                    put(x, y, bits_ == 8 ? index : (i % 2 == 0 ? index >> 4 : index & 15));
                }
                if (bytes % 2 == 1 && std::getc(file_) == EOF)
                    return false;
            }
        }
        return true;
    }

    std::FILE* file_ = nullptr;
    std::uint32_t offset_ = 0;
    int bits_ = 0;
    bool bottomUp_ = true;
    bool rle_ = false;
    std::int64_t stride_ = 0;
    Channel red_, green_, blue_, alpha_;
    std::vector<QRgb> palette_;
    std::vector<unsigned char> row_;
    std::vector<std::uint8_t> indices_;
};

} // namespace

std::unique_ptr<PictureRows> openBmpRows(const std::string& path, std::int64_t maxPixels,
                                         PictureError& error)
{
    auto rows = std::make_unique<BmpRows>();
    if (!rows->open(path, maxPixels, error))
        return nullptr;
    return rows;
}

} // namespace ai::ui
