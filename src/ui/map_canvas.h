#pragma once

#include "model/colour.h"
#include "ui/picture_file.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <string>

namespace ai::ui {

// The map window's inside, 15240 x 6660 twips, and where its three labels sit.
inline constexpr QSize kMapClientSize(1016, 444);
inline constexpr QRect kMapTitleRect(320, 408, 129, 33);   // Label1: 4800, 6120, 1935 x 495
inline constexpr QRect kMapMaximumRect(904, 24, 105, 17);  // Label2: 13560, 360, 1575 x 255
inline constexpr QRect kMapMinimumRect(904, 264, 105, 17); // Label3: 13560, 3960, 1575 x 255

// The texts of the map window's three labels.
struct MapTexts {
    std::string title;
    std::string maximum;
    std::string minimum;
};

// The stress map as painted: a surface of the window's inside that starts from the free
// photograph at natural size, or from the window's colour, and keeps every point drawn
// on it. Needs Qt Gui only, so that the batch program paints the same map off screen.
class MapCanvas {
public:
    // `window` fills what the photograph does not cover, and the labels' backgrounds;
    // `text` is the labels' colour.
    MapCanvas(QColor window, QColor text);

    // Starts a new picture. Returns false, giving an empty background, when the name is
    // empty or the file cannot be read.
    bool setBackground(const std::string& path);
    void drawPoint(float x, float y, Rgb colour);

    const QImage& surface() const { return surface_; }

    // The picture the window shows: the surface with the labels' texts over it, in the
    // design font (the title centred, wrapped and in italic).
    QImage picture(const MapTexts& texts) const;

private:
    QColor window_;
    QColor text_;
    PictureFile background_;
    QImage surface_;
};

} // namespace ai::ui
