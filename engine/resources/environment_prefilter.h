// Environment light, made once per environment from a cube of linear radiance: the diffuse
// light as nine spherical-harmonic terms, and the specular light as a cube whose mip levels
// are prefiltered with the GGX distribution for rising roughness. Plain math, no OpenGL.
#pragma once

#include <array>
#include <vector>

#include <glm/vec3.hpp>

#include "engine/formats/radiance_cube.h"

namespace engine {

// The side of the sharpest level, and how many levels there are: level n is prefiltered for
// roughness n / (kEnvironmentLevels - 1), so the roughest is 4 texels a side.
inline constexpr int kEnvironmentSize = 128;
inline constexpr int kEnvironmentLevels = 6;

struct PrefilteredEnvironment {
    // Irradiance / pi as a polynomial in the normal n: terms[0] + terms[1] n.y + terms[2] n.z +
    // terms[3] n.x + terms[4] n.x n.y + terms[5] n.y n.z + terms[6] (3 n.z^2 - 1) +
    // terms[7] n.x n.z + terms[8] (n.x^2 - n.y^2); a white Lambert surface shows exactly it.
    std::array<glm::vec3, 9> irradiance{};
    // Sharpest first.
    std::vector<RadianceCube> levels;
};

// The unit direction through a point of a face; s and t run from 0 to 1 across it.
glm::vec3 cubeDirection(int face, float s, float t);

// The cube at another size: averaged down by whole boxes, or repeated up from a smaller one.
RadianceCube resizedCube(const RadianceCube& source, int size);

// Every level is computed on up to `threads` threads; the source may be of any size.
PrefilteredEnvironment prefilterEnvironment(const RadianceCube& source, int threads);

// The same light everywhere, as one texel a face: what surfaces get without an environment.
PrefilteredEnvironment uniformEnvironment(const glm::vec3& radiance);

// Irradiance / pi for a unit normal, as the shaders evaluate it.
glm::vec3 irradianceTowards(const PrefilteredEnvironment& environment, const glm::vec3& normal);

}  // namespace engine
