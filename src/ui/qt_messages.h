#pragma once

#include "shell/ports.h"

namespace ai::ui {

// Modal message boxes: one OK button, the application's title, no icon.
class QtMessages : public MessagePort {
public:
    void message(const std::string& text) override;
};

} // namespace ai::ui
