#pragma once

#include "ui/map_canvas.h"

#include <QByteArray>

namespace ai::ui {

// The map's picture as an SVG file's bytes, for publications: the photograph with the
// map's colours as one embedded picture at the photograph's resolution, the legend and its
// texts as vectors.
QByteArray mapSvg(const MapCanvas& canvas, const MapTexts& texts);

} // namespace ai::ui
