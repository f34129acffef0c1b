#include "io/mesh_file_reader.h"

#include "io/mesh_file_writer.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

const NumberFormat comma{','};

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

// A file of `nodes` located nodes and `elements` triangles (i, i+1, i+2), as our writer
// writes it with a decimal comma.
std::string writtenFile(int nodes, int elements)
{
    ProjectState state;
    state.NodeCount = nodes;
    for (int i = 1; i <= nodes; ++i) {
        state.FreeNodes[slot(i)] = {15015.0 - i, i + 0.5};
        state.LoadNodes[slot(i)] = {15030.0 - i, i + 0.25};
    }
    state.ElementCount = elements;
    for (int e = 1; e <= elements; ++e)
        state.Elements[slot(e)].nodes = {e, e + 1, e + 2};
    return writeMeshFile(state, nodes, comma);
}

std::string erasedLine(std::string text, const std::string& line)
{
    const auto at = text.find(line);
    EXPECT_NE(at, std::string::npos) << line;
    return text.erase(at, line.size());
}

void expectNoEntryAfter(const ProjectState& state)
{
    for (int i = state.NodeCount + 1; i <= kMaxNodes; ++i) {
        ASSERT_FALSE(isSet(state.FreeNodes[slot(i)].x)) << i;
        ASSERT_FALSE(isSet(state.FreeNodes[slot(i)].y)) << i;
        ASSERT_FALSE(isSet(state.LoadNodes[slot(i)].x)) << i;
        ASSERT_FALSE(isSet(state.LoadNodes[slot(i)].y)) << i;
    }
    for (int e = state.ElementCount + 1; e <= kMaxElements; ++e)
        ASSERT_EQ(state.Elements[slot(e)].nodes, (std::array<int, 3>{0, 0, 0})) << e;
}

TEST(MeshFileReader, ReadsBackWhatTheWriterWroteUpToAThousandEntries)
{
    for (const auto& [nodes, elements] : {std::pair{0, 0}, {3, 1}, {kMaxNodes, kMaxElements - 2}}) {
        ProjectState state;
        const auto counts = readMeshFile(writtenFile(nodes, elements), state);
        ASSERT_TRUE(counts.has_value());
        EXPECT_EQ(counts->nodes, nodes);
        EXPECT_EQ(counts->elements, elements);
        EXPECT_EQ(state.NodeCount, nodes);
        EXPECT_EQ(state.ElementCount, elements);
        EXPECT_EQ(writeMeshFile(state, state.NodeCount, comma), writtenFile(nodes, elements));
    }
    ProjectState state;
    readMeshFile(writtenFile(kMaxNodes, kMaxElements - 2), state);
    EXPECT_EQ(state.FreeNodes[1].x, 15014.0) << "five digits read whole";
    EXPECT_EQ(state.LoadNodes[kMaxNodes].y, 1000.25);
    EXPECT_EQ(state.Elements[kMaxElements - 2].nodes, (std::array<int, 3>{998, 999, 1000}));
    expectNoEntryAfter(state);
}

