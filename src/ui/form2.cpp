#include "ui/form2.h"

#include "ui/design_font.h"
#include "ui/view_units.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include <cmath>

namespace ai::ui {

namespace {

// One wheel notch zooms by a quarter.
constexpr double kWheelStep = 1.25;

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
    resize(kMapClientSize);
    setMinimumSize(320, 200);
    setFont(designFont());
    setMouseTracking(true);

    label1_ = label(this, "Label1", "Contrainte équivalente de Von-Mises en Mpa", kMapTitleRect);
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setWordWrap(true);
    QFont italic = font();
    italic.setItalic(true);
    label1_->setFont(italic);
    label2_ = label(this, "Label2", "0", kMapMaximumRect);
    label3_ = label(this, "Label3", "0", kMapMinimumRect);
    readout_ = label(this, "readout", "x = 0 px, y = 0 px", QRect(4, 4, 0, 0));
    readout_->adjustSize();
    readout_->hide();

    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    vertical_ = new QScrollBar(Qt::Vertical, this);
    horizontal_->setObjectName(QStringLiteral("mapHorizontalBar"));
    vertical_->setObjectName(QStringLiteral("mapVerticalBar"));
    connect(horizontal_, &QScrollBar::valueChanged, this, [this](int value) {
        ZoomPan shown = shown_;
        shown.left = value / shown.zoom;
        if (std::lround(shown_.left * shown_.zoom) != value)
            setZoomPan(shown);
    });
    connect(vertical_, &QScrollBar::valueChanged, this, [this](int value) {
        ZoomPan shown = shown_;
        shown.top = value / shown.zoom;
        if (std::lround(shown_.top * shown_.zoom) != value)
            setZoomPan(shown);
    });
    setZoomPan(shown_);
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
    readoutMap_.reset();
    reducedZoom_ = 0;
    halves_.clear();
    layOut();
    // A photograph of another size is shown whole; the same one keeps its zoom and place.
    if (canvas_.photographSize() != fittedFor_) {
        fittedFor_ = canvas_.photographSize();
        setZoomPan(fittedZoom(surfaceExtent(),
                              {static_cast<double>(width()), static_cast<double>(height())}));
    } else {
        setZoomPan(shown_);
    }
    repaintLater();
}

void Form2::drawPoint(float x, float y, Rgb colour)
{
    canvas_.drawPoint(x, y, colour);
    reducedZoom_ = 0;
    halves_.clear();
    repaintLater();
}

void Form2::drawLegendPoint(float x, float y, Rgb colour)
{
    canvas_.drawLegendPoint(x, y, colour);
    repaintLater();
}

void Form2::showStyled(std::optional<StyledMap> map)
{
    canvas_.showStyled(std::move(map));
    reducedZoom_ = 0;
    halves_.clear();
    layOut();
    repaintLater();
}

void Form2::setReadout(std::optional<StyledMap> map, const NumberFormat& format)
{
    readoutMap_ = std::move(map);
    format_ = format;
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

MapTexts Form2::texts() const
{
    return {label1_->text().toStdString(), label2_->text().toStdString(),
            label3_->text().toStdString()};
}

Extent Form2::surfaceExtent() const
{
    const QSize size = canvas_.surface().size();
    return {static_cast<double>(size.width()), static_cast<double>(size.height())};
}

Extent Form2::viewport() const
{
    return {static_cast<double>(width() - (vertical_->isVisible() ? vertical_->width() : 0)),
            static_cast<double>(height() - (horizontal_->isVisible() ? horizontal_->height() : 0))};
}

void Form2::setZoomPan(ZoomPan shown)
{
    const Extent surface = surfaceExtent();
    // The bars show where the zoomed map is larger than the window.
    const bool wide = surface.width * shown.zoom > width();
    const bool high = surface.height * shown.zoom > height();
    horizontal_->setVisible(wide);
    vertical_->setVisible(high);
    const Extent view = viewport();
    shown_ = clampedPan(shown, surface, view);

    const QSignalBlocker blockHorizontal(horizontal_);
    const QSignalBlocker blockVertical(vertical_);
    horizontal_->setRange(
        0, std::max(0, static_cast<int>(std::ceil(surface.width * shown_.zoom - view.width))));
    horizontal_->setPageStep(static_cast<int>(view.width));
    horizontal_->setValue(static_cast<int>(std::lround(shown_.left * shown_.zoom)));
    vertical_->setRange(
        0, std::max(0, static_cast<int>(std::ceil(surface.height * shown_.zoom - view.height))));
    vertical_->setPageStep(static_cast<int>(view.height));
    vertical_->setValue(static_cast<int>(std::lround(shown_.top * shown_.zoom)));
    update();
}

void Form2::layOut()
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    horizontal_->setGeometry(0, height() - extent, width() - extent, extent);
    vertical_->setGeometry(width() - extent, 0, extent, height() - extent);
    // The labels keep their places against the right and bottom edges, as the bar does.
    const LegendPlace place = legendPlace(size(), 1.0);
    const QPoint bar = place.bar.toPoint();
    label2_->setGeometry(kMapMaximumRect.translated(bar));
    label3_->setGeometry(kMapMinimumRect.translated(bar));
    label1_->setGeometry(kMapTitleRect.translated(place.title.toPoint()));
    const bool labels = !canvas_.styled();
    for (QLabel* text : {label1_, label2_, label3_})
        text->setVisible(labels);
    // Top left: the title and the legend lie along the bottom and the right.
    readout_->move(4, 4);
}

void Form2::resizeEvent(QResizeEvent*)
{
    layOut();
    setZoomPan(shown_);
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
    const QImage& surface = canvas_.surface();
    const double zoom = shown_.zoom;
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (zoom == 1.0 && shown_.left == std::floor(shown_.left) &&
        shown_.top == std::floor(shown_.top)) {
        painter.drawImage(QPointF(-shown_.left, -shown_.top), surface);
    } else if (zoom < 1.0) {
        // Averaged down once per zoom, so that a large photograph keeps its detail.
        painter.drawImage(QPointF(-shown_.left * zoom, -shown_.top * zoom), reducedSurface(zoom));
        canvas_.paintDots(painter, zoom, QPointF(shown_.left, shown_.top));
    } else {
        // Photograph pixels as sharp squares; only the part shown is scaled.
        const Extent view = viewport();
        const QRectF source(shown_.left, shown_.top, view.width / zoom + 1, view.height / zoom + 1);
        const QRectF clipped = source.intersected(QRectF(surface.rect()));
        const QRectF target((clipped.left() - shown_.left) * zoom,
                            (clipped.top() - shown_.top) * zoom, clipped.width() * zoom,
                            clipped.height() * zoom);
        painter.drawImage(target, surface, clipped);
    }
    canvas_.paintLegend(painter, size(), 1.0, texts(), false);
}

const QImage& Form2::reducedSurface(double zoom)
{
    if (reducedZoom_ == zoom)
        return reduced_;
    const QImage& surface = canvas_.surface();
    const QSize size(std::max(1, static_cast<int>(std::lround(surface.width() * zoom))),
                     std::max(1, static_cast<int>(std::lround(surface.height() * zoom))));
    // Halving is cheap and keeps every pixel's share; the last step scales the nearest half
    // that is still at least as large as the size wanted.
    if (halves_.empty())
        halves_.push_back(surface);
    while (halves_.back().width() >= 2 * size.width() && halves_.back().height() >= 2)
        halves_.push_back(halves_.back().scaled(halves_.back().size() / 2, Qt::IgnoreAspectRatio,
                                                Qt::SmoothTransformation));
    std::size_t level = 0;
    while (level + 1 < halves_.size() && halves_[level + 1].width() >= size.width())
        ++level;
    reduced_ = halves_[level].scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    reducedZoom_ = zoom;
    return reduced_;
}

void Form2::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    const QPointF at = event->position();
    setZoomPan(zoomedAbout(shown_, std::pow(kWheelStep, notches), at.x(), at.y(), surfaceExtent(),
                           viewport()));
    event->accept();
}

