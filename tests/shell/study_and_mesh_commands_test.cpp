// What the study, mesh generator and mesh file commands add to the core, over fakes.
#include "analysis/stress_map.h"
#include "io/mesh_file_reader.h"
#include "io/mesh_file_writer.h"
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ai {
namespace {

using test::Harness;
using M = MainController;
using Node = std::array<float, 4>; // free x, free y, loaded x, loaded y
using std::tuple;
constexpr auto npos = std::string::npos;
// 100 apart on the free view, with a fractional and a five-digit coordinate.
const std::initializer_list<Node> kThreeNodes{
    {1000, 1000, 1005, 1005}, {1100, 1000.5, 11005, 1005.25}, {1000, 1100, 1005, 1105}};

// Nodes made by clicks, then a triangle picked at the free positions of the given nodes.
void makeStudy(M& c, std::initializer_list<Node> nodes, std::initializer_list<int> triangle = {})
{
    c.node();
    for (const Node& n : nodes)
        c.picture1Pressed(n[0], n[1]), c.picture2Pressed(n[2], n[3]);
    c.manumesh();
    for (const int corner : triangle)
        c.picture1Pressed(nodes.begin()[corner - 1][0], nodes.begin()[corner - 1][1]);
    c.stopcmd();
}

// The tables of a study as its file holds them.
std::string fileOf(const ProjectState& s) { return writeMeshFile(s, s.NodeCount, {','}); }

// Frame3 and Frame4 shown ("3-", "-4" or "--"), the status line, the node and triangle counts.
std::string seen(Harness& h)
{
    return std::string{h.window.panels[Panel::Frame3] ? '3' : '-',
                       h.window.panels[Panel::Frame4] ? '4' : '-'} +
           " " + h.controller.statusLine() + " " + std::to_string(h.state().NodeCount) + "/" +
           std::to_string(h.state().ElementCount);
}

// The worked triangle over a free photograph, node 2 found 1 unit further right loaded, and a
// node waiting for its location; E = 75 MPa, nu = 0,25.
void makeStretchedTriangle(Harness& h)
{
    h.dialogs.answers.push_back("libre.png");
    h.controller.imagelibre();
    makeStudy(h.controller, {{0, 0, 0, 0}, {100, 0, 101, 0}, {0, 100, 0, 100}}, {1, 2, 3});
    h.controller.text1Changed("75");
    h.controller.text2Changed("0,25");
    h.controller.node();
    h.controller.picture1Pressed(3000, 3000);
}

TEST(StudyCommands, EachRunsItsComponentUnderItsHypothesisAgainFromNothingWhenRepeated)
{
    const tuple<void (M::*)(), Component, bool, double, const char*> cases[] = {
        {&M::sxxctrteplane, Component::Sxx, true, 0.8, "0,8"},
        {&M::syyctrteplane, Component::Syy, true, 0.2, "0,2"},
        {&M::sxyctrteplane, Component::Sxy, true, 0, "0"},
        {&M::vonmiesectrteplane, Component::VonMises, true, std::sqrt(0.52), "0,7211"},
        {&M::sxxdefplane, Component::Sxx, false, 0.9, "0,9"},
        {&M::syydefplane, Component::Syy, false, 0.3, "0,3"},
        {&M::sxydefplane, Component::Sxy, false, 0, "0"},
        {&M::vonmisesdefplane, Component::VonMises, false, std::sqrt(0.63), "0,7937"}};
    for (const auto& [command, component, planeStress, value, label] : cases) {
        Harness h;
        makeStretchedTriangle(h);
        (h.controller.*command)();
        const auto first = h.map.points;
        h.window.statuses.clear();
        (h.controller.*command)();
        EXPECT_EQ(tuple(h.state().StressComponent, h.state().PlaneStressFlag, h.state().NodeCount,
                        h.state().NodeSums[1].count, h.map.title, h.map.background, h.map.showCount,
                        h.map.maximum, h.map.minimum, h.map.points, first.size()),
                  tuple(component, planeStress, 3, 1.0, mapTitle(component), "libre.png", 2, label,
                        label, first, 27 + 255 * 3u));
        for (std::size_t n = 1; n <= 3; ++n)
            EXPECT_NEAR(h.state().NodeSums[n].value, value, 1e-14) << mapTitle(component);
        EXPECT_EQ(h.window.statuses,
                  (std::vector<std::string>{"Calcul des solutions.", "Calcul effectué."}));
    }
}

TEST(StudyCommands, ARefusedRunSaysWhatIsWrongAndChangesNothingAndWithoutTrianglesNothingRuns)
{
    // A material refused, then values too large for a double.
    for (const auto& [young, poisson, said] :
         {tuple("75 MPa", "0,25", "Module de Young"), {"1E+200", "0,25", "trop grandes"}}) {
        Harness h;
        makeStretchedTriangle(h);
        h.controller.sxyctrteplane(); // 0 at every node
        const auto statuses = h.window.statuses;
        const auto points = h.map.points;
        h.controller.text1Changed(young);
        h.controller.text2Changed(poisson);
        h.controller.vonmiesectrteplane();
        EXPECT_NE(h.messages.shown.at(0).find(said), npos) << h.messages.shown[0];
        EXPECT_EQ(tuple(h.messages.shown.size(), h.state().NodeSums[1].value,
                        h.state().NodeSums[2].value, h.state().NodeSums[3].value, h.window.statuses,
                        h.map.points, h.map.title, h.map.showCount),
                  tuple(1u, 0.0, 0.0, 0.0, statuses, points, mapTitle(Component::Sxy), 1));
    }

    Harness h;
    makeStudy(h.controller, {{0, 0, 5, 5}});
    const auto statuses = h.window.statuses;
    h.controller.vonmisesdefplane();
    EXPECT_EQ(tuple(h.window.statuses, h.state().NodeSums[1].value, h.map.showCount,
                    h.messages.shown.size()),
              tuple(statuses, 0.0, 0, 0u));
}

TEST(MeshCommands, MeshAndItsBarRefuseANodeWaitingForItsLocation)
{
    Harness h;
    auto& c = h.controller;
    makeStudy(c, kThreeNodes);
    c.automesh();
    c.stopcmd();
    const int restores = h.picture1.restores;
    c.mesh(); // neither a new status nor a redraw
    EXPECT_EQ(tuple(seen(h), c.state().StopFlag, h.picture1.restores),
              tuple("-4 Attente de commandes 3/6", false, restores));
    // D lowered below the nodes' spacing, then raised: the mesh goes and comes back, redrawn.
    c.barChanged(Bar::HScroll6, 90);
    EXPECT_EQ(tuple(seen(h), h.picture1.lines.size()), tuple("-4 Attente de commandes 3/0", 0u));
    c.barChanged(Bar::HScroll6, 150);
    EXPECT_EQ(tuple(seen(h), h.picture1.lines.size(), h.picture1.restores),
              tuple("-4 Attente de commandes 3/6", 18u, restores + 2));

    c.effmesh();
    c.automesh();
    c.stopcmd();
    c.node();
    c.picture1Pressed(1050, 1050);
    c.mesh();
    c.barChanged(Bar::HScroll6, 1000);
    EXPECT_EQ(tuple(seen(h), c.barValue(Bar::HScroll6), c.state().PendingNode),
              tuple("3- " + std::string(status::LocatePrompt) + " 4/0", 1000, 4));
}

TEST(MeshCommands, AutomeshOverANodeWaitingForItsLocationKeepsItUntilABarChangeLeavesThePrompt)
{
    const std::string locate(status::LocatePrompt);
    Harness h;
    auto& c = h.controller;
    const auto& s = c.state();
    makeStudy(c, kThreeNodes);
    c.mesh();
    c.node();
    c.picture1Pressed(3000, 3000);
    // Both bars already at 2: the panel opens over the running cycle, the waiting node in
    // the base, and its location keeps it before the grid.
    c.automesh();
    EXPECT_EQ(tuple(seen(h), s.GridBaseNodeCount, s.GridBaseElementCount, s.PendingNode),
              tuple("3- " + locate + " 4/6", 4, 6, 4));
    c.picture2Pressed(3010, 3010);
    c.barChanged(Bar::HScroll2, 170);
    EXPECT_EQ(tuple(seen(h), s.FreeNodes[4].x, s.LoadNodes[4].x, s.FreeNodes[7].x),
              tuple("3- Attente de commandes 8/8", 3000.0, 3010.0, 170.0));

    // With 5 columns on the bar, resetting it is a change: the waiting node goes first and the
    // new grid follows the nodes that remain.
    c.barChanged(Bar::HScroll1, 5);
    c.command6Click();
    c.node();
    c.picture1Pressed(5000, 5000);
    c.automesh();
    EXPECT_EQ(tuple(seen(h), s.GridBaseNodeCount, s.PendingNode, s.FreeNodes[15].x,
                    s.FreeNodes[18].x, s.FreeNodes[19].isSet()),
              tuple("3- Attente de commandes 18/16", 14, 0, 0.0, 170.0, false));
}

TEST(MeshCommands, GridBarsKeepOneGridAfterTheBaseWhichAutomeshTakesOrRefuseOneTooLarge)
{
    Harness h;
    auto& c = h.controller;
    const auto& s = c.state();
    makeStudy(c, kThreeNodes, {1, 2, 3});
    const int restores = h.picture1.restores;
    c.automesh();
    EXPECT_EQ(tuple(seen(h), s.StopFlag, h.window.bars.size(), h.picture1.restores),
              tuple("3- Attente de commandes 3/1", false, 0u, restores))
        << "both bars at 2 already: no grid yet";

    c.barChanged(Bar::HScroll2, 170);
    c.barChanged(Bar::HScroll3, 1015);
    for (int columns : {9, 3, 12, 2})
        c.barChanged(Bar::HScroll1, columns);
    EXPECT_EQ(tuple(seen(h), s.FreeNodes[1].x, s.FreeNodes[6].x, s.LoadNodes[6].x,
                    s.Elements[1].nodes, s.Elements[2].nodes),
              tuple("3- Attente de commandes 7/3", 1000.0, 170.0, 185.0, std::array{1, 2, 3},
                    std::array{4, 5, 6}));

    // Opened again, the grid is part of the base; both bars change, so a grid is made twice.
    c.barChanged(Bar::HScroll1, 3);
    c.barChanged(Bar::VScroll1, 3);
    c.command6Click();
    c.automesh();
    EXPECT_EQ(
        tuple(seen(h), s.GridBaseNodeCount, h.window.bars[Bar::VScroll1], s.Elements[10].nodes),
        tuple("3- Attente de commandes 16/11", 12, 2, std::array{13, 14, 15}));

    c.barChanged(Bar::HScroll1, 23);
    c.barChanged(Bar::VScroll1, 24);
    EXPECT_NE(h.messages.shown.at(0).find("552 noeuds et 1012 éléments"), npos);
    EXPECT_NE(h.messages.shown[0].find("au plus 988 noeuds et 991 éléments"), npos);
    EXPECT_EQ(tuple(s.NodeCount, s.ElementCount, h.picture1.lines.size()), tuple(12, 9, 27u));
}

TEST(MeshFileCommands, SaveUnderTheChosenNameWithMefAppendedOrSayWhyItFailedLeavingAllAsItWas)
{
    Harness h;
    makeStudy(h.controller, kThreeNodes, {3, 1, 2});
    const std::string study = fileOf(h.state()), before = seen(h);
    h.files.files["etude.MEF"] = "ancien contenu";
    h.files.failure = "le disque est plein";
    h.dialogs.answers = {std::nullopt, "etude", "etude", "etude.MEF", "", "C:\\Études\\essai 1"};
    h.controller.save(); // cancelled
    h.controller.save();
    EXPECT_EQ(h.files.files["etude.MEF"], "ancien contenu");
    EXPECT_NE(h.messages.shown.at(0).find("etude.MEF"), npos) << h.messages.shown[0];
    EXPECT_NE(h.messages.shown[0].find("le disque est plein"), npos);

    h.files.failure.clear();
    for (int i = 0; i < 4; ++i)
        h.controller.save();
    EXPECT_EQ(h.dialogs.titles, std::vector<std::string>(6, "Sauvergarde d'un maillage"));
    EXPECT_EQ(tuple(h.files.files.size(), h.messages.shown.size(), seen(h), fileOf(h.state())),
              tuple(4u, 1u, before, study));
    for (const char* name :
         {"etude.MEF", "etude.MEF.MEF", "sans titre.MEF", "C:\\Études\\essai 1.MEF"})
        EXPECT_EQ(h.files.files[name], study) << name;
    EXPECT_NE(study.find("nodey2=1000,5\r\n"), npos) << "in the user's number format";

    // A node waiting for its location is neither written nor withdrawn.
    h.controller.node();
    h.controller.picture1Pressed(900, 900);
    h.dialogs.answers = {"etude"};
    h.controller.save();
    EXPECT_EQ(tuple(h.files.files["etude.MEF"], seen(h)),
              tuple(study, "-- " + std::string(status::LocatePrompt) + " 4/1"));
}

TEST(MeshFileCommands, OpenErasesAsEffThenReadsTheChosenFileAndShowsTheCountsReadUnlessCancelled)
{
    Harness h;
    makeStudy(h.controller, kThreeNodes, {3, 1, 2});
    const std::string saved = fileOf(h.state());
    h.files.files["etude.MEF"] = saved;
    h.controller.eff();
    makeStudy(h.controller, {{1, 2, 3, 4}}); // another study in memory before opening
    const std::string other = fileOf(h.state()), before = seen(h);
    const int restores = h.picture1.restores;
    h.dialogs.answers = {std::nullopt, "etude.MEF"};
    h.controller.open();
    EXPECT_EQ(tuple(fileOf(h.state()), seen(h), h.messages.shown.size()), tuple(other, before, 0u));

    h.controller.open();
    EXPECT_EQ(h.dialogs.titles, std::vector<std::string>(2, "Ouverture d'un maillage"));
    EXPECT_EQ(tuple(fileOf(h.state()), seen(h), h.picture1.restores, h.messages.shown),
              tuple(saved, "-- Effacement effectué. 3/1", restores + 1,
                    std::vector<std::string>{"3 noeuds et 1 élément(s)"}));
    EXPECT_FALSE(isSet(h.state().NodeSums[1].count)) << "erased as by eff; the file holds no sums";

    // Claims 5 nodes and 2 triangles but holds 2 nodes, and the triangle names node 3.
    h.files.files["court.MEF"] =
        "[init]\nnode=5\nmesh=2\n[freenodelist]\nnodex1=1\nnodey1=2\n"
        "nodex2=3\nnodey2=4\n[loadnodelist]\nnodex1=1\nnodey1=2\nnodex2=3\n"
        "nodey2=4\n[freemeshlist]\nmesh11=1\nmesh21=2\nmesh31=3\n";
    h.files.files["faux.MEF"] = "[init]\nnode=trois\nmesh=1\n";
    // Far larger than a mesh file can be: not read, as a file that is no mesh file.
    h.files.files["grand.MEF"] = saved + std::string(kMaxMeshFileBytes, '\n');
    for (const auto& [path, counts, message] :
         {tuple("court.MEF", "2/0", "2 noeuds et 0 élément(s)"),
          {"absent.MEF", "0/0", "0 noeuds et 0 élément(s)"},
          {"grand.MEF", "0/0", "0 noeuds et 0 élément(s)"},
          {"faux.MEF", "0/0", nullptr}}) {
        makeStudy(h.controller, kThreeNodes, {3, 1, 2});
        h.messages.shown.clear();
        h.dialogs.answers = {path};
        h.controller.open();
        EXPECT_EQ(tuple(seen(h), h.state().FreeNodes[3].isSet(), h.messages.shown),
                  tuple("-- Effacement effectué. " + std::string(counts), false,
                        message ? std::vector<std::string>{message} : std::vector<std::string>{}))
            << path;
    }

    // With the grid panel still open, a later grid comes after the opened study.
    h.controller.eff();
    h.controller.automesh();
    h.controller.barChanged(Bar::HScroll1, 3); // a 3 x 2 grid over the empty study
    ASSERT_EQ(h.state().NodeCount, 6);
    h.dialogs.answers = {"etude.MEF"};
    h.controller.open();
    h.controller.barChanged(Bar::VScroll1, 3);
    ProjectState opened = h.state();
    opened.NodeCount = 3;
    opened.ElementCount = 1;
    EXPECT_EQ(tuple(h.state().NodeCount, fileOf(opened), h.state().Elements[2].nodes),
              tuple(3 + 9, saved, std::array{4, 5, 7}));
}

} // namespace
} // namespace ai