TEST(MeshFileReader, ValuesBecomeNumbersWithEitherSeparatorAndNormalise)
{
    ProjectState state;
    const auto counts = readMeshFile("[init]\nnode=2\nmesh=1,0\n"
                                     "[freenodelist]\nnodex1=0375\nnodey1=12,50\n"
                                     "nodex2=12.50\nnodey2=-1E3\n"
                                     "[loadnodelist]\nnodex1=+7\nnodey1=0,1000000000000001\n"
                                     "nodex2=.5\nnodey2=2,5e-1\n"
                                     "[freemeshlist]\nmesh11=02\nmesh21=1,0\nmesh31=2.\n",
                                     state);
    ASSERT_TRUE(counts.has_value());
    EXPECT_EQ(counts->nodes, 2);
    EXPECT_EQ(counts->elements, 1);
    EXPECT_EQ(state.FreeNodes[1].x, 375.0);
    EXPECT_EQ(state.FreeNodes[1].y, 12.5);
    EXPECT_EQ(state.FreeNodes[2].x, 12.5);
    EXPECT_EQ(state.FreeNodes[2].y, -1000.0);
    EXPECT_EQ(state.LoadNodes[1].x, 7.0);
    EXPECT_EQ(state.LoadNodes[1].y, 0.1) << "held as its 15-digit text";
    EXPECT_EQ(state.LoadNodes[2].x, 0.5);
    EXPECT_EQ(state.LoadNodes[2].y, 0.25);
    EXPECT_EQ(state.Elements[1].nodes, (std::array<int, 3>{2, 1, 2}));
    EXPECT_TRUE(writeMeshFile(state, 2, comma)
                    .starts_with("[init]\r\nnode=2\r\nmesh=1\r\n[freenodelist]\r\n"
                                 "nodex1=375\r\nnodey1=12,5\r\n"));
}

TEST(MeshFileReader, AMissingLoadedYEndsTheReadingAndKeepsOnlyWholeNodes)
{
    ProjectState state;
    const auto counts = readMeshFile(erasedLine(writtenFile(9, 4), "nodey7=7,25\r\n"), state);
    ASSERT_TRUE(counts.has_value());
    EXPECT_EQ(counts->nodes, 6);
    EXPECT_EQ(counts->elements, 0) << "the reading ended before the triangles";
    EXPECT_EQ(state.NodeCount, 6);
    EXPECT_EQ(state.ElementCount, 0);
    EXPECT_EQ(state.LoadNodes[6].y, 6.25);
    expectNoEntryAfter(state); // node 7's three values read are not kept
}

TEST(MeshFileReader, EmptyOrNonNumberValuesEndTheReadingThere)
{
    for (const char* bad : {"nodex3=", "nodex3=abc", "nodex3=1 000", "nodex3=1,000,5",
                            "nodex3=1e999", "nodex3=1.7976931348623157e308"}) {
        std::string text = writtenFile(5, 2);
        text.replace(text.find("nodex3=15012"), 12, bad);
        ProjectState state;
        const auto counts = readMeshFile(text, state);
        ASSERT_TRUE(counts.has_value());
        EXPECT_EQ(counts->nodes, 2) << bad;
        EXPECT_EQ(counts->elements, 0) << bad;
        expectNoEntryAfter(state);
    }
}

TEST(MeshFileReader, KeepsOnlyTheTrianglesBeforeTheFirstThatNamesNoNode)
{
    for (const char* bad : {"mesh23=0", "mesh23=6", "mesh23=-1", "mesh23=2,5", "mesh23=",
                            "mesh23=x"}) {
        // Nodes 1 to 5; triangle 3 names nodes 3, 4, 5 before the change.
        ProjectState state;
        const auto counts =
            readMeshFile(erasedLine(writtenFile(5, 3), "mesh23=4\r\n") + bad + "\r\n", state);
        ASSERT_TRUE(counts.has_value());
        EXPECT_EQ(counts->nodes, 5) << bad;
        EXPECT_EQ(counts->elements, 2) << bad;
        expectNoEntryAfter(state);
    }
    // Triangles naming nodes past what the file holds: the nodes count limits them.
    ProjectState state;
    const auto counts = readMeshFile(writtenFile(5, 4), state);
    ASSERT_TRUE(counts.has_value());
    EXPECT_EQ(counts->elements, 3) << "triangle 4 names node 6 of 5";
}

