#pragma once

#include "correlation/grey_image.h"

#include <memory>
#include <string>

namespace ai {

// Decodes the grey levels of a photograph file by name, for the correlation. An
// implementation decodes a file once and keeps it while the file is unchanged.
class PhotographSource {
public:
    virtual ~PhotographSource() = default;
    // Nothing when the name is empty or the file is missing, unreadable or not a picture.
    virtual std::shared_ptr<const GreyImage> greyLevels(const std::string& path) = 0;
    // Why the last greyLevels(path) gave nothing, as a sentence for the user; empty when
    // nothing more than the file's name can be said.
    virtual std::string failure(const std::string& path) = 0;
};

} // namespace ai
