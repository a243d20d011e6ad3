// What tinygltf refuses in files that compressing tools write gets a stand-in before loading:
// - a fallback buffer of EXT_meshopt_compression without bytes (its uncompressed data is left
//   out) becomes a one-byte buffer, since every view into it is decoded from the compressed
//   buffer instead;
// - an indices accessor without a view (as KHR_draco_mesh_compression writes them) moves from
//   the primitive's "indices" to its extras, as kViewlessIndices, where the parser finds it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <tiny_gltf.h>

namespace engine {

inline constexpr const char* kViewlessIndices = "engineViewlessIndices";

// The document (.gltf text or .glb) with its stand-ins; nothing when it needs none or cannot
// be read (tinygltf then reports why).
std::optional<std::string> withStandIns(std::string_view bytes);
// The primitive's indices accessor, wherever it stands; -1 for none.
int indicesAccessor(const tinygltf::Primitive& primitive);

}  // namespace engine
