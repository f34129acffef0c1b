// The worked example: the study of the plate with a hole must give back the analytic
// stresses that its photographs and its mesh were made from.
//
// Conventions. The study's displacement is free minus loaded, the opposite of the plate's,
// so every strain and stress it computes has the opposite sign of the analytic one; the
// nodes average magnitudes, so the sign drops out. sigma xx is compared because it keeps
// one sign over the whole plate away from the hole (at least 0.7 times the remote stress
// beyond three radii): there the average of magnitudes is the average of values. sigma yy
// and tau xy change sign across the plate's axes, where averaging magnitudes biases the
// nodes upwards by the spread of the triangles around them. The images' y grows
// downwards; sigma xx does not depend on the direction of y.
#include "io/mesh_file_writer.h"
#include "plate_example/plate_geometry.h"
#include "plate_example/plate_mesh.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

namespace ai::example {
namespace {

const std::string kExampleMesh = std::string(ANALYSE_EXAMPLES_DIR) + "/plate-with-hole.MEF";

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Opens the mesh file's bytes in the main window's behaviour, types the example's
// material and chooses plane stress, sigma xx.
std::unique_ptr<test::Harness> studyOf(const std::string& meshFile)
{
    auto h = std::make_unique<test::Harness>();
    h->files.files["plate.MEF"] = meshFile;
    h->dialogs.answers.push_back("plate.MEF");
    h->controller.open();
    h->controller.text1Changed("2000");
    h->controller.text2Changed("0,3");
    h->controller.sxxctrteplane();
    return h;
}

Vector2 fromCentre(const Position& p) { return {p.x - kHoleCentre.x, p.y - kHoleCentre.y}; }

// The nodal value at the top (y < 0) or bottom of the hole's edge.
double valueAtHoleEdge(const ProjectState& state, bool top)
{
    for (int n = 1; n <= state.NodeCount; ++n) {
        const Vector2 p = fromCentre(state.FreeNodes[static_cast<std::size_t>(n)]);
        if (std::fabs(p.x) < 1e-9 && std::fabs(std::hypot(p.x, p.y) - kHoleRadius) < 1e-9 &&
            (p.y < 0) == top)
            return state.NodeSums[static_cast<std::size_t>(n)].value;
    }
    ADD_FAILURE() << "no node at the " << (top ? "top" : "bottom") << " of the hole";
    return 0.0;
}

std::string meshBytes(const PlateMeshOptions& options)
{
    auto state = std::make_unique<ProjectState>();
    EXPECT_TRUE(buildPlateMesh(options, *state));
    return writeMeshFile(*state, state->NodeCount, NumberFormat{','});
}

TEST(PlateExample, TheCommittedMeshIsTheOneTheGeneratorMakes)
{
    EXPECT_EQ(fileBytes(kExampleMesh), meshBytes(PlateMeshOptions{}));
}

TEST(PlateExample, FarFromTheHoleEveryNodeHasTheAnalyticStressWithinThreePerCent)
{
    const auto h = studyOf(fileBytes(kExampleMesh));
    const ProjectState& state = h->state();
    ASSERT_EQ(h->controller.statusLine(), "Calcul effectué.");
    ASSERT_EQ(state.NodeCount, 546);
    int far = 0;
    for (int n = 1; n <= state.NodeCount; ++n) {
        const Vector2 p = fromCentre(state.FreeNodes[static_cast<std::size_t>(n)]);
        if (std::hypot(p.x, p.y) <= 3.0 * kHoleRadius)
            continue;
        ++far;
        const double analytic = std::fabs(kirschStress(kLoad, p).xx);
        EXPECT_NEAR(state.NodeSums[static_cast<std::size_t>(n)].value, analytic, 0.03 * analytic)
            << "node " << n << " at (" << p.x << ", " << p.y << ") from the hole's centre";
    }
    EXPECT_EQ(far, 274) << "half the nodes lie beyond three radii";
}

TEST(PlateExample, TheConcentrationShowsAtTheHoleAndApproachesThreeAsTheMeshIsRefined)
{
    // Each refinement halves the elements at the hole's edge, across the edge, where
    // sigma xx falls fastest (to 2.4 times the remote stress at a tenth of a radius).
    double previousGap = 3.0;
    for (const double firstLayer : {54.0, 27.0, 13.5}) {
        PlateMeshOptions options;
        options.firstLayer = firstLayer;
        const auto h = studyOf(meshBytes(options));
        const double top = valueAtHoleEdge(h->state(), true) / kRemoteStress;
        const double bottom = valueAtHoleEdge(h->state(), false) / kRemoteStress;
        EXPECT_GE(top, 2.4) << firstLayer;
        EXPECT_NEAR(bottom, top, 1e-9) << "the mesh is symmetric about the tension axis";
        EXPECT_LT(std::fabs(3.0 - top), previousGap) << firstLayer;
        previousGap = std::fabs(3.0 - top);
    }
}

} // namespace
} // namespace ai::example
