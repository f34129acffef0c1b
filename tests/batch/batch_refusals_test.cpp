// Every input the batch program refuses: a message on standard error that names the
// problem, a non-zero exit status, and no output file written or touched.
#include "batch_process.h"

#include <QDir>

#include <gtest/gtest.h>

#include <string>

namespace ai::test {
namespace {

const QString kExample = exampleFile("plate-with-hole.MEF");

// One triangle over three located nodes, with a decimal comma.
std::string triangleFile(const std::string& nodeCount = "3", const std::string& loadedY3 = "100",
                         const std::string& corner3 = "3")
{
    return "[init]\r\nnode=" + nodeCount +
           "\r\nmesh=1\r\n"
           "[freenodelist]\r\nnodex1=0\r\nnodey1=0\r\nnodex2=100\r\nnodey2=0\r\n"
           "nodex3=0\r\nnodey3=100\r\n"
           "[loadnodelist]\r\nnodex1=0\r\nnodey1=0\r\nnodex2=101,5\r\nnodey2=0\r\n"
           "nodex3=0\r\nnodey3=" +
           loadedY3 +
           "\r\n"
           "[freemeshlist]\r\nmesh11=1\r\nmesh21=2\r\nmesh31=" +
           corner3 + "\r\n";
}

// Runs the program in a folder holding mesh.MEF and an older nodes.csv, with every output
// asked for, and checks the refusal: the exit status, the counts line when the file was
// read that far, the message, and the folder as it was.
void expectRefused(const QStringList& arguments, int exitCode, const std::string& counts,
                   const std::string& message, const std::string& mesh = triangleFile())
{
    BatchFolder folder;
    folder.write("mesh.MEF", mesh);
    folder.write("nodes.csv", "une étude précédente\r\n");
    const QStringList outputs{"--nodes-csv=nodes.csv", "--elements-csv=elements.csv",
                              "--map-png=map.png", "--save=saved.MEF"};
    const bool asksOutputs = arguments.filter("--study").size() == 1;
    const BatchRun run = folder.run(arguments + (asksOutputs ? outputs : QStringList{}));

    EXPECT_EQ(run.exitCode, exitCode) << run.err;
    EXPECT_EQ(run.err.rfind(counts, 0), 0u) << run.err;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("analyse-image-batch : ", counts.size()), counts.size()) << run.err;
    EXPECT_EQ(folder.files(), (QStringList{"mesh.MEF", "nodes.csv"}));
    EXPECT_EQ(folder.read("nodes.csv"), "une étude précédente\r\n");
}

TEST(BatchRefusals, ACommandLineThatCannotBeRunEndsWithStatusTwo)
{
    const QString mesh = "mesh.MEF";
    expectRefused({"--study=sxz", mesh}, 2, "", "sxx, syy, sxy ou vm");
    expectRefused({"--grid=2,2,150", mesh}, 2, "", "dix valeurs");
    expectRefused({"--grid=2,2,150,150,1000,1000,0,0,0,10001", mesh}, 2, "",
                  "la valeur LY « 10001 » doit être un nombre entier de 0 à 10000");
    expectRefused({"--grid=1,2,150,150,1000,1000,0,0,0,0", mesh}, 2, "", "NX « 1 »");
    expectRefused({"--grid=2,2,150,150,1000,1000,0,0,0,-5", mesh}, 2, "", "LY « -5 »");
    expectRefused({"--automesh=10", mesh}, 2, "", "de 50 à 3000");
    expectRefused({"--automesh=4e2", mesh}, 2, "", "« 4e2 »");
    expectRefused({"--decimal=;", mesh}, 2, "", "',' ou '.'");
    expectRefused({"--nodes-csv=nodes.csv", mesh}, 2, "", "demandent --study");
    expectRefused({"--map-png=map.png", mesh}, 2, "", "demandent --study");
    expectRefused({"--image=photo.png", mesh}, 2, "", "--image ne sert qu'avec --map-png");
    expectRefused({"--study=vm", "--study=sxx", mesh}, 2, "", "--study est donnée deux fois");
    expectRefused({"--plane-stress", "--plane-strain", mesh}, 2, "", "une seule hypothèse");
    expectRefused({"--save", mesh}, 2, "", "--save demande une valeur");
    expectRefused({"--frobnicate", mesh}, 2, "", "option inconnue « --frobnicate »");
    expectRefused({"--study=vm"}, 2, "", "il manque le fichier de maillage");
    expectRefused({mesh, "other.MEF"}, 2, "", "un seul fichier de maillage");

    BatchFolder folder;
    const BatchRun run =
        folder.run({"--study=vm", "--nodes-csv=out.csv", "--elements-csv=./out.csv", kExample});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--nodes-csv et --elements-csv écriraient le même fichier"),
              std::string::npos)
        << run.err;
}

