// Any bytes given to the sequence index reader give an index within its limits or a refusal
// that names where it is wrong, and an index read writes back to the same index.
#include "io/sequence_index.h"
#include "model/project_state.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace ai;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void requireWithinLimits(const SequenceIndex& index)
{
    const int steps = static_cast<int>(index.steps.size());
    require(steps >= 1 && steps <= kMaxSequenceSteps);
    require(index.selected >= 1 && index.selected <= steps);
    require(!index.freePhotograph.empty());
    for (const SequenceIndexStep& step : index.steps) {
        require(!step.photograph.empty() && !step.meshFile.empty());
        int previous = 0;
        for (const int node : step.notFound) {
            require(node > previous && node <= kMaxNodes);
            previous = node;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string_view folder : {"", "/essais/d"}) {
        const SequenceIndexReading read = readSequenceIndex(bytes, folder);
        if (!read.index) {
            require(read.error.starts_with("Ligne ") ||
                    read.error.starts_with("Fin de l'index : "));
            continue;
        }
        require(read.error.empty());
        requireWithinLimits(*read.index);
        const auto written = writeSequenceIndex(*read.index, folder);
        require(written.has_value());
        const SequenceIndexReading again = readSequenceIndex(*written, folder);
        require(again.index == read.index);
    }
    return 0;
}
