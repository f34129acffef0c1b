// A load sequence over fakes: its photographs in natural order, the step selector, the
// correlation of every step, a drag kept in its step, and the study and map of every step.
#include "io/mesh_file_reader.h"
#include "shell/natural_order.h"
#include "shell/sequence_maps.h"
#include "shell/status_text.h"
#include "support/fakes.h"
#include "support/small_studies.h"

#include <gtest/gtest.h>


namespace ai {
namespace {

using std::tuple;
using namespace test;

TEST(NaturalOrder, RunsOfDigitsCompareByValueAndEveryOtherCharacterByItself)
{
    const std::vector<tuple<const char*, const char*, bool>> cases = {
        {"step2.png", "step10.png", true},
        {"step10.png", "step2.png", false},
        {"step02.png", "step2.png", false},
        {"step02.png", "step3.png", true},
        {"b1", "a2", false},
        {"img", "img1", true},
        {"x9y10", "x9y9", false},
        {"0010", "9", false},
        {"step1.png", "step1.png", false},
        {"d/step9.png", "d/step10.png", true},
    };
    for (const auto& [a, b, before] : cases)
        EXPECT_EQ(naturallyBefore(a, b), before) << a << " < " << b;

    std::vector<std::string> names = {"s10.png", "s1.png", "s9.png", "s100.png", "s09.png"};
    sortNaturally(names);
    EXPECT_EQ(names,
              (std::vector<std::string>{"s1.png", "s9.png", "s09.png", "s10.png", "s100.png"}));
    EXPECT_EQ(tuple(fileNameOf("/a/b/c.png"), fileNameOf("c.png"), fileNameOf("C:\\d\\e.png")),
              tuple("c.png", "c.png", "e.png"));
}

TEST(SequenceImport, TakesTheFilesInNaturalOrderShowsTheFirstAndTheSelectorOnlyForTwoOrMore)
{
    Harness h;
    // A cancel, then a first photograph that cannot be read, change nothing but say why.
    h.picture2.readable = {"d/s1.png", "d/s2.png", "d/s10.png", "d/one.png"};
    h.dialogs.answers = {std::nullopt, "d/s9.png|d/s10.png"};
    h.controller.imgsequence();
    h.controller.imgsequence();
    EXPECT_EQ(h.messages.shown, std::vector<std::string>{"illisible : d/s9.png"});
    EXPECT_TRUE(h.controller.sequence().files.empty());
    EXPECT_EQ(h.state().LoadImageFile, "");

    h.dialogs.answers = {"d/s10.png|d/s2.png|d/s1.png"};
    h.controller.imgsequence();
    EXPECT_EQ(h.controller.sequence().files,
              (std::vector<std::string>{"d/s1.png", "d/s2.png", "d/s10.png"}));
    EXPECT_EQ(tuple(h.controller.sequence().selected, h.state().LoadImageFile, h.picture2.picture),
              tuple(1, "d/s1.png", "d/s1.png"));
    EXPECT_EQ(tuple(h.window.selector.count, h.window.selector.step, h.window.selector.caption),
              tuple(3, 1, "Étape 1/3 : s1.png"));
    h.controller.stepSelected(3);
    EXPECT_EQ(tuple(h.state().LoadImageFile, h.picture2.picture, h.window.selector.caption),
              tuple("d/s10.png", "d/s10.png", "Étape 3/3 : s10.png"));

    // "Structure chargée" makes a sequence of one, and hides the selector.
    h.dialogs.answers = {"d/one.png"};
    h.controller.imgcharge();
    EXPECT_EQ(tuple(h.controller.sequence().files, h.controller.sequence().selected,
                    h.window.selector.count),
              tuple(std::vector<std::string>{"d/one.png"}, 1, 1));
    EXPECT_EQ(h.messages.shown.size(), 1u);
}

constexpr const char* kFiles[] = {"s1.png", "s2.png", "s3.png"};
constexpr SpeckleStep kSteps[] = {{0.01, 1.0, 0.5}, {0.02, 2.5, -0.5}, {0.03, 4.0, -1.5}};

// The square of four nodes over the free speckle, and the three steps imported.
void makeSequenceStudy(Harness& h)
{
    h.photographs.pictures["libre.png"] = std::make_shared<GreyImage>(speckleAt({}));
    for (int k = 0; k < 3; ++k)
        h.photographs.pictures[kFiles[k]] = std::make_shared<GreyImage>(speckleAt(kSteps[k]));
    h.files.files["carre.MEF"] = squareMeshFile();
    h.dialogs.answers = {"libre.png", "s3.png|s1.png|s2.png", "carre.MEF"};
    h.controller.imagelibre();
    h.controller.imgsequence();
    h.controller.open();
    h.messages.shown.clear();
}

TEST(SequenceCorrelation, FindsEveryStepShowsEachOnSelectionAndKeepsADragInItsStep)
{
    Harness h;
    makeSequenceStudy(h);
    h.controller.localisercorrelation();
    ASSERT_EQ(h.controller.sequence().steps.size(), 3u);
    EXPECT_EQ(h.messages.shown,
              std::vector<std::string>{"3 étapes corrélées ; la moins bonne, l'étape 1 : 4 "
                                       "noeud(s) localisé(s) par corrélation, 0 non trouvé(s), "
                                       "0 élément(s) écarté(s) de l'étude"});
    // Each step's nodes within a twentieth of a pixel, shown when the step is selected.
    for (int k : {1, 3, 2}) {
        h.controller.stepSelected(k);
        EXPECT_EQ(h.picture2.picture, kFiles[k - 1]);
        for (std::size_t n = 1; n <= 4; ++n) {
            const Position exact = speckleMoved(h.state().FreeNodes[n], kSteps[k - 1]);
            EXPECT_NEAR(h.state().LoadNodes[n].x, exact.x, 0.75) << k << " " << n;
            EXPECT_NEAR(h.state().LoadNodes[n].y, exact.y, 0.75) << k << " " << n;
            EXPECT_TRUE(h.state().LoadLocations[n].correlated);
        }
    }

    // A drag at step 2 is step 2's, placed by hand; the other steps keep what they found.
    const Position found1 = h.state().LoadNodes[1];
    h.controller.picture2Pressed(float(found1.x), float(found1.y));
    h.controller.picture2Moved(float(found1.x + 30), float(found1.y));
    h.controller.picture2Released();
    h.controller.stepSelected(3);
    EXPECT_TRUE(h.state().LoadLocations[1].correlated);
    h.controller.stepSelected(2);
    const SequenceStep& step2 = h.controller.sequence().steps[1];
    EXPECT_EQ(tuple(h.state().LoadNodes[1].x, step2.locations[1].correlated),
              tuple(step2.loaded[1].x, false));
    EXPECT_NEAR(step2.loaded[1].x, found1.x + 30, 15);
    // A node made since has no position at any step.
    h.controller.node();
    h.controller.picture1Pressed(1500, 1500);
    h.controller.picture2Pressed(1500, 1500);
    h.controller.stepSelected(1);
    EXPECT_TRUE(h.state().LoadLocations[5].notFound);
}

TEST(SequenceCorrelation, ACancelOrAnUnreadableStepKeepsNothing)
{
    for (const bool cancel : {true, false}) {
        Harness h;
        makeSequenceStudy(h);
        const auto before = h.state().LoadNodes;
        if (cancel)
            h.progress.cancelAt = 6; // within step 2
        else
            h.photographs.pictures.erase("s2.png");
        h.controller.localisercorrelation();
        EXPECT_TRUE(h.controller.sequence().steps.empty());
        EXPECT_EQ(h.state().LoadNodes[1].x, before[1].x);
        EXPECT_EQ(h.state().LoadLocations[1].correlated, false);
        EXPECT_EQ(h.messages.shown,
                  cancel ? std::vector<std::string>{}
                         : std::vector<std::string>{
                               "La photographie de l'étape 2/3 \"s2.png\" ne peut pas être lue."});
    }
}

TEST(SequenceStudy, EveryStepIsStudiedAndTheMapShowsTheSelectedStepOnTheCommonOrItsOwnScale)
{
    Harness h;
    makeSequenceStudy(h);
    h.controller.localisercorrelation();
    h.controller.stepSelected(3);
    h.controller.sxxctrteplane();
    ASSERT_TRUE(h.map.shown);
    const auto texts = [&] { return tuple(h.map.maximum, h.map.minimum); };
    const auto last = texts();
    EXPECT_EQ(last, tuple("0,0384", "0,0127"));
    // Moving the selector redraws the map for that step: on the common scale its bar keeps
    // the extremes of every step, here those of the largest stretch.
    h.controller.stepSelected(1);
    EXPECT_EQ(texts(), last);
    const double sum1 = h.state().NodeSums[1].value;
    h.controller.commonScaleChosen(false);
    EXPECT_EQ(tuple(texts(), h.state().NodeSums[1].value), tuple(tuple("0,0128", "0,0127"), sum1));
    h.controller.stepSelected(3);
    EXPECT_EQ(texts(), tuple("0,0384", "0,0384"));
    EXPECT_NEAR(h.state().NodeSums[1].value, 3 * sum1, 0.1 * sum1);
    h.controller.commonScaleChosen(true);
    EXPECT_EQ(texts(), last);

    // A readable map's scale spans its own values, or those of every step.
    const Material material{1.0, 0.47};
    const auto styled = [&](std::optional<MapRange> scale) {
        return *buildStyledMap(h.state(), 4, material, Component::Sxx, true, MapStyle::Signed,
                               NumberFormat{','}, scale);
    };
    const MapRange last3 = *styled({}).extremes;
    h.controller.stepSelected(1);
    const auto common =
        styledExtremesOverSteps(h.state(), 4, h.controller.sequence().steps, material,
                                Component::Sxx, true, MapStyle::Signed, NumberFormat{','});
    const MapRange own1 = *styled({}).extremes;
    ASSERT_TRUE(common);
    EXPECT_EQ(tuple(common->minimum, common->maximum), tuple(own1.minimum, last3.maximum));
    EXPECT_LT(own1.maximum, last3.minimum);
    EXPECT_LT(styled({}).scale.maximum, last3.maximum);
    EXPECT_GE(styled(common).scale.maximum, last3.maximum);
    h.controller.stepSelected(3);
    // The saved mesh file is that of the step selected.
    h.dialogs.answers = {"etape3"};
    h.controller.save();
    auto saved = std::make_unique<ProjectState>();
    ASSERT_TRUE(readMeshFile(h.files.files["etape3.MEF"], *saved));
    EXPECT_NEAR(saved->LoadNodes[4].x, h.state().LoadNodes[4].x, 1e-6);
    EXPECT_NE(saved->LoadNodes[4].x, h.controller.sequence().steps[0].loaded[4].x);
}

} // namespace
} // namespace ai
