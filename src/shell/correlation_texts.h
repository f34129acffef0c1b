#pragma once

#include <string>
#include <vector>

namespace ai {

// "\nNoeud(s) non trouvé(s) : 3, 7" with the first twenty numbers, or nothing for none.
std::string notFoundList(const std::vector<int>& notFound);

} // namespace ai
