// Reads glTF accessors into plain arrays, checking every index, offset and length against the
// buffers first, so that a broken file is reported instead of read out of bounds. Faults throw
// FormatError (caught by the geometry parser).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <tiny_gltf.h>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace engine {

class GltfAccessors {
  public:
    explicit GltfAccessors(const tinygltf::Model& model) : model_(model) {}

    // Float VEC3 elements (positions, normals).
    std::vector<glm::vec3> readVec3(int accessor, const std::string& what) const;
    // Float or normalized unsigned VEC2 elements (texture coordinates).
    std::vector<glm::vec2> readVec2(int accessor, const std::string& what) const;
    // Unsigned 8-, 16- or 32-bit SCALAR elements (indices).
    std::vector<std::uint32_t> readIndices(int accessor, const std::string& what) const;

  private:
    const tinygltf::Model& model_;

    // The accessor's first element and the distance between elements, once checked.
    struct Layout {
        const unsigned char* first = nullptr;
        std::size_t stride = 0;
        std::size_t count = 0;
        int componentType = 0;
        bool normalized = false;
    };
    Layout checkedLayout(int accessor, int type, const std::string& what) const;
};

}  // namespace engine
