#pragma once

#include "shell/scroll_bars.h"

#include <optional>
#include <string>
#include <vector>

namespace ai {

// Controls of the main window whose visibility the core decides.
enum class Panel { Frame1, Label5, Frame3, Frame4 };

// The main window as the core sees it: it shows what the core decides.
class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;
    virtual void showStatus(const std::string& text) = 0;        // Label1
    virtual void setPanelVisible(Panel panel, bool visible) = 0;
    // Moves a bar without reporting a change back to the core.
    virtual void setBarValue(Bar bar, int value) = 0;
    // The load step selector: shown at `step` of `count` with its caption, hidden for a
    // count below two. Moving it is the user's, reported to the core.
    virtual void showStepSelector(int count, int step, const std::string& caption) = 0;
};

// A modal message box with one OK button, titled with the application's title.
class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual void message(const std::string& text) = 0;
};

// The system's file dialogs: the chosen path, or nothing when the user cancels.
class FileDialogPort {
public:
    virtual ~FileDialogPort() = default;
    virtual std::optional<std::string> openFileName(const std::string& title) = 0;
    virtual std::optional<std::string> saveFileName(const std::string& title) = 0;
    // A selection of one or more existing files, in the order the dialog gives them.
    virtual std::optional<std::vector<std::string>> openFileNames(const std::string& title) = 0;
};

// A small modal dialog that asks for a whole number within a range: the number typed, or
// nothing when the user cancels.
class NumberDialogPort {
public:
    virtual ~NumberDialogPort() = default;
    virtual std::optional<int> wholeNumber(const std::string& title, const std::string& label,
                                           int initial, int minimum, int maximum) = 0;
};

// A progress dialog for long work: shown only when the work lasts longer than about half a
// second, with a button that cancels it.
class ProgressPort {
public:
    virtual ~ProgressPort() = default;
    virtual void start(const std::string& label, int total) = 0;
    // Reports `done` of the total; false once the user has cancelled.
    virtual bool advance(int done) = 0;
    // Says which part of the work runs now, e.g. the step of a sequence.
    virtual void setLabel(const std::string& label) = 0;
    virtual void finish() = 0;
};

} // namespace ai
