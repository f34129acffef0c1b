#include "ui/image_view_widget.h"

#include "ui/picture_decoder.h"
#include "ui/view_units.h"
#include "ui/views_placement.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace ai::ui {

namespace {

// The border of a picture box: two pixels, sunken.
constexpr int kBorderWidth = 2;

// Sharper parts kept per view beside the whole photograph: the one shown and the one before.
constexpr std::size_t kKeptDecodings = 2;

// A reduced photograph of at most this many pixels is decoded whole: a pan then decodes
// nothing. Larger ones are decoded around what the view shows.
constexpr qint64 kWholeDecodingPixels = 4 * 1000 * 1000;

QRgb toQRgb(Rgb colour) { return qRgb(colour.red, colour.green, colour.blue); }

// The largest reduction that still gives at least one decoded pixel a screen pixel.
int stepFor(double zoom)
{
    int step = 1;
    while (step < 64 && 2 * step * zoom <= 1.0)
        step *= 2;
    return step;
}

QRect alignedTo(const QRect& region, int step)
{
    const int left = region.left() / step * step;
    const int top = region.top() / step * step;
    return {left, top, region.right() + 1 - left, region.bottom() + 1 - top};
}

} // namespace

ImageViewWidget::ImageViewWidget(QWidget* parent, const QRect& geometry, ViewsPlacement& placement)
    : QFrame(parent), placement_(placement), horizontal_(new QScrollBar(Qt::Horizontal, this)),
      vertical_(new QScrollBar(Qt::Vertical, this))
{
    decoder_.setMaxThreadCount(1);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorderWidth);
    setGeometry(geometry);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) {
            placement_.scrollTo(bar->orientation(), value / placement_.transform().zoom);
        });
    }
    placement_.addView(this);
    connect(&placement_, &ViewsPlacement::changed, this, &ImageViewWidget::placementChanged);
}

