// The batch program's steps and their order: grid, automatic mesher, study, save.
#include "batch_process.h"
#include "mesh/automatic_mesher.h"
#include "mesh/structured_grid.h"
#include "support/csv_records.h"

#include <gtest/gtest.h>

#include <memory>

namespace ai::test {
namespace {

const std::string kEmptyStudy = "[init]\r\nnode=0\r\nmesh=0\r\n[freenodelist]\r\n"
                                "[loadnodelist]\r\n[freemeshlist]\r\n";

// A 3 x 2 grid whose cells are 150 wide on the free image and 165 on the loaded one: a
// uniform stretch of 10 % along x.
const QString kStretchedGrid = "--grid=3,2,150,150,1015,1000,300,600,310,620";

TEST(BatchSteps, AGridIsAppendedStudiedAndSavedUnderTheExactName)
{
    BatchFolder folder;
    folder.write("empty.MEF", kEmptyStudy);
    const BatchRun run =
        folder.run({kStretchedGrid, "--study=sxx", "--plane-stress", "--young=75", "--poisson=0,25",
                    "--decimal=,", "--nodes-csv=nodes.csv", "--save=grid.txt", "empty.MEF"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "0 noeuds et 0 élément(s)\n") << "the counts as read, before the grid";

    // Free minus loaded is a shortening of 10 %: sigma xx = -75 / (1 - 0.25^2) x 0.1 at every
    // node, mapped as its magnitude.
    const auto nodes = csvRecords(folder.read("nodes.csv"));
    ASSERT_EQ(nodes.size(), 7u);
    for (std::size_t n = 1; n < nodes.size(); ++n)
        EXPECT_DOUBLE_EQ(csvNumber(nodes[n][8]), 8.0) << "node " << n;
    EXPECT_EQ(nodes[6], (std::vector<std::string>{"6", "600", "750", "640", "770", "-40", "-20",
                                                  "1", nodes[6][8]}));

    const std::string saved = folder.read("grid.txt");
    EXPECT_EQ(saved.rfind("[init]\r\nnode=6\r\nmesh=4\r\n", 0), 0u);
    EXPECT_NE(saved.find("[loadnodelist]\r\nnodex1=310\r\nnodey1=620\r\n"), std::string::npos);
}

TEST(BatchSteps, TheAutomaticMesherRunsAfterTheGridAndReplacesItsTriangles)
{
    BatchFolder folder;
    folder.write("empty.MEF", kEmptyStudy);
    const BatchRun run = folder.run({kStretchedGrid, "--automesh=160", "--study=vm",
                                     "--elements-csv=elements.csv", "empty.MEF"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    auto state = std::make_unique<ProjectState>();
    ASSERT_TRUE(
        rebuildStructuredGrid(*state, {3, 2, 150, 150, 1015, 1000, 300, 600, 310, 620}).built);
    buildAutomaticMesh(*state, 160);
    const auto elements = csvRecords(folder.read("elements.csv"));
    ASSERT_EQ(elements.size(), static_cast<std::size_t>(state->ElementCount) + 1);
    ASSERT_GT(state->ElementCount, 4) << "not the grid's own four triangles";
    for (int e = 1; e <= state->ElementCount; ++e) {
        const auto& nodes = state->Elements[static_cast<std::size_t>(e)].nodes;
        const auto& row = elements[static_cast<std::size_t>(e)];
        EXPECT_EQ((std::vector<std::string>{row[1], row[2], row[3]}),
                  (std::vector<std::string>{std::to_string(nodes[0]), std::to_string(nodes[1]),
                                            std::to_string(nodes[2])}))
            << "triangle " << e;
    }
}

TEST(BatchSteps, TheMaterialTakesEitherSeparatorAndTheMapABlankBackground)
{
    BatchFolder folder;
    auto study = [&folder](const QString& poisson, const QString& table) {
        return folder.run({"--study=vm", "--plane-strain", "--young=2000", poisson,
                           "--nodes-csv=" + table, "--map-png=" + table + ".png",
                           exampleFile("plate-with-hole.MEF")});
    };
    ASSERT_EQ(study("--poisson=0,3", "comma.csv").exitCode, 0);
    ASSERT_EQ(study("--poisson=0.3", "point.csv").exitCode, 0);
    EXPECT_EQ(folder.read("comma.csv"), folder.read("point.csv"));

    // No photograph: the window's colour wherever the map paints nothing.
    const QImage map(folder.path("point.csv.png"));
    ASSERT_EQ(map.size(), QSize(1016, 444));
    EXPECT_EQ(map.pixel(5, 5), map.pixel(1010, 300));
    EXPECT_NE(qGray(map.pixel(5, 5)), 56) << "not the photograph's background";
}

TEST(BatchSteps, HelpGoesToStandardOutput)
{
    BatchFolder folder;
    const BatchRun run = folder.run({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("Utilisation : analyse-image-batch [OPTIONS] FICHIER_MAILLAGE\n", 0),
              0u);
    EXPECT_NE(run.out.find("--grid=NX,NY,SX,SY,GX,GY,FX,FY,LX,LY"), std::string::npos);
    EXPECT_EQ(run.err, "");
}

} // namespace
} // namespace ai::test
