#include "analysis/results_csv.h"
#include "study_builder.h"
#include "support/csv_records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ai {
namespace {

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
