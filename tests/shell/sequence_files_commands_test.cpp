// "Enregistrer la séquence" and "Ouvrir une séquence" over fakes: a sequence opened from files
// written by hand, saved, and opened again whole; every file that does not fit refused.
#include "io/mesh_file_writer.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

using test::Harness;

// Three nodes and one triangle; the loaded positions moved by `shift` units to the right.
std::string meshFile(double shift, double freeX2 = 300, int nodes = 3, int corner = 3)
{
    ProjectState s;
    const double free[][2] = {{150, 150}, {freeX2, 150}, {150, 300}};
    for (int i = 1; i <= nodes; ++i)
        s.FreeNodes[i] = {free[i - 1][0], free[i - 1][1]},
        s.LoadNodes[i] = {free[i - 1][0] + shift * i, free[i - 1][1] - 7.5};
    s.Elements[1].nodes = {1, 2, corner};
    s.ElementCount = 1;
    return writeMeshFile(s, nodes, NumberFormat{','});
}

const std::string handIndex =
    "sequence-index=1\r\nfree=libre.png\r\nsteps=2\r\nselected=2\r\n"
    "step=1\r\nphotograph=k 1.png\r\nmesh=e-01.MEF\r\n"
    "step=2\r\nphotograph=/photos/k2.png\r\nmesh=e-02.MEF\r\nnotfound=3\r\n";

// The hand-written sequence in d/, answered to the next dialog.
void writeHandSequence(Harness& h)
{
    h.files.files = {{"/d/essai.sequence", handIndex},
                     {"/d/e-01.MEF", meshFile(15)},
                     {"/d/e-02.MEF", meshFile(30.5)}};
    h.dialogs.answers.push_back("/d/essai.sequence");
}

// What the sequence holds: per step its photograph, loaded x of every node, and not-found nodes.
using StepSummary = std::tuple<std::string, std::vector<double>, std::vector<int>, int>;
std::vector<StepSummary> summary(const LoadSequence& sequence)
{
    std::vector<StepSummary> steps;
    for (std::size_t k = 0; k < sequence.steps.size(); ++k) {
        std::vector<double> x;
        for (std::size_t n = 1; n < sequence.steps[k].loaded.size(); ++n)
            x.push_back(sequence.steps[k].loaded[n].x);
        const auto& outcome = sequence.steps[k].outcome;
        steps.emplace_back(sequence.files[k], x, outcome.notFound, outcome.leftOutElements);
    }
    return steps;
}

TEST(SequenceFileCommands, OpenRestoresEveryStepAndSaveWritesWhatOpensBackTheSame)
{
    Harness h;
    writeHandSequence(h);
    h.controller.ouvrirsequence();
    const std::vector<StepSummary> expected{{"/d/k 1.png", {165, 330, 195}, {}, 0},
                                            {"/photos/k2.png", {180.5, 361, 241.5}, {3}, 1}};
    EXPECT_EQ(summary(h.controller.sequence()), expected);
    EXPECT_EQ(h.controller.sequence().selected, 2);
    EXPECT_EQ(h.controller.sequence().steps[1].outcome.found, (std::vector{1, 2}));
    EXPECT_EQ(h.messages.shown,
              (std::vector<std::string>{"Séquence de 2 étape(s) : 3 noeuds et 1 élément(s)"}));
    // The study at the selected step: its loaded positions, its node not found, its photographs.
    const ProjectState& s = h.state();
    EXPECT_EQ(std::tuple(s.NodeCount, s.ElementCount, s.LoadNodes[2].x, s.LoadNodes[3].y,
                         s.LoadLocations[3].notFound, s.LoadLocations[2].notFound),
              std::tuple(3, 1, 361.0, 292.5, true, false));
    EXPECT_EQ(std::tuple(s.FreeImageFile, s.LoadImageFile, h.picture1.picture, h.picture2.picture),
              std::tuple("/d/libre.png", "/photos/k2.png", "/d/libre.png", "/photos/k2.png"));
    EXPECT_FALSE(h.picture2.points.empty()); // redrawn

    h.dialogs.answers = {"/d/sortie/copie.mef", "/d/sortie/sauve"};
    h.controller.enregistrersequence();
    h.controller.save();
    auto& files = h.files.files;
    EXPECT_EQ(files["/d/sortie/copie.MEF"], files["/d/sortie/sauve.MEF"]); // as "Sauvegarde" writes
    EXPECT_EQ(files["/d/sortie/copie-01.MEF"], files["/d/e-01.MEF"]);
    EXPECT_EQ(files["/d/sortie/copie-02.MEF"], files["/d/e-02.MEF"]);
    EXPECT_NE(files["/d/sortie/copie.sequence"].find("\r\nfree=/d/libre.png\r\n"),
              std::string::npos)
        << "the free photograph is outside the index's folder";

    Harness again;
    again.files.files = files;
    again.dialogs.answers = {"/d/sortie/copie.sequence"};
    again.controller.ouvrirsequence();
    EXPECT_EQ(summary(again.controller.sequence()), expected);
    EXPECT_EQ(again.state().FreeImageFile, "/d/libre.png");
}

