// What tinygltf refuses in files that compressing tools write gets a stand-in before loading:
// - a fallback buffer of EXT_meshopt_compression without bytes (its uncompressed data is left
//   out) becomes a one-byte buffer, since every view into it is decoded from the compressed
//   buffer instead;
// - an indices accessor without a view (as KHR_draco_mesh_compression writes them, and as any
//   file may, standing for zeros) moves from the primitive's "indices" to its extras, as
//   kViewlessIndices, where the parser finds it;
// - a buffer without a uri in a .gltf file stands for zeros: its uri becomes kZeroBufferUri
//   followed by its length, which the document's file reader answers with zeros.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <tiny_gltf.h>

namespace engine {

inline constexpr const char* kViewlessIndices = "engineViewlessIndices";
inline constexpr const char* kZeroBufferUri = "engine-zeros:";

// Which documents get stand-ins: those that name a compression extension, or any (tried once a
// document failed to load as it is).
enum class StandInScope { CompressedOnly, Any };

// The document (.gltf text or .glb) with its stand-ins; nothing when it needs none or cannot
// be read (tinygltf then reports why).
std::optional<std::string> withStandIns(std::string_view bytes,
                                        StandInScope scope = StandInScope::CompressedOnly);
// The primitive's indices accessor, wherever it stands; -1 for none.
int indicesAccessor(const tinygltf::Primitive& primitive);

}  // namespace engine
