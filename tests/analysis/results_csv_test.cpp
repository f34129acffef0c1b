#include "analysis/node_values.h"
#include "analysis/results_csv.h"
#include "study_builder.h"
#include "support/csv_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace ai {
namespace {

TEST(ResultsCsv, TheStretchedTriangleGivesItsDisplacementsStrainsAndStresses)
{
    auto b = test::stretchedTriangle();
    const Material material{75.0, 0.25};
    b.state.NodeSums = computeNodeValues(b.state, 3, material, Component::Sxx, true).sums;

    const auto nodes = test::csvRecords(nodeResultsCsv(b.state, 3));
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(nodes[0], (std::vector<std::string>{"node", "free_x", "free_y", "loaded_x",
                                                  "loaded_y", "u", "v", "count", "average"}));
    // Free minus loaded: node 2 moved 1 to the right has u = -1.
    EXPECT_EQ(nodes[2],
              (std::vector<std::string>{"2", "100", "0", "101", "0", "-1", "0", "1", "0.8"}));

    const auto elements =
        test::csvRecords(elementResultsCsv(b.state, material, Component::Sxx, true));
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0], (std::vector<std::string>{"element", "n1", "n2", "n3", "two_a", "exx",
                                                     "eyy", "gxy", "sxx", "syy", "txy", "value"}));
    const auto& row = elements[1];
    ASSERT_EQ(row.size(), 12u);
    EXPECT_EQ((std::vector<std::string>{row[0], row[1], row[2], row[3], row[4]}),
              (std::vector<std::string>{"1", "1", "2", "3", "10000"}));
    EXPECT_DOUBLE_EQ(test::csvNumber(row[5]), -0.01);
    EXPECT_EQ(row[6], "0");
    EXPECT_EQ(row[7], "0");
    EXPECT_DOUBLE_EQ(test::csvNumber(row[8]), -0.8);
    EXPECT_DOUBLE_EQ(test::csvNumber(row[9]), -0.2);
    EXPECT_EQ(row[10], "0");
    EXPECT_DOUBLE_EQ(test::csvNumber(row[11]), 0.8);

    // Reversed corners: the signed area and the order change, the strain does not.
    b.state.Elements[1].nodes = {1, 3, 2};
    const auto reversed =
        test::csvRecords(elementResultsCsv(b.state, material, Component::Sxx, true));
    EXPECT_EQ(reversed[1][4], "-10000");
    EXPECT_EQ(reversed[1][5], row[5]);
}

TEST(ResultsCsv, EveryNumberReadsBackExactlyWithAPointWhateverItsSize)
{
    test::StudyBuilder b;
    const std::vector<double> awkward{0.1 + 0.2, 1e-300, -123456.789012345678,
                                      2.0 / 3.0, 1e300,  7941.35337618145};
    for (std::size_t i = 0; i + 1 < awkward.size(); i += 2)
        b.node({awkward[i], awkward[i + 1]}, {-0.0, awkward[i]});
    b.state.NodeSums[1] = {2.0, 1.0 / 3.0};

    const auto rows = test::csvRecords(nodeResultsCsv(b.state, b.state.NodeCount));
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), 9u);
        EXPECT_EQ(test::csvNumber(rows[r][1]), awkward[2 * (r - 1)]);
        EXPECT_EQ(test::csvNumber(rows[r][2]), awkward[2 * (r - 1) + 1]);
        EXPECT_EQ(rows[r][3], "0") << "no negative zero";
        EXPECT_EQ(rows[r][5], rows[r][1]) << "u is free minus loaded";
        for (const auto& field : rows[r])
            EXPECT_EQ(field.find_first_of(" ;\""), std::string::npos) << field;
    }
    EXPECT_EQ(test::csvNumber(rows[1][8]), 1.0 / 3.0);
    EXPECT_EQ(rows[1][7], "2");

    // An entry with no value gives an empty field, not "nan".
    b.state.NodeSums[2] = {};
    EXPECT_EQ(test::csvRecords(nodeResultsCsv(b.state, 2))[2][8], "");
}

} // namespace
} // namespace ai
