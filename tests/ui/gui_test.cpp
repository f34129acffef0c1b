// GUI tests: the whole application over fakes of the modal ports, on Qt's offscreen platform,
// driven by real pointer and key events through its windows.
#include "analysis/stress_map.h"
#include "analysis/study.h"
#include "render/views_redraw.h"
#include "shell/bar_value_text.h"
#include "shell/status_text.h"
#include "support/fakes.h"
#include "support/gui_driving.h"
#include "support/pdf_text.h"
#include "support/study_builder.h"
#include "ui/application.h"
#include "ui/form2.h"
#include "ui/image_view_widget.h"
#include "ui/map_canvas.h"
#include "ui/picture_file.h"
#include "ui/qt_file_store.h"
#include "ui/qt_number_dialog.h"
#include "ui/qt_photograph_source.h"
#include "ui/qt_progress.h"
#include "ui/styled_map_painter.h"
#include "ui/wrapping_button.h"

#include <QActionGroup>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QImageWriter>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressDialog>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <tuple>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

constexpr QRgb kRed = 0xFF0000u, kBlue = 0x0000FFu, kHighlight = 0x0078D7u;
QRgb rgbAt(const QImage& image, QPoint at) { return image.pixel(at) & 0xFFFFFFu; }
QPointF at(const Position& p) { return {p.x, p.y}; }
void expectNear(QPointF a, QPointF b, double tolerance)
{
    EXPECT_NEAR(a.x(), b.x(), tolerance);
    EXPECT_NEAR(a.y(), b.y(), tolerance);
}

// A picture whose pixel (x, y) has the colour colour(x, y).
template <class Colour> QImage painted(QSize size, Colour colour)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, colour(x, y));
    return image;
}

// What a widget shows inside its border (a view's: one pixel per view pixel).
QImage shown(QWidget& widget) { return widget.grab(widget.contentsRect()).toImage(); }

// Pointer events through the window under a widget, at a position in the widget's pixels.
using enum QTest::MouseAction;
void mouse(QWidget* widget, QPoint at,
           std::initializer_list<QTest::MouseAction> actions = {MouseMove, MousePress,
                                                                MouseRelease},
           Qt::MouseButton button = Qt::LeftButton)
{
    for (const QTest::MouseAction action : actions)
        QTest::mouseEvent(action, widget->window()->windowHandle(), button, {},
                          widget->mapTo(widget->window(), at));
}

struct GuiHarness : ShownWindows {
    ui::ImageViewWidget& picture1 = form1.picture1();
    ui::ImageViewWidget& picture2 = form1.picture2();
    const ProjectState& state = app.controller().state();
    QTemporaryDir folder; // for the files a test writes

    template <class W = QWidget> W* control(const char* name) { return form1.findChild<W*>(name); }
    std::string status() { return control<QLabel>("Label1")->text().toStdString(); }
    void moveOver(const char* name) { mouse(control(name), {5, 5}, {MouseMove}); }
    void moveOverBackground() { mouse(form1.centralWidget(), {1012, 100}, {MouseMove}); }
    // A click on a view at a position in view units, 15 a pixel.
    void clickView(ui::ImageViewWidget& view, int X, int Y)
    {
        mouse(&view, view.contentsRect().topLeft() + QPoint(X / 15, Y / 15));
    }

    void chooseMenu(std::initializer_list<const char*> path) { test::chooseMenu(form1, path); }

