// A binary glTF file built in memory: the JSON document and one buffer, which the engine's glTF
// reader then takes like any other file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

// glTF's numbers for component types, accessor targets and primitive modes.
namespace gltf {
constexpr int kUnsignedByte = 5121;
constexpr int kUnsignedShort = 5123;
constexpr int kUnsignedInt = 5125;
constexpr int kFloat = 5126;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;
constexpr int kPoints = 0;
constexpr int kLines = 1;
constexpr int kTriangles = 4;
}  // namespace gltf

class GlbWriter {
  public:
    GlbWriter();

    // A buffer view of the bytes, from a 4-byte boundary; its index.
    int addView(const void* data, std::size_t size, int target = 0);
    // An accessor of count elements of type ("VEC3", "SCALAR") on the view; its index.
    int addAccessor(int view, int componentType, std::size_t count, const char* type,
                    bool normalized = false);
    // Appends the object to the document's array of that name; its index.
    int append(const char* array, nlohmann::json object);
    nlohmann::json& document() { return document_; }

    // The .glb file: header, JSON chunk, binary chunk.
    std::string finish();

  private:
    nlohmann::json document_;
    std::string binary_;
};
