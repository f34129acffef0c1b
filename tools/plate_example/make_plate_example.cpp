// Generates the worked example: the two photographs of a plate with a hole and its mesh.
#include "io/mesh_file_writer.h"
#include "plate_example/plate_mesh.h"
#include "plate_example/plate_photographs.h"

#include <QString>

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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-plate-example OUTPUT_DIRECTORY\n";
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
