#pragma once

#include <cstddef>
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
    explicit ProfileText(std::string text);
    // Names and values view the text held inside: no copies.
    ProfileText(const ProfileText&) = delete;
    ProfileText& operator=(const ProfileText&) = delete;

    // The text after "=" of the key, or nothing when the section or the key is absent.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

private:
    // Names are compared in ASCII only: the file is 8-bit text of unknown code page.
    struct NameHash {
        std::size_t operator()(std::string_view name) const;
    };
    struct NameEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using Keys = std::unordered_map<std::string_view, std::string_view, NameHash, NameEqual>;

    // Every name and value views this copy of the text.
    std::string text_;
    std::unordered_map<std::string_view, Keys, NameHash, NameEqual> sections_;
};

} // namespace ai
