// The save and open commands over the fake dialogs, files and message box.
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

using test::Harness;

const std::string SaveTitle = "Sauvergarde d'un maillage";
const std::string OpenTitle = "Ouverture d'un maillage";

// Three located nodes and one triangle, built by clicks.
void buildStudy(MainController& c)
{
    c.node();
    c.picture1Pressed(150, 300);
    c.picture2Pressed(165, 315);
    c.picture1Pressed(15015, 450.5f);
    c.picture2Pressed(15030, 465.25f);
    c.picture1Pressed(600, 750);
    c.picture2Pressed(-15, 765);
    c.manumesh();
    c.picture1Pressed(600, 750);
    c.picture1Pressed(150, 300);
    c.picture1Pressed(15015, 450);
    c.stopcmd();
}

void expectSameTables(const ProjectState& a, const ProjectState& b)
{
    ASSERT_EQ(a.NodeCount, b.NodeCount);
    ASSERT_EQ(a.ElementCount, b.ElementCount);
    for (std::size_t i = 1; i <= static_cast<std::size_t>(a.NodeCount); ++i) {
        EXPECT_EQ(a.FreeNodes[i].x, b.FreeNodes[i].x) << i;
        EXPECT_EQ(a.FreeNodes[i].y, b.FreeNodes[i].y) << i;
        EXPECT_EQ(a.LoadNodes[i].x, b.LoadNodes[i].x) << i;
        EXPECT_EQ(a.LoadNodes[i].y, b.LoadNodes[i].y) << i;
    }
    for (std::size_t e = 1; e <= static_cast<std::size_t>(a.ElementCount); ++e)
        EXPECT_EQ(a.Elements[e].nodes, b.Elements[e].nodes) << e;
}

TEST(SaveCommand, WritesTheStudyUnderTheChosenNameWithMefAlwaysAppendedUnlessCancelled)
{
    Harness h;
    buildStudy(h.controller);
    const std::string statusBefore = h.controller.statusLine();
    h.files.files["etude.MEF"] = "ancien contenu";
    h.dialogs.answers = {std::nullopt, "etude", "etude.MEF", "", "C:\\Études\\essai 1"};
    h.controller.save();
    EXPECT_EQ(h.files.files["etude.MEF"], "ancien contenu") << "cancel writes nothing";
    for (int i = 0; i < 4; ++i)
        h.controller.save();

    EXPECT_EQ(h.dialogs.titles, std::vector<std::string>(5, SaveTitle));
    ASSERT_EQ(h.files.files.size(), 4u);
    const std::string& written = h.files.files["etude.MEF"];
    EXPECT_TRUE(written.starts_with("[init]\r\nnode=3\r\nmesh=1\r\n[freenodelist]\r\n"
                                    "nodex1=150\r\nnodey1=300\r\nnodex2=15015\r\nnodey2=450,5\r\n"))
        << "the existing file is replaced";
    EXPECT_TRUE(written.ends_with("[freemeshlist]\r\nmesh11=3\r\nmesh21=1\r\nmesh31=2\r\n"));
    EXPECT_EQ(h.files.files["etude.MEF.MEF"], written);
    EXPECT_EQ(h.files.files["sans titre.MEF"], written);
    EXPECT_EQ(h.files.files["C:\\Études\\essai 1.MEF"], written);
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(h.controller.statusLine(), statusBefore);
}

TEST(SaveCommand, AFailedWriteIsReportedAndLeavesTheFileAndTheStudyAsTheyWere)
{
    Harness h;
    buildStudy(h.controller);
    const ProjectState before = h.state();
    const std::string statusBefore = h.controller.statusLine();
    h.files.files["etude.MEF"] = "ancien contenu";
    h.files.failure = "le disque est plein";
    h.dialogs.answers = {"etude"};
    h.controller.save();

    EXPECT_EQ(h.files.files["etude.MEF"], "ancien contenu");
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_NE(h.messages.shown[0].find("etude.MEF"), std::string::npos) << h.messages.shown[0];
    EXPECT_NE(h.messages.shown[0].find("le disque est plein"), std::string::npos);
    expectSameTables(h.state(), before);
    EXPECT_EQ(h.controller.statusLine(), statusBefore);
}

TEST(SaveCommand, ANodeWaitingForItsLocationIsNotWrittenNorWithdrawn)
{
    Harness h;
    buildStudy(h.controller);
    h.controller.node();
    h.controller.picture1Pressed(900, 900);
    ASSERT_EQ(h.state().NodeCount, 4);
    h.dialogs.answers = {"etude"};
    h.controller.save();

    const std::string& written = h.files.files["etude.MEF"];
    EXPECT_TRUE(written.starts_with("[init]\r\nnode=3\r\nmesh=1\r\n"));
    EXPECT_EQ(written.find("nodex4"), std::string::npos);
    EXPECT_EQ(h.state().NodeCount, 4);
    EXPECT_EQ(h.controller.statusLine(), status::LocatePrompt);
}

