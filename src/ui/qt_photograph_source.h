#pragma once

#include "correlation/photograph_source.h"
#include "ui/picture_file.h"

#include <QSize>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace ai::ui {

// The grey levels of photographs for the correlation, decoded by Qt's image readers: the
// top-left part of `region` pixels of each (or the whole picture), converted to 8-bit grey.
// The two files asked last are kept while neither their name nor the file changes.
class QtPhotographSource : public PhotographSource {
public:
    explicit QtPhotographSource(QSize region) : region_(region) {}
    // A source that decodes whole pictures, however large the picture loader accepts.
    static QtPhotographSource wholePictures();

    std::shared_ptr<const GreyImage> greyLevels(const std::string& path) override;

private:
    struct Kept {
        std::string path;
        FileStamp stamp;
        std::shared_ptr<const GreyImage> grey;
    };

    QSize region_;
    std::vector<Kept> kept_; // the most recently asked last
};

} // namespace ai::ui
