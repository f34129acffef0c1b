// Any bytes given to the mesh file reader must leave a usable study: counts within the
// tables, every counted node with its four coordinates, every counted triangle naming
// counted nodes, nothing after the counts, and a study that saves and reads back the same.
#include "io/mesh_file_reader.h"
#include "io/mesh_file_writer.h"
#include "model/editing.h"

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

void requireUsable(const ProjectState& state)
{
    require(state.NodeCount >= 0 && state.NodeCount <= kMaxNodes);
    require(state.ElementCount >= 0 && state.ElementCount <= kMaxElements);
    for (int i = 1; i <= kMaxNodes; ++i) {
        const auto n = static_cast<std::size_t>(i);
        const bool counted = i <= state.NodeCount;
        require(state.FreeNodes[n].isSet() == counted);
        require(state.LoadNodes[n].isSet() == counted);
        require(isSet(state.FreeNodes[n].x) == counted && isSet(state.LoadNodes[n].y) == counted);
    }
    for (int e = 1; e <= kMaxElements; ++e) {
        for (const int node : state.Elements[static_cast<std::size_t>(e)].nodes) {
            if (e <= state.ElementCount)
                require(node >= 1 && node <= state.NodeCount);
            else
                require(node == 0);
        }
    }
}

void requireSameTables(const ProjectState& a, const ProjectState& b)
{
    require(a.NodeCount == b.NodeCount && a.ElementCount == b.ElementCount);
    for (std::size_t n = 1; n <= static_cast<std::size_t>(a.NodeCount); ++n) {
        require(a.FreeNodes[n].x == b.FreeNodes[n].x && a.FreeNodes[n].y == b.FreeNodes[n].y);
        require(a.LoadNodes[n].x == b.LoadNodes[n].x && a.LoadNodes[n].y == b.LoadNodes[n].y);
    }
    for (std::size_t e = 1; e <= static_cast<std::size_t>(a.ElementCount); ++e)
        require(a.Elements[e].nodes == b.Elements[e].nodes);
}

// The tables are large: kept out of the stack and reused.
ProjectState read;
ProjectState reread;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    eraseAll(read);
    const auto counts = readMeshFile(std::string_view(reinterpret_cast<const char*>(data), size), read);
    requireUsable(read);
    if (!counts) {
        require(read.NodeCount == 0 && read.ElementCount == 0);
        return 0;
    }
    require(counts->nodes == read.NodeCount && counts->elements == read.ElementCount);

    for (const char separator : {',', '.'}) {
        const std::string written = writeMeshFile(read, read.NodeCount, NumberFormat{separator});
        eraseAll(reread);
        const auto again = readMeshFile(written, reread);
        require(again.has_value());
        requireSameTables(read, reread);
        require(writeMeshFile(reread, reread.NodeCount, NumberFormat{separator}) == written);
    }
    return 0;
}
