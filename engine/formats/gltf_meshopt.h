// Buffer views compressed with EXT_meshopt_compression, decoded with meshoptimizer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <tiny_gltf.h>

namespace engine {

inline constexpr const char* kMeshoptExtension = "EXT_meshopt_compression";

bool isMeshoptCompressed(const tinygltf::BufferView& view);
// The view's bytes, decoded and filtered. A broken stream, or one that would decode to more
// than maxBytes or to more than its compressed bytes can hold, throws FormatError naming what.
std::vector<unsigned char> decodeMeshoptView(const tinygltf::Model& model,
                                             const tinygltf::BufferView& view, std::size_t maxBytes,
                                             const std::string& what);

}  // namespace engine
