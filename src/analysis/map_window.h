#pragma once

#include "model/colour.h"

#include <string>

namespace ai {

// The stress map window `Form2`, as the core sees it. Positions are view units.
class MapWindow {
public:
    virtual ~MapWindow() = default;

    // Shows the window without blocking the main window (again if it was hidden or closed).
    virtual void show() = 0;
    // Starts a new picture: the free photograph at natural size, or an empty background
    // when the name is empty or the file cannot be read.
    virtual void setBackground(const std::string& path) = 0;
    virtual void drawPoint(float x, float y, Rgb colour) = 0;
    // A point of the colour bar, in the window's layout rather than on the photograph: a
    // window that zooms keeps it in place and legible.
    virtual void drawLegendPoint(float x, float y, Rgb colour) { drawPoint(x, y, colour); }
    virtual void setTitle(const std::string& text) = 0;       // Label1
    virtual void setMaximumText(const std::string& text) = 0; // Label2
    virtual void setMinimumText(const std::string& text) = 0; // Label3
    // Hides the window; this is not a close by the user.
    virtual void hide() = 0;
};

} // namespace ai
