// The mesh file: written byte for byte, read by name as a profile-string reader reads, with
// the counts kept to the entries fully read.
#include "io/mesh_file_reader.h"
#include "io/mesh_file_writer.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

using Counts = std::pair<int, int>;
const NumberFormat comma{','};
constexpr auto npos = std::string::npos;

// Our writer's file of `nodes` nodes and `elements` triangles (e, e+1, e+2).
std::string writtenFile(int nodes, int elements)
{
    ProjectState s;
    for (int i = 1; i <= nodes; ++i)
        s.FreeNodes[i] = {15015.0 - i, i + 0.5}, s.LoadNodes[i] = {15030.0 - i, i + 0.25};
    for (int e = 1; e <= elements; ++e)
        s.Elements[e].nodes = {e, e + 1, e + 2};
    s.ElementCount = elements;
    return writeMeshFile(s, nodes, comma);
}

std::string replaced(std::string text, const std::string& line, const std::string& by)
{
    return text.replace(text.find(line), line.size(), by);
}

// A text read into an erased study: the counts returned, {-1, -1} when nothing was read, must
// be the study's, and no entry after them may hold anything.
std::pair<Counts, ProjectState> read(const std::string& text)
{
    std::pair<Counts, ProjectState> r{{-1, -1}, {}};
    auto& [counts, s] = r;
    if (const auto read = readMeshFile(text, s)) {
        counts = {read->nodes, read->elements};
        EXPECT_EQ(counts, Counts(s.NodeCount, s.ElementCount));
    }
    for (int i = s.NodeCount + 1; i <= kMaxNodes; ++i)
        EXPECT_FALSE(isSet(s.FreeNodes[i].x) || isSet(s.FreeNodes[i].y) ||
                     isSet(s.LoadNodes[i].x) || isSet(s.LoadNodes[i].y))
            << "node " << i;
    for (int e = s.ElementCount + 1; e <= kMaxElements; ++e)
        EXPECT_EQ(s.Elements[e].nodes, (std::array{0, 0, 0})) << "triangle " << e;
    return r;
}

Counts countsRead(const std::string& text) { return read(text).first; }

TEST(MeshFileWriter, WritesTheStudyByteForByteInTheUsersFormat)
{
    ProjectState s;
    s.NodeCount = 3;
    s.FreeNodes = {{{}, {150, 300}, {15015, 450.5}, {600, 750}}};
    s.LoadNodes = {{{}, {165, 315}, {15030, 465.25}, {-15, 765}}};
    s.Elements[++s.ElementCount].nodes = {3, 1, 2};
    EXPECT_EQ(writeMeshFile(s, 3, comma),
              "[init]\r\nnode=3\r\nmesh=1\r\n"
              "[freenodelist]\r\nnodex1=150\r\nnodey1=300\r\nnodex2=15015\r\nnodey2=450,5\r\n"
              "nodex3=600\r\nnodey3=750\r\n"
              "[loadnodelist]\r\nnodex1=165\r\nnodey1=315\r\nnodex2=15030\r\nnodey2=465,25\r\n"
              "nodex3=-15\r\nnodey3=765\r\n"
              "[freemeshlist]\r\nmesh11=3\r\nmesh21=1\r\nmesh31=2\r\n");
    const std::string point = writeMeshFile(s, 3, NumberFormat{'.'});
    EXPECT_EQ(std::tuple(point.find(','), point.find("\r\nnodey2=465.25\r\n") != npos),
              std::tuple(npos, true));

    EXPECT_EQ(
        writeMeshFile(ProjectState{}, 0, comma),
        "[init]\r\nnode=0\r\nmesh=0\r\n[freenodelist]\r\n[loadnodelist]\r\n[freemeshlist]\r\n");
    // Keys of large numbers put the corner right after "mesh".
    const std::string full = writtenFile(kMaxNodes, kMaxElements);
    EXPECT_NE(full.find("\r\nnodey1000=1000,25\r\n[freemeshlist]\r\nmesh11=1\r\n"), npos);
    EXPECT_NE(full.find("\r\nmesh112=12\r\nmesh212=13\r\nmesh312=14\r\n"), npos);
    EXPECT_TRUE(full.ends_with("\r\nmesh31000=1002\r\n"));
}

TEST(MeshFileReader, ReadsBackWhatTheWriterWroteUpToAThousandEntries)
{
    for (const auto& [nodes, elements] : {Counts{0, 0}, {3, 1}, {kMaxNodes, kMaxElements - 2}}) {
        const std::string file = writtenFile(nodes, elements);
        const auto [counts, s] = read(file);
        EXPECT_EQ(counts, Counts(nodes, elements));
        EXPECT_EQ(writeMeshFile(s, nodes, comma), file);
    }
}

