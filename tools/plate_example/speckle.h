#pragma once

namespace ai::example {

// The brightness (0 dark to 1 light) of a random speckle painted on the plate, at a point
// in pixels of the free photograph. It is a smooth function of the point, so a photograph
// of the deformed plate samples it at each pixel's material point. Deterministic: the
// dots come from a fixed seed, the same on every machine.
double speckleBrightness(double x, double y);

} // namespace ai::example