TEST(SequenceFileCommands, OpenRefusesAnIndexOrAStepFileThatDoesNotFitLeavingTheStudyAsItWas)
{
    const std::string step2 = "Le fichier de maillage \"/d/e-02.MEF\" de l'étape 2 ";
    const std::string unlike = step2 + "ne correspond pas à celui de l'étape 1 : ";
    const struct {
        std::string file, bytes, why;
    } cases[] = {
        {"/d/essai.sequence", "sequence-index=2\r\n",
         "Ligne 1 : version \"2\" de l'index de séquence inconnue."},
        {"/d/e-02.MEF", "", step2 + "ne peut pas être lu."},
        {"/d/e-02.MEF", "[init]\r\nnode=trois\r\n", step2 + "n'est pas un fichier de maillage."},
        {"/d/e-02.MEF", meshFile(30.5, 300, 2), unlike + "2 noeuds au lieu de 3."},
        {"/d/e-02.MEF", meshFile(30.5, 315),
         unlike + "le noeud 2 n'est pas au même endroit sur la structure libre."},
        {"/d/e-02.MEF", meshFile(30.5, 300, 3, 1), unlike + "l'élément 1 n'a pas les mêmes noeuds."},
        {"/d/essai.sequence", handIndex.substr(0, handIndex.size() - 3) + "4\r\n",
         step2 + "n'a pas de noeud 4, que l'index dit non trouvé."},
    };
    for (const auto& c : cases) {
        Harness h;
        writeHandSequence(h);
        if (c.bytes.empty())
            h.files.files.erase(c.file);
        else
            h.files.files[c.file] = c.bytes;
        h.controller.ouvrirsequence();
        EXPECT_EQ(h.messages.shown, std::vector<std::string>{
                                        "La séquence \"/d/essai.sequence\" ne peut pas être "
                                        "ouverte. " + c.why});
        EXPECT_TRUE(h.controller.sequence().steps.empty() && h.window.statuses.empty()) << c.why;
    }
}

TEST(SequenceFileCommands, SaveNeedsACorrelatedSequenceOfTheNodesInMemoryAndSaysWhyAWriteFailed)
{
    Harness h;
    h.controller.enregistrersequence();
    // A hundred steps, all from one mesh file: the step files are numbered on three digits.
    std::string index = "sequence-index=1\r\nfree=libre.png\r\nsteps=100\r\nselected=1\r\n";
    for (int k = 1; k <= 100; ++k)
        index += "step=" + std::to_string(k) + "\r\nphotograph=k.png\r\nmesh=e.MEF\r\n";
    h.files.files = {{"/d/cent.sequence", index}, {"/d/e.MEF", meshFile(15)}};
    h.dialogs.answers = {"/d/cent.sequence", std::nullopt, "/d/c.Sequence"};
    h.controller.ouvrirsequence();
    h.controller.enregistrersequence(); // cancelled
    EXPECT_EQ(h.files.files.size(), 2u);
    h.controller.enregistrersequence();
    EXPECT_EQ(std::tuple(h.files.files.count("/d/c-001.MEF"), h.files.files.count("/d/c-100.MEF"),
                         h.files.files.count("/d/c.sequence")),
              std::tuple(1u, 1u, 1u));

    h.files.failure = "disque plein";
    h.dialogs.answers = {"/d/f"};
    h.controller.enregistrersequence();
    EXPECT_EQ(h.files.files.count("/d/f.sequence"), 0u);
    h.files.failure.clear();
    // A node added since the correlation has no position at the steps.
    h.controller.node();
    h.controller.picture1Pressed(600, 600);
    h.controller.picture2Pressed(600, 600);
    h.controller.enregistrersequence();
    EXPECT_EQ(
        h.messages.shown,
        (std::vector<std::string>{
            "Il n'y a pas de séquence à enregistrer : aucune séquence de deux photographies ou "
            "plus n'a été corrélée.",
            "Séquence de 100 étape(s) : 3 noeuds et 1 élément(s)",
            "La séquence n'a pas pu être enregistrée dans le fichier \"/d/f-001.MEF\" : disque "
            "plein",
            "Les noeuds ont changé depuis la corrélation de la séquence : la corréler à nouveau "
            "avant de l'enregistrer."}));
}

} // namespace
} // namespace ai
