// The controls of the main window at their design places (twips, see view_units.h).
#include "ui/form1.h"
#include "ui/image_view_widget.h"
#include "ui/view_units.h"
#include "ui/wrapping_button.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace ai::ui {

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name, const QRect& at)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(at);
    return widget;
}

QLabel* label(QWidget* container, const char* name, const char* text, const QRect& at)
{
    auto* widget = named(new QLabel(QString::fromUtf8(text), container), name, at);
    widget->setTextFormat(Qt::PlainText);
    return widget;
}

QLabel* centredLabel(QWidget* container, const char* name, const char* text, const QRect& at)
{
    QLabel* widget = label(container, name, text, at);
    widget->setAlignment(Qt::AlignCenter);
    widget->setWordWrap(true);
    return widget;
}

QLabel* borderedLabel(QWidget* container, const char* name, const char* text, const QRect& at)
{
    QLabel* widget = centredLabel(container, name, text, at);
    widget->setFrameStyle(QFrame::Box | QFrame::Plain);
    widget->setLineWidth(1);
    return widget;
}

QGroupBox* panel(QWidget* container, const char* name, const char* caption, const QRect& at)
{
    auto* box = named(new QGroupBox(QString::fromUtf8(caption), container), name, at);
    // Panels lie above the views: they must hide the photograph under them.
    box->setAutoFillBackground(true);
    return box;
}

QPushButton* button(QWidget* container, const char* name, const char* caption, const QRect& at)
{
    return named(new WrappingButton(QString::fromUtf8(caption), container), name, at);
}

ImageViewWidget* view(QWidget* container, const char* name, const QRect& at,
                      ViewsPlacement& placement)
{
    auto* widget = new ImageViewWidget(container, at, placement);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* textBox(QWidget* container, const char* name, const QRect& at)
{
    return named(new QLineEdit(container), name, at);
}

const char* barName(Bar bar)
{
    static constexpr const char* names[kBarCount] = {"HScroll1", "VScroll1", "HScroll2", "VScroll2",
                                                     "HScroll3", "VScroll3", "HScroll4", "VScroll4",
                                                     "HScroll5", "VScroll5", "HScroll6"};
    return names[index(bar)];
}

} // namespace

void Form1::addBar(QWidget* container, Bar bar, Qt::Orientation orientation, const QRect& at)
{
    auto* widget = named(new QScrollBar(orientation, container), barName(bar), at);
    const BarRange range = barRange(bar);
    widget->setRange(range.minimum, range.maximum);
    widget->setSingleStep(range.smallStep);
    widget->setPageStep(range.largeStep);
    widget->setValue(range.initial);
    // A change is reported when the thumb is dropped, not at every step of its drag.
    widget->setTracking(false);
    widget->setFocusPolicy(Qt::StrongFocus);
    bars_[index(bar)] = widget;
    tabOrder_.push_back(widget);
}

