#include "render/views_redraw.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

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
    const Rgb r = kNodeMarkRed, e{1, 2, 3};
    redrawViews(s, 3, free, loaded, e);
    // Each step draws on the free view, then on the loaded view.
    EXPECT_EQ(journal, "FLFLF" "FLFLF" "FLFLF" "FLFLF" "FLFLF" "FLFF");
    EXPECT_EQ(free.picture + loaded.picture, "libre.bmpcharge.bmp");
    EXPECT_EQ(free.points, (std::vector<Point>{{100, 200, r},
                                               {300, 200, r},
                                               {100, 400, r},
                                               {110, 200, r},
                                               {310, 200, r},
                                               {110, 400, r},
                                               {100, 210, r},
                                               {300, 210, r},
                                               {100, 410, r},
                                               {100, 190, r},
                                               {300, 190, r},
                                               {100, 390, r},
                                               {90, 200, r},
                                               {290, 200, r},
                                               {90, 400, r}}));
    EXPECT_EQ(free.lines,
              (std::vector<Line>{
                  {100, 200, 300, 200, e}, {300, 200, 100, 400, e}, {100, 200, 100, 400, e}}));
    ASSERT_EQ(loaded.points.size(), 10u);
    EXPECT_EQ(loaded.points[3], (Point{311, 201, r})) << "the second pass";
    EXPECT_EQ(loaded.lines, (std::vector<Line>{{101, 201, 301, 201, e}}));
}

} // namespace
} // namespace ai
