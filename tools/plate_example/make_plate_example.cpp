// Generates the worked example: the two photographs of a plate with a hole and its mesh;
// or, with --steps=N, the loaded photographs of a test that loads it in N steps.
#include "io/mesh_file_writer.h"
#include "plate_example/plate_mesh.h"
#include "plate_example/plate_photographs.h"

#include <QString>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

namespace {

bool writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return static_cast<bool>(out);
}

bool writePng(const QImage& image, const std::string& path)
{
    // Quality 0 asks for the strongest compression; the PNG carries no time stamp.
    return image.save(QString::fromStdString(path), "PNG", 0);
}

// A test's load steps: N loaded photographs, step k under k / N of the example's load.
int writeSteps(const std::string& count, const std::string& dir)
{
    const int steps = std::atoi(count.c_str());
    if (steps < 1 || steps > 999) {
        std::cerr << "make-plate-example: --steps takes a number of steps from 1 to 999\n";
        return 2;
    }
    for (int k = 1; k <= steps; ++k) {
        const std::string name =
            dir + "/plate-step-" + (k < 10 ? "0" : "") + std::to_string(k) + ".png";
        if (!writePng(ai::example::loadedPhotograph(static_cast<double>(k) / steps), name)) {
            std::cerr << "make-plate-example: cannot write " << name << "\n";
            return 1;
        }
    }
    std::cout << steps << " load steps\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string stepsOption = "--steps=";
    if (argc == 3 && std::string(argv[1]).rfind(stepsOption, 0) == 0)
        return writeSteps(std::string(argv[1]).substr(stepsOption.size()), argv[2]);
    if (argc != 2) {
        std::cerr << "usage: make-plate-example [--steps=N] OUTPUT_DIRECTORY\n";
        return 2;
    }
    const std::string dir = argv[1];

    auto state = std::make_unique<ai::ProjectState>();
    if (!ai::example::buildPlateMesh(ai::example::PlateMeshOptions{}, *state)) {
        std::cerr << "make-plate-example: the mesh does not fit the tables\n";
        return 1;
    }
    // Written with a decimal comma, as the program writes under French settings; the
    // reader takes either separator.
    const bool ok =
        writeBytes(dir + "/plate-with-hole.MEF",
                   ai::writeMeshFile(*state, state->NodeCount, ai::NumberFormat{','})) &&
        writePng(ai::example::freePhotograph(), dir + "/plate-free.png") &&
        writePng(ai::example::loadedPhotograph(), dir + "/plate-loaded.png");
    if (!ok) {
        std::cerr << "make-plate-example: cannot write into " << dir << "\n";
        return 1;
    }
    std::cout << state->NodeCount << " nodes, " << state->ElementCount << " triangles\n";
    return 0;
}
