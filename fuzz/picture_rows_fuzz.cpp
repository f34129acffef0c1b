// Any bytes given to a photograph row reader are refused with a reason or give a picture
// within the pixel limit whose rows read without a memory error, in bounded memory.
#include "ui/picture_rows.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace ai::ui;

// Smaller than the program's limit, so that each input decodes in milliseconds.
constexpr std::int64_t kFuzzPixels = 1 << 22;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The readers take a file by name, as the program gives them.
    static const std::string path = "/dev/shm/picture-rows-fuzz-" + std::to_string(getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    require(file != nullptr);
    require(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);

    PictureError error;
    const auto rows = ANALYSE_OPEN_ROWS(path, kFuzzPixels, error);
    if (!rows) {
        require(error.failure != PictureFailure::None);
        return 0;
    }
    const QSize picture = rows->size();
    require(picture.width() > 0 && picture.height() > 0 &&
            static_cast<std::int64_t>(picture.width()) * picture.height() <= kFuzzPixels);
    std::vector<uchar> line(static_cast<std::size_t>(picture.width()) * 8);
    for (int y = 0; y < picture.height(); y += 1 + y % 3)
        if (!rows->readRow(y, line.data()))
            break;
    return 0;
}
