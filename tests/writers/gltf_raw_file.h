// A glTF file written piece by piece, for tests that need what gltf_test::Document cannot say:
// any component type, strides, sparse accessors, node trees, extensions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gltf_test {

constexpr int kByte = 5120;
constexpr int kShort = 5122;
constexpr int kFloat = 5126;

class RawFile {
  public:
    // The binary chunk, each view starting on a 4-byte boundary.
    std::string buffer;
    std::vector<std::string> views;
    std::vector<std::string> accessors;
    // JSON arrays, and members added to the top object (",\"scene\":0" and the like).
    std::string meshes = "[]";
    std::string nodes = "[]";
    std::string scenes = "[]";
    std::string members;
    // JSON objects for buffers beyond the binary chunk.
    std::vector<std::string> moreBuffers;

    // The view's index; extra goes into the view's object (",\"byteStride\":8").
    int addView(const std::string& bytes, const std::string& extra = "");
    // The accessor's index.
    int addAccessor(int view, int componentType, std::size_t count, const std::string& type,
                    const std::string& extra = "");
    std::string json() const;
    std::string glb() const;
};

// The values' bytes as they lie in memory.
template <typename Value>
std::string bytesOf(const std::vector<Value>& values) {
    return std::string(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(Value));
}

}  // namespace gltf_test
