#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ai {

// An INI-style text read as a profile-string reader reads it: "[section]" headers and
// "key=value" lines, LF or CR LF line ends, section and key names matched without
// regard to ASCII case, blanks around names and values ignored, the first value of a
// repeated key kept (a repeated section continues the first one), every other line
// skipped, as are keys before the first section.
class ProfileText {
public:
    explicit ProfileText(std::string_view text);

    // The text after "=" of the key, or nothing when the section or the key is absent.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

private:
    // Lower-case section, a newline, lower-case key.
    std::unordered_map<std::string, std::string> values_;
};

} // namespace ai
