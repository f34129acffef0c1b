#include "render/zoom_pan.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

TEST(ZoomPan, FitsALargePictureKeepsThePointUnderThePointerAndNeverShowsPastAnEdge)
{
    const Extent view{1000, 400};
    EXPECT_EQ(fittedZoom({900, 330}, view), (ZoomPan{1, 0, 0})) << "a picture that fits";
    EXPECT_EQ(fittedZoom({4000, 800}, view), (ZoomPan{0.25, 0, 0}));
    EXPECT_EQ(fittedZoom({1000, 4000}, view), (ZoomPan{0.1, 0, 0}));
    EXPECT_EQ(fittedZoom({1e6, 1e6}, view).zoom, ZoomPan::kMinimum);

    const Extent picture{4000, 1600};
    const ZoomPan fitted = fittedZoom(picture, view);
    const ZoomPan in = zoomedAbout(fitted, 4, 300, 200, picture, view);
    EXPECT_EQ(in.zoom, 1.0);
    EXPECT_DOUBLE_EQ(pictureX(in, 300), pictureX(fitted, 300));
    EXPECT_DOUBLE_EQ(pictureY(in, 200), pictureY(fitted, 200));
    // Near an edge the pan stops at it; the zoom stops at its limits.
    const ZoomPan corner = zoomedAbout(fitted, 2, 0, 0, picture, view);
    EXPECT_EQ(std::tuple(corner.left, corner.top), std::tuple(0.0, 0.0));
    EXPECT_EQ(zoomedAbout(in, 1000, 0, 0, picture, view).zoom, ZoomPan::kMaximum);
    EXPECT_EQ(zoomedAbout(in, 1e-6, 0, 0, picture, view), (ZoomPan{ZoomPan::kMinimum, 0, 0}));
    EXPECT_EQ(clampedPan({1, 3500, -5}, picture, view), (ZoomPan{1, 3000, 0}));
}

} // namespace
} // namespace ai
