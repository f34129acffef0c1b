#include "ui/form2.h"

#include "ui/design_font.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace ai::ui {

namespace {

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

Form2::Form2() : canvas_(palette().color(QPalette::Window), palette().color(QPalette::WindowText))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Carte des contraintes"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kMapClientSize);
    setFont(designFont());

    label1_ = label(this, "Label1", "Contrainte équivalente de Von-Mises en Mpa", kMapTitleRect);
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setWordWrap(true);
    QFont italic = font();
    italic.setItalic(true);
    label1_->setFont(italic);
    label2_ = label(this, "Label2", "0", kMapMaximumRect);
    label3_ = label(this, "Label3", "0", kMapMinimumRect);
}

void Form2::show()
{
    const bool opening = !isVisible();
    QWidget::show();
    if (opening) {
        // Centred with its frame, as far as the window system has told it yet.
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());
    }
    raise();
}

void Form2::hide() { QWidget::hide(); }

void Form2::setBackground(const std::string& path)
{
    canvas_.setBackground(path);
    repaintLater();
}

void Form2::drawPoint(float x, float y, Rgb colour)
{
    canvas_.drawPoint(x, y, colour);
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

QImage Form2::picture() const
{
    return canvas_.picture({label1_->text().toStdString(), label2_->text().toStdString(),
                            label3_->text().toStdString()});
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
    painter.drawImage(QPoint(0, 0), canvas_.surface());
}

void Form2::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closedByUser();
}

} // namespace ai::ui
