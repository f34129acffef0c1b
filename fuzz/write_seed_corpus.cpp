// Writes a few real mesh files with our writer into the folder given as argument:
// the seeds the fuzzer starts from.
#include "io/mesh_file_writer.h"
#include "model/editing.h"

#include <cstdio>
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
                          writeMeshFile(study(kMaxNodes, kMaxElements), kMaxNodes, comma));
    if (!ok) {
        std::perror(folder.c_str());
        return 1;
    }
    return 0;
}
