#include "engine/formats/vertex_tangents.h"

#include <cmath>

#include <glm/geometric.hpp>

namespace engine {
namespace {

glm::vec3 anyPerpendicular(const glm::vec3& normal) {
    const glm::vec3 axis =
        std::abs(normal.x) < 0.9f ? glm::vec3(1.0f, 0.0f, 0.0f) : glm::vec3(0.0f, 1.0f, 0.0f);
    return glm::normalize(glm::cross(glm::cross(normal, axis), normal));
}

}  // namespace

std::vector<glm::vec4> generateTangents(const std::vector<glm::vec3>& positions,
                                        const std::vector<glm::vec3>& normals,
                                        const std::vector<glm::vec2>& texCoords,
                                        const std::vector<std::uint32_t>& triangleIndices) {
    std::vector<glm::vec3> uDirections(positions.size(), glm::vec3(0.0f));
    std::vector<glm::vec3> vDirections(positions.size(), glm::vec3(0.0f));
    for (std::size_t first = 0; first + 2 < triangleIndices.size(); first += 3) {
        const std::uint32_t a = triangleIndices[first];
        const std::uint32_t b = triangleIndices[first + 1];
        const std::uint32_t c = triangleIndices[first + 2];
        const glm::vec3 edge1 = positions[b] - positions[a];
        const glm::vec3 edge2 = positions[c] - positions[a];
        const glm::vec2 step1 = texCoords[b] - texCoords[a];
        const glm::vec2 step2 = texCoords[c] - texCoords[a];
        const float area = step1.x * step2.y - step2.x * step1.y;
        if (!(std::abs(area) > 1e-12f)) {
            continue;
        }
        // Unnormalised, so that larger triangles weigh more.
        const glm::vec3 u = (edge1 * step2.y - edge2 * step1.y) / area;
        const glm::vec3 v = (edge2 * step1.x - edge1 * step2.x) / area;
        for (std::uint32_t vertex : {a, b, c}) {
            uDirections[vertex] += u;
            vDirections[vertex] += v;
        }
    }
    std::vector<glm::vec4> tangents(positions.size());
    for (std::size_t vertex = 0; vertex < positions.size(); ++vertex) {
        const glm::vec3& normal = normals[vertex];
        glm::vec3 tangent = uDirections[vertex] - normal * glm::dot(normal, uDirections[vertex]);
        const float length = glm::length(tangent);
        tangent =
            length > 1e-12f && std::isfinite(length) ? tangent / length : anyPerpendicular(normal);
        const float handedness =
            glm::dot(glm::cross(normal, tangent), vDirections[vertex]) < 0.0f ? -1.0f : 1.0f;
        tangents[vertex] = glm::vec4(tangent, handedness);
    }
    return tangents;
}

}  // namespace engine
