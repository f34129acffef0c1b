#include "ui/qt_photograph_source.h"

#include "ui/picture_file.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace ai::ui {

namespace {

// Files kept decoded: the free and the loaded photograph.
constexpr std::size_t kKeptFiles = 2;

// Wider and taller than any picture the loader accepts.
constexpr int kWholePicture = 1 << 20;

std::shared_ptr<const GreyImage> greyOf(const QImage& picture)
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    auto levels = std::make_shared<GreyImage>();
    levels->width = grey.width();
    levels->height = grey.height();
    const auto rowBytes = static_cast<std::size_t>(grey.width());
    levels->levels.resize(rowBytes * static_cast<std::size_t>(grey.height()));
    // Qt pads its rows to four bytes; the grey picture has none.
    for (int row = 0; row < grey.height(); ++row)
        std::memcpy(levels->levels.data() + rowBytes * static_cast<std::size_t>(row),
                    grey.constScanLine(row), rowBytes);
    return levels;
}

} // namespace

QtPhotographSource QtPhotographSource::wholePictures()
{
    return QtPhotographSource(QSize(kWholePicture, kWholePicture));
}

std::shared_ptr<const GreyImage> QtPhotographSource::greyLevels(const std::string& path)
{
    const auto same =
        std::find_if(kept_.begin(), kept_.end(), [&](const Kept& k) { return k.path == path; });
    std::optional<Kept> entry;
    if (same != kept_.end()) {
        entry = std::move(*same);
        kept_.erase(same);
    }
    const FileStamp stamp = path.empty() ? FileStamp{} : FileStamp::of(path);
    if (!stamp.exists)
        return nullptr;
    if (!entry || !(entry->stamp == stamp)) {
        const auto decoded = decodeVisiblePart(path, region_);
        if (!decoded || decoded->isNull())
            return nullptr;
        entry = Kept{path, stamp, greyOf(*decoded)};
    }
    kept_.push_back(std::move(*entry));
    if (kept_.size() > kKeptFiles)
        kept_.erase(kept_.begin());
    return kept_.back().grey;
}

} // namespace ai::ui
