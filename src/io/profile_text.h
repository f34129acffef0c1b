#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace ai {

// The keys of a mesh file in an INI-style text, found as a profile-string reader finds
// them: "[section]" headers and "key=value" lines, LF or CR LF line ends, section and key
// names matched without regard to ASCII case, blanks around names and values ignored, the
// first value of a repeated key kept (a repeated section continues the first one), every
// other line skipped, as are keys before the first section.
// Only the keys a mesh file can hold are kept: "node" and "mesh" of "[init]", nodex<i> and
// nodey<i> of "[freenodelist]" and "[loadnodelist]", mesh<c><i> of "[freemeshlist]", for
// corners c of 1 to 3 and entries i of 1 to 1000; any other key reads as absent. So one
// pass over the text, whatever its size, keeps a bounded index of views into it.
class ProfileText {
public:
    // Names and values view `text`, which must outlive this object.
    explicit ProfileText(std::string_view text);

    // The text after "=" of the key, or nothing when the section or the key is absent.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    // As value() for the key nodex<node> or nodey<node> of a node section, and mesh<c><e>
    // of the triangle section, without making the key's text.
    std::optional<std::string_view> coordinate(std::string_view section, char axis, int node) const;
    std::optional<std::string_view> corner(int corner, int element) const;

private:
    std::optional<std::string_view> at(int slot) const;

    // Two counts, then four coordinates and three corners for each entry number.
    std::vector<std::optional<std::string_view>> values_;
};

} // namespace ai