    void typeInto(const char* name, const char* text)
    {
        QTest::mouseClick(control(name), Qt::LeftButton);
        QTest::keyClick(control(name), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(control(name), QString::fromUtf8(text));
    }

    // A file of the test's folder holding `bytes`, a picture, or one of one colour; its path.
    std::string write(const char* name, const QByteArray& bytes)
    {
        QFile out(folder.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        return out.fileName().toStdString();
    }
    std::string write(const char* name, const QImage& image, const char* format = "BMP")
    {
        EXPECT_TRUE(QImageWriter(folder.filePath(name), format).write(image)) << name;
        return folder.filePath(name).toStdString();
    }
    std::string write(const char* name, QSize size, QColor colour, const char* format = "BMP")
    {
        return write(name, painted(size, [&](int, int) { return colour.rgb(); }), format);
    }

    // Imports the photographs given, free then loaded, and opens a mesh file holding `mesh`.
    void openStudy(std::initializer_list<std::string> photographs, const std::string& mesh)
    {
        const char* imports[] = {"imagelibre", "imgcharge"};
        for (const std::string& photograph : photographs) {
            dialogs.answers = {photograph};
            chooseMenu({"image", imports[&photograph - photographs.begin()]});
        }
        files.files["ouvert.MEF"] = mesh;
        dialogs.answers = {"ouvert.MEF"};
        chooseMenu({"meshmenu", "io", "open"});
    }
};

// --- The main window: its start state, and the pointer, keys, panels and bars bound to the core.

// The menu tree as "name caption;" entries, each '>' a level down, "[ ]" or "[x]" after a
// checkable one and "(x)" after a checked entry of an exclusive group; every entry enabled.
std::string menuTree(QWidget* menu, const std::string& depth = {})
{
    std::string tree;
    for (QAction* a : menu->actions()) {
        EXPECT_TRUE(a->isEnabled() && a->isVisible());
        const QObject* named = a->menu() ? static_cast<QObject*>(a->menu()) : a;
        const bool radio = a->actionGroup() && a->actionGroup()->isExclusive();
        const char* check = !a->isCheckable() ? ""
                            : radio           ? (a->isChecked() ? " (x)" : " ( )")
                            : a->isChecked()  ? " [x]"
                                              : " [ ]";
        tree += depth + (named->objectName() + ' ' + a->text() + check + ';').toStdString();
        tree += a->menu() ? menuTree(a->menu(), depth + '>') : "";
    }
    return tree;
}

TEST(MainWindow, StartsWithItsControlsTextsBarsAndMenus)
{
    GuiHarness gui;
    EXPECT_EQ(gui.form1.windowTitle(), QStringLiteral("Analyse d'image"));
    EXPECT_FALSE(gui.form1.windowIcon().isNull());
    EXPECT_EQ(gui.form1.centralWidget()->size(), QSize(1016, 714));
    EXPECT_TRUE(gui.form1.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(gui.control("Frame4")->parentWidget(), &gui.picture1); // above the view

    QStringList shownNames, captions;
    for (QWidget* w : gui.form1.centralWidget()->findChildren<QWidget*>()) {
        const QString caption = w->property("text").toString() + w->property("title").toString();
        if (w->isVisible() && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
            shownNames << w->objectName();
        if (!caption.isEmpty())
            captions << w->objectName() + '=' + caption;
    }
    shownNames.sort();
    captions.sort();
    EXPECT_EQ(shownNames.join(' ').toStdString(), "Label1 Label7 Picture1 Picture2 Pointeur");
    EXPECT_EQ(captions.join('|').toStdString(),
              "Command1=Nombre de noeuds|Command2=Dimensions|Command3=Déformation |"
              "Command4=Déplact libre|Command5=Déplct chargé|Command6=Valider|Command7=Valider|"
              "Frame1=Matériau|Frame3=Structure maillée|Frame4=Maillage automatique|"
              "Label1=Attente de commandes|Label2=Module de Young en MPa|"
              "Label3=Coefficient de Poisson|Label5=Matériau|Label7=+|Pointeur=zoom 100 %|"
              "Text1=1|Text2=0,47");
    for (std::size_t i = 0; i < kBarCount; ++i) {
        const BarRange r = barRange(static_cast<Bar>(i));
        const std::string name = (i % 2 ? "VScroll" : "HScroll") + std::to_string(i / 2 + 1);
        auto* bar = gui.control<QScrollBar>(name.c_str());
        EXPECT_EQ(
            (std::array{bar->minimum(), bar->maximum(), bar->singleStep(), bar->pageStep(),
                        bar->value(), int(bar->orientation())}),
            (std::array{r.minimum, r.maximum, r.smallStep, r.largeStep, r.initial, i % 2 ? 2 : 1}))
            << name;
    }
    gui.form1.setBarValue(Bar::HScroll3, 77); // the core moving a bar is no change by the user
    EXPECT_EQ(gui.app.controller().barValue(Bar::HScroll3), 1000);

    EXPECT_EQ(
        menuTree(gui.form1.menuBar()),
        "image Import d'images;>imgcharge Structure chargée;>imagelibre Structure libre;"
        ">imgsequence Séquence chargée…;"
        "meshmenu Maillage;>erase Effacement;>>effder Effacer dernier élément;"
        ">>effmesh Effacer le maillage;>>eff Effacer tout;>node Créer des noeuds;"
        ">manumesh Maillage manuel;>mesh Maillage automatique;>automesh Structure maillée;"
        ">io I/O;>>save Sauvegarde;>>open Ouverture;"
        ">>enregistrersequence Enregistrer la séquence;>>ouvrirsequence Ouvrir une séquence;"
        ">grilleregion Grille sur une région;"
        "study Etude;"
        ">ctrtpla Hypothèse de contraintes planes;>>sxxctrteplane Sigma xx;"
        ">>syyctrteplane Sigma yy;>>sxyctrteplane Sigma xy (cisaillement);"
        ">>vonmiesectrteplane Contrainte de Von-Mises;"
        ">defpla Hypothèse de déformations planes;>>sxxdefplane Sigma xx;"
        ">>syydefplane Sigma yy;>>sxydefplane Sigma xy (cisaillement);"
        ">>vonmisesdefplane Contrainte de Von-Mises;arret Arret;>stopcmd Stop;"
        "correlation Corrélation;>localisercorrelation Localiser les noeuds par corrélation;"
        ">localisationassistee Localisation assistée [ ];"
        ">tailleimagettes Taille des imagettes;>>imagettes21 21 pixels ( );"
        ">>imagettes31 31 pixels (x);>>imagettes41 41 pixels ( );>>imagettes61 61 pixels ( );"
        "courbes Courbes;>courbesnoeuds Noeuds;>courbeselements Triangles;"
        ">jaugevirtuelle Jauge virtuelle;>extensometrevirtuel Extensomètre virtuel;"
        ">grandeurcourbe Grandeur;>>grandeuru u ( );>>grandeurv v ( );>>grandeurexx εxx (x);"
        ">>grandeureyy εyy ( );>>grandeurgxy γxy ( );>>grandeursxx σxx ( );"
        ">>grandeursyy σyy ( );>>grandeurtxy τxy ( );>>grandeurvonmises Von Mises ( );"
        ">affichercourbe Afficher la courbe;"
        "affichage Affichage;>taillereelle Taille réelle;>ajuster Ajuster à la vue;"
        ">zoomavant Zoom avant;>zoomarriere Zoom arrière;");
}

// The pixels a text paints when drawn in `room` with `flags` and nothing clips it: what the
// user would see of it, blank lines above and below the letters left out.
QRect inkOf(const QWidget* w, const QRect& room, int flags, const QString& text)
{
    const QPoint margin(200, 200);
    QImage image(room.size() + 2 * QSize(margin.x(), margin.y()), QImage::Format_ARGB32);
    // At the screen's resolution, or the points of the font would be taken for pixels.
    image.setDotsPerMeterX(qRound(w->logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(qRound(w->logicalDpiY() / 0.0254));
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(w->font());
    painter.drawText(QRect(margin, room.size()), flags | Qt::TextDontClip, text);
    painter.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                ink |= QRect(x, y, 1, 1);
    return ink.translated(room.topLeft() - margin);
}

// Where a control shows its caption, and what the caption paints, in the control's pixels;
// nothing for a control without a caption of its own (views, bars, text boxes).
struct CaptionPlace {
    QRect room;
    QRect needed;
};

std::optional<CaptionPlace> captionPlace(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const QRect room = label->contentsRect().marginsRemoved(
            QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return CaptionPlace{room, inkOf(w, room, flags, label->text())};
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room = w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, w);
        const int wraps = qobject_cast<ui::WrappingButton*>(w) ? Qt::TextWordWrap : 0;
        return CaptionPlace{room, inkOf(w, room, Qt::AlignCenter | wraps, option.text)};
    }
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        if (box->isFlat())
            option.features |= QStyleOptionFrame::Flat;
        return CaptionPlace{box->rect(), w->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                                    QStyle::SC_GroupBoxLabel, w)};
    }
    if (qobject_cast<QAbstractButton*>(w)) // option buttons and check boxes
        return CaptionPlace{w->rect(), QRect(QPoint(0, 0), w->sizeHint())};
    return std::nullopt;
}

bool captionFits(QWidget* w)
{
    const auto place = captionPlace(w);
    return !place || place->room.contains(place->needed);
}

// Every control of the window whose caption does not fit where it is shown, and every menu
// entry that does not show whole: "name: caption" lines.
QStringList captionsCut(QWidget& window)
{
    QStringList cut;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->objectName().startsWith("qt_"))
            continue;
        if (!captionFits(w))
            cut << w->objectName() + ": " +
                       (w->property("text").toString() + w->property("title").toString());
    }
    for (QMenuBar* bar : window.findChildren<QMenuBar*>())
        for (QAction* a : bar->actions()) {
            const QRect at = bar->actionGeometry(a);
            if (at.isEmpty() || !bar->rect().contains(at) ||
                QFontMetrics(bar->font()).horizontalAdvance(QString(a->text()).remove('&')) >
                    at.width())
                cut << "menu bar: " + a->text();
        }
    for (QMenu* menu : window.findChildren<QMenu*>()) {
        const QFontMetrics metrics(menu->font());
        const QRect screen = menu->screen()->availableGeometry();
        if (menu->sizeHint().width() > screen.width())
            cut << menu->objectName() + ": wider than the screen";
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && metrics.horizontalAdvance(QString(a->text()).remove('&')) >
                                         menu->actionGeometry(a).width())
                cut << menu->objectName() + ": " + a->text();
    }
    return cut;
}

TEST(Captions, EveryControlAndMenuEntryOfBothWindowsShowsItsCaptionWhole)
{
    GuiHarness gui;
    ui::Form2& map = gui.app.form2();
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    EXPECT_EQ(captionsCut(gui.form1).join('\n').toStdString(), "");
    EXPECT_EQ(captionsCut(map).join('\n').toStdString(), "");

    // The texts the status line and the map's title take in turn.
    QStringList cut;
    auto* status = gui.control<QLabel>("Label1");
    for (const std::string_view text :
         {status::Waiting, status::NodeMoved, status::CreatePrompt, status::LocatePrompt,
          status::FirstPick, status::SecondPick, status::ThirdPick, status::Dragging,
          status::Stopped, status::Erased, status::GridChanged, status::AutoMeshed,
          status::Computing, status::Computed}) {
        status->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
        cut << (captionFits(status) ? QString() : status->text());
    }
    auto* title = map.findChild<QLabel*>("Label1");
    for (const Component c :
         {Component::Sxx, Component::Syy, Component::Sxy, Component::VonMises}) {
        map.setTitle(mapTitle(c));
        cut << (captionFits(title) ? QString() : title->text());
    }
    cut.removeAll(QString());
    EXPECT_EQ(cut.join('\n').toStdString(), "");
    // The title is centred and in italic.
    EXPECT_TRUE(title->font().italic() && title->alignment() == Qt::AlignCenter);
}

TEST(QtTexts, TheNumberDialogAsksWithItsTitleAndLabelAndGivesTheNumberTypedOrNothing)
{
    ui::QtNumberDialog dialog;
    for (const auto& [key, expected] :
         {std::pair{Qt::Key_Return, std::optional(17)}, {Qt::Key_Escape, std::nullopt}}) {
        QString title, label;
        QTimer::singleShot(0, [&, key = key] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            title = box->windowTitle();
            label = box->labelText();
            auto* spin = box->findChild<QSpinBox*>();
            QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(spin, QStringLiteral("17"));
            QTest::keyClick(spin, key);
        });
        EXPECT_EQ(dialog.wholeNumber("Grille sur une région", "Pas :", 10, 1, 40), expected);
        EXPECT_EQ(title + '|' + label, QStringLiteral("Grille sur une région|Pas :"));
    }
}