TEST(BatchRefusals, AMeshFileThatIsMissingForeignOrDamagedIsNotStudied)
{
    const QStringList study{"--study=vm", "mesh.MEF"};
    expectRefused({"--study=vm", "absent.MEF"}, 1, "",
                  "impossible de lire le fichier de maillage « absent.MEF »");
    expectRefused(study, 1, "", "« mesh.MEF » n'est pas un fichier de maillage",
                  "nodex1=0\r\nnot a mesh file\r\n");
    expectRefused(study, 1, "", "un nombre de sa section [init] n'est pas un nombre",
                  triangleFile("trois"));
    // Read as the window reads it, then refused: the counts tell what was kept.
    expectRefused(study, 1, "2 noeuds et 0 élément(s)\n",
                  "le noeud 3 n'est pas localisé sur la structure chargée : la clé nodey3 de la "
                  "section [loadnodelist] est vide",
                  triangleFile("3", ""));
    expectRefused(study, 1, "3 noeuds et 0 élément(s)\n",
                  "l'élément 1 désigne par sa clé mesh31 le noeud « 4 », qui n'existe pas",
                  triangleFile("3", "100", "4"));
    expectRefused(study, 1, "3 noeuds et 0 élément(s)\n",
                  "le nombre de noeuds de la section [init], « 1500 », n'est pas un nombre "
                  "entier de 0 à 1000",
                  triangleFile("1500"));
    expectRefused(study, 1, "2 noeuds et 0 élément(s)\n", "le noeud 3 n'a pas de position",
                  triangleFile("3").replace(triangleFile("3").find("nodex3=0"), 8, ""));
}

TEST(BatchRefusals, AStudyTheWindowWouldRefuseIsRefused)
{
    const std::string read = "3 noeuds et 1 élément(s)\n";
    expectRefused({"--study=sxx", "--plane-strain", "--poisson=0.5", "mesh.MEF"}, 1, read,
                  "Coefficient de Poisson incorrect : en hypothèse de déformations planes");
    expectRefused({"--study=sxx", "--plane-stress", "--poisson=-1", "mesh.MEF"}, 1, read,
                  "il ne peut valoir ni 1 ni -1");
    expectRefused({"--study=sxx", "--young=deux", "mesh.MEF"}, 1, read,
                  "Module de Young incorrect : « deux » n'est pas un nombre");
    expectRefused({"--study=sxx", "--young=1.7e308", "--poisson=0.3", "mesh.MEF"}, 1, read,
                  "trop grandes pour être représentées");
    expectRefused({"--study=vm", "mesh.MEF"}, 1, "0 noeuds et 0 élément(s)\n",
                  "--study : le maillage n'a aucun élément", "[init]\r\nnode=0\r\nmesh=0\r\n");
    // The example fills 992 of the 1000 triangles; a 4 x 3 grid needs 12.
    expectRefused({"--grid=4,3,150,150,1000,1000,0,0,0,0", "--study=vm", kExample}, 1,
                  "546 noeuds et 992 élément(s)\n",
                  "--grid : la structure maillée de 4 x 3 noeuds ajouterait 12 noeuds et 12 "
                  "éléments ; l'étude ne peut plus en prendre que 454 et 8");
}

TEST(BatchRefusals, OutputsThatCannotBeMadeLeaveNoFileHalfWritten)
{
    // A photograph that cannot be read refuses the map before any table is written.
    expectRefused({"--study=vm", "--image=absent.png", "mesh.MEF"}, 1, "3 noeuds et 1 élément(s)\n",
                  "--image : impossible de lire la photographie « absent.png »");

    BatchFolder folder;
    folder.write("mesh.MEF", triangleFile());
    ASSERT_TRUE(QDir(folder.path("")).mkdir("taken"));
    const BatchRun run = folder.run({"--study=vm", "--nodes-csv=taken", "mesh.MEF"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("impossible d'écrire « taken »"), std::string::npos) << run.err;
    EXPECT_EQ(folder.files(), QStringList{"mesh.MEF"}) << "no scratch file left behind";

    const BatchRun nowhere = folder.run({"--save=absent/saved.MEF", "mesh.MEF"});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_NE(nowhere.err.find("impossible d'écrire « absent/saved.MEF »"), std::string::npos)
        << nowhere.err;
}

} // namespace
} // namespace ai::test
