#include "ui/form1.h"

#include "shell/bar_value_text.h"
#include "ui/design_font.h"
#include "ui/image_view_widget.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
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
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(designFont());

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("Form1Client"));
    client_->setMinimumSize(kClientSize);
    client_->setBackgroundRole(QPalette::Window);
    client_->setAutoFillBackground(true);
    setCentralWidget(client_);

    buildControls(client_);
    buildMenus();
    buildViewMenu();
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

    connect(&placement_, &ViewsPlacement::changed, this, [this] {
        if (controller_)
            controller_->setViewZoom(placement_.transform().zoom);
        showPlace();
    });
    for (ImageViewWidget* view : {picture1_, picture2_})
        connect(view, &ImageViewWidget::pointed, this, &Form1::showPointer);
    showPlace();
    resize(sizeHint());
}

void Form1::anchor(QWidget* widget, QPointF moves, QSizeF grows)
{
    anchors_.push_back({widget, widget->geometry(), moves, grows});
}

void Form1::layOut()
{
    const QSize growth = (client_->size() - kClientSize).expandedTo(QSize(0, 0));
    for (const Anchor& a : anchors_) {
        const QPoint moved(qRound(a.moves.x() * growth.width()),
                           qRound(a.moves.y() * growth.height()));
        const QSize grown(qRound(a.grows.width() * growth.width()),
                          qRound(a.grows.height() * growth.height()));
        a.widget->setGeometry(QRect(a.design.topLeft() + moved, a.design.size() + grown));
    }
}

void Form1::showPointer(double x, double y)
{
    pointed_ = QPointF(x, y);
    showPlace();
}

void Form1::showPlace()
{
    const QChar decimal = QChar::fromLatin1(controller_ ? controller_->numberFormat().decimal : ',');
    // Three significant digits from 1,56 % (1/64) to 1600 %, never an exponent.
    const double percent = placement_.transform().zoom * 100;
    const QString zoom = QString::number(percent, 'f', percent < 10 ? 2 : percent < 100 ? 1 : 0)
                             .replace(QLatin1Char('.'), decimal);
    const QString at = pointed_ ? QStringLiteral("x = %1 ; y = %2 px    ")
                                      .arg(qRound(pointed_->x()))
                                      .arg(qRound(pointed_->y()))
                                : QString();
    pointer_->setText(at + QStringLiteral("zoom %1 %").arg(zoom));
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
    for (const auto& [action, quantity] : curveQuantities_) {
        action->setChecked(quantity == controller.curveQuantity());
        connect(action, &QAction::triggered, this,
                [c, quantity = quantity] { c->grandeurcourbe(quantity); });
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
    controller.setViewZoom(placement_.transform().zoom);
    showPlace(); // with the user's decimal separator
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

void Form1::buildStepSelector()
{
    QStatusBar* row = statusBar();
    row->setObjectName(QStringLiteral("stepSelector"));
    row->setSizeGripEnabled(false);
    stepCaption_ = new QLabel(row);
    stepCaption_->setObjectName(QStringLiteral("stepCaption"));
    stepCaption_->setTextFormat(Qt::PlainText);
    stepSlider_ = new QSlider(Qt::Horizontal, row);
    stepSlider_->setObjectName(QStringLiteral("stepSlider"));
    // A step's photograph is decoded when the thumb is dropped, not at every step it passes.
    stepSlider_->setTracking(false);
    stepSlider_->setPageStep(1);
    stepSlider_->setTickPosition(QSlider::TicksBelow);
    row->addWidget(stepCaption_);
    row->addWidget(stepSlider_, 1);
    if (controller_)
        connect(stepSlider_, &QSlider::valueChanged, this,
                [c = controller_](int step) { c->stepSelected(step); });
}

void Form1::showStepSelector(int count, int step, const std::string& caption)
{
    if (count < 2) {
        if (stepSlider_)
            statusBar()->hide();
        return;
    }
    if (!stepSlider_)
        buildStepSelector();
    QStatusBar* row = statusBar();
    const QSignalBlocker blocker(stepSlider_);
    stepSlider_->setRange(1, count);
    stepSlider_->setValue(step);
    stepCaption_->setText(QString::fromStdString(caption));
    row->show();
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
    if (watched == client_ && event->type() == QEvent::Resize)
        layOut();
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
