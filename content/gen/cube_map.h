// Cube map faces in the OpenGL order and orientation: +x, -x, +y, -y, +z, -z. Pixel column i
// and row j (row 0 on top, as the image is stored and uploaded) sample at
// s = 2 (i + 0.5) / size - 1 and t = 2 (j + 0.5) / size - 1, and look along
//   +x: ( 1, -t, -s)   -x: (-1, -t,  s)
//   +y: ( s,  1,  t)   -y: ( s, -1, -t)
//   +z: ( s, -t,  1)   -z: (-s, -t, -1)
// which is the inverse of the major-axis selection OpenGL applies when sampling.
#pragma once

#include <array>

#include <glm/vec3.hpp>

namespace content {

constexpr int kCubeFaces = 6;
extern const std::array<const char*, kCubeFaces> kCubeFaceSuffixes;

// The unit direction through face coordinates s and t, each in [-1, 1].
glm::vec3 cubeFaceDirectionAt(int face, float s, float t);
// The unit direction through the centre of a face's pixel.
glm::vec3 cubeFaceDirection(int face, int column, int row, int size);

}  // namespace content
