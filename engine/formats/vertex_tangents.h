// Tangents for normal-mapped meshes that come without them.
#pragma once

#include <cstdint>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace engine {

// Per vertex, the direction in which the texture's u grows, averaged over the triangles that
// use the vertex and made perpendicular to its normal; w is -1 where the texture's v runs
// against normal x tangent (a mirrored mapping). Vertices without a usable mapping get any
// unit vector perpendicular to their normal.
std::vector<glm::vec4> generateTangents(const std::vector<glm::vec3>& positions,
                                        const std::vector<glm::vec3>& normals,
                                        const std::vector<glm::vec2>& texCoords,
                                        const std::vector<std::uint32_t>& triangleIndices);

}  // namespace engine
