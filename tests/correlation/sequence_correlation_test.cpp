// A sequence of photographs of a synthetic speckle stretched further at every step, to 40 %:
// each step found from the one before, one photograph at a time.
#include "correlation/sequence_correlation.h"
#include "synthetic_speckle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace ai {
namespace {

using ai::testing::SyntheticSpeckle;

constexpr int kSteps = 20;
constexpr double kFinalStretch = 0.4;
constexpr double kCentre = 120.0; // the stretch's fixed column, pixels

double stretchAt(int step) { return kFinalStretch * step / kSteps; }

// Step k's photograph, rendered when asked ("step-k"); one not listed cannot be read. Keeps
// the last one handed out only weakly, to see that it is let go before the next is asked.
struct StretchedSteps : PhotographSource {
    SyntheticSpeckle speckle{240, 120};
    std::weak_ptr<const GreyImage> last;
    bool heldTwo = false;
    int unreadable = 0;

    std::shared_ptr<const GreyImage> greyLevels(const std::string& path) override
    {
        heldTwo = heldTwo || !last.expired();
        const int step = std::stoi(path.substr(5));
        if (step == unreadable)
            return nullptr;
        const double s = 1.0 + stretchAt(step);
        auto grey = std::make_shared<const GreyImage>(
            speckle.render([s](double& x, double&) { x = kCentre + (x - kCentre) / s; }));
        last = grey;
        return grey;
    }
    std::string failure(const std::string&) override { return {}; }
};

TEST(SequenceCorrelation, FollowsAFortyPercentStretchStepByStepOnePhotographAtATime)
{
    StretchedSteps photographs;
    const GreyImage free = photographs.speckle.render([](double&, double&) {});
    auto state = std::make_unique<ProjectState>();
    // Nodes that stay on the photograph at 40 %, with room for their subsets.
    for (double y : {35.0, 60.0, 85.0})
        for (double x = 70.0; x <= 170.0; x += 25.0) {
            const int n = ++state->NodeCount;
            state->FreeNodes[static_cast<std::size_t>(n)] = {x * kTwipsPerPixel,
                                                             y * kTwipsPerPixel};
            state->LoadNodes[static_cast<std::size_t>(n)] =
                state->FreeNodes[static_cast<std::size_t>(n)];
        }
    std::vector<std::string> paths;
    for (int k = 1; k <= kSteps; ++k)
        paths.push_back("step-" + std::to_string(k));
    const CorrelationSettings settings{.subset = 21, .searchRadius = 10};
    int lastStep = 0;
    const auto sequence = correlateSequence(*state, state->NodeCount, free, paths, photographs,
                                            settings, [&](int step, int steps, int, int) {
                                                EXPECT_EQ(steps, kSteps);
                                                EXPECT_GE(step, lastStep);
                                                lastStep = step;
                                                return true;
                                            });
    ASSERT_TRUE(sequence);
    ASSERT_EQ(sequence->steps.size(), static_cast<std::size_t>(kSteps));
    EXPECT_FALSE(photographs.heldTwo);
    double worst = 0.0;
    for (int k = 1; k <= kSteps; ++k) {
        const SequenceStep& step = sequence->steps[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(step.outcome.found.size(), static_cast<std::size_t>(state->NodeCount)) << k;
        for (int n = 1; n <= state->NodeCount; ++n) {
            const Position& free = state->FreeNodes[static_cast<std::size_t>(n)];
            const Position& found = step.loaded[static_cast<std::size_t>(n)];
            const double exactX =
                kCentre + (free.x / kTwipsPerPixel - kCentre) * (1 + stretchAt(k));
            const double error =
                std::hypot(found.x / kTwipsPerPixel - exactX, (found.y - free.y) / kTwipsPerPixel);
            worst = std::max(worst, error);
            EXPECT_LT(error, 0.05) << "step " << k << ", node " << n;
        }
    }
    RecordProperty("worst_error_px", std::to_string(worst));
    // The study itself is left as it was.
    EXPECT_EQ(state->LoadNodes[1].x, state->FreeNodes[1].x);

    // A cancel keeps nothing; an unreadable step is named.
    EXPECT_FALSE(correlateSequence(*state, state->NodeCount, free, paths, photographs, settings,
                                   [](int step, int, int, int) { return step < 2; }));
    photographs.unreadable = 3;
    const auto broken = correlateSequence(*state, state->NodeCount, free, paths, photographs,
                                          settings, [](int, int, int, int) { return true; });
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->unreadableStep, 3);
    EXPECT_TRUE(broken->steps.empty());
}

} // namespace
} // namespace ai
