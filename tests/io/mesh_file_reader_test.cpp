#include "io/mesh_file_reader.h"

#include "io/mesh_file_writer.h"

#include <gtest/gtest.h>

#include <utility>

namespace ai {
namespace {

const NumberFormat comma{','};

std::size_t slot(int number) { return static_cast<std::size_t>(number); }

// Our writer's file of `nodes` nodes and `elements` triangles (e, e+1, e+2), decimal comma.
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

std::string replaced(std::string text, const std::string& line, const std::string& by)
{
    const auto at = text.find(line);
    EXPECT_NE(at, std::string::npos) << line;
    return text.replace(at, line.size(), by);
}

// Reads the text into an erased study; checks that the counts returned are the study's
// and that no entry after the counts holds anything. {-1, -1} when nothing was read.
std::pair<int, int> countsRead(const std::string& text, ProjectState& state)
{
    const auto counts = readMeshFile(text, state);
    for (int i = state.NodeCount + 1; i <= kMaxNodes; ++i) {
        EXPECT_FALSE(isSet(state.FreeNodes[slot(i)].x) || isSet(state.FreeNodes[slot(i)].y) ||
                     isSet(state.LoadNodes[slot(i)].x) || isSet(state.LoadNodes[slot(i)].y))
            << "node " << i;
    }
    for (int e = state.ElementCount + 1; e <= kMaxElements; ++e)
        EXPECT_EQ(state.Elements[slot(e)].nodes, (std::array<int, 3>{0, 0, 0})) << e;
    if (!counts)
        return {-1, -1};
    EXPECT_EQ(counts->nodes, state.NodeCount);
    EXPECT_EQ(counts->elements, state.ElementCount);
    return {counts->nodes, counts->elements};
}

std::pair<int, int> countsRead(const std::string& text)
{
    ProjectState state;
    return countsRead(text, state);
}

TEST(MeshFileReader, ReadsBackWhatTheWriterWroteUpToAThousandEntries)
{
    for (const auto& [nodes, elements] : {std::pair{0, 0}, {3, 1}, {kMaxNodes, kMaxElements - 2}}) {
        ProjectState state;
        EXPECT_EQ(countsRead(writtenFile(nodes, elements), state), std::pair(nodes, elements));
        EXPECT_EQ(writeMeshFile(state, state.NodeCount, comma), writtenFile(nodes, elements));
        if (nodes == kMaxNodes) {
            EXPECT_EQ(state.FreeNodes[1].x, 15014.0) << "five digits read whole";
            EXPECT_EQ(state.Elements[slot(elements)].nodes, (std::array<int, 3>{998, 999, 1000}));
        }
    }
}

TEST(MeshFileReader, ValuesAreReadWithEitherSeparatorAndHeldAsTheirNumbersText)
{
    ProjectState state;
    const auto counts = countsRead("[init]\nnode=2\nmesh=1,0\n"
                                   "[freenodelist]\nnodex1=0375\nnodey1=12,50\n"
                                   "nodex2=12.50\nnodey2=-1E3\n"
                                   "[loadnodelist]\nnodex1=+7\nnodey1=0,1000000000000001\n"
                                   "nodex2=.5\nnodey2=2,5e-1\n"
                                   "[freemeshlist]\nmesh11=02\nmesh21=1,0\nmesh31=2.\n",
                                   state);
    EXPECT_EQ(counts, std::pair(2, 1));
    EXPECT_EQ(state.FreeNodes[1].x, 375.0);
    EXPECT_EQ(state.FreeNodes[1].y, 12.5);
    EXPECT_EQ(state.FreeNodes[2].x, 12.5);
    EXPECT_EQ(state.FreeNodes[2].y, -1000.0);
    EXPECT_EQ(state.LoadNodes[1].x, 7.0);
    EXPECT_EQ(state.LoadNodes[1].y, 0.1) << "15 significant digits";
    EXPECT_EQ(state.LoadNodes[2].y, 0.25);
    EXPECT_EQ(state.Elements[1].nodes, (std::array<int, 3>{2, 1, 2}));
}

TEST(MeshFileReader, AMissingLoadedYEndsTheReadingAndKeepsOnlyWholeNodes)
{
    ProjectState state;
    // Node 7's three other values are not kept, and no triangle is read.
    EXPECT_EQ(countsRead(replaced(writtenFile(9, 4), "nodey7=7,25\r\n", ""), state),
              std::pair(6, 0));
    EXPECT_EQ(state.LoadNodes[6].y, 6.25);
}

TEST(MeshFileReader, ReadingEndsAtTheFirstValueThatIsNoNumberOrNoNode)
{
    for (const char* bad : {"nodex3=", "nodex3=abc", "nodex3=1 000", "nodex3=1,000,5",
                            "nodex3=1e999", "nodex3=1.7976931348623157e308"})
        EXPECT_EQ(countsRead(replaced(writtenFile(5, 2), "nodex3=15012", bad)), std::pair(2, 0))
            << bad;
    // Triangle 3 names nodes 3, 4 and 5 of 5 before the change.
    for (const char* bad : {"mesh23=0", "mesh23=6", "mesh23=-1", "mesh23=2,5", "mesh23=", "mesh23=x"})
        EXPECT_EQ(countsRead(replaced(writtenFile(5, 3), "mesh23=4", bad)), std::pair(5, 2)) << bad;
    EXPECT_EQ(countsRead(writtenFile(5, 4)), std::pair(5, 3)) << "triangle 4 names node 6";
}

TEST(MeshFileReader, CountsAreLimitedToWhatTheFileHoldsAndToTheTables)
{
    std::string body = writtenFile(kMaxNodes, kMaxElements - 2);
    body.erase(0, body.find("[freenodelist]"));
    // Entries past 1000 that would be read if the tables did not end the reading.
    body += "[freenodelist]\nnodex1001=1\nnodey1001=1\n[loadnodelist]\nnodex1001=1\nnodey1001=1\n";
    const auto withInit = [&](const std::string& init) {
        return countsRead("[init]\n" + init + "\n" + body);
    };

    EXPECT_EQ(withInit("node=5\nmesh=2"), std::pair(5, 2));
    EXPECT_EQ(withInit("node=2,9\nmesh=1.99"), std::pair(2, 0)) << "triangle 1 names node 3";
    EXPECT_EQ(withInit("node=-4\nmesh=-1"), std::pair(0, 0));
    EXPECT_EQ(withInit("node=1E+9\nmesh=5000"), std::pair(kMaxNodes, kMaxElements - 2));
    EXPECT_EQ(withInit("node=1001\nmesh=0"), std::pair(kMaxNodes, 0));
    EXPECT_EQ(withInit("node=\n"), std::pair(0, 0)) << "empty and absent give 0";
    EXPECT_EQ(countsRead(replaced(writtenFile(5, 3), "node=5", "node=12")), std::pair(5, 0));
    // A count that is present but no number: nothing is read.
    EXPECT_EQ(withInit("node=3\nmesh=un"), std::pair(-1, -1));
    EXPECT_EQ(withInit("node=3 noeuds"), std::pair(-1, -1));
}

TEST(MeshFileReader, ATextThatIsNoMeshFileOrLaidOutByHandIsReadByName)
{
    for (const std::string& text : {std::string(), std::string("Bonjour\r\n"),
                                    std::string("[init]\r\nautre=3\r\n[freenodelist]\r\nnodex1=3"),
                                    std::string("\xff\xd8\xff\xe0\0\x10JFIF\0", 11)})
        EXPECT_EQ(countsRead(text), std::pair(0, 0));

    ProjectState state;
    EXPECT_EQ(countsRead("[FREEMESHLIST]\nMESH11 = 1\nmesh21=2\nmesh31=3\nmesh11=3\n"
                         "[LoadNodeList]\nnodey1=1\nnodex1=1\nnodey2=2\nnodex2=2\nnodey3=3\nnodex3=3\n"
                         "[init]\n mesh = 1 \n node=3\n"
                         "[freenodelist]\nNodeX1=0\nNodeY1=0\nNodeX2=10\nNodeY2=0\nNodeX3=0\nNodeY3=10\n",
                         state),
              std::pair(3, 1));
    EXPECT_EQ(state.FreeNodes[2].x, 10.0);
    EXPECT_EQ(state.Elements[1].nodes, (std::array<int, 3>{1, 2, 3})) << "the first mesh11 wins";
}

} // namespace
} // namespace ai