TEST(OpenCommand, ReadsBackASavedStudyAndShowsItsCountsUnlessCancelled)
{
    Harness h;
    buildStudy(h.controller);
    const ProjectState saved = h.state();
    h.dialogs.answers = {"etude", std::nullopt, "etude.MEF"};
    h.controller.save();
    h.controller.eff();
    h.controller.node(); // a different study in memory before opening
    h.controller.picture1Pressed(1, 2);
    h.controller.picture2Pressed(3, 4);
    const ProjectState other = h.state();
    const int restoresBefore = h.picture1.restores;

    h.controller.open();
    expectSameTables(h.state(), other);
    EXPECT_EQ(h.controller.statusLine(), status::CreatePrompt) << "cancel changes nothing";
    EXPECT_TRUE(h.messages.shown.empty());

    h.controller.open();
    EXPECT_EQ(h.dialogs.titles, (std::vector<std::string>{SaveTitle, OpenTitle, OpenTitle}));
    expectSameTables(h.state(), saved);
    EXPECT_EQ(h.messages.shown, std::vector<std::string>{"3 noeuds et 1 élément(s)"});
    EXPECT_EQ(h.controller.statusLine(), status::Erased);
    EXPECT_EQ(h.picture1.restores, restoresBefore + 1) << "erased as by eff, views cleaned";
    EXPECT_FALSE(isSet(h.state().NodeSums[1].count))
        << "the erase empties the sums; the file holds none";
}

TEST(OpenCommand, AMissingOrForeignFileStillErasesTheStudy)
{
    Harness h;
    h.files.files["photo.jpg"] = std::string("\xff\xd8\xff\xe0\0\x10JFIF\0", 11);
    for (const char* path : {"absent.MEF", "photo.jpg", ""}) {
        buildStudy(h.controller);
        h.messages.shown.clear();
        h.dialogs.answers = {path};
        h.controller.open();
        EXPECT_EQ(h.state().NodeCount, 0) << path;
        EXPECT_EQ(h.state().ElementCount, 0) << path;
        EXPECT_FALSE(h.state().FreeNodes[1].isSet()) << path;
        EXPECT_EQ(h.messages.shown, std::vector<std::string>{"0 noeuds et 0 élément(s)"}) << path;
        EXPECT_EQ(h.controller.statusLine(), status::Erased);
    }
}

TEST(OpenCommand, ShowsTheCountsLoadedAndNoMessageForACountThatIsNoNumber)
{
    Harness h;
    // Claims 5 nodes and 2 triangles but holds 2 nodes, and the triangle names node 3.
    h.files.files["court.MEF"] = "[init]\nnode=5\nmesh=2\n"
                                 "[freenodelist]\nnodex1=1\nnodey1=2\nnodex2=3\nnodey2=4\n"
                                 "[loadnodelist]\nnodex1=1\nnodey1=2\nnodex2=3\nnodey2=4\n"
                                 "[freemeshlist]\nmesh11=1\nmesh21=2\nmesh31=3\n";
    h.files.files["faux.MEF"] = "[init]\nnode=trois\nmesh=1\n";
    h.dialogs.answers = {"court.MEF", "faux.MEF"};

    h.controller.open();
    EXPECT_EQ(h.state().NodeCount, 2);
    EXPECT_EQ(h.state().ElementCount, 0);
    EXPECT_EQ(h.messages.shown, std::vector<std::string>{"2 noeuds et 0 élément(s)"});

    h.controller.open();
    EXPECT_EQ(h.state().NodeCount, 0) << "erased all the same";
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.controller.statusLine(), status::Erased);
}

} // namespace
} // namespace ai

namespace ai {
namespace {

TEST(OpenCommand, AGridMadeWithThePanelStillOpenIsAddedAfterTheOpenedStudy)
{
    test::Harness saved;
    buildStudy(saved.controller);
    saved.dialogs.answers = {"trois"};
    saved.controller.save();

    test::Harness h;
    h.files.files = saved.files.files;
    h.controller.automesh();
    h.controller.barChanged(Bar::HScroll1, 3); // a 3 x 2 grid over the empty study
    ASSERT_EQ(h.state().NodeCount, 6);
    h.dialogs.answers = {"trois.MEF"};
    h.controller.open();
    ASSERT_EQ(h.state().NodeCount, 3);

    h.controller.barChanged(Bar::VScroll1, 3);
    EXPECT_EQ(h.state().NodeCount, 3 + 9) << "the opened nodes are kept, not taken for a grid";
    expectSameTables(saved.state(), [&] {
        ProjectState opened = h.state();
        opened.NodeCount = 3;
        opened.ElementCount = 1;
        return opened;
    }());
    EXPECT_EQ(h.state().Elements[2].nodes, (std::array<int, 3>{4, 5, 7}));
}

} // namespace
} // namespace ai