void Form1::buildControls(QWidget* client)
{
    picture1_ = view(client, "Picture1", pixelRect(120, 120, 15015, 4935), placement_);
    picture2_ = view(client, "Picture2", pixelRect(120, 5040, 15015, 5175), placement_);
    label1_ = label(client, "Label1", "Attente de commandes", pixelRect(3480, 10440, 7695, 255));
    label1_->setBackgroundRole(QPalette::Window);
    label1_->setAutoFillBackground(true);

    QGroupBox* frame1 = panel(client, "Frame1", "Matériau", pixelRect(8160, 8160, 1575, 2175));
    QLabel* label2 =
        centredLabel(frame1, "Label2", "Module de Young en MPa", pixelRect(120, 480, 1335, 495));
    QLabel* label3 =
        centredLabel(frame1, "Label3", "Coefficient de Poisson", pixelRect(120, 1320, 1215, 375));
    text1_ = textBox(frame1, "Text1", pixelRect(480, 960, 855, 285));
    text2_ = textBox(frame1, "Text2", pixelRect(600, 1800, 615, 285));

    label5_ = borderedLabel(client, "Label5", "Matériau", pixelRect(8640, 10320, 1095, 255));
    label7_ = borderedLabel(client, "Label7", "+", pixelRect(10680, 10320, 495, 255));
    label7_->setBackgroundRole(QPalette::Dark);
    label7_->setAutoFillBackground(true);

    // The photograph pixel under the pointer and the zoom, right of the "+" label, where the
    // design left the row free.
    pointer_ = label(client, "Pointeur", "", QRect(760, 696, 248, 17));
    pointer_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    tabOrder_.insert(tabOrder_.end(), {picture1_, picture2_, label1_, frame1, label2, label3,
                                       text1_, text2_, label5_, label7_});
    panels_[static_cast<std::size_t>(Panel::Frame1)] = frame1;
    panels_[static_cast<std::size_t>(Panel::Label5)] = label5_;

    buildGridPanel(client);

    // Frame4 lies inside the top-right corner of Picture1, measured from its inside.
    const QPoint inside = picture1_->contentsRect().topLeft();
    QGroupBox* frame4 = panel(picture1_, "Frame4", "Maillage automatique",
                              pixelRect(12840, 0, 1935, 1215).translated(inside));
    QPushButton* command7 = button(frame4, "Command7", "Valider", pixelRect(240, 720, 1455, 375));
    tabOrder_.insert(tabOrder_.end(), {frame4, command7});
    addBar(frame4, Bar::HScroll6, Qt::Horizontal, pixelRect(600, 360, 735, 255));
    panels_[static_cast<std::size_t>(Panel::Frame4)] = frame4;

    // The views share the growth in proportion to their heights; the panels and the row
    // below the views follow them.
    const double freeShare = double(picture1_->height()) / (picture1_->height() + picture2_->height());
    anchor(picture1_, {0, 0}, {1, freeShare});
    anchor(picture2_, {0, freeShare}, {1, 1 - freeShare});
    anchor(frame4, {1, 0});
    anchor(panels_[static_cast<std::size_t>(Panel::Frame3)], {1, 0});
    for (QWidget* belowMiddle : {static_cast<QWidget*>(frame1), static_cast<QWidget*>(label1_),
                                 static_cast<QWidget*>(label5_), static_cast<QWidget*>(label7_)})
        anchor(belowMiddle, {0.5, 1});
    anchor(pointer_, {1, 1});

    for (QWidget* hidden : panels_)
        hidden->hide();
    // The panels lie above the views where they overlap them.
    for (QWidget* above : panels_)
        above->raise();
}

void Form1::buildGridPanel(QWidget* client)
{
    QGroupBox* frame3 =
        panel(client, "Frame3", "Structure maillée", pixelRect(13080, 1440, 1935, 6135));
    panels_[static_cast<std::size_t>(Panel::Frame3)] = frame3;
    tabOrder_.push_back(frame3);

    // Each labelled button sits over the crossing of its two bars, whose arrows stick out.
    const auto addButton = [&](const char* name, const char* caption, const QRect& at) {
        QPushButton* widget = button(frame3, name, caption, at);
        tabOrder_.push_back(widget);
        return widget;
    };
    std::vector<QPushButton*> labels;
    labels.push_back(addButton("Command2", "Dimensions", pixelRect(480, 1560, 975, 495)));
    addBar(frame3, Bar::VScroll2, Qt::Vertical, pixelRect(840, 1320, 255, 975));
    addBar(frame3, Bar::HScroll2, Qt::Horizontal, pixelRect(240, 1680, 1455, 255));
    labels.push_back(addButton("Command1", "Nombre de noeuds", pixelRect(480, 480, 975, 495)));
    addBar(frame3, Bar::VScroll1, Qt::Vertical, pixelRect(840, 240, 255, 975));
    addBar(frame3, Bar::HScroll1, Qt::Horizontal, pixelRect(240, 600, 1455, 255));
    labels.push_back(addButton("Command3", "Déformation ", pixelRect(480, 2640, 975, 495)));
    addBar(frame3, Bar::HScroll3, Qt::Horizontal, pixelRect(240, 2760, 1455, 255));
    addBar(frame3, Bar::VScroll3, Qt::Vertical, pixelRect(840, 2400, 255, 975));
    labels.push_back(addButton("Command4", "Déplact libre", pixelRect(480, 3720, 975, 495)));
    addBar(frame3, Bar::VScroll4, Qt::Vertical, pixelRect(840, 3480, 255, 975));
    addBar(frame3, Bar::HScroll4, Qt::Horizontal, pixelRect(240, 3840, 1455, 255));
    labels.push_back(addButton("Command5", "Déplct chargé", pixelRect(480, 4800, 975, 495)));
    addBar(frame3, Bar::VScroll5, Qt::Vertical, pixelRect(840, 4560, 255, 975));
    addBar(frame3, Bar::HScroll5, Qt::Horizontal, pixelRect(240, 4920, 1455, 255));
    for (QPushButton* widget : labels)
        widget->raise();

    addButton("Command6", "Valider", pixelRect(240, 5640, 1455, 375));
}

} // namespace ai::ui
