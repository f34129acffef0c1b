#pragma once

#include "model/colour.h"

#include <string>

namespace ai {

// One of the two image views, as the core sees it: a base image read from a file
// and an overlay of points and lines in view units (twips) drawn over it.
class ImageView {
public:
    virtual ~ImageView() = default;

    // Makes the picture in `path` the base image and clears the overlay. Returns the
    // empty text on success; otherwise, leaving the view exactly as it was, the sentence
    // that tells the user why the file gave no picture.
    virtual std::string importPicture(const std::string& path) = 0;

    // As importPicture, for another photograph of the same test (a load step): a view that
    // zooms keeps its zoom and place over a photograph of the same size.
    virtual std::string importStepPicture(const std::string& path) { return importPicture(path); }

    // Restores the base image from a remembered file name and clears the overlay;
    // an empty name or a file that cannot be read any more gives an empty view.
    virtual void restorePicture(const std::string& path) = 0;

    // Whether the base image is already the one restorePicture(path) would give: the same
    // file, unchanged since it was read (none for an empty name or an unreadable file).
    virtual bool showsPicture(const std::string& path) = 0;

    virtual void drawPoint(float x, float y, Rgb colour) = 0;

    // One point of a node's mark: the node at (x, y), the point `dx`, `dy` units from it at
    // natural size. A view that zooms keeps that offset's size on the screen.
    virtual void drawMarkPoint(float x, float y, float dx, float dy, Rgb colour)
    {
        drawPoint(x + dx, y + dy, colour);
    }
    virtual void drawLine(float x1, float y1, float x2, float y2, Rgb colour) = 0;
};

} // namespace ai
