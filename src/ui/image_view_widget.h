#pragma once

#include "render/image_view.h"
#include "ui/overlay.h"
#include "ui/picture_file.h"
#include "ui/view_transform.h"

#include <QFrame>
#include <QImage>
#include <QRect>
#include <QThreadPool>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QScrollBar;

namespace ai::ui {

class ViewsPlacement;

// A picture view of the main window: its photograph at the zoom and place that both views
// share, the core's overlay over it at its own size on the screen, and its pointer events
// in the photograph's units whatever the zoom. Qt's implicit grab keeps the movements and
// the release of a press on the view that received the press, wherever the pointer goes.
// The wheel zooms about the pointer; the middle button, or the left one with the space bar
// held, drags the photograph.
class ImageViewWidget : public QFrame, public ImageView {
    Q_OBJECT

public:
    // `geometry` is the outer rectangle in the parent, border included.
    ImageViewWidget(QWidget* parent, const QRect& geometry, ViewsPlacement& placement);
    ~ImageViewWidget() override;

    std::string importPicture(const std::string& path) override;
    std::string importStepPicture(const std::string& path) override;
    void restorePicture(const std::string& path) override;
    bool showsPicture(const std::string& path) override;
    void drawPoint(float x, float y, Rgb colour) override;
    void drawMarkPoint(float x, float y, float dx, float dy, Rgb colour) override;
    void drawLine(float x1, float y1, float x2, float y2, Rgb colour) override;

    // The photograph's size in pixels, empty when the view is empty.
    QSize photographSize() const { return size_; }
    // The photograph as last decoded for what the view shows (reduced when zoomed out),
    // null when the view is empty.
    const QImage& picture() const;

    // The size a photograph may have and still be seen whole at natural size: the view's,
    // border included, which hides the last two pixels of each direction as it always has.
    QSize room() const { return size(); }

    static int scrollBarExtent();

    // Whether a sharper picture of what the view shows is being decoded; it is shown when
    // it is ready, a coarser one standing in for it until then.
    bool decoding() const { return inFlight_; }

signals:
    void pressed(float X, float Y);
    void moved(float X, float Y);
    void released();
    // The pointer is over the photograph's pixel (x, y), rounded to the nearest.
    void pointed(double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // Reads and shows a new photograph, fitted unless asked to keep the place of one as large.
    std::string load(const std::string& path, bool keepPlace);
    // A part of the photograph decoded at one reduction.
    struct Decoded {
        QRect region; // photograph pixels
        int step = 1;
        QImage image;
    };

    QPointF insidePosition(const QMouseEvent* event) const;
    QPointF unitsOf(const QMouseEvent* event) const;
    void placementChanged();
    void placeScrollBars();
    void repaintLater();
    void compose();
    const Decoded* decodedFor(const QRectF& seen, int step);
    QRect regionToDecode(const QRect& needed, int step) const;
    void keep(Decoded decoded);
    void decodeLater(const QRect& region, int step);
    void takeNewPhotograph(const std::string& path, FileStamp stamp, QSize size);

    ViewsPlacement& placement_;
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    std::string path_;
    FileStamp stamp_;
    QSize size_;
    // The whole photograph, reduced as at its first showing: shown at once whatever the zoom,
    // until a sharper decoding of what is seen is ready.
    std::optional<Decoded> overview_;
    // Sharper parts, the latest first: a zoom back to the previous reduction decodes nothing.
    std::vector<Decoded> decoded_;
    // One decoding at a time, away from the window's thread; a new photograph makes the
    // one under way useless.
    QThreadPool decoder_;
    bool inFlight_ = false;
    std::uint64_t generation_ = 0;
    Overlay overlay_;
    // The picture with the overlay painted over it, as the view shows them: made again
    // only when either changes, so that repainting an unchanged view is one copy.
    QImage composed_;
    bool repaintRequested_ = false;
    bool spaceHeld_ = false;
    bool panning_ = false;
    QPointF panFrom_;
};

} // namespace ai::ui
