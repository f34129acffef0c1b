#include "render/views_redraw.h"
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ai {
namespace {

const Rgb kEdge{10, 20, 30};

// Writes every call of both views into one log, to check the interleaving.
struct LoggingView : ImageView {
    std::string name;
    std::vector<std::string>& log;
    LoggingView(std::string n, std::vector<std::string>& l) : name(std::move(n)), log(l) {}
    bool importPicture(const std::string&) override { return true; }
    void restorePicture(const std::string& path) override
    {
        log.push_back(name + " restore " + path);
    }
    void drawPoint(float x, float y, Rgb c) override
    {
        log.push_back(name + " point " + std::to_string(int(x)) + "," + std::to_string(int(y)) +
                      (c == kNodeMarkRed ? " red" : " ?"));
    }
    void drawLine(float x1, float y1, float x2, float y2, Rgb c) override
    {
        log.push_back(name + " line " + std::to_string(int(x1)) + "," + std::to_string(int(y1)) +
                      "-" + std::to_string(int(x2)) + "," + std::to_string(int(y2)) +
                      (c == kEdge ? " edge" : " ?"));
    }
};

ProjectState twoNodesOneTriangle()
{
    ProjectState s;
    s.FreeImageFile = "libre.bmp";
    s.LoadImageFile = "charge.bmp";
    s.NodeCount = 3;
    s.FreeNodes[1] = {100, 200};
    s.FreeNodes[2] = {300, 200};
    s.FreeNodes[3] = {100, 400};
    s.LoadNodes[1] = {101, 201};
    s.LoadNodes[2] = {301, 201};
    s.LoadNodes[3] = {101, 401};
    s.ElementCount = 1;
    s.Elements[1].nodes = {1, 2, 3};
    return s;
}

TEST(ViewsRedraw, RestoresThenDrawsMarksInFivePassesThenEdgesInOrder)
{
    std::vector<std::string> log;
    LoggingView free("P1", log), loaded("P2", log);
    ProjectState s = twoNodesOneTriangle();
    redrawViews(s, 1, free, loaded, kEdge);
    const std::vector<std::string> expected = {
        "P1 restore libre.bmp", "P2 restore charge.bmp",
        "P1 point 100,200 red", "P2 point 101,201 red",
        "P1 point 110,200 red", "P2 point 111,201 red",
        "P1 point 100,210 red", "P2 point 101,211 red",
        "P1 point 100,190 red", "P2 point 101,191 red",
        "P1 point 90,200 red",  "P2 point 91,201 red",
        "P1 line 100,200-300,200 edge", "P2 line 101,201-301,201 edge",
        "P1 line 300,200-100,400 edge", "P2 line 301,201-101,401 edge",
        "P1 line 100,200-100,400 edge", "P2 line 101,201-101,401 edge",
    };
    EXPECT_EQ(log, expected);
}

TEST(ViewsRedraw, SkipsWhatHasNoPositionAndTrianglesNamingNoNode)
{
    test::RecordingView free, loaded;
    ProjectState s = twoNodesOneTriangle();
    s.LoadNodes[2] = Position{};
    s.ElementCount = 3;
    s.Elements[2].nodes = {1, 0, 3};
    s.Elements[3].nodes = {1, 2, 4};
    redrawViews(s, 3, free, loaded, kEdge);
    EXPECT_EQ(free.points.size(), 15u);
    EXPECT_EQ(loaded.points.size(), 10u);
    EXPECT_EQ(free.lines.size(), 3u);
    EXPECT_EQ(loaded.lines.size(), 1u) << "only the edge 1-3 has both loaded ends";
}

TEST(Majgraphique, DrawsOnlyUnderNonRestingTextsAndEndsTransientOnes)
{
    test::Harness h;
    h.dialogs.answers = {"libre.png"};
    h.controller.imagelibre();
    h.controller.node();
    h.controller.picture1Pressed(100, 200);
    h.controller.picture2Pressed(100, 200);
    h.controller.picture1Pressed(500, 200);
    h.controller.picture2Pressed(500, 200);
    h.controller.picture1Pressed(900, 200);

    // Under the locate prompt the waiting node is on neither view.
    h.controller.formMoved();
    EXPECT_EQ(h.picture1.picture, "libre.png");
    EXPECT_EQ(h.picture2.picture, "") << "no loaded image: marks on an empty view";
    EXPECT_EQ(h.picture1.points.size(), 10u);
    EXPECT_EQ(h.picture2.points.size(), 10u);
    EXPECT_EQ(h.controller.statusLine(), status::LocatePrompt);

    h.controller.picture2Pressed(900, 200);
    h.controller.mapWindowClosed(); // "Calcul effectué."
    h.controller.frame3Moved();
    EXPECT_EQ(h.picture1.points.size(), 15u);
    EXPECT_EQ(h.controller.statusLine(), status::Waiting);

    // Resting: whatever the views show stays, nothing is restored.
    const int restores = h.picture1.restores;
    h.picture1.points.clear();
    h.controller.formMoved();
    h.controller.picture1Moved(0, 0);
    EXPECT_EQ(h.picture1.restores, restores);
    EXPECT_TRUE(h.picture1.points.empty());
}

} // namespace
} // namespace ai