TEST(QtTexts, FileDialogsAndStandardButtonsSpeakFrenchOnceTheApplicationIsSetUp)
{
    GuiHarness gui;
    QFileDialog dialog(&gui.form1, QStringLiteral("Récupérer un fichier image"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
    ASSERT_TRUE(buttons && buttons->button(QDialogButtonBox::Cancel));
    EXPECT_EQ((QStringList{dialog.findChild<QLabel*>("lookInLabel")->text(),
                           dialog.findChild<QLabel*>("fileNameLabel")->text(),
                           buttons->button(QDialogButtonBox::Cancel)->text()})
                  .join('|')
                  .toStdString(),
              "Voir dans :|&Nom de fichier :|Annuler");
}

TEST(Pointer, ClicksMakeANodeAndStopByTheDelKeyTurnsAPickIntoADragThatLeavesTheView)
{
    GuiHarness gui;
    ui::ImageViewWidget& view = gui.picture1;
    const QPoint inside = view.contentsRect().topLeft();
    gui.chooseMenu({"meshmenu", "node"});
    gui.clickView(view, 1500, 750);
    gui.clickView(gui.picture2, 1650, 900);
    EXPECT_EQ(at(gui.state.FreeNodes[1]), QPointF(1500, 750));
    EXPECT_EQ(at(gui.state.LoadNodes[1]), QPointF(1650, 900));
    gui.moveOverBackground(); // redraws both views
    EXPECT_EQ(rgbAt(shown(view), {101, 50}), kRed);
    EXPECT_EQ(rgbAt(shown(gui.picture2), {110, 59}), kRed);

    gui.chooseMenu({"meshmenu", "manumesh"});
    gui.clickView(view, 1500, 750);
    QTest::keyClick(&gui.form1, Qt::Key_Delete);
    EXPECT_EQ(gui.status(), "Attente de commandes");
    mouse(&view, inside + QPoint(100, 50), {MousePress});
    EXPECT_EQ(gui.status(), "Glisser pour déposer ce noeud.");
    mouse(&view, inside + QPoint(-8, 198), {MouseMove}); // left of the view: a negative x
    EXPECT_EQ(at(gui.state.FreeNodes[1]), QPointF(-120, 2970));
    mouse(&view, inside + QPoint(298, 398), {MouseMove}); // over the loaded view
    mouse(&view, inside + QPoint(298, 398), {MouseRelease});
    EXPECT_EQ(at(gui.state.FreeNodes[1]), QPointF(4470, 5970));
    EXPECT_EQ(gui.status(), "Noeud déplacé.");
    EXPECT_NE(rgbAt(shown(view), {101, 50}), kRed);
}

TEST(Pointer, HoverRevealsTheMaterialPanelUntilTheNextDrawingRedraw)
{
    GuiHarness gui;
    QWidget* frame1 = gui.control("Frame1");
    ASSERT_EQ(gui.picture2.importPicture(gui.write("blue.bmp", {1001, 345}, Qt::blue)), "");
    gui.moveOver("Label7");
    gui.moveOver("Label5");
    EXPECT_TRUE(frame1->isVisible());
    // The panel lies above the loaded view and hides the photograph under it.
    const QRgb panel = gui.form1.grab().toImage().pixel(frame1->mapTo(&gui.form1, QPoint(4, 100)));
    EXPECT_GT(qRed(panel), 128) << "not the blue photograph";
    // Under a drawing mode, movements over the panel and the two labels are not the window's.
    gui.chooseMenu({"meshmenu", "node"});
    for (const char* name : {"Frame1", "Label7", "Label5"})
        gui.moveOver(name);
    EXPECT_TRUE(frame1->isVisible());
    gui.moveOverBackground();
    EXPECT_FALSE(frame1->isVisible() || gui.control("Label5")->isVisible());
}

TEST(MeshPanels, CommandsAndValiderButtonsShowAndHideThem)
{
    GuiHarness gui;
    QWidget* frame3 = gui.control("Frame3");
    QWidget* frame4 = gui.control("Frame4");
    gui.chooseMenu({"meshmenu", "automesh"});
    EXPECT_TRUE(frame3->isVisible() && !frame4->isVisible());
    mouse(gui.control("Command6"), {20, 10});
    EXPECT_FALSE(frame3->isVisible());
    gui.chooseMenu({"meshmenu", "mesh"});
    EXPECT_TRUE(frame4->isVisible());
    mouse(gui.control("Command7"), {20, 10});
    EXPECT_FALSE(frame4->isVisible());
}

TEST(MeshPanels, AGridOverARegionDraggedOnTheFreeViewShowsItsBandThenItsTriangles)
{
    GuiHarness gui;
    ui::ImageViewWidget& view = gui.picture1;
    const QPoint inside = view.contentsRect().topLeft();
    constexpr QRgb kBand = 0xFFC800u;
    gui.numbers.answers.push_back(10);
    gui.chooseMenu({"meshmenu", "grilleregion"});
    mouse(&view, inside + QPoint(20, 10), {MouseMove, MousePress});
    mouse(&view, inside + QPoint(52, 31), {MouseMove});
    EXPECT_EQ(std::tuple(rgbAt(shown(view), {36, 10}), rgbAt(shown(view), {52, 20})),
              std::tuple(kBand, kBand));
    mouse(&view, inside + QPoint(52, 31), {MouseRelease});

    // 4 x 3 nodes 10 pixels apart from pixel (20, 10); the band is gone, the edges are drawn.
    EXPECT_EQ(std::tuple(gui.state.NodeCount, gui.state.ElementCount, gui.status()),
              std::tuple(12, 12, std::string("Attente de commandes")));
    EXPECT_EQ(std::tuple(at(gui.state.FreeNodes[12]), at(gui.state.LoadNodes[12])),
              std::tuple(QPointF(750, 450), QPointF(750, 450)));
    EXPECT_EQ(std::tuple(rgbAt(shown(view), {25, 10}), rgbAt(shown(view), {52, 20})),
              std::tuple(kHighlight, 0xFFFFFFu & shown(view).pixel(60, 40)));
}

// Where a scroll bar's part is, as its style says: the first pixel of its middle row on it.
QPoint partOf(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->sliderPosition();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
}

TEST(MeshPanels, EachBarSaysItsValueInPixelsUnderThePointerAndWhileItIsMoved)
{
    GuiHarness gui;
    const auto tip = [] {
        EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }));
        return QToolTip::text().toStdString();
    };
    // The grid bars' thumbs lie under their captions' buttons: the user points at the arrows.
    gui.chooseMenu({"meshmenu", "automesh"});
    auto* spacing = gui.control<QScrollBar>("HScroll2");
    mouse(spacing, partOf(spacing, QStyle::SC_ScrollBarAddLine), {MouseMove});
    EXPECT_EQ(tip(), "Espacement en x : 10 px");
    mouse(spacing, partOf(spacing, QStyle::SC_ScrollBarAddLine), {MousePress, MouseRelease});
    EXPECT_EQ(std::tuple(spacing->value(), tip()), std::tuple(170, "Espacement en x : 11,33 px"));

    // Held on an arrow, the bar shows the value it steps to; it still shows it once released.
    gui.chooseMenu({"meshmenu", "mesh"});
    auto* distance = gui.control<QScrollBar>("HScroll6");
    const QPoint arrow = partOf(distance, QStyle::SC_ScrollBarAddLine);
    mouse(distance, arrow, {MouseMove, MousePress});
    EXPECT_EQ(tip(), "Distance de voisinage : 28 px");
    mouse(distance, arrow, {MouseRelease});
    EXPECT_EQ(std::tuple(gui.app.controller().barValue(Bar::HScroll6), tip()),
              std::tuple(420, "Distance de voisinage : 28 px"));

    // Moved by the core, a bar's tool tip follows.
    gui.form1.setBarValue(Bar::HScroll6, 3000);
    EXPECT_EQ(distance->toolTip().toStdString(), "Distance de voisinage : 200 px");
}

