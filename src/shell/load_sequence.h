#pragma once

#include "correlation/sequence_correlation.h"

#include <string>
#include <vector>

namespace ai {

// The loaded photographs of a test and what the correlation found at each. A single loaded
// photograph is a sequence of one.
struct LoadSequence {
    // Step k's photograph is files[k - 1].
    std::vector<std::string> files;
    // What the last correlation of the sequence found, one entry per file; empty before it.
    std::vector<SequenceStep> steps;
    // The step the loaded view shows, 1 to files.size(); 0 with no loaded photograph.
    int selected = 0;
};

} // namespace ai
