#pragma once

#include "render/image_view.h"
#include "ui/overlay.h"
#include "ui/picture_file.h"

#include <QFrame>
#include <QImage>

namespace ai::ui {

// A picture view of the main window: its photograph at natural size from the top-left
// corner of its inside, the core's overlay over it, and its pointer events in view units
// measured from that corner. Qt's implicit grab keeps the movements and the release of a
// press on the view that received the press, wherever the pointer goes.
class ImageViewWidget : public QFrame, public ImageView {
    Q_OBJECT

public:
    // `geometry` is the outer rectangle in the parent, border included.
    ImageViewWidget(QWidget* parent, const QRect& geometry);

    std::string importPicture(const std::string& path) override;
    void restorePicture(const std::string& path) override;
    bool showsPicture(const std::string& path) override;
    void drawPoint(float x, float y, Rgb colour) override;
    void drawLine(float x1, float y1, float x2, float y2, Rgb colour) override;

    // The photograph shown, null when the view is empty.
    const QImage& picture() const { return picture_; }

signals:
    void pressed(float X, float Y);
    void moved(float X, float Y);
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF unitsOf(const QMouseEvent* event) const;
    void replacePicture(const QImage& picture);
    void repaintLater();
    void compose();

    PictureFile file_;
    QImage picture_;
    Overlay overlay_;
    // The picture with the overlay painted over it, as the view shows them: made again
    // only when either changes, so that repainting an unchanged view is one copy.
    QImage composed_;
    bool repaintRequested_ = false;
};

} // namespace ai::ui
