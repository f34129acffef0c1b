#pragma once

#include "model/project_state.h"
#include "plate_example/kirsch.h"

namespace ai::example {

// The example's plate as photographed, in view units (twips, 15 to a pixel), y downwards.
// Both photographs are 1001 x 329 pixels, so they fit the free view (1001 x 329) and the
// loaded one (1001 x 345) at natural size.
inline constexpr int kImageWidth = 1001;
inline constexpr int kImageHeight = 329;

inline constexpr Vector2 kHoleCentre{7500.0, 2460.0};
inline constexpr double kHoleRadius = 450.0; // 30 pixels

// The plate's edges on the free photograph.
inline constexpr double kPlateLeft = 600.0;
inline constexpr double kPlateRight = 14400.0;
inline constexpr double kPlateTop = 600.0;
inline constexpr double kPlateBottom = 4320.0;

// A polymer plate pulled to 2 % remote strain, so that the loaded photograph shows the
// stretch (about 9 pixels at each end) and the hole's ovalisation.
inline constexpr double kYoung = 2000.0; // MPa
inline constexpr double kPoisson = 0.3;
inline constexpr double kRemoteStress = 40.0; // MPa, along x

inline constexpr PlateLoad kLoad{kRemoteStress, kYoung, kPoisson, kHoleRadius};

// The exact position on the loaded photograph of the material point at `free`, under
// `share` of the load (the field is linear in it).
inline Vector2 loadedPosition(Vector2 free, double share = 1.0)
{
    const Vector2 u = kirschDisplacement(kLoad, {free.x - kHoleCentre.x, free.y - kHoleCentre.y});
    return {free.x + share * u.x, free.y + share * u.y};
}

} // namespace ai::example