// --- The picture views.

TEST(PictureView, KeepsOnlyWhatTheViewShowsAndDecodesItAgainOnlyWhenTheFileChanges)
{
    GuiHarness gui;
    ui::ImageViewWidget& view = gui.picture1;
    // Fitted at a zoom of 0.16: decoded at a quarter, the largest reduction that still gives
    // a pixel for each pixel on the screen.
    ASSERT_EQ(view.importPicture(gui.write("large.png", {3000, 2000}, Qt::blue, "PNG")), "");
    EXPECT_EQ(view.picture().size(), QSize(750, 500));
    // Rewritten with its size and time kept: not decoded again; written since: decoded again;
    // gone: an empty view.
    const std::string photo = gui.write("photo.bmp", {400, 200}, Qt::blue);
    ASSERT_EQ(view.importPicture(photo), "");
    const auto stamp = std::filesystem::last_write_time(photo);
    gui.write("photo.bmp", {400, 200}, Qt::green);
    std::filesystem::last_write_time(photo, stamp);
    view.restorePicture(photo);
    EXPECT_EQ(rgbAt(shown(view), {10, 10}), kBlue);
    std::filesystem::last_write_time(photo, stamp + std::chrono::seconds(5));
    view.restorePicture(photo);
    EXPECT_EQ(rgbAt(shown(view), {10, 10}), 0x00FF00u);
    std::filesystem::remove(photo);
    view.restorePicture(photo);
    EXPECT_TRUE(view.picture().isNull());
}

// What a view must show: its photograph, a red pixel at each arm of every mark, then the
// edges over them, painted primitive by primitive as the core sends them.
QImage expectedView(const QImage& photograph, QSize inside, const RecordingView& drawn)
{
    QImage image(inside, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawImage(QPoint(0, 0), photograph);
    QPen pen;
    pen.setCapStyle(Qt::SquareCap);
    const auto pixel = [](float units) { return static_cast<int>(std::floor(units / 15.0 + 0.5)); };
    for (const auto& p : drawn.points) {
        pen.setColor(QColor(p.colour.red, p.colour.green, p.colour.blue));
        painter.setPen(pen);
        painter.drawPoint(pixel(p.x), pixel(p.y));
    }
    for (const auto& l : drawn.lines) {
        pen.setColor(QColor(l.colour.red, l.colour.green, l.colour.blue));
        painter.setPen(pen);
        painter.drawLine(pixel(l.x1), pixel(l.y1), pixel(l.x2), pixel(l.y2));
    }
    return image;
}

// Pixel for pixel, the views show their photograph and drawing after a redraw that draws,
// after redraws that find the drawing unchanged and leave it, and after a change undone.
TEST(PictureView, ShowsTheSamePixelsWhetherARedrawDrawsOrFindsTheDrawingUnchanged)
{
    GuiHarness gui;
    // Each as large as its view: shown at natural size.
    const QImage photograph = painted(
        {1001, 345}, [](int x, int y) { return qRgb(x * 7 % 256, y * 13 % 256, (x + y) % 256); });
    const QImage freePhotograph = photograph.copy(0, 0, 1001, 329);
    MainController& c = gui.app.controller();
    gui.dialogs.answers = {gui.write("free.bmp", freePhotograph),
                           gui.write("photo.bmp", photograph)};
    c.imagelibre();
    c.imgcharge();
    c.node();
    for (int k = 0; k < 12; ++k) {
        c.picture1Pressed(300.0f + 1100.0f * (k % 6), 400.0f + 1500.0f * (k / 6));
        c.picture2Pressed(320.0f + 1130.0f * (k % 6), 410.0f + 1520.0f * (k / 6));
    }
    c.manumesh();
    const auto pick = [&](int node) {
        c.picture1Pressed(300.0f + 1100.0f * static_cast<float>((node - 1) % 6),
                          400.0f + 1500.0f * static_cast<float>((node - 1) / 6));
    };
    for (const int first : {1, 2, 3, 4, 5})
        for (const int node : {first, first + 1, first + 6})
            pick(node);
    ASSERT_EQ(std::tuple(gui.state.NodeCount, gui.state.ElementCount), std::tuple(12, 5));

    // The same primitives sent to recording views give the expected pictures.
    RecordingView free, loaded;
    redrawViews(gui.state, gui.state.NodeCount, free, loaded, Rgb{0, 120, 215});
    const QImage expected1 =
        expectedView(freePhotograph, gui.picture1.contentsRect().size(), free);
    const QImage expected2 = expectedView(photograph, gui.picture2.contentsRect().size(), loaded);
    ASSERT_EQ(std::pair(rgbAt(expected1, {19, 27}), rgbAt(expected1, {20, 27})),
              std::pair(kRed, kHighlight));

    const auto seen = [&] { return std::pair(shown(gui.picture1), shown(gui.picture2)); };
    const auto same = [&](const std::pair<QImage, QImage>& views) {
        return views.first.convertToFormat(QImage::Format_RGB32) ==
                   expected1.convertToFormat(QImage::Format_RGB32) &&
               views.second.convertToFormat(QImage::Format_RGB32) ==
                   expected2.convertToFormat(QImage::Format_RGB32);
    };
    c.manumesh(); // a drawing mode
    c.picture1Moved(10, 10);
    EXPECT_TRUE(same(seen()));
    for (int k = 0; k < 3; ++k) {
        c.picture1Moved(100.0f * k, 50); // unchanged: nothing drawn again
        EXPECT_TRUE(same(seen())) << k;
    }
    // A triangle added then erased: drawn again, the same.
    for (const int node : {6, 12, 11})
        pick(node);
    c.picture1Moved(10, 10);
    EXPECT_FALSE(same(seen()));
    c.effder();
    c.manumesh();
    c.picture1Moved(10, 10);
    EXPECT_TRUE(same(seen()));
    c.eff();
    EXPECT_FALSE(same(seen())) << "an erase shows the photographs alone";
}

// --- Zoom and pan of the views.

// A photograph whose every pixel tells its column and row by its colour.
std::string writeCoded(GuiHarness& gui, const char* name, QSize size)
{
    return gui.write(name, painted(size, [](int x, int y) {
                         return qRgb(x % 256, y % 256, x / 256 + 16 * (y / 256));
                     }));
}
QPoint pixelCoded(QRgb c) { return {qRed(c) + 256 * (qBlue(c) % 16), qGreen(c) + 256 * (qBlue(c) / 16)}; }

// A wheel turn of `angle` (120 a notch) over a widget, at a position in its pixels.
void wheel(QWidget& widget, QPoint at, int angle)
{
    QWheelEvent event(at, widget.mapToGlobal(at), {}, {0, angle}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}
void wheel(ui::ImageViewWidget& view, QPoint inside, int angle)
{
    wheel(static_cast<QWidget&>(view), view.contentsRect().topLeft() + inside, angle);
}

// What a view shows once the sharper decoding that its painting asks for is ready.
QImage settled(ui::ImageViewWidget& view)
{
    shown(view);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view.decoding(); }));
    return shown(view);
}

bool scrollBarsShown(ui::ImageViewWidget& view)
{
    const auto bars = view.findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly);
    return std::ranges::any_of(bars, [](QScrollBar* bar) { return bar->isVisible(); });
}

// The photograph point (units) under a position of a view's inside.
QPointF under(GuiHarness& gui, QPoint inside)
{
    return gui.form1.viewsPlacement().transform().unitsAt(inside);
}

