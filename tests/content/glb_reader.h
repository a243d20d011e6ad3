// Reads binary glTF files back into positions, normals, texture coordinates and indices,
// checking the container's structure on the way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace content_tests {

struct GlbPrimitive {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
    std::vector<std::uint32_t> indices;
    int mode = 4;
    glm::vec3 declaredMin{0.0f};
    glm::vec3 declaredMax{0.0f};
};

struct GlbMesh {
    std::string name;
    std::vector<GlbPrimitive> primitives;
};

struct GlbFile {
    std::vector<GlbMesh> meshes;
    int nodeCount = 0;
};

// Throws std::runtime_error when the file is not a well-formed glTF 2.0 binary.
GlbFile readGlb(const std::vector<std::uint8_t>& bytes);

}  // namespace content_tests
