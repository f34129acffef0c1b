// The eight study commands over a study made by clicks: what a run changes, and what a
// refused run leaves alone.
#include "analysis/stress_map.h"
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ai {
namespace {

using test::Harness;
using Command = void (MainController::*)();

// The worked triangle: free (0, 0), (100, 0), (0, 100); node 2 found 1 unit further right on
// the loaded image. Material E = 75 MPa, nu = 0,25.
void makeStretchedTriangle(Harness& h)
{
    MainController& c = h.controller;
    h.dialogs.answers.push_back("libre.png");
    c.imagelibre();
    c.node();
    const float free[3][2] = {{0, 0}, {100, 0}, {0, 100}};
    const float loaded[3][2] = {{0, 0}, {101, 0}, {0, 100}};
    for (int i = 0; i < 3; ++i) {
        c.picture1Pressed(free[i][0], free[i][1]);
        c.picture2Pressed(loaded[i][0], loaded[i][1]);
    }
    c.manumesh();
    for (const auto& p : free)
        c.picture1Pressed(p[0], p[1]);
    c.text1Changed("75");
    c.text2Changed("0,25");
}

TEST(StudyCommands, EachCommandMapsItsComponentUnderItsHypothesis)
{
    using M = MainController;
    struct Case {
        Command command;
        Component component;
        bool planeStress;
        double value;
    } const cases[] = {
        {&M::sxxctrteplane, Component::Sxx, true, 0.8},
        {&M::syyctrteplane, Component::Syy, true, 0.2},
        {&M::sxyctrteplane, Component::Sxy, true, 0},
        {&M::vonmiesectrteplane, Component::VonMises, true, std::sqrt(0.52)},
        {&M::sxxdefplane, Component::Sxx, false, 0.9},
        {&M::syydefplane, Component::Syy, false, 0.3},
        {&M::sxydefplane, Component::Sxy, false, 0},
        {&M::vonmisesdefplane, Component::VonMises, false, std::sqrt(0.63)},
    };
    for (const Case& k : cases) {
        Harness h;
        makeStretchedTriangle(h);
        const std::size_t shownBefore = h.window.statuses.size();
        (h.controller.*k.command)();

        const std::string title = mapTitle(k.component);
        EXPECT_EQ(h.state().StressComponent, k.component) << title;
        EXPECT_EQ(h.state().PlaneStressFlag, k.planeStress) << title;
        for (std::size_t n = 1; n <= 3; ++n) {
            EXPECT_EQ(h.state().NodeSums[n].count, 1.0);
            EXPECT_NEAR(h.state().NodeSums[n].value, k.value, 1e-14) << title;
        }
        const std::vector<std::string> shown(h.window.statuses.begin() + shownBefore,
                                             h.window.statuses.end());
        EXPECT_EQ(shown, (std::vector<std::string>{"Calcul des solutions.", "Calcul effectué."}));
        EXPECT_TRUE(h.map.shown);
        EXPECT_EQ(h.map.background, "libre.png");
        EXPECT_EQ(h.map.title, title);
        EXPECT_EQ(h.map.maximum, h.map.minimum); // one triangle: one value everywhere
        EXPECT_EQ(h.map.points.size(), 27u + 255 * 3);
        EXPECT_TRUE(h.messages.shown.empty());
    }
}

TEST(StudyCommands, ARunWithdrawsTheNodeWaitingForItsLocationAndCanBeRepeated)
{
    Harness h;
    makeStretchedTriangle(h);
    h.controller.node();
    h.controller.picture1Pressed(3000, 3000);
    ASSERT_EQ(h.state().NodeCount, 4);

    h.controller.sxxctrteplane();
    EXPECT_EQ(h.state().NodeCount, 3);
    EXPECT_EQ(h.window.status, status::Computed);
    const auto first = h.map.points;

    h.controller.sxxctrteplane();
    EXPECT_EQ(h.state().NodeSums[1].count, 1.0); // counts start again at every run
    EXPECT_NEAR(h.state().NodeSums[1].value, 0.8, 1e-14);
    EXPECT_EQ(h.map.points, first);
    EXPECT_EQ(h.map.showCount, 2);
}

TEST(StudyCommands, RefusedInputsChangeNothingButSayWhatIsWrong)
{
    struct Case {
        const char* young;
        const char* poisson;
        Command command;
        const char* said;
    };
    const Case cases[] = {
        {"", "0,25", &MainController::sxxctrteplane, "Module de Young"},
        {"75 MPa", "0,25", &MainController::sxxctrteplane, "Module de Young"},
        {"75", "0.25", &MainController::sxxdefplane, "virgule"},
        {"75", "", &MainController::sxxdefplane, "Coefficient de Poisson"},
        {"75", "1", &MainController::syyctrteplane, "contraintes planes"},
        {"75", "-1", &MainController::sxyctrteplane, "contraintes planes"},
        {"75", "0,5", &MainController::syydefplane, "déformations planes"},
        {"75", "-1", &MainController::vonmisesdefplane, "déformations planes"},
        {"1E+200", "0,25", &MainController::vonmiesectrteplane, "trop grandes"},
    };
    for (const Case& k : cases) {
        Harness h;
        makeStretchedTriangle(h);
        h.controller.sxyctrteplane();
        h.controller.command6Click();
        const ProjectState before = h.state();
        const auto statuses = h.window.statuses;
        const test::FakeMap map = h.map;

        h.controller.text1Changed(k.young);
        h.controller.text2Changed(k.poisson);
        (h.controller.*k.command)();

        ASSERT_EQ(h.messages.shown.size(), 1u) << k.said;
        EXPECT_NE(h.messages.shown[0].find(k.said), std::string::npos) << h.messages.shown[0];
        for (std::size_t n = 1; n <= 3; ++n) {
            EXPECT_EQ(h.state().NodeSums[n].count, before.NodeSums[n].count);
            EXPECT_EQ(h.state().NodeSums[n].value, before.NodeSums[n].value);
        }
        EXPECT_EQ(h.window.statuses, statuses);
        EXPECT_EQ(h.map.points, map.points);
        EXPECT_EQ(h.map.title, map.title);
        EXPECT_EQ(h.map.showCount, map.showCount);
        EXPECT_EQ(h.map.maximum, map.maximum);
    }
}

TEST(StudyCommands, WithoutTrianglesNothingHappens)
{
    Harness h;
    h.controller.node();
    h.controller.picture1Pressed(0, 0);
    h.controller.picture2Pressed(5, 5);
    const auto statuses = h.window.statuses;

    h.controller.vonmisesdefplane();
    EXPECT_EQ(h.window.statuses, statuses);
    EXPECT_EQ(h.state().NodeSums[1].value, 0.0);
    EXPECT_EQ(h.map.showCount, 0);
    EXPECT_TRUE(h.messages.shown.empty());
}

} // namespace
} // namespace ai
