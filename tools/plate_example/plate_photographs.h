#pragma once

#include <QImage>

namespace ai::example {

// The free photograph: the speckled plate with its hole on a dark background.
QImage freePhotograph();

// The loaded photograph: every pixel shows the material point that the exact displacement
// field brought there, so the speckle, the edges and the hole move as the plate does; under
// `share` of the load for a step of a test.
QImage loadedPhotograph(double share = 1.0);

} // namespace ai::example
