// The worked example: the study gives back the analytic stresses that it was made from.
#include "analysis/study.h"
#include "io/mesh_file_writer.h"
#include "plate_example/plate_geometry.h"
#include "plate_example/plate_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>

namespace ai::example {
namespace {

TEST(PlateExample, GivesTheAnalyticStressFarFromTheHoleAndAConcentrationApproachingThree)
{
    std::ifstream committed(ANALYSE_EXAMPLES_DIR "/plate-with-hole.MEF", std::ios::binary);
    double previousGap = 3.0;
    // The committed mesh, then two refinements halving the elements across the hole's edge.
    for (const double firstLayer : {54.0, 27.0, 13.5}) {
        const bool example = firstLayer == PlateMeshOptions{}.firstLayer;
        auto mesh = std::make_unique<ProjectState>();
        ASSERT_TRUE(buildPlateMesh({.firstLayer = firstLayer}, *mesh));
        if (example) { // the committed mesh is the generator's
            EXPECT_EQ(writeMeshFile(*mesh, mesh->NodeCount, NumberFormat{','}),
                      std::string(std::istreambuf_iterator<char>(committed), {}));
        }
        const StudyOutcome study =
            computeStudy(*mesh, mesh->NodeCount, {"2000", "0,3", Component::Sxx, true, {','}});
        int far = 0;
        std::vector<double> edge; // sigma xx / remote at the top and bottom of the hole
        for (std::size_t n = 1; n <= static_cast<std::size_t>(mesh->NodeCount); ++n) {
            const Vector2 p{mesh->FreeNodes[n].x - kHoleCentre.x,
                            mesh->FreeNodes[n].y - kHoleCentre.y};
            // The nodes average magnitudes; sigma xx keeps one sign beyond three radii.
            const double analytic = std::fabs(kirschStress(kLoad, p).xx);
            if (std::fabs(p.x) < 1e-9 && std::fabs(std::fabs(p.y) - kHoleRadius) < 1e-9)
                edge.push_back(study.sums[n].value / kRemoteStress);
            if (example && std::hypot(p.x, p.y) > 3.0 * kHoleRadius) {
                ++far;
                EXPECT_NEAR(study.sums[n].value, analytic, 0.03 * analytic) << p.x << ", " << p.y;
            }
        }
        EXPECT_EQ(far, example ? 274 : 0) << "half the example's nodes lie beyond three radii";
        ASSERT_EQ(edge.size(), 2u) << firstLayer;
        EXPECT_GE(edge[0], 2.4) << firstLayer;
        EXPECT_NEAR(edge[1], edge[0], 1e-9) << "the mesh is symmetric about the tension axis";
        EXPECT_LT(std::fabs(3.0 - edge[0]), previousGap) << firstLayer;
        previousGap = std::fabs(3.0 - edge[0]);
    }
}

} // namespace
} // namespace ai::example