// LF only, sections in any order, names in any case, blanks around names and values, the first
// of a repeated key, lines that are not "key=value" and keys before any section skipped, a
// repeated section continued; either separator; values held as their number's text.
TEST(MeshFileReader, ReadsEitherSeparatorInAFileLaidOutByHand)
{
    const auto [counts, s] =
        read("mesh=9\n[FREEMESHLIST]\nMESH11 = 02\nmesh21=1,0\nmesh11=1\n"
             "[LoadNodeList]\ngarbage line\n=5\nnodex1=+7\nnodey1=0,1000000000000001\n"
             "nodex2=.5\n[broken\nnodey2=2,5e-1\n"
             "  [ init ]  \n\tnode = 2 \nmesh=1,0\n"
             "[freenodelist]\nNodeX1=0375\nnodey1=12,50\nnodex2=12.50\n"
             "[freemeshlist]\nmesh31=2.\n[freenodelist]\nnodey2=-1E3");
    EXPECT_EQ(counts, Counts(2, 1));
    EXPECT_EQ((std::array{s.FreeNodes[1].x, s.FreeNodes[1].y, s.FreeNodes[2].x, s.FreeNodes[2].y,
                          s.LoadNodes[1].x, s.LoadNodes[1].y, s.LoadNodes[2].x, s.LoadNodes[2].y}),
              (std::array{375.0, 12.5, 12.5, -1000.0, 7.0, 0.1, 0.5, 0.25}));
    EXPECT_EQ(s.Elements[1].nodes, (std::array{2, 1, 2}));
}

TEST(MeshFileReader, ReadingEndsAtTheFirstValueThatIsNoNumberOrNoNodeKeepingWholeEntries)
{
    // Node 7's loaded y missing: its other values are not kept, and no triangle is read.
    const auto [counts, s] = read(replaced(writtenFile(9, 4), "nodey7=7,25\r\n", ""));
    EXPECT_EQ(std::tuple(counts, s.LoadNodes[6].y), std::tuple(Counts(6, 0), 6.25));
    // A number too small for a double is its double, 0, not a number that ends the reading.
    for (const char* tiny : {"nodex3=1e-400", "nodex3=-0,5E-99999999999999999999"}) {
        const auto [tinyCounts, tinyRead] = read(replaced(writtenFile(5, 2), "nodex3=15012", tiny));
        EXPECT_EQ(std::tuple(tinyCounts, tinyRead.FreeNodes[3].x), std::tuple(Counts(5, 2), 0.0))
            << tiny;
        EXPECT_NE(writeMeshFile(tinyRead, 5, comma).find("\r\nnodex3=0\r\n"), npos);
    }
    for (const char* bad : {"nodex3=", "nodex3=abc", "nodex3=1 000", "nodex3=1,000,5",
                            "nodex3=1e999", "nodex3=1.7976931348623157e308"})
        EXPECT_EQ(countsRead(replaced(writtenFile(5, 2), "nodex3=15012", bad)), Counts(2, 0));
    // Triangle 3 names nodes 3, 4 and 5 of 5 before the change.
    for (const char* bad :
         {"mesh23=0", "mesh23=6", "mesh23=-1", "mesh23=2,5", "mesh23=", "mesh23=x"})
        EXPECT_EQ(countsRead(replaced(writtenFile(5, 3), "mesh23=4", bad)), Counts(5, 2)) << bad;
    EXPECT_EQ(countsRead(writtenFile(5, 4)), Counts(5, 3)) << "triangle 4 names node 6";
}

TEST(MeshFileReader, CountsAreLimitedToWhatTheFileHoldsAndToTheTables)
{
    std::string body = writtenFile(kMaxNodes, kMaxElements - 2);
    body.erase(0, body.find("[freenodelist]"));
    // Entries past 1000 that would be read if the tables did not end the reading.
    body += "[freenodelist]\nnodex1001=1\nnodey1001=1\n[loadnodelist]\nnodex1001=1\nnodey1001=1\n";
    const std::pair<const char*, Counts> cases[] = {
        {"node=5\nmesh=2", {5, 2}},
        {"node=2,9\nmesh=1.99", {2, 0}}, // triangle 1 names node 3
        {"node=-4\nmesh=-1", {0, 0}},
        {"node=1000\nmesh=5000", {kMaxNodes, kMaxElements - 2}},
        // Node 1001 is past the tables: the reading ends there, before the triangles.
        {"node=1E+9\nmesh=5000", {kMaxNodes, 0}},
        {"node=1001\nmesh=998", {kMaxNodes, 0}},
        {"node=\n", {0, 0}},           // empty and absent give 0
        {"node=3\nmesh=un", {-1, -1}}, // present but no number: nothing is read
        {"node=3 noeuds", {-1, -1}}};
    for (const auto& [init, counts] : cases)
        EXPECT_EQ(countsRead("[init]\n" + std::string(init) + "\n" + body), counts) << init;
    EXPECT_EQ(countsRead(replaced(writtenFile(5, 3), "node=5", "node=12")), Counts(5, 0));
    for (const std::string& text : {std::string(), std::string("Bonjour\r\n"),
                                    std::string("[init]\r\nautre=3\r\n[freenodelist]\r\nnodex1=3"),
                                    std::string("\xff\xd8\xff\xe0\0\x10JFIF\0", 11)})
        EXPECT_EQ(countsRead(text), Counts(0, 0)) << "no mesh file";
}

} // namespace
} // namespace ai
