// The batch program as a user calls it: a process, its exit status, its messages, its files.
#include "analysis/element_stress.h"
#include "analysis/study.h"
#include "batch_process.h"
#include "io/mesh_file_reader.h"
#include "support/csv_records.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

namespace ai::test {
namespace {

const QString kExample = exampleFile("plate-with-hole.MEF");
const QString kExamplePhoto = exampleFile("plate-free.png");

// The example's study as the README gives it: the plate's material, plane stress, sigma xx.
QStringList exampleStudy()
{
    return {"--study=sxx", "--plane-stress", "--young=2000", "--poisson=0.3"};
}

std::string fileBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

struct Colour {
    int red, green, blue;
    friend bool operator==(const Colour&, const Colour&) = default;
};

Colour pixel(const QImage& image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return {qRed(rgb), qGreen(rgb), qBlue(rgb)};
}

TEST(BatchProgram, StudiesTheExampleIntoTablesAMapAndAMeshFile)
{
    BatchFolder folder;
    const BatchRun run = folder.run(
        exampleStudy() + QStringList{"--decimal=,", "--nodes-csv=nodes.csv",
                                     "--elements-csv=elements.csv", "--map-png=map.png",
                                     "--image=" + kExamplePhoto, "--save=copy", kExample});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "546 noeuds et 992 élément(s)\n") << "the counts, and nothing else";
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(folder.files(), (QStringList{"copy", "elements.csv", "map.png", "nodes.csv"}))
        << "no scratch file left behind, and the save's name taken as it stands";

    // The example was written with a decimal comma, and nothing changed it.
    EXPECT_EQ(folder.read("copy"), fileBytes(kExample));

    // The node table holds the study's own doubles, to the last bit.
    auto state = std::make_unique<ProjectState>();
    ASSERT_TRUE(readMeshFile(fileBytes(kExample), *state));
    const StudyOutcome study =
        computeStudy(*state, state->NodeCount, {"2000", "0,3", Component::Sxx, true, {','}});
    ASSERT_EQ(study.refusal, "");
    const auto nodes = csvRecords(folder.read("nodes.csv"));
    ASSERT_EQ(nodes.size(), 547u);
    for (int n = 1; n <= 546; ++n) {
        const auto& row = nodes[static_cast<std::size_t>(n)];
        const auto slot = static_cast<std::size_t>(n);
        ASSERT_EQ(row.size(), 9u);
        EXPECT_EQ(row[0], std::to_string(n));
        EXPECT_EQ(csvNumber(row[1]), state->FreeNodes[slot].x);
        EXPECT_EQ(csvNumber(row[4]), state->LoadNodes[slot].y);
        EXPECT_EQ(csvNumber(row[5]), state->FreeNodes[slot].x - state->LoadNodes[slot].x);
        EXPECT_EQ(csvNumber(row[7]), study.sums[slot].count);
        EXPECT_EQ(csvNumber(row[8]), study.sums[slot].value) << "node " << n;
    }

    // Each node's average is the mean of the values of the triangles that list it.
    const auto elements = csvRecords(folder.read("elements.csv"));
    ASSERT_EQ(elements.size(), 993u);
    std::map<int, std::pair<int, double>> perNode;
    for (std::size_t e = 1; e < elements.size(); ++e) {
        const auto& row = elements[e];
        ASSERT_EQ(row.size(), 12u);
        EXPECT_EQ(csvNumber(row[11]), std::fabs(csvNumber(row[8]))) << "value is |sxx|";
        std::array<Position, 3> corners;
        for (std::size_t c = 0; c < 3; ++c) {
            const int node = std::stoi(row[1 + c]);
            corners[c] = state->FreeNodes[static_cast<std::size_t>(node)];
            perNode[node].first += 1;
            perNode[node].second += csvNumber(row[11]);
        }
        EXPECT_EQ(csvNumber(row[4]), twiceSignedArea(corners));
    }
    for (const auto& [node, sum] : perNode)
        EXPECT_NEAR(sum.second / sum.first, csvNumber(nodes[static_cast<std::size_t>(node)][8]),
                    1e-12 * sum.second);

    // The map window's picture: its size, the photograph, the colour bar's telling rows.
    const QImage map(folder.path("map.png"));
    ASSERT_EQ(map.size(), QSize(1016, 444));
    EXPECT_EQ(pixel(map, 5, 5), (Colour{56, 56, 56})) << "the photograph's background";
    // Row j of the bar lies at 4000 - 15 j twips, a pixel a row; its three columns at
    // 13140, 13160 and 13180 twips.
    for (const int x : {876, 877, 879}) {
        EXPECT_EQ(pixel(map, x, 12), (Colour{255, 67, 0})) << "row 255, the maximum";
        EXPECT_EQ(pixel(map, x, 139), (Colour{128, 254, 0})) << "row 128";
        EXPECT_EQ(pixel(map, x, 266), (Colour{0, 3, 254})) << "row 1, the minimum";
    }
}

} // namespace
} // namespace ai::test
