// Normals for meshes that come without them.
#pragma once

#include <cstdint>
#include <vector>

#include <glm/vec3.hpp>

namespace engine {

// Per vertex, the area-weighted average of the normals of the triangles that use it: smooth
// where triangles share vertices, flat where each has its own. Vertices of no triangle (or
// only degenerate ones) get +z.
std::vector<glm::vec3> generateNormals(const std::vector<glm::vec3>& positions,
                                       const std::vector<std::uint32_t>& triangleIndices);

}  // namespace engine
