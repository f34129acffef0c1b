#pragma once

#include "shell/ports.h"

namespace ai::ui {

// A small modal dialog with a label and a spin box of whole numbers, OK and Cancel.
class QtNumberDialog : public NumberDialogPort {
public:
    std::optional<int> wholeNumber(const std::string& title, const std::string& label, int initial,
                                   int minimum, int maximum) override;
};

} // namespace ai::ui