TEST(MeshFileReader, CountsAreLimitedToWhatTheFileHoldsAndToTheTables)
{
    const auto countsOf = [](const std::string& init, const std::string& rest) {
        ProjectState state;
        const auto counts = readMeshFile("[init]\r\n" + init + rest, state);
        if (counts) {
            EXPECT_EQ(counts->nodes, state.NodeCount);
            EXPECT_EQ(counts->elements, state.ElementCount);
        }
        return counts ? std::pair{counts->nodes, counts->elements} : std::pair{-1, -1};
    };
    std::string body = writtenFile(kMaxNodes, kMaxElements - 2);
    body.erase(0, body.find("[freenodelist]"));
    // The extra entries past 1000 would be read if the tables did not end the reading.
    body += "[freenodelist]\r\nnodex1001=1\r\nnodey1001=1\r\n"
            "[loadnodelist]\r\nnodex1001=1\r\nnodey1001=1\r\n";

    EXPECT_EQ(countsOf("node=5\r\nmesh=2\r\n", body), std::pair(5, 2));
    EXPECT_EQ(countsOf("node=2,9\r\nmesh=1.99\r\n", body), std::pair(2, 0))
        << "entry 1 names node 3: a fractional count reads its whole part";
    EXPECT_EQ(countsOf("node=-4\r\nmesh=-1\r\n", body), std::pair(0, 0));
    EXPECT_EQ(countsOf("node=1E+9\r\nmesh=5000\r\n", body), std::pair(kMaxNodes, kMaxElements - 2));
    EXPECT_EQ(countsOf("node=1001\r\nmesh=0\r\n", body), std::pair(kMaxNodes, 0));
    EXPECT_EQ(countsOf("node=\r\n", body), std::pair(0, 0)) << "empty and absent give 0";
    EXPECT_EQ(countsOf("", ""), std::pair(0, 0));
    EXPECT_EQ(countsOf("node=12\r\nmesh=3\r\n", writtenFile(5, 3)), std::pair(5, 0))
        << "more nodes claimed than held: the reading ends at node 6";

    // A count that is present but no number: nothing is read.
    EXPECT_EQ(countsOf("node=3\r\nmesh=un\r\n", body), std::pair(-1, -1));
    EXPECT_EQ(countsOf("node=3 noeuds\r\n", body), std::pair(-1, -1));
}

TEST(MeshFileReader, ATextThatIsNoMeshFileReadsAsAnEmptyStudy)
{
    for (const std::string& text : {std::string(), std::string("Bonjour\r\n"),
                                   std::string("[init]\r\nautre=3\r\n[freenodelist]\r\nnodex1=3\r\n"),
                                   std::string("\xff\xd8\xff\xe0\0\x10JFIF\0", 11)}) {
        ProjectState state;
        const auto counts = readMeshFile(text, state);
        ASSERT_TRUE(counts.has_value());
        EXPECT_EQ(counts->nodes, 0);
        EXPECT_EQ(counts->elements, 0);
        expectNoEntryAfter(state);
    }
}

TEST(MeshFileReader, HandWrittenLayoutsReadLikeOursAndTheFirstRepeatedKeyWins)
{
    const std::string hand = "[FREEMESHLIST]\n"
                             "MESH11 = 1\nmesh21=2\nmesh31=3\n"
                             "mesh11=3\n"
                             "[LoadNodeList]\n"
                             "nodey1=1\nnodex1=1\nnodey2=2\nnodex2=2\nnodey3=3\nnodex3=3\n"
                             "[init]\n"
                             " mesh = 1 \n node=3\n"
                             "[freenodelist]\n"
                             "NodeX1=0\nNodeY1=0\nNodeX2=10\nNodeY2=0\nNodeX3=0\nNodeY3=10\n";
    ProjectState state;
    const auto counts = readMeshFile(hand, state);
    ASSERT_TRUE(counts.has_value());
    EXPECT_EQ(counts->nodes, 3);
    EXPECT_EQ(counts->elements, 1);
    EXPECT_EQ(state.FreeNodes[2].x, 10.0);
    EXPECT_EQ(state.LoadNodes[3].y, 3.0);
    EXPECT_EQ(state.Elements[1].nodes, (std::array<int, 3>{1, 2, 3}));
}

} // namespace
} // namespace ai
