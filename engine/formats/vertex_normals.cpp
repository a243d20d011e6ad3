#include "engine/formats/vertex_normals.h"

#include <glm/geometric.hpp>

namespace engine {

std::vector<glm::vec3> generateNormals(const std::vector<glm::vec3>& positions,
                                       const std::vector<std::uint32_t>& triangleIndices) {
    std::vector<glm::vec3> sums(positions.size(), glm::vec3(0.0f));
    for (std::size_t first = 0; first + 2 < triangleIndices.size(); first += 3) {
        const std::uint32_t a = triangleIndices[first];
        const std::uint32_t b = triangleIndices[first + 1];
        const std::uint32_t c = triangleIndices[first + 2];
        // The cross product's length is twice the area: bigger triangles weigh more.
        const glm::vec3 faceNormal =
            glm::cross(positions[b] - positions[a], positions[c] - positions[a]);
        sums[a] += faceNormal;
        sums[b] += faceNormal;
        sums[c] += faceNormal;
    }
    for (glm::vec3& normal : sums) {
        const float length = glm::length(normal);
        normal = length > 0.0f ? normal / length : glm::vec3(0.0f, 0.0f, 1.0f);
    }
    return sums;
}

}  // namespace engine
