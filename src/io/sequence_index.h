#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ai {

// The index of a saved load sequence: the free photograph, and for every load step its
// photograph, the mesh file of its nodes, and the nodes a correlation did not find at that
// step, which a mesh file cannot tell from measured ones.
//
// UTF-8 text, one `key=value` a line, CR LF line ends (LF alone reads too), blank lines
// ignored. The value is all that follows the first "=", so paths may hold blanks and "=".
//
//   sequence-index=1        the format and its version, always the first line
//   free=photos/libre.png   then, in any order: the free photograph,
//   steps=3                 the number of steps, 1 to kMaxSequenceSteps,
//   selected=2              the step the views show, 1 to steps;
//   step=1                  then each step, numbered 1, 2, ... in order, with in any order:
//   photograph=step 1.png     its photograph,
//   mesh=essai-01.MEF         its mesh file,
//   notfound=4 17             optionally its nodes not found, ascending, blank-separated.
//
// A path that is not absolute is relative to the index's folder; the writer writes every path
// inside that folder so.
inline constexpr int kSequenceIndexVersion = 1;
inline constexpr int kMaxSequenceSteps = 10000;
// A line holds a path or the list of up to 1000 nodes not found (under 5000 bytes).
inline constexpr std::size_t kMaxSequenceIndexLineBytes = 8192;
inline constexpr std::size_t kMaxSequenceIndexBytes = 32 * 1024 * 1024;

struct SequenceIndexStep {
    std::string photograph;
    std::string meshFile;
    std::vector<int> notFound; // node numbers, ascending

    friend bool operator==(const SequenceIndexStep&, const SequenceIndexStep&) = default;
};

struct SequenceIndex {
    std::string freePhotograph;
    std::vector<SequenceIndexStep> steps; // step k is steps[k - 1]
    int selected = 1;

    friend bool operator==(const SequenceIndex&, const SequenceIndex&) = default;
};

// The folder of a path: all before its last '/' or '\\', "" when it has none.
std::string folderOf(std::string_view path);

// The index's text, paths inside `folder` written relative to it; nothing when it could not
// be read back: a path holding a line end or a NUL, a line or a file beyond the limits, no
// step or more than kMaxSequenceSteps, a selected step out of range, nodes not ascending.
std::optional<std::string> writeSequenceIndex(const SequenceIndex& index, std::string_view folder);

// What reading an index gave: the index, its relative paths joined to the folder, or a French
// text saying which line is wrong and why.
struct SequenceIndexReading {
    std::optional<SequenceIndex> index;
    std::string error;
};

// Reads any bytes into an index or a refusal; never throws.
SequenceIndexReading readSequenceIndex(std::string_view bytes, std::string_view folder);

} // namespace ai
