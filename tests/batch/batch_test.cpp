// The batch program as a user calls it: a process, its exit status, its messages, its files.
#include "analysis/element_stress.h"
#include "analysis/study.h"
#include "correlation/synthetic_speckle.h"
#include "io/mesh_file_reader.h"
#include "plate_example/plate_geometry.h"
#include "support/csv_records.h"
#include "support/pdf_text.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>

namespace ai::test {
namespace {

const QString kExample = QStringLiteral(ANALYSE_EXAMPLES_DIR "/plate-with-hole.MEF");
const QString kFreePhoto = QStringLiteral(ANALYSE_EXAMPLES_DIR "/plate-free.png");
const QString kLoadedPhoto = QStringLiteral(ANALYSE_EXAMPLES_DIR "/plate-loaded.png");

std::string fileBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

void writeFile(const QString& path, const std::string& bytes)
{
    EXPECT_TRUE(std::ofstream(path.toStdString(), std::ios::binary) << bytes);
}

auto files(const QTemporaryDir& d) { return QDir(d.path()).entryList(QDir::Files | QDir::Hidden); }

// The program run in `folder`: its exit status and standard error (standard output stays empty).
std::pair<int, std::string> run(const QTemporaryDir& folder, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.start(QStringLiteral(ANALYSE_BATCH_PROGRAM), arguments);
    // Generous: a correlation run under the sanitizers on a loaded machine takes minutes.
    EXPECT_TRUE(process.waitForFinished(300000));
    EXPECT_EQ(process.readAllStandardOutput(), "");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError().toStdString()};
}

TEST(BatchProgram, StudiesTheExampleIntoTablesThatReadBackAMapAndAMeshFile)
{
    QTemporaryDir folder;
    const auto [status, err] = run(
        folder, {"--study=sxx", "--plane-stress", "--young=2000", "--poisson=0.3", "--decimal=,",
                 "--nodes-csv=nodes.csv", "--elements-csv=el.csv", "--map-png=map.png",
                 "--sd-map-png=sd.png", "--save=copy",
                 "--image=" ANALYSE_EXAMPLES_DIR "/plate-free.png", kExample});
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(err, "546 noeuds et 992 élément(s)\n");
    EXPECT_EQ(files(folder), (QStringList{"copy", "el.csv", "map.png", "nodes.csv", "sd.png"}));
    EXPECT_EQ(fileBytes(folder.filePath("copy")), fileBytes(kExample)) << "with a decimal comma";

    // The tables hold the study's own doubles, to the last bit.
    auto state = std::make_unique<ProjectState>();
    ASSERT_TRUE(readMeshFile(fileBytes(kExample), *state));
    const StudyOutcome study =
        computeStudy(*state, state->NodeCount, {"2000", "0,3", Component::Sxx, true, {','}});
    const auto nodes = csvRecords(fileBytes(folder.filePath("nodes.csv")));
    ASSERT_EQ(nodes.size(), 547u);
    for (std::size_t n = 1; n <= 546; ++n) {
        ASSERT_EQ(nodes[n].size(), 15u);
        EXPECT_EQ(nodes[n][0], std::to_string(n));
        EXPECT_EQ(csvNumber(nodes[n][7]), study.sums[n].count);
        EXPECT_EQ(csvNumber(nodes[n][8]), study.sums[n].value) << "node " << n;
    }
    EXPECT_EQ(csvRecords(fileBytes(folder.filePath("el.csv"))).size(), 993u);

    // The map over the photograph, its colour bar's top and bottom rows; the map of the
    // standard deviations: the same size, other colours.
    const QImage map(folder.filePath("map.png"));
    ASSERT_EQ(map.size(), QSize(1016, 444));
    EXPECT_EQ((std::array{map.pixel(5, 5), map.pixel(877, 12), map.pixel(877, 266)}),
              (std::array{0xFF383838u, 0xFFFF4300u, 0xFF0003FEu}));
    const QImage sd(folder.filePath("sd.png"));
    EXPECT_EQ(sd.size(), map.size());
    EXPECT_NE(sd, map);
}

TEST(BatchProgram, DrawsTheExampleAsAContinuousMapInPngAndSvgAndReportsItsStudy)
{
    QTemporaryDir folder;
    const auto [status, err] =
        run(folder, {"--study=sxx", "--plane-stress", "--young=2000", "--poisson=0.3",
                     "--decimal=,", "--map-style=continuous", "--map-png=map.png",
                     "--map-svg=map.svg", "--report=report.pdf", "--free-image=" + kFreePhoto,
                     kExample});
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(files(folder), (QStringList{"map.png", "map.svg", "report.pdf"}));
    EXPECT_EQ(QImage(folder.filePath("map.png")).size(), QSize(1016, 444));
    EXPECT_NE(fileBytes(folder.filePath("map.svg")).find("<svg"), std::string::npos);

    // The least, median and greatest of the triangles' sigma xx, tension positive.
    auto state = std::make_unique<ProjectState>();
    ASSERT_TRUE(readMeshFile(fileBytes(kExample), *state));
    std::vector<std::pair<double, int>> values;
    for (int e = 1; e <= state->ElementCount; ++e) {
        const TriangleMotion m = triangleMotion(*state, e);
        values.emplace_back(-elasticStress(triangleStrain(m.free, m.moved), {2000, 0.3}, true).xx,
                            e);
    }
    std::stable_sort(values.begin(), values.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const auto pages = pdfPages(fileBytes(folder.filePath("report.pdf")));
    ASSERT_EQ(pages.size(), 2u);
    std::vector<std::string> expected{"plate-free.png (1001 × 329 pixels)",
                                      "Module de Young E = 2000 MPa",
                                      "Coefficient de Poisson ν = 0,3",
                                      "Hypothèse de contraintes planes", "Corrélation\nAucune"};
    for (const auto& [name, v] : {std::pair{"Minimum", values.front()},
                                  std::pair{"Médiane", values[(values.size() - 1) / 2]},
                                  std::pair{"Maximum", values.back()}}) {
        char number[32];
        std::snprintf(number, sizeof number, "%.4g", v.first);
        std::string text = number;
        std::replace(text.begin(), text.end(), '.', ',');
        expected.push_back(std::string(name) + " " + std::to_string(v.second) + " " + text);
    }
    for (const std::string& words : expected)
        EXPECT_NE(pages[0].find(words), std::string::npos) << words << "\n" << pages[0];
    EXPECT_NE(pages[1].find("Carte des écarts types"), std::string::npos);
}

// One triangle over three located nodes, with a decimal comma; `from` becomes `to`.
std::string triangle(const std::string& from = "", const std::string& to = "")
{
    std::string mesh = "[init]\r\nnode=3\r\nmesh=1\r\n[freenodelist]\r\nnodex1=0\r\nnodey1=0\r\n"
                       "nodex2=100\r\nnodey2=0\r\nnodex3=0\r\nnodey3=100\r\n[loadnodelist]\r\n"
                       "nodex1=0\r\nnodey1=0\r\nnodex2=101,5\r\nnodey2=0\r\nnodex3=0\r\n"
                       "nodey3=100\r\n[freemeshlist]\r\nmesh11=1\r\nmesh21=2\r\nmesh31=3\r\n";
    return from.empty() ? mesh : mesh.replace(mesh.find(from), from.size(), to);
}

TEST(BatchProgram, BuildsTheGridFromItsTenValuesThenRemeshesIt)
{
    QTemporaryDir folder;
    writeFile(folder.filePath("empty.MEF"), "[init]\r\nnode=0\r\nmesh=0\r\n");
    // A grid over a rectangle of pixels, its corners in any order: 3 x 2 nodes from pixel
    // (1, 2), 10 pixels apart.
    ASSERT_EQ(run(folder, {"--grid-region=24,13,1,2,10", "--save=region.MEF", "empty.MEF"}).first,
              0);
    const std::string region = fileBytes(folder.filePath("region.MEF"));
    EXPECT_NE(region.find("node=6\r\nmesh=4\r\n[freenodelist]\r\nnodex1=15\r\nnodey1=30\r\n"
                          "nodex2=15\r\nnodey2=180\r\n"),
              std::string::npos)
        << region;

    const QString grid = "--grid=3,2,150,160,1015,990,10,20,30,45";
    for (const auto& [automesh, elements] : {std::pair{"", "mesh=4"}, {"--automesh=200", "mesh=14"}}) {
        QStringList arguments{grid, "--decimal=.", "--save=out.MEF", "empty.MEF"};
        if (*automesh)
            arguments.prepend(automesh);
        ASSERT_EQ(run(folder, arguments).first, 0);
        const std::string out = fileBytes(folder.filePath("out.MEF"));
        EXPECT_NE(out.find(std::string("node=6\r\n") + elements), std::string::npos) << out;
        // Node 2 is the first column's second row, node 3 the second column's first row.
        EXPECT_NE(out.find("[freenodelist]\r\nnodex1=10\r\nnodey1=20\r\nnodex2=10\r\n"
                           "nodey2=180\r\nnodex3=160\r\nnodey3=20\r\n"),
                  std::string::npos);
        EXPECT_NE(out.find("[loadnodelist]\r\nnodex1=30\r\nnodey1=45\r\nnodex2=30\r\n"
                           "nodey2=195\r\nnodex3=195\r\nnodey3=45\r\n"),
                  std::string::npos);
    }
}

// A list of `count` points in pixels, without starting guesses.
std::string pointList(int count)
{
    std::string list = "x,y\n";
    for (int i = 0; i < count; ++i)
        list += std::to_string(i) + ".5,2\n";
    return list;
}

// Every 20th node of the example far from the hole as a list of points at rest, and one off
// the photographs: the correlation finds them with no mesh, and the table of nodes says where.
// Near the hole, points this sparse are too far apart for their neighbours to vouch for them.
TEST(BatchProgram, CorrelatesAListOfPointsWithoutAMeshIntoTheTableOfNodes)
{
    auto exact = std::make_unique<ProjectState>();
    ASSERT_TRUE(readMeshFile(fileBytes(kExample), *exact));
    std::string list = "x_px,y_px\r\n";
    std::vector<int> nodes;
    for (int n = 1; n <= exact->NodeCount; n += 20) {
        const Position& free = exact->FreeNodes[std::size_t(n)];
        if (std::hypot(free.x - example::kHoleCentre.x, free.y - example::kHoleCentre.y) <
            3 * example::kHoleRadius)
            continue;
        list += std::to_string(free.x / 15) + "," + std::to_string(free.y / 15) + "\r\n";
        nodes.push_back(n);
    }
    list += "-300,40\r\n";
    QTemporaryDir folder;
    writeFile(folder.filePath("points.csv"), list);
    const auto [status, err] =
        run(folder, {"--points=points.csv", "--correlate", "--free-image=" + kFreePhoto,
                     "--loaded-image=" + kLoadedPhoto, "--nodes-csv=nodes.csv"});
    ASSERT_EQ(status, 0) << err;
    const std::size_t count = nodes.size() + 1;
    EXPECT_EQ(err, std::to_string(count) + " noeuds et 0 élément(s)\n" +
                       std::to_string(nodes.size()) +
                       " noeud(s) localisé(s) par corrélation, 1 "
                       "non trouvé(s), 0 élément(s) écarté(s) de l'étude\n");
    const auto rows = csvRecords(fileBytes(folder.filePath("nodes.csv")));
    ASSERT_EQ(rows.size(), count + 1);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const auto slot = std::size_t(nodes[i]);
        const auto& row = rows[i + 1];
        // u and v in pixels, loaded minus free; the study's columns empty.
        EXPECT_NEAR(csvNumber(row[5]), (exact->LoadNodes[slot].x - exact->FreeNodes[slot].x) / 15,
                    0.2);
        EXPECT_NEAR(csvNumber(row[6]), (exact->LoadNodes[slot].y - exact->FreeNodes[slot].y) / 15,
                    0.2);
        EXPECT_EQ(std::tuple(row[7], row[8], row[11], row[13], row[14]),
                  std::tuple("", "", "1", "", "0"));
    }
    EXPECT_EQ(
        std::vector(rows[count].begin() + 1, rows[count].end()),
        (std::vector<std::string>{"-300", "40", "", "", "", "", "", "", "", "", "0", "", "", "1"}));

    // Starting guesses, with no correlation, are the loaded positions; a spreadsheet with a
    // decimal comma writes them with ';' after a byte order mark.
    for (const std::string guesses : {"x, y, loaded_x, loaded_y\n1,2,3.5,-4\n",
                                      "\xEF\xBB\xBFx;y;loaded_x;loaded_y\r\n1;2;3,5;-4\r\n"}) {
        writeFile(folder.filePath("guesses.csv"), guesses);
        ASSERT_EQ(run(folder, {"--points=guesses.csv", "--nodes-csv=guesses-nodes.csv"}).first, 0);
        EXPECT_EQ(csvRecords(fileBytes(folder.filePath("guesses-nodes.csv")))[1],
                  (std::vector<std::string>{"1", "1", "2", "3.5", "-4", "2.5", "-6", "", "",
                                            "0.4082482904638631", "0.4082482904638631", "0", "",
                                            "", "0"}));
    }
}

// A tensile test in eight load steps to 40 %: every step's counts, files named by step, and a
// virtual gauge whose strain grows with the load.
TEST(BatchProgram, FollowsASequenceOfLoadStepsIntoFilesPerStepAndAGaugeHistory)
{
    constexpr int kSteps = 8;
    const testing::SyntheticSpeckle speckle(240, 120);
    QTemporaryDir folder;
    const auto save = [&](const QString& name, const GreyImage& grey) {
        const QImage image(grey.levels.data(), grey.width, grey.height, grey.width,
                           QImage::Format_Grayscale8);
        ASSERT_TRUE(image.save(folder.filePath(name)));
    };
    save("free.png", speckle.render([](double&, double&) {}));
    writeFile(folder.filePath("empty.MEF"), "[init]\r\nnode=0\r\nmesh=0\r\n");
    QStringList arguments =
        QString("--grid-region=60,30,180,90,20 --correlate --free-image=free.png --subset=21 "
                "--search=10 --study=sxx --plane-stress --young=1000 --poisson=0.25 "
                "--save=steps.MEF --history-csv=history.csv --gauge=80,40,160,80 empty.MEF")
            .split(' ');
    // Stretched along x about the column 120.
    for (int k = 1; k <= kSteps; ++k) {
        const double s = 1.0 + 0.05 * k;
        const QString name = QString("step%1.png").arg(k);
        save(name, speckle.render([s](double& x, double&) { x = 120 + (x - 120) / s; }));
        arguments << "--loaded-image=" + name;
    }
    const auto [status, err] = run(folder, arguments);
    ASSERT_EQ(status, 0) << err;
    std::string expected = "0 noeuds et 0 élément(s)\n";
    for (int k = 1; k <= kSteps; ++k)
        expected += "Étape " + std::to_string(k) +
                    " : 28 noeud(s) localisé(s) par corrélation, 0 non trouvé(s), 0 élément(s) "
                    "écarté(s) de l'étude\n";
    EXPECT_EQ(err, expected);
    EXPECT_TRUE(QFile::exists(folder.filePath("steps-01.MEF")));
    EXPECT_TRUE(QFile::exists(folder.filePath("steps-08.MEF")));
    EXPECT_FALSE(QFile::exists(folder.filePath("steps.MEF")));

    const auto rows = csvRecords(fileBytes(folder.filePath("history.csv")));
    ASSERT_EQ(rows.size(), std::size_t(kSteps) + 1);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"step", "photograph", "found", "not_found",
                                                 "gauge_triangles", "exx", "eyy", "gxy", "sxx_MPa",
                                                 "syy_MPa", "txy_MPa"}));
    for (int k = 1; k <= kSteps; ++k) {
        const auto& row = rows[std::size_t(k)];
        SCOPED_TRACE(k);
        EXPECT_EQ(std::vector(row.begin(), row.begin() + 5),
                  (std::vector<std::string>{std::to_string(k), "step" + std::to_string(k) + ".png",
                                            "28", "0", "16"}));
        // Linear in the step, as the photographs were stretched; the stresses follow the
        // plane-stress law.
        const double exx = csvNumber(row[5]), eyy = csvNumber(row[6]);
        EXPECT_NEAR(exx, 0.05 * k, 1e-3);
        EXPECT_NEAR(eyy, 0.0, 1e-3);
        EXPECT_NEAR(csvNumber(row[7]), 0.0, 1e-3);
        EXPECT_NEAR(csvNumber(row[8]), 1000 / (1 - 0.0625) * (exx + 0.25 * eyy), 1e-9);
    }
}

