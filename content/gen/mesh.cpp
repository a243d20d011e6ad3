#include "mesh.h"

#include <glm/geometric.hpp>
#include <glm/mat3x3.hpp>
#include <glm/matrix.hpp>

namespace content {

void Mesh::append(const Mesh& other) {
    const auto base = static_cast<std::uint32_t>(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (std::uint32_t index : other.indices) {
        indices.push_back(base + index);
    }
}

void Mesh::addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    indices.push_back(a);
    indices.push_back(b);
    indices.push_back(c);
}

Mesh transformed(const Mesh& mesh, const glm::mat4& matrix) {
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(matrix)));
    Mesh result = mesh;
    for (Vertex& vertex : result.vertices) {
        vertex.position = glm::vec3(matrix * glm::vec4(vertex.position, 1.0f));
        vertex.normal = glm::normalize(normalMatrix * vertex.normal);
    }
    return result;
}

}  // namespace content
