#pragma once

#include "shell/main_controller.h"
#include "shell/ports.h"
#include "ui/views_placement.h"

#include <QMainWindow>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QScrollBar;
class QSlider;

namespace ai::ui {

class ImageViewWidget;

// The main window: the two picture views, the status line, the three panels shown on
// demand and the menu bar. It opens at its design size; when it grows, the views grow with
// it and the other controls keep their places relative to them. It shows what the core
// decides and hands every user action to the controller handler of the same name.
class Form1 : public QMainWindow, public MainWindowPort {
    Q_OBJECT

public:
    Form1();

    // Connects every control to its handler and shows the controller's material texts.
    void bind(MainController& controller);

    ImageViewWidget& picture1() { return *picture1_; }
    ImageViewWidget& picture2() { return *picture2_; }
    ViewsPlacement& viewsPlacement() { return placement_; }

    void showStatus(const std::string& text) override;
    void setPanelVisible(Panel panel, bool visible) override;
    void setBarValue(Bar bar, int value) override;
    void showStepSelector(int count, int step, const std::string& caption) override;

signals:
    // The user closed the window: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Command = void (MainController::*)();

    void buildControls(QWidget* client);
    void buildGridPanel(QWidget* client);
    void buildMenus();
    void buildViewMenu();
    // The load step selector, in a row added below the window's controls for a sequence.
    void buildStepSelector();
    void anchor(QWidget* widget, QPointF moves, QSizeF grows = QSizeF(0, 0));
    void layOut();
    void showPointer(double x, double y);
    void showPlace();
    void addCommand(QMenu* menu, const char* name, const char* caption, Command command);
    void addBar(QWidget* container, Bar bar, Qt::Orientation orientation, const QRect& at);
    // The bar's value and unit as its tool tip; `now` shows it at once, beside the bar.
    void showBarValue(Bar bar, int value, bool now);

    // How a control follows the window's growth: it moves, and a view grows, by shares of
    // the growth across and down.
    struct Anchor {
        QWidget* widget;
        QRect design;
        QPointF moves;
        QSizeF grows;
    };

    MainController* controller_ = nullptr;
    ViewsPlacement placement_;
    std::vector<Anchor> anchors_;
    QLabel* pointer_ = nullptr;
    std::optional<QPointF> pointed_; // the photograph pixel under the pointer, once known
    QWidget* client_ = nullptr;
    ImageViewWidget* picture1_ = nullptr;
    ImageViewWidget* picture2_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* label7_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    std::array<QWidget*, 4> panels_{};
    std::array<QScrollBar*, kBarCount> bars_{};
    std::vector<std::pair<QAction*, Command>> commands_;
    // The menu "Corrélation"'s choices: assisted location, and the subset sizes in pixels.
    QAction* assisted_ = nullptr;
    std::vector<std::pair<QAction*, int>> subsetSizes_;
    // The menu "Courbes"'s quantities.
    std::vector<std::pair<QAction*, HistoryQuantity>> curveQuantities_;
    QSlider* stepSlider_ = nullptr;
    QLabel* stepCaption_ = nullptr;
    // Controls in keyboard order, as they are created.
    std::vector<QWidget*> tabOrder_;
};

} // namespace ai::ui
