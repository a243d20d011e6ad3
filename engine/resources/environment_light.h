// The environment light glTF materials are lit by: a prefiltered cube on the GPU and the
// diffuse light's harmonic terms, made once when an environment is set, never while drawing.
#pragma once

#include <array>
#include <optional>
#include <string>

#include <glm/vec3.hpp>

#include "engine/gpu/gl_object.h"
#include "engine/h3d.h"
#include "engine/resources/environment_prefilter.h"
#include "engine/resources/loaded_texture.h"

namespace engine {

// The light surfaces get without an environment: the dim constant ambient of the lit shaders.
inline constexpr glm::vec3 kPlainAmbientLight{0.05f, 0.055f, 0.07f};

struct EnvironmentLight {
    GlTexture cube;
    // The highest mip level of the cube, the roughest.
    int roughestLevel = 0;
    std::array<glm::vec3, 9> irradiance{};
    // The cube texture resource it was made from, which skies may show; 0 for none.
    H3DRes source = 0;
    // What computing it took, for reports.
    double milliseconds = 0.0;
};

EnvironmentLight uploadEnvironment(const PrefilteredEnvironment& environment, bool halfFloats);

// Reads a loaded cube texture back and prefilters it on up to `threads` threads. Nothing, with
// the reason, when the texture is not a cube.
std::optional<EnvironmentLight> environmentFromTexture(const LoadedTexture& texture,
                                                       bool halfFloats, int threads,
                                                       std::string& fault);

}  // namespace engine