TEST(ViewsZoom, AnImportFitsTheWheelKeepsThePointUnderThePointerAndADragPansBothViews)
{
    GuiHarness gui;
    gui.dialogs.answers = {writeCoded(gui, "free.bmp", {4000, 2000}),
                           writeCoded(gui, "loaded.bmp", {4000, 2000})};
    gui.chooseMenu({"image", "imagelibre"});
    gui.chooseMenu({"image", "imgcharge"});
    const ui::ViewsPlacement& placement = gui.form1.viewsPlacement();
    EXPECT_DOUBLE_EQ(placement.transform().zoom, 329.0 / 2000) << "fitted to the free view";
    EXPECT_FALSE(scrollBarsShown(gui.picture1) || scrollBarsShown(gui.picture2));

    // In, in, out at three places: the photograph point under the pointer stays there.
    for (const auto& [at, angle] : {std::pair{QPoint(100, 50), 240}, {QPoint(900, 300), 360},
                                    {QPoint(400, 200), -120}}) {
        const QPointF before = under(gui, at);
        const double zoom = placement.transform().zoom;
        wheel(gui.picture2, at, angle);
        EXPECT_NEAR(placement.transform().zoom, zoom * std::exp2(angle / 240.0), 1e-12);
        expectNear(under(gui, at), before, 1e-3);
    }
    // A middle-button drag carries the photograph point with the pointer, on both views.
    const QPointF grabbed = under(gui, {300, 100});
    const QPoint inside = gui.picture1.contentsRect().topLeft();
    mouse(&gui.picture1, inside + QPoint(300, 100), {MousePress}, Qt::MiddleButton);
    mouse(&gui.picture1, inside + QPoint(250, 60), {MouseMove, MouseRelease}, Qt::MiddleButton);
    expectNear(under(gui, {250, 60}), grabbed, 1e-3);
    EXPECT_EQ(settled(gui.picture1).pixel(250, 60), settled(gui.picture2).pixel(250, 60));
    EXPECT_TRUE(scrollBarsShown(gui.picture1) && scrollBarsShown(gui.picture2));
    // So does a left drag with the space bar held.
    const QPointF held = under(gui, {200, 200});
    QTest::keyPress(&gui.picture2, Qt::Key_Space);
    mouse(&gui.picture2, gui.picture2.contentsRect().topLeft() + QPoint(200, 200), {MousePress});
    mouse(&gui.picture2, gui.picture2.contentsRect().topLeft() + QPoint(260, 150),
          {MouseMove, MouseRelease});
    QTest::keyRelease(&gui.picture2, Qt::Key_Space);
    expectNear(under(gui, {260, 150}), held, 1e-3);
    EXPECT_EQ(gui.status(), "Attente de commandes") << "no click for the core";
    // A page of the horizontal scroll bar moves the photographs by the view's width.
    QScrollBar* across = gui.picture1.findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly)[0];
    ASSERT_EQ(across->orientation(), Qt::Horizontal);
    across->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(placement.transform().origin.x(), 0);
    across->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_NEAR(placement.transform().origin.x() * placement.transform().zoom,
                gui.picture1.contentsRect().width(), 1);
}

// At any zoom a click makes its node on the photograph pixel that it shows, a drag moves a
// node as far on the photograph as the pointer moved on the screen divided by the zoom, and
// the pick square keeps its size on the screen: three pixels away a node is caught, four not.
TEST(ViewsZoom, ClicksDragsAndPicksLandOnThePhotographAtEveryZoom)
{
    for (const auto& [zoomIns, percent] : {std::pair{2, "400"}, {0, "100"}, {-3, "12,5"}}) {
        GuiHarness gui;
        SCOPED_TRACE(zoomIns);
        gui.dialogs.answers = {writeCoded(gui, "free.bmp", {3000, 1500})};
        gui.chooseMenu({"image", "imagelibre"});
        gui.chooseMenu({"affichage", "taillereelle"});
        for (int k = 0; k < std::abs(zoomIns); ++k)
            gui.chooseMenu({"affichage", zoomIns > 0 ? "zoomavant" : "zoomarriere"});
        const double zoom = gui.form1.viewsPlacement().transform().zoom;
        ASSERT_EQ(zoom, std::exp2(zoomIns));

        const QPoint spot(203, 101), inside = gui.picture1.contentsRect().topLeft();
        const QRgb seen = settled(gui.picture1).pixel(spot);
        gui.chooseMenu({"meshmenu", "node"});
        mouse(&gui.picture1, inside + spot);
        const QPointF node = at(gui.state.FreeNodes[1]) / 15;
        EXPECT_EQ(gui.control<QLabel>("Pointeur")->text(),
                  QStringLiteral("x = %1 ; y = %2 px    zoom %3 %")
                      .arg(qRound(node.x()))
                      .arg(qRound(node.y()))
                      .arg(QString::fromLatin1(percent)));
        if (zoom >= 1) { // the pixel seen there, a square of zoom x zoom screen pixels
            EXPECT_EQ(QPointF(pixelCoded(seen)), QPointF(std::round(node.x()), std::round(node.y())));
            EXPECT_LE(std::abs(node.x() - std::round(node.x())), 0.5);
        } else { // one of the eight by eight pixels that the screen pixel shows
            const QPointF corner = gui.form1.viewsPlacement().transform().origin + QPointF(spot) / zoom;
            EXPECT_TRUE(QRectF(corner, QSizeF(8, 8)).contains(node + QPointF(0.5, 0.5))) << node.x();
        }
        mouse(&gui.picture2, inside + QPoint(10, 10)); // its loaded position
        QTest::keyClick(&gui.form1, Qt::Key_Delete);

        for (const auto& [offset, caught] : {std::pair{3, true}, {4, false}, {-3, true}, {-4, false}}) {
            mouse(&gui.picture1, inside + spot + QPoint(offset, offset));
            EXPECT_EQ(gui.status() == "Noeud déplacé.", caught) << offset;
            QTest::keyClick(&gui.form1, Qt::Key_Delete);
        }
        mouse(&gui.picture1, inside + spot, {MousePress});
        mouse(&gui.picture1, inside + spot + QPoint(37, -21), {MouseMove, MouseRelease});
        expectNear(at(gui.state.FreeNodes[1]) / 15 - node, QPointF(37, -21) / zoom, 1e-3);
    }
}

// Grown, the window gives the growth to the views; the panels keep their places on them.
TEST(ViewsZoom, AGrownWindowShowsLargerViewsWithThePanelsInPlace)
{
    GuiHarness gui;
    QWidget* const frame1 = gui.control("Frame1");
    const auto places = [&] {
        const QRect p1 = gui.picture1.geometry(), p2 = gui.picture2.geometry();
        std::vector<int> v{p2.y() - p1.bottom(), p1.right() - p2.right(),
                           p1.right() - gui.control("Frame3")->geometry().right(),
                           gui.control("Frame3")->y() - p1.y(),
                           p2.center().x() - frame1->geometry().center().x(),
                           p2.bottom() - frame1->geometry().bottom(),
                           gui.picture1.width() - gui.control("Frame4")->geometry().right(),
                           gui.control("Frame4")->y()};
        for (const char* below : {"Label1", "Label5", "Label7", "Pointeur"})
            v.push_back(gui.control(below)->y() - p2.bottom());
        v.push_back(gui.control("Pointeur")->geometry().right() - p2.right());
        return v;
    };
    const auto designed = places();
    gui.form1.resize(gui.form1.size() + QSize(600, 300));
    EXPECT_TRUE(QTest::qWaitFor([&] { return gui.picture1.width() == 1601; }));
    EXPECT_EQ(gui.picture1.height() + gui.picture2.height(), 329 + 345 + 300);
    EXPECT_NEAR(gui.picture1.height() / 329.0, gui.picture2.height() / 345.0, 0.01);
    const auto grown = places();
    for (std::size_t i = 0; i < grown.size(); ++i)
        EXPECT_NEAR(grown[i], designed[i], 1) << i; // the middle: half the growth, rounded
}

