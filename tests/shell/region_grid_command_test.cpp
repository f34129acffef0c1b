// The grid over a region drawn on the free view: what it adds, how it is drawn, when it refuses.
#include "io/mesh_file_writer.h"
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

using test::Harness;
using test::RecordingView;
constexpr Rgb kBand{255, 200, 0};
constexpr auto npos = std::string::npos;

std::string fileOf(const ProjectState& s) { return writeMeshFile(s, s.NodeCount, {','}); }

// A rectangle dragged on the free view between two points in view units; the dialog answers
// `step`, or is cancelled.
void dragRegion(Harness& h, float X0, float Y0, float X1, float Y1, std::optional<int> step)
{
    h.numbers.answers.push_back(step);
    h.controller.grilleregion();
    h.controller.picture1Pressed(X0, Y0);
    h.controller.picture1Moved(X1, Y1);
    h.controller.picture1Released();
}

std::vector<RecordingView::Line> band(const RecordingView& view)
{
    std::vector<RecordingView::Line> lines;
    for (const auto& line : view.lines)
        if (line.colour == kBand)
            lines.push_back(line);
    return lines;
}

// Two hand-made nodes and a triangle: the grid goes after them.
void handMade(Harness& h)
{
    auto& c = h.controller;
    c.node();
    for (const float X : {15.0f, 150.0f, 300.0f})
        c.picture1Pressed(X, 30), c.picture2Pressed(X + 15, 30);
    c.manumesh();
    for (const float X : {15.0f, 150.0f, 300.0f})
        c.picture1Pressed(X, 30);
}

TEST(RegionGridCommand, LaysTheStructuredGridOverTheRectangleWhicheverCornerComesFirst)
{
    // The same grid from the grid bars: 4 x 3 nodes 150 apart from (300, 150), loaded = free.
    Harness bars;
    handMade(bars);
    bars.controller.automesh();
    for (const auto& [bar, value] : {std::pair{Bar::HScroll1, 4}, {Bar::VScroll1, 3},
                                     {Bar::HScroll4, 300}, {Bar::VScroll4, 150},
                                     {Bar::HScroll5, 300}, {Bar::VScroll5, 150}})
        bars.controller.barChanged(bar, value);

    // Pixels (20, 10) to (52, 31), a step of 10: the rest of 2 and 1 pixels takes no node.
    // Positions between pixels fall on the nearest one.
    for (const auto& [X0, Y0, X1, Y1] : {std::array{300.0f, 150.0f, 780.0f, 465.0f},
                                         {787.0f, 472.0f, 307.0f, 143.0f}}) {
        Harness h;
        handMade(h);
        h.controller.automesh();
        h.numbers.answers.push_back(10);
        h.controller.grilleregion();
        EXPECT_EQ(std::tuple(h.controller.statusLine(), h.window.panels[Panel::Frame3]),
                  std::tuple(status::RegionPrompt, false))
            << "a bar of the grid panel would drop the region's grid";
        h.controller.picture1Pressed(X0, Y0);
        EXPECT_EQ(h.controller.statusLine(), status::RegionDragging);
        h.controller.picture1Moved(X1, Y1);
        h.controller.picture1Moved(X1, Y1);
        // One band, around the whole pixels the grid covers, over the restored drawing.
        EXPECT_EQ(band(h.picture1), (std::vector<RecordingView::Line>{
                                        {300, 150, 780, 150, kBand},
                                        {780, 150, 780, 465, kBand},
                                        {780, 465, 300, 465, kBand},
                                        {300, 465, 300, 150, kBand}}));
        EXPECT_TRUE(band(h.picture2).empty());
        h.controller.picture1Released();

        const auto& asked = h.numbers.asked.at(0);
        EXPECT_EQ(std::tuple(asked.title, asked.label, asked.initial, asked.minimum, asked.maximum),
                  std::tuple("Grille sur une région", "Pas des noeuds en pixels (de 1 à 21) :",
                             10, 1, 21));
        EXPECT_EQ(fileOf(h.state()), fileOf(bars.state()));
        EXPECT_EQ(h.state().NodeCount, 3 + 12);
        EXPECT_TRUE(band(h.picture1).empty()) << "the redraw that shows the grid drops the band";
        EXPECT_EQ(h.window.statuses.back(), status::Waiting);
    }
}

TEST(RegionGridCommand, ChangesNothingWhenCancelledEmptyOrTooDenseAndSaysTheFinestStepThatFits)
{
    const struct {
        const char* what;
        std::array<float, 4> corners;
        std::optional<int> step;
        bool asked;
        std::string message;
    } cases[] = {
        {"a click without a drag", {300, 300, 307, 300}, 5, false, ""},
        {"a cancelled dialog", {0, 0, 1500, 1500}, std::nullopt, true, ""},
        // 400 x 300 pixels: a step of 15 gives 27 x 21 nodes and 1040 triangles, 16 fits.
        {"too dense", {0, 0, 6000, 4500}, 5, true,
         "La grille de 81 x 61 noeuds n'a pas été créée : elle compterait 4941 noeuds et 9600 "
         "éléments, alors que l'étude est limitée à 1000 noeuds et 1000 éléments. Sur ce "
         "rectangle, le plus petit pas qui convient est de 16 pixels."},
    };
    for (const auto& t : cases) {
        Harness h;
        handMade(h);
        const std::string before = fileOf(h.state());
        dragRegion(h, t.corners[0], t.corners[1], t.corners[2], t.corners[3], t.step);
        EXPECT_EQ(fileOf(h.state()), before) << t.what;
        EXPECT_EQ(h.numbers.asked.size(), t.asked ? 1u : 0u) << t.what;
        EXPECT_EQ(h.messages.shown, t.message.empty() ? std::vector<std::string>{}
                                                      : std::vector{t.message})
            << t.what;
        // Back to the prompt for another rectangle, the band gone.
        EXPECT_EQ(std::tuple(h.controller.statusLine(), band(h.picture1).size()),
                  std::tuple(status::RegionPrompt, 0u))
            << t.what;
    }
    Harness h;
    dragRegion(h, 0, 0, 6000, 4500, 5);
    EXPECT_EQ(h.numbers.asked.at(0).initial, 16) << "the finest step that fits is offered first";
}

TEST(RegionGridCommand, WithdrawsAPendingNodeFillsTheTablesThenAfterAStopRefusesEvenTheWidest)
{
    Harness h;
    auto& c = h.controller;
    c.node();
    c.picture1Pressed(9000, 9000); // waits for its location
    // 499 x 2 nodes, 1 pixel apart: 998 nodes and 996 triangles.
    dragRegion(h, 0, 0, 498 * 15, 15, 1);
    EXPECT_EQ(std::tuple(h.state().NodeCount, h.state().ElementCount, h.state().FreeNodes[1].x,
                         h.state().FreeNodes[998].x, h.state().LoadNodes[998].y),
              std::tuple(998, 996, 0.0, 498 * 15.0, 15.0));

    // Without clearing the stop, the press would try to catch a node instead.
    c.stopcmd();
    dragRegion(h, 0, 0, 1500, 1500, 50);
    EXPECT_TRUE(h.numbers.asked.size() == 1u && h.state().NodeCount == 998);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_NE(h.messages.shown[0].find("même au plus grand pas, 100 pixels, elle dépasserait les "
                                       "2 noeuds et 4 éléments qui restent"),
              npos)
        << h.messages.shown[0];
}

} // namespace
} // namespace ai
