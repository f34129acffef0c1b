#pragma once

#include "analysis/map_window.h"
#include "ui/map_canvas.h"

#include <QByteArray>

namespace ai::ui {

// The map window without a window: a map paints on the same canvas as the map window's,
// and the picture comes out as a PNG file's bytes. The batch program paints its maps on it,
// and the map window the maps it saves without showing them.
class OffscreenMap : public MapWindow {
public:
    OffscreenMap();

    void show() override {}
    void setBackground(const std::string& path) override;
    void drawPoint(float x, float y, Rgb colour) override;
    void setTitle(const std::string& text) override { texts_.title = text; }
    void setMaximumText(const std::string& text) override { texts_.maximum = text; }
    void setMinimumText(const std::string& text) override { texts_.minimum = text; }
    void hide() override {}

    // False when the last background named a photograph that could not be read.
    bool backgroundRead() const { return backgroundRead_; }

    QByteArray png() const;

private:
    ui::MapCanvas canvas_;
    ui::MapTexts texts_;
    bool backgroundRead_ = true;
};

} // namespace ai::ui
