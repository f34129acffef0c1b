// The main window as it opens: controls, places, texts, bars, menus, keyboard order, colours.
#include "gui_harness.h"

#include "ui/system_settings.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace ai::test {
namespace {

QString captionOf(QWidget* widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->title();
    if (auto* text = qobject_cast<QLineEdit*>(widget))
        return text->text();
    return {};
}

TEST(MainWindow, OpensWithItsControlsAtTheirPlacesWithTheirTexts)
{
    GuiHarness gui;
    EXPECT_EQ(gui.form1().windowTitle(), QStringLiteral("Analyse d'image"));
    EXPECT_FALSE(gui.form1().windowIcon().isNull());
    EXPECT_EQ(gui.form1().centralWidget()->size(), QSize(1016, 714));
    EXPECT_EQ(gui.form1().minimumSize(), gui.form1().maximumSize());
    EXPECT_FALSE(gui.form1().windowFlags() & Qt::WindowMaximizeButtonHint);

    struct Expected {
        const char* name;
        int left, top, width, height; // twips, from the container's inside
        const char* caption;
        bool shown;
    };
    const Expected controls[] = {
        {"Picture1", 120, 120, 15015, 4935, "", true},
        {"Picture2", 120, 5040, 15015, 5175, "", true},
        {"Label1", 3480, 10440, 7695, 255, "Attente de commandes", true},
        {"Frame1", 8160, 8160, 1575, 2175, "Matériau", false},
        {"Label2", 120, 480, 1335, 495, "Module de Young en MPa", false},
        {"Label3", 120, 1320, 1215, 375, "Coefficient de Poisson", false},
        {"Text1", 480, 960, 855, 285, "1", false},
        {"Text2", 600, 1800, 615, 285, "0,47", false},
        {"Label5", 8640, 10320, 1095, 255, "Matériau", false},
        {"Label7", 10680, 10320, 495, 255, "+", true},
        {"Frame3", 13080, 1440, 1935, 6135, "Structure maillée", false},
        {"Command2", 480, 1560, 975, 495, "Dimensions", false},
        {"VScroll2", 840, 1320, 255, 975, "", false},
        {"HScroll2", 240, 1680, 1455, 255, "", false},
        {"Command1", 480, 480, 975, 495, "Nombre de noeuds", false},
        {"VScroll1", 840, 240, 255, 975, "", false},
        {"HScroll1", 240, 600, 1455, 255, "", false},
        {"Command3", 480, 2640, 975, 495, "Déformation ", false},
        {"HScroll3", 240, 2760, 1455, 255, "", false},
        {"VScroll3", 840, 2400, 255, 975, "", false},
        {"Command4", 480, 3720, 975, 495, "Déplact libre", false},
        {"VScroll4", 840, 3480, 255, 975, "", false},
        {"HScroll4", 240, 3840, 1455, 255, "", false},
        {"Command5", 480, 4800, 975, 495, "Déplct chargé", false},
        {"VScroll5", 840, 4560, 255, 975, "", false},
        {"HScroll5", 240, 4920, 1455, 255, "", false},
        {"Command6", 240, 5640, 1455, 375, "Valider", false},
        {"Frame4", 12840, 0, 1935, 1215, "Maillage automatique", false},
        {"Command7", 240, 720, 1455, 375, "Valider", false},
        {"HScroll6", 600, 360, 735, 255, "", false},
    };
    for (const Expected& c : controls) {
        QWidget* widget = gui.control(c.name);
        ASSERT_NE(widget, nullptr);
        QPoint inside(0, 0);
        if (auto* container = qobject_cast<QFrame*>(widget->parentWidget());
            container && qobject_cast<ui::ImageViewWidget*>(container))
            inside = container->contentsRect().topLeft();
        EXPECT_EQ(widget->geometry(),
                  QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15).translated(inside))
            << c.name;
        EXPECT_EQ(captionOf(widget), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(widget->isVisible(), c.shown) << c.name;
    }
    EXPECT_EQ(gui.control("Frame4")->parentWidget(), &gui.picture1());
    EXPECT_EQ(gui.status(), "Attente de commandes");
}

TEST(MainWindow, BarsStartAtTheirValuesWithinTheirRangesAndOnlyUserChangesReachTheCore)
{
    GuiHarness gui;
    for (std::size_t i = 0; i < kBarCount; ++i) {
        const auto bar = static_cast<Bar>(i);
        const std::string name = (i % 2 == 0 ? "HScroll" : "VScroll") + std::to_string(i / 2 + 1);
        auto* widget = static_cast<QScrollBar*>(gui.control(name.c_str()));
        ASSERT_NE(widget, nullptr);
        const BarRange range = barRange(bar);
        EXPECT_EQ(widget->minimum(), range.minimum) << i;
        EXPECT_EQ(widget->maximum(), range.maximum) << i;
        EXPECT_EQ(widget->singleStep(), range.smallStep) << i;
        EXPECT_EQ(widget->pageStep(), range.largeStep) << i;
        EXPECT_EQ(widget->value(), range.initial) << i;
        EXPECT_EQ(widget->orientation(), i % 2 == 0 ? Qt::Horizontal : Qt::Vertical) << i;
    }

    // The core moving a bar is not a change by the user.
    gui.form1().setBarValue(Bar::HScroll3, 77);
    EXPECT_EQ(static_cast<QScrollBar*>(gui.control("HScroll3"))->value(), 77);
    EXPECT_EQ(gui.controller().barValue(Bar::HScroll3), 1000);

    // The user cannot push a bar past its end; the change reaches the core.
    gui.chooseMenu({"meshmenu", "mesh"});
    auto* hscroll6 = static_cast<QScrollBar*>(gui.control("HScroll6"));
    ASSERT_TRUE(hscroll6->isVisible());
    hscroll6->setFocus();
    QTest::keyClick(hscroll6, Qt::Key_End);
    gui.click(hscroll6, QPoint(hscroll6->width() - 3, hscroll6->height() / 2));
    EXPECT_EQ(hscroll6->value(), 3000);
    EXPECT_EQ(gui.controller().barValue(Bar::HScroll6), 3000);
}

// The menu tree as "name caption" lines, indented by depth.
void describe(const QList<QAction*>& actions, int depth, QStringList& lines)
{
    for (QAction* action : actions) {
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
        EXPECT_TRUE(action->isVisible()) << action->text().toStdString();
        EXPECT_FALSE(action->isCheckable()) << action->text().toStdString();
        const QString name = action->menu() ? action->menu()->objectName() : action->objectName();
        lines << QString(depth * 2, QLatin1Char(' ')) + name + QLatin1Char(' ') + action->text();
        if (action->menu())
            describe(action->menu()->actions(), depth + 1, lines);
    }
}

TEST(MainWindow, MenuBarHoldsTheWholeTreeAndStopAnswersTheDelKey)
{
    GuiHarness gui;
    QStringList lines;
    describe(gui.form1().menuBar()->actions(), 0, lines);
    const QStringList expected = QString::fromUtf8(R"(image Import d'images
  imgcharge Structure chargée
  imagelibre Structure libre
meshmenu Maillage
  erase Effacement
    effder Effacer dernier élément
    effmesh Effacer le maillage
    eff Effacer tout
  node Créer des noeuds
  manumesh Maillage manuel
  mesh Maillage automatique
  automesh Structure maillée
  io I/O
    save Sauvegarde
    open Ouverture
study Etude
  ctrtpla Hypothèse de contraintes planes
    sxxctrteplane Sigma xx
    syyctrteplane Sigma yy
    sxyctrteplane Sigma xy (cisaillement)
    vonmiesectrteplane Contrainte de Von-Mises
  defpla Hypothèse de déformations planes
    sxxdefplane Sigma xx
    syydefplane Sigma yy
    sxydefplane Sigma xy (cisaillement)
    vonmisesdefplane Contrainte de Von-Mises
arret Arret
  stopcmd Stop)")
                                     .split(QLatin1Char('\n'));
    EXPECT_EQ(lines, expected);

    gui.chooseMenu({"meshmenu", "node"});
    EXPECT_EQ(gui.status(), "Cliquer sur la structure libre pour créer un noeud.");
    QTest::keyClick(&gui.form1(), Qt::Key_Delete);
    EXPECT_EQ(gui.status(), "Attente de commandes");
    EXPECT_TRUE(gui.state().StopFlag);

    // Entries under "Maillage" > "I/O" are reached by the pointer too.
    gui.dialogs.answers.push_back(std::nullopt);
    gui.chooseMenu({"meshmenu", "io", "save"});
    EXPECT_EQ(gui.dialogs.titles, std::vector<std::string>{"Sauvergarde d'un maillage"});
}

TEST(MainWindow, KeyboardOrderFollowsTheDesignOrder)
{
    GuiHarness gui;
    QStringList order;
    QWidget* widget = gui.control("Picture1");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != gui.control("Picture1"));
    const QStringList expected =
        QStringLiteral(
            "Picture1 Picture2 Text1 Text2 Command2 VScroll2 HScroll2 Command1 VScroll1 HScroll1 "
            "Command3 HScroll3 VScroll3 Command4 VScroll4 HScroll4 Command5 VScroll5 HScroll5 "
            "Command6 Command7 HScroll6")
            .split(QLatin1Char(' '));
    EXPECT_EQ(order, expected);
}

