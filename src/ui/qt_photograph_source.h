#pragma once

#include "correlation/photograph_source.h"
#include "ui/picture_file.h"

#include <string>
#include <vector>

namespace ai::ui {

// The grey levels of whole photographs at full resolution for the correlation, whatever
// the views show, decoded straight to grey. The two files asked last are kept while
// neither their name nor the file changes.
class QtPhotographSource : public PhotographSource {
public:
    std::shared_ptr<const GreyImage> greyLevels(const std::string& path) override;
    std::string failure(const std::string& path) override;

private:
    struct Kept {
        std::string path;
        FileStamp stamp;
        std::shared_ptr<const GreyImage> grey;
    };

    std::vector<Kept> kept_; // the most recently asked last
    std::string failedPath_;
    std::string failure_;
};

} // namespace ai::ui
