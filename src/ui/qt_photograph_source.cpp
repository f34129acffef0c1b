#include "ui/qt_photograph_source.h"

#include "ui/picture_decoder.h"

#include <algorithm>
#include <optional>

namespace ai::ui {

namespace {

// Files kept decoded: the free and the loaded photograph.
constexpr std::size_t kKeptFiles = 2;

} // namespace

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
    if (!entry || !(entry->stamp == stamp)) {
        // The one kept is dropped before the new one is decoded: never two at once.
        entry.reset();
        PictureError error;
        auto grey = decodeGreyLevels(path, &error);
        if (!grey) {
            failedPath_ = path;
            failure_ = pictureFailureText(path, error);
            return nullptr;
        }
        if (failedPath_ == path)
            failedPath_.clear();
        entry = Kept{path, stamp, std::move(grey)};
    }
    kept_.push_back(std::move(*entry));
    if (kept_.size() > kKeptFiles)
        kept_.erase(kept_.begin());
    return kept_.back().grey;
}

std::string QtPhotographSource::failure(const std::string& path)
{
    return path == failedPath_ ? failure_ : std::string();
}

} // namespace ai::ui
