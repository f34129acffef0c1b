#include "ui/form1.h"

#include "shell/bar_value_text.h"
#include "ui/design_font.h"
#include "ui/image_view_widget.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace ai::ui {

namespace {

// The main window's inside: 15240 x 10710 twips.
constexpr QSize kClientSize(1016, 714);

} // namespace

Form1::Form1()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Analyse d'image"));
    setWindowIcon(QIcon(QStringLiteral(":/analyse-image.svg")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(designFont());

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("Form1Client"));
    client_->setFixedSize(kClientSize);
    client_->setBackgroundRole(QPalette::Window);
    client_->setAutoFillBackground(true);
    setCentralWidget(client_);

    buildControls(client_);
    buildMenus();
    for (std::size_t i = 1; i < tabOrder_.size(); ++i)
        setTabOrder(tabOrder_[i - 1], tabOrder_[i]);

    // Moves are the window's, Frame3's, Label5's and Label7's own: none passes from a
    // control to the panel or window under it.
    for (QWidget* control : client_->findChildren<QWidget*>())
        control->setAttribute(Qt::WA_NoMousePropagation);
    for (QWidget* watched : {client_, panels_[static_cast<std::size_t>(Panel::Frame3)],
                             static_cast<QWidget*>(label5_), static_cast<QWidget*>(label7_)}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
    for (QScrollBar* bar : bars_)
        bar->installEventFilter(this);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Form1::bind(MainController& controller)
{
    controller_ = &controller;
    MainController* c = &controller;

    for (const auto& [action, command] : commands_)
        connect(action, &QAction::triggered, this, [c, command = command] { (c->*command)(); });
    assisted_->setChecked(controller.assistedLocation());
    connect(assisted_, &QAction::toggled, this, [c](bool on) { c->localisationassistee(on); });
    for (const auto& [action, pixels] : subsetSizes_) {
        action->setChecked(pixels == controller.subsetSize());
        connect(action, &QAction::triggered, this,
                [c, pixels = pixels] { c->tailleimagettes(pixels); });
    }

    connect(findChild<QPushButton*>(QStringLiteral("Command6")), &QPushButton::clicked, this,
            [c] { c->command6Click(); });
    connect(findChild<QPushButton*>(QStringLiteral("Command7")), &QPushButton::clicked, this,
            [c] { c->command7Click(); });

    for (std::size_t i = 0; i < kBarCount; ++i) {
        const auto bar = static_cast<Bar>(i);
        QScrollBar* widget = bars_[i];
        showBarValue(bar, widget->value(), false);
        connect(widget, &QScrollBar::valueChanged, this, [this, c, bar](int value) {
            showBarValue(bar, value, false);
            c->barChanged(bar, value);
        });
        // Dragged, stepped or paged: the position it is moving to, before the change lands.
        connect(widget, &QScrollBar::actionTriggered, this,
                [this, bar, widget] { showBarValue(bar, widget->sliderPosition(), true); });
    }

    text1_->setText(QString::fromStdString(controller.youngText()));
    text2_->setText(QString::fromStdString(controller.poissonText()));
    connect(text1_, &QLineEdit::textChanged, this,
            [c](const QString& text) { c->text1Changed(text.toStdString()); });
    connect(text2_, &QLineEdit::textChanged, this,
            [c](const QString& text) { c->text2Changed(text.toStdString()); });

    connect(picture1_, &ImageViewWidget::pressed, this,
            [c](float X, float Y) { c->picture1Pressed(X, Y); });
    connect(picture1_, &ImageViewWidget::moved, this,
            [c](float X, float Y) { c->picture1Moved(X, Y); });
    connect(picture1_, &ImageViewWidget::released, this, [c] { c->picture1Released(); });
    connect(picture2_, &ImageViewWidget::pressed, this,
            [c](float X, float Y) { c->picture2Pressed(X, Y); });
    connect(picture2_, &ImageViewWidget::moved, this,
            [c](float X, float Y) { c->picture2Moved(X, Y); });
    connect(picture2_, &ImageViewWidget::released, this, [c] { c->picture2Released(); });

    showStatus(controller.statusLine());
}

void Form1::showStatus(const std::string& text) { label1_->setText(QString::fromStdString(text)); }

void Form1::setPanelVisible(Panel panel, bool visible)
{
    panels_[static_cast<std::size_t>(panel)]->setVisible(visible);
}

void Form1::setBarValue(Bar bar, int value)
{
    // The core moved the bar itself: no change is reported back to it.
    QScrollBar* widget = bars_[index(bar)];
    const QSignalBlocker blocker(widget);
    widget->setValue(value);
    showBarValue(bar, widget->value(), false);
}

void Form1::showBarValue(Bar bar, int value, bool now)
{
    if (controller_ == nullptr)
        return;
    QScrollBar* widget = bars_[index(bar)];
    const QString text =
        QString::fromStdString(barValueText(bar, value, controller_->numberFormat()));
    widget->setToolTip(text);
    if (now)
        QToolTip::showText(widget->mapToGlobal(QPoint(0, widget->height())), text, widget);
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // Releasing the button hides every tool tip: the bar's value shows again after it.
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto found = std::find(bars_.begin(), bars_.end(), watched);
        if (found != bars_.end()) {
            const auto bar = static_cast<Bar>(found - bars_.begin());
            QScrollBar* widget = *found;
            QTimer::singleShot(0, widget,
                               [this, bar, widget] { showBarValue(bar, widget->value(), true); });
        }
    }
    if (event->type() != QEvent::MouseMove || controller_ == nullptr)
        return QMainWindow::eventFilter(watched, event);
    if (watched == client_)
        controller_->formMoved();
    else if (watched == panels_[static_cast<std::size_t>(Panel::Frame3)])
        controller_->frame3Moved();
    else if (watched == label7_)
        controller_->label7Moved();
    else if (watched == label5_)
        controller_->label5Moved();
    return QMainWindow::eventFilter(watched, event);
}

} // namespace ai::ui
