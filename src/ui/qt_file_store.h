#pragma once

#include "io/file_store.h"

#include <QFileDevice>

#include <string>

namespace ai::ui {

// Files through Qt: whole reads, and writes that replace the file only once every byte
// is on disk.
class QtFileStore : public FileStore {
public:
    std::optional<std::string> read(const std::string& path, std::size_t limit) override;
    std::string writeAtomically(const std::string& path, const std::string& bytes) override;
};

// Why a write failed, in French: the common causes (disk full, quota, read-only disk,
// permission) from the system's error code, else from Qt's kind of error with the system's
// words after it.
std::string writeFailureReason(QFileDevice::FileError error, int systemError,
                               const std::string& detail);

} // namespace ai::ui
