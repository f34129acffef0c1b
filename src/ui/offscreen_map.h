#pragma once

#include "analysis/map_window.h"
#include "ui/map_canvas.h"
#include "ui/map_svg.h"

#include <QByteArray>

namespace ai::ui {

// A picture as a PNG file's bytes, compressed fast: a map of a large photograph is tens of
// megapixels.
QByteArray pngBytes(const QImage& picture);

// The map window without a window: a map paints on the same canvas as the map window's,
// and the picture comes out as a PNG or an SVG file's bytes. The batch program paints its
// maps on it, and the map window the maps it saves without showing them.
class OffscreenMap : public MapWindow {
public:
    OffscreenMap();

    void show() override {}
    void setBackground(const std::string& path) override;
    void drawPoint(float x, float y, Rgb colour) override;
    void drawLegendPoint(float x, float y, Rgb colour) override;
    void setTitle(const std::string& text) override { texts_.title = text; }
    void setMaximumText(const std::string& text) override { texts_.maximum = text; }
    void setMinimumText(const std::string& text) override { texts_.minimum = text; }
    void hide() override {}

    // A readable map in place of the dots.
    void showStyled(std::optional<StyledMap> map) { canvas_.showStyled(std::move(map)); }

    // False when the last background named a photograph that could not be read.
    bool backgroundRead() const { return backgroundRead_; }

    QImage picture() const { return canvas_.picture(texts_); }
    QByteArray png() const;
    QByteArray svg() const { return mapSvg(canvas_, texts_); }

private:
    ui::MapCanvas canvas_;
    ui::MapTexts texts_;
    bool backgroundRead_ = true;
};

} // namespace ai::ui
