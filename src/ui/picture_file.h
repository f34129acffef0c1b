#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace ai::ui {

// Pictures with more pixels than this are refused before decoding: their decoded form
// could exhaust the memory.
inline constexpr std::int64_t kMaxPicturePixels = 128LL * 1000 * 1000;

// Decodes the top-left part of a picture file that a surface of `visible` size shows.
// Nothing when the file is missing, unreadable, not a picture or too large.
std::optional<QImage> decodeVisiblePart(const std::string& path, QSize visible);

// The visible part of one picture file, decoded once and kept while neither the file's
// name nor the file itself changes, so that redrawing costs no decoding.
class PictureFile {
public:
    explicit PictureFile(QSize visible) : visible_(visible) {}

    // Decodes `path` now. On failure keeps what it held and returns false.
    bool load(const std::string& path);

    // The picture of `path`, decoded again only when the name or the file changed.
    // An empty name or a file that cannot be read any more gives a null image.
    const QImage& picture(const std::string& path);

    // Whether picture(path) would give what it holds now, without decoding anything.
    bool holds(const std::string& path) const { return path == path_ && stampOf(path) == stamp_; }

private:
    // What tells that a file changed without reading it.
    struct Stamp {
        bool exists = false;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified{};
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    static Stamp stampOf(const std::string& path);

    QSize visible_;
    std::string path_;
    Stamp stamp_;
    QImage image_;
};

} // namespace ai::ui
