#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace ai {

// Whole-file reading and writing, as the platform offers it.
class FileStore {
public:
    virtual ~FileStore() = default;

    // The file's bytes, or nothing when it cannot be read or holds more than `limit`
    // bytes; no more than that is read, so no file can exhaust the memory.
    virtual std::optional<std::string> read(const std::string& path, std::size_t limit) = 0;

    // Replaces the file atomically: afterwards it holds `bytes` whole, or the file that
    // had that name before is untouched. Returns an empty text on success, else the
    // reason of the failure in French.
    virtual std::string writeAtomically(const std::string& path, const std::string& bytes) = 0;
};

} // namespace ai
