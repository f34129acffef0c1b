#include "render/views_redraw.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <tuple>

namespace ai {
namespace {

using Point = test::RecordingView::Point;
using Line = test::RecordingView::Line;

TEST(ViewsRedraw, RestoresThenMarksInFivePassesThenThreeEdgesPerTriangleSkippingWhatCannotBe)
{
    ProjectState s;
    s.FreeImageFile = "libre.bmp";
    s.LoadImageFile = "charge.bmp";
    s.NodeCount = s.ElementCount = 3;
    s.FreeNodes[1] = {100, 200};
    s.FreeNodes[2] = {300, 200};
    s.FreeNodes[3] = {100, 400};
    s.LoadNodes[1] = {101, 201};
    s.LoadNodes[2] = {301, 201}; // node 3 has no loaded position
    s.Elements[1].nodes = {1, 2, 3};
    s.Elements[2].nodes = {1, 0, 3}; // no node
    s.Elements[3].nodes = {1, 2, 4}; // beyond the count
    test::RecordingView free, loaded;
    std::string journal;
    free.journal = loaded.journal = &journal;
    free.id = 'F';
    loaded.id = 'L';
    const Rgb r{255, 0, 0}, e{1, 2, 3}; // the marks are red
    redrawViews(s, 3, free, loaded, e);
    // Each step draws on the free view, then on the loaded view.
    EXPECT_EQ(journal, "FLFLF" "FLFLF" "FLFLF" "FLFLF" "FLFLF" "FLFF");
    EXPECT_EQ(free.picture + loaded.picture, "libre.bmpcharge.bmp");
    // The centres, then the arms right, below, above and left.
    // clang-format off
    EXPECT_EQ(free.points, (std::vector<Point>{{100, 200, r}, {300, 200, r}, {100, 400, r},
                                               {110, 200, r}, {310, 200, r}, {110, 400, r},
                                               {100, 210, r}, {300, 210, r}, {100, 410, r},
                                               {100, 190, r}, {300, 190, r}, {100, 390, r},
                                               {90, 200, r},  {290, 200, r}, {90, 400, r}}));
    // clang-format on
    EXPECT_EQ(free.lines,
              (std::vector<Line>{
                  {100, 200, 300, 200, e}, {300, 200, 100, 400, e}, {100, 200, 100, 400, e}}));
    ASSERT_EQ(loaded.points.size(), 10u);
    EXPECT_EQ(loaded.points[3], (Point{311, 201, r})) << "the second pass";
    EXPECT_EQ(loaded.lines, (std::vector<Line>{{101, 201, 301, 201, e}}));
}

// A redraw of what the views show already leaves them alone; any change of what is drawn,
// of a photograph, or a picture restored by something else, draws again.
TEST(ViewsRedraw, DrawsAgainOnlyWhatChanged)
{
    ProjectState s;
    s.FreeImageFile = "libre.bmp";
    s.NodeCount = 2;
    s.FreeNodes[1] = s.LoadNodes[1] = {100, 200};
    s.FreeNodes[2] = s.LoadNodes[2] = {300, 200};
    s.FreeNodes[3] = {500, 500}; // a node not yet counted
    test::RecordingView free, loaded;
    ViewsRedraw views;
    const Rgb e{1, 2, 3};
    const auto redraw = [&](int nodes) {
        views.redraw(s, nodes, free, loaded, e);
        return std::tuple(free.restores, loaded.restores, free.points.size(), free.lines.size());
    };
    EXPECT_EQ(redraw(2), std::tuple(1, 1, 10u, 0u));
    EXPECT_EQ(redraw(2), std::tuple(1, 1, 10u, 0u)) << "the same drawing";
    s.FreeNodes[3] = {600, 600};
    EXPECT_EQ(redraw(2), std::tuple(1, 1, 10u, 0u)) << "only what is drawn counts";

    s.FreeNodes[2].y = 210;
    EXPECT_EQ(redraw(2), std::tuple(2, 2, 10u, 0u));
    EXPECT_EQ(free.points[1], (Point{300, 210, kNodeMarkRed}));
    EXPECT_EQ(redraw(1), std::tuple(3, 3, 5u, 0u)) << "fewer nodes drawn";
    s.Elements[++s.ElementCount].nodes = {1, 2, 1};
    EXPECT_EQ(redraw(1), std::tuple(4, 4, 5u, 3u));
    s.Elements[1].nodes = {2, 1, 1};
    EXPECT_EQ(redraw(1), std::tuple(5, 5, 5u, 3u));
    s.LoadImageFile = "charge.bmp";
    EXPECT_EQ(redraw(1), std::tuple(6, 6, 5u, 3u));
    EXPECT_EQ(loaded.picture, "charge.bmp");
    loaded.readable = {"autre.bmp"}; // the loaded photograph can no longer be read
    EXPECT_EQ(redraw(1), std::tuple(7, 7, 5u, 3u));
    EXPECT_EQ(loaded.picture, "");
    EXPECT_EQ(redraw(1), std::tuple(7, 7, 5u, 3u));
    // A correlation that does not find a node leaves its positions as they were.
    s.LoadLocations[1].notFound = true;
    EXPECT_EQ(redraw(1), std::tuple(8, 8, 5u, 3u));
    EXPECT_EQ(free.points[1], (Point{110, 210, {255, 0, 255}})) << "its own mark, magenta";

    free.restorePicture(s.FreeImageFile); // as an erase does, with forget()
    views.forget();
    EXPECT_EQ(redraw(1), std::tuple(10, 9, 5u, 3u));
}

} // namespace
} // namespace ai