TEST(MainWindow, StatusLineSharesTheWindowColourAndThePlusLabelHasTheShadowColour)
{
    GuiHarness gui;
    const QImage window = gui.form1().centralWidget()->grab().toImage();
    QWidget* label1 = gui.control("Label1");
    QWidget* label7 = gui.control("Label7");
    // Blank parts: the status line right of its text, a corner inside the "+" box.
    const QRgb status = rgbAt(window, label1->geometry().bottomLeft() + QPoint(400, -2));
    const QRgb background = rgbAt(window, QPoint(2, 700));
    const QRgb plus = rgbAt(window, label7->geometry().topLeft() + QPoint(3, 3));
    EXPECT_EQ(status, background);
    EXPECT_EQ(plus, gui.form1().palette().color(QPalette::Dark).rgb() & 0xFFFFFFu);
    EXPECT_NE(plus, background);
}

TEST(MainWindow, SystemSettingsGiveTheLocaleSeparatorAndTheHighlightColour)
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(10, 20, 30));
    const Settings french = ui::systemSettings(QLocale(QLocale::French, QLocale::France), palette);
    EXPECT_EQ(french.format.decimal, ',');
    EXPECT_EQ(french.highlight, (Rgb{10, 20, 30}));
    EXPECT_EQ(ui::systemSettings(QLocale(QLocale::English, QLocale::UnitedStates), palette)
                  .format.decimal,
              '.');
}

} // namespace
} // namespace ai::test
