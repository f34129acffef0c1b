#include "ui/image_view_widget.h"

#include "ui/view_units.h"

#include <QMouseEvent>
#include <QPainter>

namespace ai::ui {

namespace {

// The border of a picture box: two pixels, sunken.
constexpr int kBorderWidth = 2;

QSize insideSize(const QRect& geometry)
{
    return geometry.size() - QSize(2 * kBorderWidth, 2 * kBorderWidth);
}

QRgb toQRgb(Rgb colour) { return qRgb(colour.red, colour.green, colour.blue); }

} // namespace

ImageViewWidget::ImageViewWidget(QWidget* parent, const QRect& geometry)
    : QFrame(parent), file_(insideSize(geometry))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorderWidth);
    setGeometry(geometry);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

std::string ImageViewWidget::importPicture(const std::string& path)
{
    PictureError error;
    if (!file_.load(path, &error))
        return pictureFailureText(path, error);
    replacePicture(file_.picture(path));
    return {};
}

void ImageViewWidget::restorePicture(const std::string& path)
{
    replacePicture(file_.picture(path));
}

bool ImageViewWidget::showsPicture(const std::string& path) { return file_.holds(path); }

void ImageViewWidget::replacePicture(const QImage& picture)
{
    // Implicitly shared: no pixel is copied.
    picture_ = picture;
    overlay_.clear();
    repaintLater();
}

void ImageViewWidget::drawPoint(float x, float y, Rgb colour)
{
    if (const auto point = toPixel(x, y)) {
        overlay_.addPoint(*point, toQRgb(colour));
        repaintLater();
    }
}

void ImageViewWidget::drawLine(float x1, float y1, float x2, float y2, Rgb colour)
{
    const auto from = toPixel(x1, y1);
    const auto to = toPixel(x2, y2);
    if (from && to) {
        overlay_.addLine(QLine(*from, *to), toQRgb(colour));
        repaintLater();
    }
}

void ImageViewWidget::repaintLater()
{
    composed_ = QImage();
    // A redraw sends thousands of primitives; one request covers them all.
    if (repaintRequested_)
        return;
    repaintRequested_ = true;
    update();
}

void ImageViewWidget::paintEvent(QPaintEvent* event)
{
    repaintRequested_ = false;
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect();
    if (composed_.isNull() || composed_.deviceIndependentSize() != QSizeF(inside.size()) ||
        composed_.devicePixelRatio() != devicePixelRatio())
        compose();
    painter.drawImage(inside.topLeft(), composed_);
}

void ImageViewWidget::compose()
{
    const qreal ratio = devicePixelRatio();
    const QSize inside = contentsRect().size();
    // Transparent where the picture does not cover, so the frame's background shows there.
    composed_ = QImage((QSizeF(inside) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    composed_.setDevicePixelRatio(ratio);
    composed_.fill(Qt::transparent);
    QPainter painter(&composed_);
    painter.setClipRect(QRect(QPoint(0, 0), inside));
    if (!picture_.isNull())
        painter.drawImage(QPoint(0, 0), picture_);
    overlay_.paint(painter);
}

QPointF ImageViewWidget::unitsOf(const QMouseEvent* event) const
{
    const QPointF inside = event->position() - QPointF(contentsRect().topLeft());
    return {toUnits(inside.x()), toUnits(inside.y())};
}

void ImageViewWidget::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = unitsOf(event);
    emit pressed(static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void ImageViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = unitsOf(event);
    emit moved(static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void ImageViewWidget::mouseReleaseEvent(QMouseEvent*) { emit released(); }

} // namespace ai::ui
