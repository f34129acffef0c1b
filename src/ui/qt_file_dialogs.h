#pragma once

#include "shell/ports.h"

namespace ai::ui {

// The system's open and save dialogs, with the given title, no filter, no default
// extension and no initial folder.
class QtFileDialogs : public FileDialogPort {
public:
    std::optional<std::string> openFileName(const std::string& title) override;
    std::optional<std::string> saveFileName(const std::string& title) override;
    std::optional<std::vector<std::string>> openFileNames(const std::string& title) override;
};

} // namespace ai::ui