int ImageViewWidget::scrollBarExtent()
{
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

ImageViewWidget::~ImageViewWidget()
{
    // The decoding under way reports to this view: it must end first.
    decoder_.clear();
    decoder_.waitForDone();
}

const QImage& ImageViewWidget::picture() const
{
    static const QImage none;
    if (!decoded_.empty())
        return decoded_.front().image;
    return overview_ ? overview_->image : none;
}

void ImageViewWidget::takeNewPhotograph(const std::string& path, FileStamp stamp, QSize size)
{
    path_ = path;
    stamp_ = stamp;
    size_ = size;
    overview_.reset();
    decoded_.clear();
    ++generation_;
}

std::string ImageViewWidget::importPicture(const std::string& path)
{
    return load(path, false);
}

std::string ImageViewWidget::importStepPicture(const std::string& path)
{
    return load(path, true);
}

std::string ImageViewWidget::load(const std::string& path, bool keepPlace)
{
    const FileStamp stamp = FileStamp::of(path);
    PictureError error;
    const auto size = ui::photographSize(path, &error);
    if (!size)
        return pictureFailureText(path, error);
    // Decoded whole at the reduction it is first shown at, which also proves it readable.
    const QRect whole(QPoint(0, 0), *size);
    const int step = stepFor(fittedZoom(extentOf(*size), extentOf(room())).zoom);
    auto image = decodeRegion(path, whole, step, &error);
    if (!image)
        return pictureFailureText(path, error);
    const bool sameSize = *size == size_;
    takeNewPhotograph(path, stamp, *size);
    overview_ = Decoded{whole, step, std::move(*image)};
    overlay_.clear();
    if (keepPlace && sameSize)
        placement_.keepWithin();
    else
        placement_.showWhole();
    repaintLater();
    return {};
}

void ImageViewWidget::restorePicture(const std::string& path)
{
    overlay_.clear();
    repaintLater();
    if (showsPicture(path))
        return;
    const bool another = path != path_;
    const FileStamp stamp = FileStamp::of(path);
    takeNewPhotograph(path, stamp,
                      stamp.exists ? ui::photographSize(path).value_or(QSize()) : QSize());
    if (another && !size_.isEmpty())
        placement_.showWhole();
    else
        placement_.keepWithin();
}

bool ImageViewWidget::showsPicture(const std::string& path)
{
    return path == path_ && FileStamp::of(path) == stamp_;
}

void ImageViewWidget::drawPoint(float x, float y, Rgb colour)
{
    drawMarkPoint(x, y, 0, 0, colour);
}

void ImageViewWidget::drawMarkPoint(float x, float y, float dx, float dy, Rgb colour)
{
    overlay_.addPoint(x, y, dx, dy, toQRgb(colour));
    repaintLater();
}

void ImageViewWidget::drawLine(float x1, float y1, float x2, float y2, Rgb colour)
{
    overlay_.addLine(x1, y1, x2, y2, toQRgb(colour));
    repaintLater();
}

void ImageViewWidget::placementChanged()
{
    placeScrollBars();
    repaintLater();
}

void ImageViewWidget::placeScrollBars()
{
    const ViewTransform& t = placement_.transform();
    const QSizeF shown = QSizeF(placement_.photographsExtent()) * t.zoom;
    const QRect inside = contentsRect();
    const int bar = scrollBarExtent();
    const bool across = shown.width() > room().width();
    const bool down = shown.height() > room().height();
    const auto place = [&](QScrollBar* widget, bool visible, const QRect& at, double length,
                           int room, double origin) {
        widget->setVisible(visible);
        if (!visible)
            return;
        const QSignalBlocker blocker(widget);
        widget->setGeometry(at);
        widget->setRange(0, static_cast<int>(std::ceil(length - room + bar)));
        widget->setPageStep(room);
        widget->setSingleStep(std::max(1, room / 20));
        widget->setValue(static_cast<int>(std::lround(origin * t.zoom)));
    };
    place(horizontal_, across,
          QRect(inside.left(), inside.bottom() + 1 - bar, inside.width() - (down ? bar : 0), bar),
          shown.width(), inside.width(), t.origin.x());
    place(vertical_, down,
          QRect(inside.right() + 1 - bar, inside.top(), bar, inside.height() - (across ? bar : 0)),
          shown.height(), inside.height(), t.origin.y());
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

void ImageViewWidget::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    placement_.keepWithin();
    placeScrollBars();
    repaintLater();
}

QRect ImageViewWidget::regionToDecode(const QRect& needed, int step) const
{
    const QRect photograph(QPoint(0, 0), size_);
    const qint64 reduced = qint64(size_.width() / step) * (size_.height() / step);
    if (reduced <= kWholeDecodingPixels)
        return photograph;
    // Around what is seen, as far again on each side, so that a pan decodes rarely.
    return alignedTo(needed.adjusted(-needed.width(), -needed.height(), needed.width(),
                                     needed.height()),
                     step)
        .intersected(photograph);
}

void ImageViewWidget::keep(Decoded decoded)
{
    decoded_.insert(decoded_.begin(), std::move(decoded));
    if (decoded_.size() > kKeptDecodings)
        decoded_.pop_back();
}

const ImageViewWidget::Decoded* ImageViewWidget::decodedFor(const QRectF& seen, int step)
{
    const QRect photograph(QPoint(0, 0), size_);
    const QRect needed = seen.toAlignedRect().intersected(photograph);
    if (needed.isEmpty())
        return nullptr;
    const auto covers = [&](const Decoded& d) { return d.region.contains(needed); };
    const auto kept = std::find_if(decoded_.begin(), decoded_.end(), [&](const Decoded& d) {
        return d.step == step && covers(d);
    });
    if (kept != decoded_.end()) {
        std::rotate(decoded_.begin(), kept, kept + 1);
        return &decoded_.front();
    }
    if (overview_ && overview_->step <= step)
        return &*overview_;
    if (!overview_) {
        // Nothing to show yet: the whole photograph, no sharper than at its first showing.
        const double fitting = std::min({1.0, double(room().width()) / size_.width(),
                                         double(room().height()) / size_.height()});
        const int overviewStep = std::max(step, stepFor(fitting));
        auto image = decodeRegion(path_, photograph, overviewStep);
        if (!image)
            return nullptr;
        overview_ = Decoded{photograph, overviewStep, std::move(*image)};
        if (overviewStep == step)
            return &*overview_;
    }
    decodeLater(regionToDecode(needed, step), step);
    // The sharpest kept picture of what is seen stands in meanwhile.
    const Decoded* standIn = &*overview_;
    for (const Decoded& d : decoded_)
        if (covers(d) && d.step < standIn->step)
            standIn = &d;
    return standIn;
}

void ImageViewWidget::decodeLater(const QRect& region, int step)
{
    // The paint after the decoding under way asks again for what is seen then.
    if (inFlight_)
        return;
    inFlight_ = true;
    decoder_.start([this, path = path_, region, step, generation = generation_] {
        // One decoding at a time for both views: a reader may hold a whole photograph.
        static std::mutex oneAtATime;
        std::unique_lock lock(oneAtATime);
        auto image = decodeRegion(path, region, step);
        lock.unlock();
        QMetaObject::invokeMethod(
            this,
            [this, region, step, generation, image = std::move(image)] {
                inFlight_ = false;
                if (image && generation == generation_)
                    keep(Decoded{region, step, *image});
                repaintLater();
            },
            Qt::QueuedConnection);
    });
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
    const ViewTransform& t = placement_.transform();
    const QRectF seen = t.seen(QSizeF(inside));
    const int step = stepFor(t.zoom);
    if (const Decoded* d = size_.isEmpty() ? nullptr : decodedFor(seen, step)) {
        // Only the decoded pixels in sight are painted, one more on each side.
        const QRectF sought((seen.topLeft() - QPointF(d->region.topLeft())) / step,
                            seen.size() / step);
        const QRect source =
            sought.toAlignedRect().adjusted(-1, -1, 1, 1).intersected(d->image.rect());
        const QRectF target = t.screenOf(QRectF(QPointF(d->region.topLeft()) +
                                                    QPointF(source.topLeft()) * step,
                                                QSizeF(source.size()) * step));
        if (t.zoom * step == 1 && target.topLeft() == target.topLeft().toPoint()) {
            painter.drawImage(target.topLeft(), d->image, source);
        } else {
            // Zoomed in, each photograph pixel a sharp square; zoomed out, averaged.
            painter.setRenderHint(QPainter::SmoothPixmapTransform, t.zoom * step < 1);
            painter.drawImage(target, d->image, source);
        }
    }
    overlay_.paint(painter, t);
}

QPointF ImageViewWidget::insidePosition(const QMouseEvent* event) const
{
    return event->position() - QPointF(contentsRect().topLeft());
}

QPointF ImageViewWidget::unitsOf(const QMouseEvent* event) const
{
    return placement_.transform().unitsAt(insidePosition(event));
}

void ImageViewWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_)) {
        panning_ = true;
        panFrom_ = event->position();
        return;
    }
    const QPointF at = unitsOf(event);
    emit pressed(static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void ImageViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (panning_) {
        placement_.panBy(event->position() - panFrom_);
        panFrom_ = event->position();
        return;
    }
    const QPointF at = unitsOf(event);
    emit pointed(at.x() / kUnitsPerPixel, at.y() / kUnitsPerPixel);
    emit moved(static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void ImageViewWidget::mouseReleaseEvent(QMouseEvent*)
{
    if (panning_) {
        panning_ = false;
        return;
    }
    emit released();
}

void ImageViewWidget::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y();
    if (notches == 0) {
        event->ignore();
        return;
    }
    // Two notches double the zoom, about the pixel under the pointer.
    const QPointF about =
        event->position() - QPointF(contentsRect().topLeft()) + QPointF(0.5, 0.5);
    placement_.zoomBy(std::exp2(notches / 240.0), about);
    event->accept();
}

void ImageViewWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        spaceHeld_ = true;
        setCursor(Qt::OpenHandCursor);
        return;
    }
    QFrame::keyPressEvent(event);
}

void ImageViewWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        spaceHeld_ = false;
        unsetCursor();
        return;
    }
    QFrame::keyReleaseEvent(event);
}

} // namespace ai::ui
