#include "io/mesh_file_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ai {
namespace {

const NumberFormat comma{','};

ProjectState threeNodesOneTriangle()
{
    ProjectState state;
    state.NodeCount = 3;
    state.FreeNodes[1] = {150, 300};
    state.FreeNodes[2] = {15015, 450.5};
    state.FreeNodes[3] = {600, 750};
    state.LoadNodes[1] = {165, 315};
    state.LoadNodes[2] = {15030, 465.25};
    state.LoadNodes[3] = {-15, 765};
    state.ElementCount = 1;
    state.Elements[1].nodes = {3, 1, 2};
    return state;
}

TEST(MeshFileWriter, WritesTheTwentyOneLinesOfThreeNodesAndOneTriangleByteForByteInTheUsersFormat)
{
    const std::string bytes = writeMeshFile(threeNodesOneTriangle(), 3, comma);
    EXPECT_EQ(bytes, "[init]\r\n"
                     "node=3\r\n"
                     "mesh=1\r\n"
                     "[freenodelist]\r\n"
                     "nodex1=150\r\n"
                     "nodey1=300\r\n"
                     "nodex2=15015\r\n"
                     "nodey2=450,5\r\n"
                     "nodex3=600\r\n"
                     "nodey3=750\r\n"
                     "[loadnodelist]\r\n"
                     "nodex1=165\r\n"
                     "nodey1=315\r\n"
                     "nodex2=15030\r\n"
                     "nodey2=465,25\r\n"
                     "nodex3=-15\r\n"
                     "nodey3=765\r\n"
                     "[freemeshlist]\r\n"
                     "mesh11=3\r\n"
                     "mesh21=1\r\n"
                     "mesh31=2\r\n");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 21);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 21);

    const std::string point = writeMeshFile(threeNodesOneTriangle(), 3, NumberFormat{'.'});
    EXPECT_EQ(point.find(','), std::string::npos);
    EXPECT_NE(point.find("\r\nnodey2=465.25\r\n"), std::string::npos);
}

TEST(MeshFileWriter, AnEmptyStudyHasTheCountsAndTheThreeHeadersOnly)
{
    EXPECT_EQ(writeMeshFile(ProjectState{}, 0, comma),
              "[init]\r\nnode=0\r\nmesh=0\r\n[freenodelist]\r\n[loadnodelist]\r\n[freemeshlist]\r\n");
}

TEST(MeshFileWriter, WritesOnlyTheNodesAskedForAndEmptyEntriesAsEmptyValues)
{
    ProjectState state = threeNodesOneTriangle();
    state.LoadNodes[3] = Position{};
    const std::string twoNodes = writeMeshFile(state, 2, comma);
    EXPECT_NE(twoNodes.find("node=2\r\n"), std::string::npos);
    EXPECT_EQ(twoNodes.find("nodex3"), std::string::npos);

    const std::string threeNodes = writeMeshFile(state, 3, comma);
    EXPECT_NE(threeNodes.find("[loadnodelist]\r\n"
                              "nodex1=165\r\nnodey1=315\r\n"
                              "nodex2=15030\r\nnodey2=465,25\r\n"
                              "nodex3=\r\nnodey3=\r\n[freemeshlist]"),
              std::string::npos);
}

TEST(MeshFileWriter, KeysOfLargeNumbersPutTheCornerRightAfterMesh)
{
    ProjectState state;
    state.NodeCount = kMaxNodes;
    for (int i = 1; i <= kMaxNodes; ++i) {
        state.FreeNodes[static_cast<std::size_t>(i)] = {15015.0 - i, 99999};
        state.LoadNodes[static_cast<std::size_t>(i)] = {12.5, 0.125};
    }
    state.ElementCount = kMaxElements;
    for (int e = 1; e <= kMaxElements; ++e)
        state.Elements[static_cast<std::size_t>(e)].nodes = {1, 2, kMaxNodes};

    const std::string bytes = writeMeshFile(state, kMaxNodes, comma);
    EXPECT_TRUE(bytes.starts_with("[init]\r\nnode=1000\r\nmesh=1000\r\n[freenodelist]\r\n"));
    EXPECT_NE(bytes.find("\r\nnodex12=15003\r\nnodey12=99999\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nnodex1000=14015\r\nnodey1000=99999\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nmesh112=1\r\nmesh212=2\r\nmesh312=1000\r\n"), std::string::npos);
    EXPECT_TRUE(bytes.ends_with("\r\nmesh31000=1000\r\n"));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 6 + 4 * kMaxNodes + 3 * kMaxElements);
}

} // namespace
} // namespace ai
