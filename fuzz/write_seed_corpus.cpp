// Writes a few real mesh files with our writer into the folder given as argument, and a few
// sequence indexes into its subfolder "sequence": the seeds the fuzzers start from.
#include "io/mesh_file_writer.h"
#include "io/sequence_index.h"
#include "model/editing.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

using namespace ai;

ProjectState study(int nodes, int elements)
{
    ProjectState state;
    for (int i = 1; i <= nodes; ++i) {
        const auto n = static_cast<std::size_t>(i);
        state.FreeNodes[n] = {15015.0 - i * 37.5, 300.0 + i * 0.125};
        state.LoadNodes[n] = {15030.0 - i * 37.5, -315.0 + i * 1e-3};
    }
    state.NodeCount = nodes;
    for (int e = 1; e <= elements; ++e)
        appendElement(state, e % nodes + 1, (e + 1) % nodes + 1, (e + 2) % nodes + 1);
    return state;
}

bool write(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

bool madeFolder(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::create_directories(path, ignored);
    return std::filesystem::is_directory(path, ignored);
}

// A sequence of `steps` steps in /essais, every third node not found at every other step.
std::string sequenceIndex(int steps, int nodes)
{
    SequenceIndex index{"/essais/libre 0 %.png", {}, steps};
    for (int k = 1; k <= steps; ++k) {
        SequenceIndexStep step{"/essais/photos/étape " + std::to_string(k) + ".png",
                               "/essais/essai-" + std::to_string(k) + ".MEF",
                               {}};
        for (int n = 1 + k % 2; n <= nodes; n += 3)
            step.notFound.push_back(n);
        index.steps.push_back(step);
    }
    return writeSequenceIndex(index, "/essais").value_or("");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: write_seed_corpus <folder>\n";
        return 2;
    }
    const std::string folder = argv[1];
    const NumberFormat comma{','};
    const NumberFormat point{'.'};
    ProjectState unlocated = study(4, 2);
    unlocated.LoadNodes[4] = Position{};

    const bool ok = write(folder + "/empty.MEF", writeMeshFile(ProjectState{}, 0, comma)) &&
                    write(folder + "/three_nodes.MEF", writeMeshFile(study(3, 1), 3, comma)) &&
                    write(folder + "/point.MEF", writeMeshFile(study(12, 10), 12, point)) &&
                    write(folder + "/unlocated.MEF", writeMeshFile(unlocated, 4, comma)) &&
                    write(folder + "/many.MEF", writeMeshFile(study(60, 90), 60, comma)) &&
                    write(folder + "/full.MEF",
                          writeMeshFile(study(kMaxNodes, kMaxElements), kMaxNodes, comma)) &&
                    madeFolder(folder + "/sequence") &&
                    write(folder + "/sequence/one.sequence", sequenceIndex(1, 0)) &&
                    write(folder + "/sequence/five.sequence", sequenceIndex(5, 12)) &&
                    write(folder + "/sequence/long.sequence", sequenceIndex(20, kMaxNodes));
    if (!ok) {
        std::perror(folder.c_str());
        return 1;
    }
    return 0;
}
