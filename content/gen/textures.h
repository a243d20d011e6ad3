// Tileable surface textures (RGB, power-of-two sizes) built from periodic noise.
#pragma once

#include <cstdint>

#include <glm/vec3.hpp>

#include "image.h"

namespace content {

// Pink cell membrane: a mosaic of patches with darker seams and fine grain.
Image membraneTexture();
// Warm, bright and softly mottled, with round vesicles; drawn glowing.
Image terminalGlowTexture();
// White stone with grey veins; the seed and vein colour tell the statue's from the pedestal's.
Image marbleTexture(std::uint32_t seed, glm::vec3 veinColor);
// Pale teal with granules.
Image gliaTexture();

}  // namespace content
