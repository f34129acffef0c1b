#pragma once

#include "io/file_store.h"

namespace ai::ui {

// Files through Qt: whole reads, and writes that replace the file only once every byte
// is on disk.
class QtFileStore : public FileStore {
public:
    std::optional<std::string> read(const std::string& path, std::size_t limit) override;
    std::string writeAtomically(const std::string& path, const std::string& bytes) override;
};

} // namespace ai::ui