void Form2::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        panFrom_ = event->position();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void Form2::mouseMoveEvent(QMouseEvent* event)
{
    if (panFrom_) {
        const QPointF moved = event->position() - *panFrom_;
        panFrom_ = event->position();
        setZoomPan(pannedBy(shown_, moved.x(), moved.y()));
    }
    showReadout(event->position());
}

void Form2::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton)
        panFrom_.reset();
    QWidget::mouseReleaseEvent(event);
}

void Form2::showReadout(QPointF at)
{
    // Pixel i covers the surface from i to i + 1 and is centred at 15 i view units.
    const double x = pictureX(shown_, at.x());
    const double y = pictureY(shown_, at.y());
    const QSize photograph = canvas_.photographSize();
    if (x < 0 || y < 0 || x >= photograph.width() || y >= photograph.height()) {
        readout_->hide();
        return;
    }
    QString text = QStringLiteral("x = %1 px, y = %2 px")
                       .arg(static_cast<int>(std::floor(x)))
                       .arg(static_cast<int>(std::floor(y)));
    if (readoutMap_) {
        if (const MapTriangle* triangle =
                triangleAt(*readoutMap_, (x - 0.5) * kUnitsPerPixel, (y - 0.5) * kUnitsPerPixel))
            text += QStringLiteral("   ") +
                    QString::fromStdString(triangleReadout(*triangle, readoutMap_->unit, format_));
    }
    readout_->setText(text);
    readout_->adjustSize();
    readout_->show();
    readout_->raise();
}

void Form2::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closedByUser();
}

} // namespace ai::ui