// Every refusal: its status, the counts when the file was read that far, then the message on
// standard error, and no output file written or touched, though the study asks for them all.
TEST(BatchProgram, RefusesEveryBadInputLeavingNoFileHalfWritten)
{
    const QString m = "mesh.MEF", g = "--grid=2,2,150,150,1000,1000,0,0,";
    const QStringList all{"--study=vm",        "--nodes-csv=nodes.csv", "--elements-csv=el.csv",
                          "--map-png=map.png", "--sd-map-png=sd.png",   "--save=saved.MEF",
                          m};
    const struct {
        int status;
        QStringList arguments;
        std::string message;
        int nodes = -1, elements = 0; // the counts read, if any
        std::string mesh = triangle();
        // clang-format off
    } refusals[] = {
        {2, {"--study=sxz", m}, "sxx, syy, sxy ou vm"},
        {2, {"--grid=2,2,150", m}, "dix valeurs"},
        {2, {g + "0,10001", m}, "la valeur LY « 10001 » doit être un nombre entier de 0 à 10000"},
        {2, {"--automesh=10", m}, "de 50 à 3000"},
        {2, {"--grid-region=0,0,10,10", m}, "cinq valeurs"},
        {2, {"--grid-region=0,0,10,5,0", m}, "la valeur PAS « 0 » doit être un nombre entier de 1"},
        {2, {"--grid-region=0,0,10,5,6", m}, "rectangle de 10 x 5 pixels : il doit valoir au plus 5"},
        {2, {"--decimal=;", m}, "',' ou '.'"},
        {2, {"--elements-csv=el.csv", m}, "demandent --study"},
        {2, {"--points=p.csv", m}, "--points remplace le fichier de maillage"},
        {2, {"--image=photo.png", m}, "--image ne sert qu'avec une carte"},
        {2, {"--sd-map-png=sd.png", m}, "--report demandent --study"},
        {2, {"--study=vm", "--map-style=lisse", "--map-png=a.png", m},
            "--map-style vaut points, signed ou continuous, pas « lisse »"},
        {2, {"--study=vm", "--map-style=signed", m}, "--map-style ne sert qu'avec"},
        {2, {"--correlate", m}, "--correlate demande les deux photographies"},
        {2, {"--loaded-image=" + kLoadedPhoto, m}, "--loaded-image ne sert qu'avec --correlate"},
        {2, {"--free-image=" + kFreePhoto, m}, "--free-image ne sert qu'avec --correlate, une"},
        {2, {"--search=5", m}, "--subset et --search ne servent qu'avec --correlate"},
        {2, {"--subset=30", m}, "--subset : le côté « 30 » doit être un nombre entier impair de "
            "11 à 101"},
        {2, {"--search=201", m}, "--search : le rayon « 201 » doit être un nombre entier de 0 à "
            "200"},
        {2, {"--correlate=oui", m}, "--correlate ne prend pas de valeur"},
        {2, {"--history-csv=h.csv", "--study=vm", m}, "--history-csv demande --correlate et --study"},
        {2, {"--gauge=0,0,10", m}, "--gauge demande quatre valeurs"},
        {2, {"--gauge=0,0,10,10", m}, "--gauge ne sert qu'avec --history-csv"},
        {2, {"--study=vm", "--correlate", "--free-image=a.png", "--loaded-image=b.png",
             "--save=h.csv", "--history-csv=./h.csv", m}, "écriraient le même"},
        {2, {"--study=vm", "--study=sxx", m}, "--study est donnée deux fois"},
        {2, {"--plane-stress", "--plane-strain", m}, "une seule hypothèse"},
        {2, {"--save", m}, "--save demande une valeur"},
        {2, {"--frobnicate", m}, "option inconnue « --frobnicate »"},
        {2, {"--study=vm"}, "il manque le fichier de maillage"},
        {2, {m, "other.MEF"}, "un seul fichier de maillage"},
        // A mesh file missing, foreign or damaged.
        {1, {"--study=vm", "absent"}, "impossible de lire le fichier de maillage « absent »"},
        {1, all, "« mesh.MEF » n'est pas un fichier de maillage", -1, 0, "nodex1=0\r\n"},
        {1, all, "de sa section [init] n'est pas un nombre", -1, 0, triangle("node=3", "node=tr")},
        {1, all, "le noeud 3 n'est pas localisé sur la structure chargée : la clé nodey3", 2, 0,
            triangle("nodey3=100\r\n[free", "nodey3=\r\n[free")},
        {1, all, "l'élément 1 désigne par sa clé mesh31 le noeud « 4 », qui n'existe pas", 3, 0,
            triangle("mesh31=3", "mesh31=4")},
        {1, all, "le nombre de noeuds de la section [init], « 1500 », n'est pas un nombre", 3, 0,
            triangle("node=3", "node=1500")},
        {1, all, "le noeud 3 n'a pas de position", 2, 0, triangle("nodex3=0", "")},
        {1, all, "--study : le maillage n'a aucun élément", 0, 0, "[init]\r\nmesh=0\r\n"},
        // The example fills 992 of the 1000 triangles; a 4 x 3 grid needs 12.
        {1, all + QStringList{"--grid=4,3,150,150,1000,1000,0,0,0,0"}, "ajouterait 12 noeuds et "
            "12 éléments ; l'étude ne peut plus en prendre que 454 et 8", 546, 992,
            fileBytes(kExample)},
        {1, all + QStringList{"--grid-region=0,0,300,300,1"}, "noeuds et 180000 éléments ; "
            "l'étude ne peut plus en prendre que 454 et 8 (1000 de chaque au plus). Le plus petit "
            "pas qui convient est de 101 pixels.", 546, 992, fileBytes(kExample)},
        // Refused studies and outputs (the photograph is read before any table is written).
        {1, all + QStringList{"--plane-strain", "--poisson=0.5"},
            "Coefficient de Poisson incorrect : en hypothèse de déformations planes", 3, 1},
        {1, all + QStringList{"--young=deux"}, "Module de Young incorrect : « deux »", 3, 1},
        {1, all + QStringList{"--image=absent.png"}, "impossible de lire la photographie", 3, 1},
        {1, all + QStringList{"--free-image=absent.png"},
            "--free-image : impossible de lire la photographie « absent.png »", 3, 1},
        // A photograph to correlate missing or not a picture, found before any study.
        {1, all + QStringList{"--correlate", "--free-image=absent.png",
                              "--loaded-image=" + kLoadedPhoto},
            "--free-image : impossible de lire la photographie « absent.png »", 3, 1},
        {1, all + QStringList{"--correlate", "--free-image=" + kFreePhoto,
                              "--loaded-image=" + kExample},
            "--loaded-image : impossible de lire la photographie « " + kExample.toStdString() +
            " ». Le fichier \"" + kExample.toStdString() +
            "\" n'est pas une photographie JPEG, PNG, TIFF ou BMP.", 3, 1},
        {1, all + QStringList{"--correlate", "--free-image=" + kFreePhoto,
                              "--loaded-image=" + kLoadedPhoto, "--loaded-image=absent.png"},
            "--loaded-image : impossible de lire la photographie de l'étape 2, « absent.png »",
            3, 1},
        {1, {"--study=vm", "--nodes-csv=taken", m}, "impossible d'écrire « taken »", 3, 1},
        {1, {"--save=absent/saved.MEF", m}, "impossible d'écrire « absent/saved.MEF »", 3, 1},
        // A list of points missing or not one, here in the file called mesh.MEF.
        {1, {"--points=absent.csv"}, "impossible de lire la liste de points « absent.csv »"},
        {1, {"--points=" + m, "--nodes-csv=nodes.csv"}, "nommer les colonnes", -1, 0, "1,2\n"},
        {1, {"--points=" + m, "--nodes-csv=nodes.csv"}, "aucun point", -1, 0, "x,y\r\n\r\n"},
        {1, {"--points=" + m, "--nodes-csv=nodes.csv"}, "ligne 3 : 1 valeur(s) au lieu de 2", -1,
            0, "x_px,y_px\n1,2\n3\n"},
        {1, {"--points=" + m, "--nodes-csv=nodes.csv"}, "ligne 2 : « abc » n'est pas", -1, 0,
            "x,y,loaded_x,loaded_y\n1,2,3,abc\n"},
        {1, {"--points=" + m, "--nodes-csv=nodes.csv"}, "ligne 2 : « 1e999 » n'est pas", -1,
            0, "x,y\n1e999,2\n"},
        {1, {"--points=" + m, "--nodes-csv=nodes.csv"}, "plus de 1000 points", -1, 0,
            pointList(1001)},
    }; // clang-format on
    for (const auto& r : refusals) {
        QTemporaryDir folder;
        writeFile(folder.filePath(m), r.mesh);
        writeFile(folder.filePath("nodes.csv"), "une étude précédente\r\n");
        ASSERT_TRUE(QDir(folder.path()).mkdir("taken"));
        SCOPED_TRACE(r.arguments.join(' ').toStdString());
        const auto [status, err] = run(folder, r.arguments);
        const std::string counts = r.nodes < 0 ? ""
                                               : std::to_string(r.nodes) + " noeuds et " +
                                                     std::to_string(r.elements) + " élément(s)\n";
        EXPECT_EQ(status, r.status) << err;
        EXPECT_EQ(err.rfind(counts + "analyse-image-batch : ", 0), 0u) << err;
        EXPECT_NE(err.find(r.message, counts.size()), std::string::npos) << err;
        EXPECT_EQ(files(folder), (QStringList{"mesh.MEF", "nodes.csv"})) << err;
        EXPECT_EQ(fileBytes(folder.filePath("nodes.csv")), "une étude précédente\r\n");
    }
}

} // namespace
} // namespace ai::test
