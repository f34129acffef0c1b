#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ai {

// Names compared as a person reads them: runs of digits by their value, so that "step2"
// comes before "step10", the rest character by character. Equal values written with more
// leading zeros come after, so that no two different names compare equal.
bool naturallyBefore(std::string_view a, std::string_view b);

void sortNaturally(std::vector<std::string>& names);

// The last component of a path, after its last '/' or '\'.
std::string_view fileNameOf(std::string_view path);

} // namespace ai
