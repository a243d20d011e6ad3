// Environment light's textures: a cube texture's radiance read back once, and the prefiltered
// cube uploaded with one mip level per roughness step.
#pragma once

#include <optional>
#include <vector>

#include "engine/formats/radiance_cube.h"
#include "engine/gpu/gl_object.h"

namespace engine {

// The full-size level of a cube texture. Eight-bit textures hold display colours, which light
// squares back to linear ones (gamma 2, as the shaders take them); float ones hold radiance.
// Nothing when the texture has no readable full-size level.
std::optional<RadianceCube> readRadianceCube(GLuint cubeTexture);

// Level n of the texture is levels[n]; each level is half the size of the one before. Stored as
// half floats where the context has them, else clamped to 8 bits.
GlTexture uploadRadianceLevels(const std::vector<RadianceCube>& levels, bool halfFloats);

}  // namespace engine