// Files: reads bounded whatever the file, saves that say in French why they failed.
TEST(Files, ReadsNoMoreThanTheLimitAndSaysWhyASaveFailed)
{
    GuiHarness gui;
    ui::QtFileStore store;
    const std::string small = gui.write("petit.MEF", QByteArray("[init]\r\nnode=0\r\n"));
    EXPECT_EQ(store.read(small, 16), std::optional<std::string>("[init]\r\nnode=0\r\n"));
    EXPECT_EQ(store.read(small, 15), std::nullopt);
    EXPECT_EQ(store.read("/dev/zero", 1 << 20), std::nullopt) << "a device without end";

    using E = QFileDevice;
    const std::tuple<E::FileError, int, const char*, std::string> causes[] = {
        {E::WriteError, ENOSPC, "No space left on device", "le disque est plein"},
        {E::ResourceError, EDQUOT, "Disk quota exceeded", "le quota d'espace disque est dépassé"},
        {E::OpenError, EROFS, "Read-only file system", "le disque est en lecture seule"},
        {E::OpenError, EACCES, "Permission denied", "accès refusé"},
        {E::WriteError, 0, "Unknown error", "erreur d'écriture"},
        {E::OpenError, 0, "Tout va mal", "impossible de créer le fichier (Tout va mal)"}};
    for (const auto& [error, code, detail, reason] : causes)
        EXPECT_EQ(ui::writeFailureReason(error, code, detail), reason) << detail;

    EXPECT_EQ(store.writeAtomically(gui.folder.filePath("absent/etude.MEF").toStdString(), "x"),
              "le dossier n'existe pas");
    EXPECT_EQ(store.writeAtomically(gui.folder.path().toStdString(), "x").empty(), false);
    const std::string saved = gui.folder.filePath("etude.MEF").toStdString();
    EXPECT_EQ(store.writeAtomically(saved, "[init]"), "");
    EXPECT_EQ(store.read(saved, 100), std::optional<std::string>("[init]"));
}

TEST(PictureView, AnImportThatFailsAfterAGoodOneLeavesTheViewAndTheNameAndSaysWhy)
{
    GuiHarness gui;
    const std::string good = gui.write("good.bmp", {40, 30}, Qt::blue);
    gui.dialogs.answers = {good};
    gui.chooseMenu({"image", "imagelibre"});
    gui.picture1.drawPoint(150, 150, Rgb{255, 0, 0});
    const std::string fifo = gui.folder.filePath("fifo.png").toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    using F = ui::PictureFailure;
    const std::pair<std::string, F> refused[] = {
        {gui.folder.filePath("missing.bmp").toStdString(), F::Unreadable},
        {fifo, F::Unreadable}, // would block the window for good if it were opened
        {gui.write("garbage.png", QByteArray(4096, '\x5a')), F::NotAPhotograph},
    };
    for (const auto& [file, failure] : refused) {
        gui.messages.shown.clear();
        gui.dialogs.answers = {file};
        gui.chooseMenu({"image", "imagelibre"});
        EXPECT_EQ(gui.state.FreeImageFile, good) << file;
        EXPECT_EQ(rgbAt(shown(gui.picture1), {5, 5}), kBlue) << file;
        EXPECT_EQ(rgbAt(shown(gui.picture1), {10, 10}), kRed) << file;
        EXPECT_EQ(gui.messages.shown,
                  std::vector<std::string>{ui::pictureFailureText(file, {failure, {}})});
    }
    EXPECT_TRUE(gui.picture2.picture().isNull()); // the loaded view was not touched
}

TEST(PictureView, TheCorrelationsGreyLevelsAreTheWholePhotographsDecodedAgainWhenTheFileChanges)
{
    GuiHarness gui;
    // Wider and taller than the views, with grey levels that tell the column and the row.
    QImage levels = painted({1500, 700}, [](int i, int j) {
        const int level = (i + 7 * j) % 256;
        return qRgb(level, level, level);
    });
    const std::string photo = gui.write("grey.png", levels, "PNG");

    ui::QtPhotographSource source;
    const auto all = source.greyLevels(photo);
    ASSERT_TRUE(all);
    EXPECT_EQ(std::tuple(all->width, all->height, int(all->at(1499, 699)), int(all->at(3, 2))),
              std::tuple(1500, 700, (1499 + 7 * 699) % 256, 17));
    EXPECT_EQ(source.greyLevels(photo), all) << "kept";

    const auto stamp = std::filesystem::last_write_time(photo);
    levels.fill(Qt::white);
    gui.write("grey.png", levels, "PNG");
    std::filesystem::last_write_time(photo, stamp + std::chrono::seconds(5));
    const auto rewritten = source.greyLevels(photo);
    ASSERT_TRUE(rewritten && rewritten != all);
    EXPECT_EQ(rewritten->at(3, 2), 255);
    std::filesystem::remove(photo);
    EXPECT_EQ(source.greyLevels(photo), nullptr);
}

TEST(Progress, WaitsHalfASecondOverTheWholeApplicationAndReportsACancelUntilTheWorkEnds)
{
    GuiHarness gui;
    ui::QtProgress progress(&gui.form1);
    progress.start("Travail…", 10);
    auto* dialog = gui.form1.findChild<QProgressDialog*>();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(std::tuple(dialog->labelText().toStdString(), dialog->maximum(),
                         dialog->minimumDuration(), dialog->windowModality(), dialog->isVisible()),
              std::tuple(std::string("Travail…"), 10, 500, Qt::ApplicationModal, false));
    EXPECT_TRUE(progress.advance(3));
    dialog->cancel();
    EXPECT_FALSE(progress.advance(10));
    progress.finish();
    EXPECT_FALSE(gui.form1.findChild<QProgressDialog*>());
    EXPECT_TRUE(progress.advance(1)) << "no work under way";
}

// --- A study from the menus over an opened mesh file; the mesh file saved and reopened.

// One triangle whose node 2 lies one unit further right on the loaded image.
const std::string kStretched =
    meshFileOf({{{0, 0}, {0, 0}}, {{100, 0}, {101, 0}}, {{0, 100}, {0, 100}}}, {{1, 2, 3}});

