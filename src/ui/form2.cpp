#include "ui/form2.h"

#include "ui/design_font.h"
#include "ui/view_units.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace ai::ui {

namespace {

// The map window's inside: 15240 x 6660 twips.
constexpr QSize kClientSize(1016, 444);

QLabel* label(QWidget* container, const char* name, const char* text, const QRect& at)
{
    auto* widget = new QLabel(QString::fromUtf8(text), container);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(at);
    widget->setTextFormat(Qt::PlainText);
    widget->setAutoFillBackground(true);
    return widget;
}

} // namespace

Form2::Form2() : background_(kClientSize), surface_(kClientSize, QImage::Format_RGB32)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Carte des contraintes"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientSize);
    setFont(designFont());
    surface_.fill(palette().color(QPalette::Window));

    label1_ = label(this, "Label1", "Contrainte équivalente de Von-Mises en Mpa",
                    pixelRect(4800, 6120, 1935, 495));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setWordWrap(true);
    QFont italic = font();
    italic.setItalic(true);
    label1_->setFont(italic);
    label2_ = label(this, "Label2", "0", pixelRect(13560, 360, 1575, 255));
    label3_ = label(this, "Label3", "0", pixelRect(13560, 3960, 1575, 255));
}

void Form2::show()
{
    if (!isVisible()) {
        const QRect screenArea = screen()->availableGeometry();
        move(screenArea.center() - rect().center());
    }
    QWidget::show();
    raise();
}

void Form2::hide() { QWidget::hide(); }

void Form2::setBackground(const std::string& path)
{
    surface_.fill(palette().color(QPalette::Window));
    const QImage& picture = background_.picture(path);
    if (!picture.isNull()) {
        QPainter painter(&surface_);
        painter.drawImage(QPoint(0, 0), picture);
    }
    repaintLater();
}

void Form2::drawPoint(float x, float y, Rgb colour)
{
    const auto point = toPixel(x, y);
    if (!point || !surface_.rect().contains(*point))
        return;
    surface_.setPixel(*point, qRgb(colour.red, colour.green, colour.blue));
    repaintLater();
}

void Form2::setTitle(const std::string& text) { label1_->setText(QString::fromStdString(text)); }

void Form2::setMaximumText(const std::string& text)
{
    label2_->setText(QString::fromStdString(text));
}

void Form2::setMinimumText(const std::string& text)
{
    label3_->setText(QString::fromStdString(text));
}

void Form2::repaintLater()
{
    if (repaintRequested_)
        return;
    repaintRequested_ = true;
    update();
}

void Form2::paintEvent(QPaintEvent*)
{
    repaintRequested_ = false;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), surface_);
}

void Form2::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closedByUser();
}

} // namespace ai::ui
