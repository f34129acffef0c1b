// The menu bar of the main window. Object names are the menu names; entries that hold a
// submenu have no command of their own.
#include "ui/form1.h"

#include <QAction>
#include <QActionGroup>
#include <QMenuBar>

namespace ai::ui {

namespace {

QMenu* submenu(QWidget* parent, const char* name, const char* caption)
{
    QMenu* menu = nullptr;
    if (auto* bar = qobject_cast<QMenuBar*>(parent))
        menu = bar->addMenu(QString::fromUtf8(caption));
    else
        menu = static_cast<QMenu*>(parent)->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

void Form1::addCommand(QMenu* menu, const char* name, const char* caption, Command command)
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    commands_.emplace_back(action, command);
}

void Form1::buildMenus()
{
    QMenuBar* bar = menuBar();
    using C = MainController;

    QMenu* image = submenu(bar, "image", "Import d'images");
    addCommand(image, "imgcharge", "Structure chargée", &C::imgcharge);
    addCommand(image, "imagelibre", "Structure libre", &C::imagelibre);
    addCommand(image, "imgsequence", "Séquence chargée…", &C::imgsequence);

    QMenu* meshmenu = submenu(bar, "meshmenu", "Maillage");
    QMenu* erase = submenu(meshmenu, "erase", "Effacement");
    addCommand(erase, "effder", "Effacer dernier élément", &C::effder);
    addCommand(erase, "effmesh", "Effacer le maillage", &C::effmesh);
    addCommand(erase, "eff", "Effacer tout", &C::eff);
    addCommand(meshmenu, "node", "Créer des noeuds", &C::node);
    addCommand(meshmenu, "manumesh", "Maillage manuel", &C::manumesh);
    addCommand(meshmenu, "mesh", "Maillage automatique", &C::mesh);
    addCommand(meshmenu, "automesh", "Structure maillée", &C::automesh);
    QMenu* io = submenu(meshmenu, "io", "I/O");
    addCommand(io, "save", "Sauvegarde", &C::save);
    addCommand(io, "open", "Ouverture", &C::open);
    addCommand(io, "enregistrersequence", "Enregistrer la séquence", &C::enregistrersequence);
    addCommand(io, "ouvrirsequence", "Ouvrir une séquence", &C::ouvrirsequence);
    addCommand(meshmenu, "grilleregion", "Grille sur une région", &C::grilleregion);

    QMenu* study = submenu(bar, "study", "Etude");
    QMenu* ctrtpla = submenu(study, "ctrtpla", "Hypothèse de contraintes planes");
    addCommand(ctrtpla, "sxxctrteplane", "Sigma xx", &C::sxxctrteplane);
    addCommand(ctrtpla, "syyctrteplane", "Sigma yy", &C::syyctrteplane);
    addCommand(ctrtpla, "sxyctrteplane", "Sigma xy (cisaillement)", &C::sxyctrteplane);
    addCommand(ctrtpla, "vonmiesectrteplane", "Contrainte de Von-Mises", &C::vonmiesectrteplane);
    QMenu* defpla = submenu(study, "defpla", "Hypothèse de déformations planes");
    addCommand(defpla, "sxxdefplane", "Sigma xx", &C::sxxdefplane);
    addCommand(defpla, "syydefplane", "Sigma yy", &C::syydefplane);
    addCommand(defpla, "sxydefplane", "Sigma xy (cisaillement)", &C::sxydefplane);
    addCommand(defpla, "vonmisesdefplane", "Contrainte de Von-Mises", &C::vonmisesdefplane);

    QMenu* arret = submenu(bar, "arret", "Arret");
    addCommand(arret, "stopcmd", "Stop", &C::stopcmd);
    commands_.back().first->setShortcut(QKeySequence(Qt::Key_Delete));

    QMenu* correlation = submenu(bar, "correlation", "Corrélation");
    addCommand(correlation, "localisercorrelation", "Localiser les noeuds par corrélation",
               &C::localisercorrelation);
    assisted_ = correlation->addAction(QString::fromUtf8("Localisation assistée"));
    assisted_->setObjectName(QStringLiteral("localisationassistee"));
    assisted_->setCheckable(true);
    QMenu* sizes = submenu(correlation, "tailleimagettes", "Taille des imagettes");
    auto* group = new QActionGroup(sizes);
    for (const int pixels : {21, 31, 41, 61}) {
        QAction* size = sizes->addAction(QString::number(pixels) + QStringLiteral(" pixels"));
        size->setObjectName(QStringLiteral("imagettes%1").arg(pixels));
        size->setCheckable(true);
        group->addAction(size);
        subsetSizes_.emplace_back(size, pixels);
    }

    QMenu* courbes = submenu(bar, "courbes", "Courbes");
    addCommand(courbes, "courbesnoeuds", "Noeuds", &C::courbesnoeuds);
    addCommand(courbes, "courbeselements", "Triangles", &C::courbeselements);
    addCommand(courbes, "jaugevirtuelle", "Jauge virtuelle", &C::jaugevirtuelle);
    addCommand(courbes, "extensometrevirtuel", "Extensomètre virtuel", &C::extensometrevirtuel);
    QMenu* quantities = submenu(courbes, "grandeurcourbe", "Grandeur");
    auto* quantityGroup = new QActionGroup(quantities);
    const char* names[] = {"u", "v", "exx", "eyy", "gxy", "sxx", "syy", "txy", "vonmises"};
    for (std::size_t i = 0; i < std::size(kHistoryQuantities); ++i) {
        const HistoryQuantity quantity = kHistoryQuantities[i];
        QAction* entry = quantities->addAction(
            QString::fromUtf8(std::string(quantityName(quantity)).c_str()));
        entry->setObjectName(QStringLiteral("grandeur") + QLatin1String(names[i]));
        entry->setCheckable(true);
        quantityGroup->addAction(entry);
        curveQuantities_.emplace_back(entry, quantity);
    }
    addCommand(courbes, "affichercourbe", "Afficher la courbe", &C::affichercourbe);
}

// The views' zoom is the window's own affair: the core only learns the zoom, for picking.
void Form1::buildViewMenu()
{
    QMenu* view = submenu(menuBar(), "affichage", "Affichage");
    const auto add = [&](const char* name, const char* caption, const QKeySequence& keys,
                         auto change) {
        QAction* action = view->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, change] { change(placement_); });
    };
    add("taillereelle", "Taille réelle", QKeySequence(Qt::CTRL | Qt::Key_1),
        [](ViewsPlacement& p) { p.naturalSize(); });
    add("ajuster", "Ajuster à la vue", QKeySequence(Qt::CTRL | Qt::Key_0),
        [](ViewsPlacement& p) { p.fit(); });
    add("zoomavant", "Zoom avant", QKeySequence(QKeySequence::ZoomIn),
        [](ViewsPlacement& p) { p.zoomBy(2); });
    add("zoomarriere", "Zoom arrière", QKeySequence(QKeySequence::ZoomOut),
        [](ViewsPlacement& p) { p.zoomBy(0.5); });
}

} // namespace ai::ui
