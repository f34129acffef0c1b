// The index of a saved sequence: written so that it reads back whole, read so that no text
// can make it crash or pass for a sequence it is not.
#include "io/sequence_index.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

using namespace std::string_literals;

// Lines 1 to 4 the header, 5 to 8 step 1, 9 to 12 step 2.
const std::string valid = "sequence-index=1\r\nfree=libre.png\r\nsteps=2\r\nselected=2\r\n"
                          "step=1\r\nphotograph=k1.png\r\nmesh=e-01.MEF\r\nnotfound=\r\n"
                          "step=2\r\nphotograph=k2.png\r\nmesh=e-02.MEF\r\nnotfound=3 7\r\n";

std::string replaced(std::string text, const std::string& part, const std::string& by)
{
    const auto at = text.find(part);
    EXPECT_NE(at, std::string::npos) << part;
    return at == std::string::npos ? text : text.replace(at, part.size(), by);
}

TEST(SequenceIndex, ReadsBackWhatItWroteWithPathsRelativeInsideItsFolder)
{
    const std::string folder = "/essais/traction été";
    const SequenceIndex index{
        .freePhotograph = folder + "/libre 0 %.png",
        .steps = {{folder + "/photos/étape 1.png", folder + "/essai-01.MEF", {}},
                  {"/ailleurs/étape=2.png", folder + "/essai-02.MEF", {2, 17, 1000}},
                  {"C:\\photos\\k3.jpg", folder + "/essai-03.MEF", {5}}},
        .selected = 3};
    const auto text = writeSequenceIndex(index, folder);
    ASSERT_TRUE(text.has_value());
    for (const char* line :
         {"\r\nfree=libre 0 %.png\r\n", "\r\nphotograph=photos/étape 1.png\r\n",
          "\r\nphotograph=/ailleurs/étape=2.png\r\n", "\r\nmesh=essai-02.MEF\r\n",
          "\r\nnotfound=2 17 1000\r\n", "\r\nphotograph=C:\\photos\\k3.jpg\r\n"})
        EXPECT_NE(text->find(line), std::string::npos) << line;
    const auto again = readSequenceIndex(*text, folder);
    EXPECT_EQ(again.error, "");
    EXPECT_EQ(again.index, index);

    // As an editor may leave it: a byte-order mark, LF line ends, blank lines, no last line end.
    std::string edited = "\xEF\xBB\xBF" + valid + "\n";
    for (std::size_t at; (at = edited.find("\r\n")) != std::string::npos;)
        edited.replace(at, 2, "\n\n");
    edited.pop_back();
    edited.pop_back();
    const auto read = readSequenceIndex(edited, "d");
    ASSERT_TRUE(read.index.has_value()) << read.error;
    EXPECT_EQ(*read.index,
              (SequenceIndex{"d/libre.png",
                             {{"d/k1.png", "d/e-01.MEF", {}}, {"d/k2.png", "d/e-02.MEF", {3, 7}}},
                             2}));
    EXPECT_EQ(folderOf("d/essai.sequence"), "d");
    EXPECT_EQ(folderOf("essai.sequence"), "");

    // What could not be read back is not written.
    for (const SequenceIndex& refused :
         {SequenceIndex{"libre.png", {}, 1},
          SequenceIndex{"libre.png", {{"k1\n.png", "e.MEF", {}}}, 1},
          SequenceIndex{"libre.png", {{"k1.png", "e.MEF", {7, 3}}}, 1},
          SequenceIndex{"libre.png", {{"k1.png", "e.MEF", {}}}, 2},
          SequenceIndex{"libre.png", {{"k1.png", std::string(9000, 'e'), {}}}, 1}})
        EXPECT_FALSE(writeSequenceIndex(refused, "").has_value()) << refused.steps.size();
}

TEST(SequenceIndex, RefusesAnyOtherTextNamingTheLine)
{
    const std::string tooLong = "photograph=" + std::string(8192, 'k');
    const struct {
        std::string text, error;
    } cases[] = {
        {"", "Fin de l'index : ce fichier n'est pas un index de séquence."},
        {"[init]\r\nnode=3\r\n", "Ligne 1 : ce fichier n'est pas un index de séquence."},
        {replaced(valid, "index=1", "index=2"),
         "Ligne 1 : version \"2\" de l'index de séquence inconnue."},
        {replaced(valid, "steps=2", "steps=10001"),
         "Ligne 3 : nombre d'étapes \"10001\" invalide : de 1 à 10000 attendu."},
        {replaced(valid, "selected=2", "selected=3"),
         "Ligne 5 : étape choisie 3 au-delà des 2 étapes."},
        {replaced(valid, "selected=2\r\n", ""),
         "Ligne 4 : \"selected\" manque avant la première étape."},
        {replaced(valid, "steps=2", "steps=3"), "Fin de l'index : l'étape 3 manque."},
        {replaced(valid, "steps=2\r\nselected=2", "steps=1\r\nselected=1"),
         "Ligne 9 : étape en trop : l'index en annonce 1."},
        {replaced(valid, "step=2", "step=3"), "Ligne 9 : étape 2 attendue, \"3\" trouvée."},
        {replaced(valid, "mesh=e-01.MEF\r\n", ""), "Ligne 8 : \"mesh\" manque à l'étape 1."},
        {replaced(valid, "photograph=k2.png\r\n", ""),
         "Fin de l'index : \"photograph\" manque à l'étape 2."},
        {replaced(valid, "photograph=k1.png", tooLong),
         "Ligne 6 : ligne trop longue (plus de 8192 octets)."},
        {replaced(valid, "mesh=e-01.MEF", "mesh="), "Ligne 7 : chemin vide."},
        {replaced(valid, "mesh=e-01.MEF", "mesh=e\0.MEF"s), "Ligne 7 : caractère nul."},
        {replaced(valid, "k2.png\r\n", "k2.png\r\nmesh=x.MEF\r\n"),
         "Ligne 12 : \"mesh\" déjà donnée."},
        {replaced(valid, "free=", "libre="), "Ligne 2 : clé \"libre\" inconnue."},
        {replaced(valid, "step=1\r\n", ""), "Ligne 5 : \"photograph\" avant la première étape."},
        {replaced(valid, "notfound=3 7", "notfound=7 3"),
         "Ligne 12 : liste de noeuds \"7 3\" invalide : des numéros de 1 à 1000 croissants "
         "attendus."},
        {replaced(valid, "notfound=3 7", "notfound=1001"),
         "Ligne 12 : liste de noeuds \"1001\" invalide : des numéros de 1 à 1000 croissants "
         "attendus."},
        {replaced(valid, "notfound=\r\n", "notfound\r\n"), "Ligne 8 : ligne sans \"=\"."},
    };
    for (const auto& c : cases) {
        const auto read = readSequenceIndex(c.text, "d");
        EXPECT_FALSE(read.index.has_value()) << c.error;
        EXPECT_EQ(read.error, c.error);
    }
}

} // namespace
} // namespace ai
