// The menu "Corrélation" over fakes: the command, the assisted click, the subset size, and the
// location records kept true by everything else that sets a loaded position.
#include "correlation/synthetic_speckle.h"
#include "shell/status_text.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ai {
namespace {

using std::tuple;
using test::Harness;
constexpr double kShiftX = 2.3, kShiftY = -1.4; // the loaded picture's displacement, pixels

// The test speckle moved by (shiftX, shiftY) pixels, so the exact match of every point is known.
std::shared_ptr<const GreyImage> speckle(double shiftX, double shiftY)
{
    static const testing::SyntheticSpeckle dots(240, 180);
    return std::make_shared<GreyImage>(dots.render([=](double& x, double& y) {
        x -= shiftX;
        y -= shiftY;
    }));
}

// Both photographs imported and readable.
void importSpeckle(Harness& h)
{
    h.photographs.pictures["libre.png"] = speckle(0, 0);
    h.photographs.pictures["charge.png"] = speckle(kShiftX, kShiftY);
    h.dialogs.answers = {"libre.png", "charge.png"};
    h.controller.imagelibre();
    h.controller.imgcharge();
}

// A node at free pixel (i, j), located by a click at its free place or at the given one.
void addNode(MainController& c, double i, double j, std::optional<Position> loaded = {})
{
    c.node();
    c.picture1Pressed(float(15 * i), float(15 * j));
    const Position at = loaded.value_or(Position{15 * i, 15 * j});
    c.picture2Pressed(float(at.x), float(at.y));
}

// The exact loaded place of node n, in view units.
Position exactOf(const Harness& h, int n)
{
    const Position& free = h.state().FreeNodes[std::size_t(n)];
    return {free.x + 15 * kShiftX, free.y + 15 * kShiftY};
}

// Within a twentieth of a pixel of the exact place.
void expectFound(const Harness& h, int n)
{
    const auto slot = std::size_t(n);
    const Position exact = exactOf(h, n);
    EXPECT_NEAR(h.state().LoadNodes[slot].x, exact.x, 0.75) << "node " << n;
    EXPECT_NEAR(h.state().LoadNodes[slot].y, exact.y, 0.75) << "node " << n;
    const LoadLocation& record = h.state().LoadLocations[slot];
    EXPECT_TRUE(record.correlated && record.zncc >= 0.9 && record.covariance.xx > 0 &&
                record.covariance.xx < kPixelResolutionSd * kPixelResolutionSd)
        << "node " << n;
}

bool isDefault(const LoadLocation& record)
{
    const LoadLocation fresh;
    return !record.correlated && !record.notFound && !isSet(record.zncc) &&
           record.covariance.xx == fresh.covariance.xx &&
           record.covariance.yy == fresh.covariance.yy && record.covariance.xy == 0;
}

// Three nodes on the speckle located at their free places, a fourth whose subset leaves the
// picture, in two triangles.
void makeSpeckleStudy(Harness& h)
{
    importSpeckle(h);
    for (const auto& [i, j] : {std::pair{60.0, 60.0}, {120.0, 60.0}, {60.0, 120.0}, {8.0, 90.0}})
        addNode(h.controller, i, j);
    h.controller.manumesh();
    for (const int n : {1, 2, 3, 1, 3, 4})
        h.controller.picture1Pressed(float(h.state().FreeNodes[std::size_t(n)].x),
                                     float(h.state().FreeNodes[std::size_t(n)].y));
    h.controller.stopcmd();
}

TEST(CorrelationCommand, MovesTheNodesItFindsSaysHowManyAndShowsThemAtTheNextRedraw)
{
    Harness h;
    makeSpeckleStudy(h);
    ASSERT_EQ(h.state().ElementCount, 2);
    const Position kept = h.state().LoadNodes[4];
    h.window.statuses.clear();
    h.controller.localisercorrelation();
    for (const int n : {1, 2, 3})
        expectFound(h, n);
    // Node 4 keeps its guess, marked not found, which leaves triangle 2 out of the study.
    EXPECT_EQ(tuple(h.state().LoadNodes[4].x, h.state().LoadNodes[4].y,
                    h.state().LoadLocations[4].notFound, h.state().LoadLocations[4].correlated),
              tuple(kept.x, kept.y, true, false));
    EXPECT_EQ(h.messages.shown,
              std::vector<std::string>{"3 noeud(s) localisé(s) par corrélation, 1 non trouvé(s), "
                                       "1 élément(s) écarté(s) de l'étude\n"
                                       "Noeud(s) non trouvé(s) : 4"});
    EXPECT_EQ(h.window.statuses, std::vector<std::string>{std::string(status::Correlated)});
    EXPECT_EQ(tuple(h.progress.labels.size(), h.progress.total, h.progress.finishes),
              tuple(1u, 4, 1));

    // The next pointer movement draws the moved nodes and turns the text back.
    h.controller.formMoved();
    EXPECT_EQ(h.controller.statusLine(), status::Waiting);
    const Position moved = h.state().LoadNodes[1];
    const auto drawn = [](const test::RecordingView& view, Position at, float dx, Rgb colour) {
        return std::ranges::count(
            view.points, test::RecordingView::Point{float(at.x) + dx, float(at.y) + dx, colour});
    };
    EXPECT_EQ(drawn(h.picture2, moved, 0, kNodeMarkRed), 1);
    // The node not found has its own mark on both views, and the red one on neither.
    for (const auto* view : {&h.picture1, &h.picture2}) {
        const Position at = view == &h.picture1 ? h.state().FreeNodes[4] : kept;
        EXPECT_EQ(tuple(drawn(*view, at, 0, kNotFoundMark), drawn(*view, at, 10, kNotFoundMark),
                        drawn(*view, at, -10, kNotFoundMark), drawn(*view, at, 0, kNodeMarkRed)),
                  tuple(1, 1, 1, 0));
    }

    // A drag on the loaded view puts the node where the pointer goes, known to the pixel
    // again; so does a drag of its free position.
    h.controller.picture2Pressed(float(moved.x), float(moved.y));
    h.controller.picture2Moved(1000, 1010);
    h.controller.picture2Released();
    EXPECT_TRUE(isDefault(h.state().LoadLocations[1]));
    EXPECT_EQ(tuple(h.state().LoadNodes[1].x, h.state().LoadNodes[1].y), tuple(1000.0, 1010.0));
    const Position free2 = h.state().FreeNodes[2];
    h.controller.picture1Pressed(float(free2.x), float(free2.y));
    h.controller.picture1Moved(float(free2.x + 15), float(free2.y));
    h.controller.picture1Released();
    EXPECT_TRUE(isDefault(h.state().LoadLocations[2]));
    EXPECT_TRUE(h.state().LoadLocations[3].correlated);
    // Moving the node not found makes it measured again, and the views show it so.
    h.controller.picture2Pressed(float(kept.x), float(kept.y));
    h.controller.picture2Moved(float(kept.x), float(kept.y));
    h.controller.picture2Released();
    h.controller.formMoved();
    EXPECT_EQ(
        tuple(isDefault(h.state().LoadLocations[4]), drawn(h.picture2, kept, 0, kNodeMarkRed)),
        tuple(true, 1));
}

TEST(CorrelationCommand, ACancelOrAMissingPhotographLeavesEverythingAsItWas)
{
    Harness h;
    makeSpeckleStudy(h);
    const ProjectState before = h.state();
    const auto unchanged = [&](const char* what) {
        for (std::size_t n = 1; n <= 4; ++n)
            EXPECT_TRUE(h.state().LoadNodes[n].x == before.LoadNodes[n].x &&
                        h.state().LoadNodes[n].y == before.LoadNodes[n].y &&
                        isDefault(h.state().LoadLocations[n]))
                << what << ", node " << n;
        EXPECT_EQ(h.controller.statusLine(), status::Waiting) << what;
    };

    h.progress.cancelAt = 0;
    h.controller.localisercorrelation();
    unchanged("cancelled");
    EXPECT_EQ(tuple(h.messages.shown.size(), h.progress.finishes), tuple(0u, 1));
    h.progress.cancelAt.reset();

    // Each photograph that cannot be read is named, with the reason when it is known, and
    // the work does not start.
    h.photographs.pictures.erase("charge.png");
    h.photographs.failures["charge.png"] = "Elle est endommagée.";
    h.controller.localisercorrelation();
    h.photographs.pictures.clear();
    h.controller.localisercorrelation();
    unchanged("missing");
    EXPECT_EQ(h.messages.shown,
              (std::vector<std::string>{
                  "La photographie de la structure chargée \"charge.png\" ne peut pas être lue. "
                  "Elle est endommagée.",
                  "La photographie de la structure libre \"libre.png\" ne peut pas être lue.\n"
                  "La photographie de la structure chargée \"charge.png\" ne peut pas être lue. "
                  "Elle est endommagée."}));
    EXPECT_EQ(h.progress.labels.size(), 1u);

    Harness none; // nothing imported
    none.controller.localisercorrelation();
    EXPECT_EQ(none.messages.shown,
              std::vector<std::string>{"La photographie de la structure libre n'a pas été importée."
                                       "\nLa photographie de la structure chargée n'a pas été "
                                       "importée."});
}

TEST(CorrelationCommand, ListsTwentyNodesNotFoundThenAnEllipsisAndLeavesAWaitingNodeWaiting)
{
    Harness h;
    importSpeckle(h);
    for (int k = 1; k <= 22; ++k)
        addNode(h.controller, -50, 4 * k); // off the photographs
    addNode(h.controller, 100, 100);
    h.controller.node();
    h.controller.picture1Pressed(1800, 1500); // waits for its location
    h.controller.localisercorrelation();
    EXPECT_EQ(h.messages.shown.at(0),
              "1 noeud(s) localisé(s) par corrélation, 22 non trouvé(s), 0 élément(s) écarté(s) de "
              "l'étude\nNoeud(s) non trouvé(s) : 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, "
              "15, 16, 17, 18, 19, 20, …");
    expectFound(h, 23);
    // The prompt stays, so the waiting node is still the one the next loaded click locates.
    EXPECT_EQ(tuple(h.controller.statusLine(), h.state().NodeCount, h.state().PendingNode,
                    h.progress.total),
              tuple(std::string(status::LocatePrompt), 24, 24, 23));
    h.controller.formMoved(); // the prompt draws, as the transient text would
    EXPECT_EQ(h.controller.statusLine(), status::LocatePrompt);
    h.controller.picture2Pressed(1830, 1480);
    EXPECT_EQ(tuple(h.state().LoadNodes[24].x, h.state().LoadNodes[24].y, h.state().PendingNode),
              tuple(1830.0, 1480.0, 0));
}

TEST(AssistedLocation, RefinesTheLocatingClickWhileCheckedWithTheChosenSubsetSize)
{
    Harness h;
    auto& c = h.controller;
    importSpeckle(h);
    EXPECT_EQ(tuple(c.assistedLocation(), c.subsetSize()), tuple(false, 31));
    const Position near{15 * 62.0, 15 * 59.0}; // a pixel or so from the exact place
    addNode(c, 60, 60, near);
    EXPECT_EQ(tuple(h.state().LoadNodes[1].x, isDefault(h.state().LoadLocations[1])),
              tuple(near.x, true));

    c.localisationassistee(true);
    addNode(c, 60, 60, near);
    expectFound(h, 2);
    addNode(c, 20, 90, Position{15 * 22.0, 15 * 89.0}); // found with 31 pixels, half is 15
    expectFound(h, 3);
    for (const int ignored : {30, 9, 103})
        c.tailleimagettes(ignored);
    EXPECT_EQ(c.subsetSize(), 31);
    c.tailleimagettes(61);
    addNode(c, 20, 90, Position{15 * 22.0, 15 * 89.0}); // the subset leaves the photograph
    EXPECT_EQ(tuple(h.state().LoadNodes[4].x, isDefault(h.state().LoadLocations[4]), c.subsetSize(),
                    c.statusLine()),
              tuple(15 * 22.0, true, 61, std::string(status::CreatePrompt)));
    EXPECT_TRUE(h.messages.shown.empty());

    // Without a loaded photograph the click stays, and the message says why.
    h.photographs.pictures.erase("charge.png");
    c.tailleimagettes(21);
    addNode(c, 60, 60, near);
    EXPECT_EQ(tuple(h.state().LoadNodes[5].x, h.messages.shown.size(), c.subsetSize()),
              tuple(near.x, 1u, 21));
    c.localisationassistee(false);
    EXPECT_FALSE(c.assistedLocation());
}

TEST(LocationRecords, AGridAndAnOpenedFileGiveLoadedPositionsKnownToThePixelAgain)
{
    Harness h;
    const auto recordsFrom = [&](std::size_t first) {
        for (std::size_t n = first; n <= 1000; ++n)
            if (!isDefault(h.state().LoadLocations[n]))
                return ADD_FAILURE() << "node " << n;
    };
    makeSpeckleStudy(h);
    h.controller.automesh(); // based on the four nodes
    for (const Bar bar : {Bar::HScroll4, Bar::VScroll4, Bar::HScroll5, Bar::VScroll5})
        h.controller.barChanged(bar, 1500); // from pixel (100, 100) on both photographs
    h.controller.localisercorrelation();
    ASSERT_TRUE(h.state().LoadLocations[1].correlated && h.state().LoadLocations[5].correlated);
    h.controller.barChanged(Bar::HScroll1, 3); // the grid made again after the base
    EXPECT_TRUE(h.state().LoadLocations[1].correlated);
    recordsFrom(5);

    h.files.files["etude.MEF"] = "[init]\nnode=1\nmesh=0\n[freenodelist]\nnodex1=1\nnodey1=2\n"
                                 "[loadnodelist]\nnodex1=1\nnodey1=2\n";
    h.dialogs.answers = {"etude.MEF"};
    h.controller.open();
    recordsFrom(1);
}

} // namespace
} // namespace ai
