#pragma once

#include "model/number_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace ai {

// The isotropic material typed into the material panel.
struct Material {
    double young = 1.0; // MPa
    double poisson = 0.47;
};

// The material, or the French message that tells the user which value to correct.
struct MaterialReading {
    std::optional<Material> material;
    std::string refusal;
};

// Reads Young's modulus and Poisson's ratio as typed, in the user's number format, and
// refuses a ratio at a pole of the chosen hypothesis' elastic law: 1 or -1 under plane
// stress, 0.5 or -1 under plane strain.
MaterialReading readMaterial(std::string_view youngText, std::string_view poissonText,
                             bool planeStress, const NumberFormat& format);

} // namespace ai
