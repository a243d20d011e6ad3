// Indexed triangle meshes as written to glTF: positions, normals, texture coordinates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace content {

struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f, 1.0f, 0.0f};
    glm::vec2 uv{0.0f};
};

struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;

    std::size_t triangleCount() const { return indices.size() / 3; }
    void append(const Mesh& other);
    void addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
};

// A mesh with the name it carries in the glTF file.
struct NamedMesh {
    std::string name;
    Mesh mesh;
};

// Moves positions by the matrix and normals by its inverse transpose.
Mesh transformed(const Mesh& mesh, const glm::mat4& matrix);

}  // namespace content