TEST(StudyMap, AStudyCommandPaintsTheMapWhoseMenuSavesItsPictureAndValues)
{
    GuiHarness gui;
    ui::Form2& map = gui.app.form2();
    // A grey photograph, the triangle, sigma xx in plane stress with E 75 and nu 0,25.
    constexpr QRgb kGrey = 0xC8C8C8u, kMiddle = 0x00FF05u; // the photograph; a range of 0
    gui.openStudy({gui.write("libre.bmp", {900, 330}, kGrey)}, kStretched);
    gui.moveOver("Label7");
    gui.moveOver("Label5");
    gui.typeInto("Text1", "75");
    gui.typeInto("Text2", "0,25");
    gui.chooseMenu({"study", "ctrtpla", "sxxctrteplane"});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    EXPECT_EQ(map.windowTitle(), QStringLiteral("Carte des contraintes"));
    EXPECT_EQ(map.size(), QSize(1016, 444));
    EXPECT_EQ(map.windowFlags() & (Qt::WindowType_Mask | Qt::WindowMinMaxButtonsHint), Qt::Tool);
    EXPECT_EQ(gui.status(), "Calcul effectué.");
    // A strain of -1 % along x under plane stress: |75 / (1 - 0,25²) x 0,01| at every node.
    QStringList texts;
    for (const char* label : {"Label1", "Label2", "Label3"})
        texts << map.findChild<QLabel*>(label)->text();
    EXPECT_EQ(texts.join('|').toStdString(), "Constrainte normale selon x en MPa|0,8|0,8");
    const QImage picture = shown(map);
    for (const QPoint node : {QPoint(0, 0), QPoint(7, 0), QPoint(0, 7)})
        EXPECT_EQ(rgbAt(picture, node), kMiddle);
    EXPECT_EQ(rgbAt(picture, {600, 50}), kGrey);

    // The material changes after the study; the map's picture and tables do not.
    gui.moveOver("Label7");
    gui.moveOver("Label5");
    gui.typeInto("Text1", "150");
    gui.dialogs.answers = {"carte",        "noeuds.csv", "elements",
                           "incertitudes", std::nullopt, "carte.PNG"};
    chooseFromMapMenu(gui.app.form2(), "savePicture");
    const QImage png = QImage::fromData(QByteArray::fromStdString(gui.files.files["carte.png"]));
    EXPECT_EQ(png.size(), QSize(1016, 444));
    EXPECT_EQ(rgbAt(png, {7, 0}), kMiddle);
    chooseFromMapMenu(gui.app.form2(), "saveNodeValues");
    chooseFromMapMenu(gui.app.form2(), "saveElementValues");
    chooseFromMapMenu(gui.app.form2(), "saveUncertaintyPicture");
    chooseFromMapMenu(gui.app.form2(), "saveNodeValues"); // cancelled
    // The study's material, not the one typed since: 0,8 at node 2.
    EXPECT_NE(gui.files.files["noeuds.csv"].find(",1,0.8,"), std::string::npos);
    EXPECT_NE(gui.files.files["elements.csv"].find(",0.8,"), std::string::npos);
    const QImage sd =
        QImage::fromData(QByteArray::fromStdString(gui.files.files["incertitudes.png"]));
    EXPECT_TRUE(sd.size() == png.size() && sd != png) << "its own title and labels";
    EXPECT_EQ(rgbAt(sd, {600, 50}), kGrey) << "over the study's photograph";
    EXPECT_EQ(gui.files.files.size(), 5u);
    gui.files.failure = "disque plein"; // a name with the extension keeps it
    chooseFromMapMenu(gui.app.form2(), "savePicture");
    EXPECT_EQ(gui.messages.shown.back(),
              "L'image n'a pas pu être enregistrée dans le fichier \"carte.PNG\" : disque plein");

    // The main window stays usable; a hide keeps its status and the map, a close by the user
    // sets the status.
    gui.chooseMenu({"meshmenu", "node"});
    map.hide();
    EXPECT_EQ(gui.status(), "Cliquer sur la structure libre pour créer un noeud.");
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    EXPECT_EQ(rgbAt(shown(map), {7, 0}), kMiddle);
    map.close();
    EXPECT_EQ(gui.status(), "Calcul effectué.");

    // The mesh file saved and opened again, its counts in the message box each time.
    gui.files.failure.clear();
    gui.dialogs.answers = {"etude", "etude.MEF"};
    gui.chooseMenu({"meshmenu", "io", "save"});
    EXPECT_EQ(gui.files.files["etude.MEF"], kStretched);
    gui.chooseMenu({"meshmenu", "io", "open"});
    EXPECT_EQ(std::tuple(gui.messages.shown.front(), gui.messages.shown.back()),
              std::tuple("3 noeuds et 1 élément(s)", "3 noeuds et 1 élément(s)"));
}

// The first and last rows of the map's picture that hold a text pixel within the title's columns.
std::pair<int, int> titleInkRows(const std::string& title)
{
    const QImage picture = ui::MapCanvas(Qt::white, Qt::black).picture({title, "", ""});
    int first = -1;
    int last = -1;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = ui::kMapTitleRect.left(); x <= ui::kMapTitleRect.right(); ++x)
            if (rgbAt(picture, {x, y}) != 0xFFFFFFu) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
    return {first, last};
}

TEST(StudyMap, ATitleOfThreeLinesGrowsUpwardsWhereTwoLinesKeepTheLabelsPlace)
{
    const auto [top, bottom] = titleInkRows("Constrainte normale selon x en MPa");
    EXPECT_GE(top, ui::kMapTitleRect.top());
    EXPECT_LE(bottom, ui::kMapTitleRect.bottom());
    const auto [grownTop, grownBottom] =
        titleInkRows("Constrainte équivalente de Von-Mises en MPa (écart type)");
    EXPECT_LT(grownTop, ui::kMapTitleRect.top()) << "the first line sits above the label";
    EXPECT_LE(grownBottom, ui::kMapTitleRect.bottom());
    // Three whole lines: half as high again as two.
    EXPECT_GT(grownBottom - grownTop, (bottom - top) * 5 / 4);
}

TEST(StudyMap, ALargePhotographShowsWholeZoomsPansAndSavesAtItsOwnResolutionInEachStyle)
{
    GuiHarness gui;
    ui::Form2& map = gui.app.form2();
    // A photograph twice the window's size each way, one triangle at pixels (100, 100),
    // (1900, 100), (100, 800) whose second corner moves one pixel right.
    constexpr QRgb kGrey = 0x646464u;
    gui.openStudy({gui.write("grand.bmp", {2032, 888}, kGrey)},
                  meshFileOf({{px(100, 100), px(100, 100)},
                              {px(1900, 100), px(1901, 100)},
                              {px(100, 800), px(100, 800)}},
                             {{1, 2, 3}}));
    gui.chooseMenu({"study", "ctrtpla", "sxxctrteplane"});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    EXPECT_EQ(map.zoomPan(), (ZoomPan{0.5, 0, 0})) << "fitted whole";
    EXPECT_EQ(rgbAt(shown(map), {700, 300}), kGrey) << "the photograph's far part";

    // The read-out under the pointer: its pixel, the triangle's value and deviation.
    mouse(&map, {100, 100}, {MouseMove});
    auto* readout = map.findChild<QLabel*>("readout");
    const std::string read = readout->text().toStdString();
    EXPECT_TRUE(readout->isVisible() && read.starts_with("x = 200 px, y = 200 px") &&
                read.ends_with(" MPa"))
        << read;

    // The wheel zooms about the pointer; the middle button drags the photograph along.
    const QPoint pointer(400, 200);
    const double x = pictureX(map.zoomPan(), pointer.x()), y = pictureY(map.zoomPan(), pointer.y());
    wheel(map, pointer, 240);
    EXPECT_DOUBLE_EQ(map.zoomPan().zoom, 0.5 * 1.25 * 1.25);
    EXPECT_DOUBLE_EQ(pictureX(map.zoomPan(), pointer.x()), x);
    EXPECT_DOUBLE_EQ(pictureY(map.zoomPan(), pointer.y()), y);
    EXPECT_TRUE(map.findChild<QScrollBar*>("mapHorizontalBar")->isVisible());
    const ZoomPan before = map.zoomPan();
    QTest::mousePress(&map, Qt::MiddleButton, {}, pointer);
    QMouseEvent drag(QEvent::MouseMove, QPointF(pointer - QPoint(100, 50)),
                     map.mapToGlobal(QPointF(pointer - QPoint(100, 50))), Qt::NoButton,
                     Qt::MiddleButton, {});
    QApplication::sendEvent(&map, &drag);
    QTest::mouseRelease(&map, Qt::MiddleButton, {}, pointer - QPoint(100, 50));
    EXPECT_DOUBLE_EQ(map.zoomPan().left, before.left + 100 / before.zoom);
    EXPECT_DOUBLE_EQ(map.zoomPan().top, before.top + 50 / before.zoom);

    // Grown, the window keeps its bar and labels against its right edge.
    map.resize(1216, 544);
    EXPECT_EQ(map.findChild<QLabel*>("Label2")->geometry(), ui::kMapMaximumRect.translated(200, 0));
    EXPECT_EQ(rgbAt(shown(map), {1077, 12}), 0xFF4300u);

    // The saved picture is the whole photograph with the legend scaled with it; the same in
    // each style, in PNG and in SVG; and the report.
    gui.dialogs.answers = {"points.png", "continue.png", "continue.svg", "rapport.pdf"};
    chooseFromMapMenu(gui.app.form2(), "savePicture");
    const QImage points = QImage::fromData(QByteArray::fromStdString(gui.files.files["points.png"]));
    EXPECT_EQ(points.size(), QSize(2032, 888));
    EXPECT_EQ(rgbAt(points, {2 * 877, 2 * 12}), 0xFF4300u) << "the bar, twice its size";
    EXPECT_EQ(rgbAt(points, {1500, 700}), kGrey);
    chooseFromMapMenu(gui.app.form2(), "continuousStyle");
    EXPECT_FALSE(map.findChild<QLabel*>("Label1")->isVisible());
    chooseFromMapMenu(gui.app.form2(), "savePicture");
    const QImage continuous =
        QImage::fromData(QByteArray::fromStdString(gui.files.files["continue.png"]));
    EXPECT_EQ(continuous.size(), QSize(2032, 888));
    const QRgb tension = continuous.pixel(400, 300);
    EXPECT_TRUE(qRed(tension) == 255 && qGreen(tension) < 64 && qBlue(tension) < 64) << tension;
    chooseFromMapMenu(gui.app.form2(), "saveSvg");
    const std::string& svg = gui.files.files["continue.svg"];
    EXPECT_TRUE(svg.find("<svg") != std::string::npos &&
                svg.find("width=\"2032\"") != std::string::npos);
    chooseFromMapMenu(gui.app.form2(), "saveReport");
    const auto pages = pdfPages(gui.files.files["rapport.pdf"]);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(pages[0].find("grand.bmp (2032 × 888 pixels)"), std::string::npos) << pages[0];
    EXPECT_NE(pages[1].find("Carte des écarts types"), std::string::npos);

    // A new study shows the map of dots again.
    gui.chooseMenu({"study", "ctrtpla", "sxxctrteplane"});
    EXPECT_TRUE(map.findChild<QLabel*>("Label1")->isVisible());
}

