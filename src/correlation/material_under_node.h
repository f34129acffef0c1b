#pragma once

#include "correlation/grey_image.h"

namespace ai {

// True when a node's own point (x, y), in pixels of the free photograph, lies on textured
// material: grey-level detail well above the noise in a disc around it, and not inside a
// featureless region wider than a subset, nor on its side of the region's edge. A subset that
// holds the material around a hole matches well although a node inside the hole is not on
// the material. `noiseVariance` is one photograph's noise, in grey levels squared.
bool onMaterial(const GreyImage& free, double x, double y, int subsetSide, double noiseVariance);

} // namespace ai