TEST(StudyMap, TheContinuousMapTakesEachNodesAverageColourAndEveryLegendLabelFits)
{
    // Two triangles with other values: each node's pixel has its own average's colour.
    const Position nodes[] = {px(10, 10), px(110, 10), px(10, 110), px(110, 110)};
    const auto s = studyOf({{nodes[0], nodes[0]},
                            {nodes[1], px(111, 10)},
                            {nodes[2], nodes[2]},
                            {nodes[3], px(110, 108)}},
                           {{1, 2, 3}, {2, 4, 3}});
    const auto map =
        buildStyledMap(*s, 4, {75, 0.25}, Component::Sxx, true, MapStyle::Continuous, {','})
            .value();
    const QImage surface = ui::paintStyledSurface(QImage(), {200, 200}, Qt::white, map);
    const std::array<double, 4> averages{map.triangles[0].nodeValues[0],
                                         map.triangles[0].nodeValues[1],
                                         map.triangles[0].nodeValues[2],
                                         map.triangles[1].nodeValues[1]};
    EXPECT_NE(averages[0], averages[1]);
    for (std::size_t n = 0; n < 4; ++n) {
        const Rgb c = map.scale.colour(averages[n]);
        EXPECT_EQ(rgbAt(surface, {int(nodes[n].x / 15), int(nodes[n].y / 15)}),
                  qRgb(c.red, c.green, c.blue) & 0xFFFFFFu)
            << n;
    }

    // Long tick labels and titles, on the picture of any photograph and in the window.
    StyledMap wide = map;
    wide.title = styledTitle(Component::VonMises, false, {210000.5, 0.333}, {','});
    wide.scale = roundScale(-123456, 98765.4321, true);
    wide.tickTexts.clear();
    for (const double tick : wide.scale.ticks)
        wide.tickTexts.push_back(wide.scale.tickText(tick, {','}));
    for (const StyledMap* m : {&map, static_cast<const StyledMap*>(&wide)})
        for (const QSize area : {ui::kMapClientSize, QSize(2032, 888), QSize(3751, 501),
                                 QSize(1016, 900), QSize(6000, 4000)}) {
            const double scale = ui::legendScale(area);
            const auto layout = ui::styledLegendLayout(*m, area, scale);
            const QRectF whole(QPointF(0, 0), QSizeF(area));
            SCOPED_TRACE(m->title + " " + std::to_string(area.width()));
            EXPECT_TRUE(whole.contains(layout.panel) && whole.contains(layout.titleBand));
            EXPECT_FALSE(layout.panel.intersects(layout.titleBand));
            const QFontMetricsF metrics(layout.font);
            QRectF previous;
            for (const auto& [room, text] : layout.tickLabels) {
                EXPECT_LE(metrics.horizontalAdvance(text), room.width()) << text.toStdString();
                EXPECT_LE(metrics.height(), room.height() + 1);
                EXPECT_TRUE(layout.panel.contains(room)) << text.toStdString();
                EXPECT_FALSE(room.intersects(previous));
                previous = room;
            }
            EXPECT_LE(QFontMetricsF(layout.titleFont).horizontalAdvance(QString::fromStdString(m->title)),
                      layout.title.width());
            EXPECT_LE(metrics.horizontalAdvance("MPa"), layout.unit.width());
        }
}

// --- The menu "Corrélation".

// Nodes 2000 pixels from the corner of photographs far larger than the views are found: the
// whole photographs are correlated, not what the views show. Then an assisted click.
TEST(Correlation, TheMenuFindsNodesFarFromTheCornerAndRefinesAssistedClicks)
{
    GuiHarness gui;
    // A smooth aperiodic texture; the loaded photograph is moved by (1.6, -0.7) pixels.
    const auto texture = [](double x, double y) {
        return 128 + 40 * std::sin(0.31 * x + 0.17 * y) + 35 * std::sin(0.23 * y - 0.41 * x + 1) +
               30 * std::sin(0.047 * x + 0.37 * y + 2);
    };
    const auto photograph = [&](double dx, double dy) {
        return painted({2300, 2200},
                       [&](int x, int y) {
                           const int level = int(std::lround(texture(x - dx, y - dy)));
                           return qRgb(level, level, level);
                       })
            .convertToFormat(QImage::Format_Grayscale8);
    };
    const QString freeFile =
        QString::fromStdString(gui.write("libre.png", photograph(0, 0), "PNG"));
    const QString loadedFile =
        QString::fromStdString(gui.write("chargee.png", photograph(1.6, -0.7), "PNG"));
    // Three nodes at rest: two 2000 pixels from the corner, one below the views.
    const Position nodes[] = {px(2000, 2000), px(2100, 1900), px(300, 2100)};
    const std::string mesh = meshFileOf(atRest({nodes[0], nodes[1], nodes[2]}), {{1, 2, 3}});
    gui.openStudy({freeFile.toStdString(), loadedFile.toStdString()}, mesh);
    gui.chooseMenu({"correlation", "localisercorrelation"});
    ASSERT_EQ(gui.messages.shown.back(),
              "3 noeud(s) localisé(s) par corrélation, 0 non trouvé(s), 0 élément(s) écarté(s) de "
              "l'étude");
    EXPECT_EQ(gui.status(), "Localisation par corrélation effectuée.");
    gui.moveOverBackground();
    EXPECT_EQ(gui.status(), "Attente de commandes");
    for (std::size_t n = 1; n <= 3; ++n)
        expectNear(at(gui.state.LoadNodes[n]), at(nodes[n - 1]) + QPointF(1.6, -0.7) * 15, 0.75);

    // Checked, the assisted location refines a loaded click two pixels off with the size chosen.
    gui.chooseMenu({"correlation", "localisationassistee"});
    gui.chooseMenu({"correlation", "tailleimagettes", "imagettes41"});
    EXPECT_EQ(std::tuple(gui.app.controller().assistedLocation(), gui.app.controller().subsetSize(),
                         gui.control<QAction>("imagettes31")->isChecked()),
              std::tuple(true, 41, false));
    gui.chooseMenu({"affichage", "taillereelle"});
    gui.chooseMenu({"meshmenu", "node"});
    mouse(&gui.picture1, gui.picture1.contentsRect().topLeft() + QPoint(300, 200));
    mouse(&gui.picture2, gui.picture2.contentsRect().topLeft() + QPoint(302, 200));
    EXPECT_TRUE(gui.state.LoadLocations[4].correlated);
    expectNear(at(gui.state.LoadNodes[4]), at(gui.state.FreeNodes[4]) + QPointF(1.6, -0.7) * 15,
               0.75);
    gui.chooseMenu({"correlation", "localisationassistee"});
    EXPECT_FALSE(gui.app.controller().assistedLocation());
}

} // namespace
} // namespace ai::test

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // no display needed
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
