// Primitives compressed with KHR_draco_mesh_compression, decoded with draco.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <tiny_gltf.h>
#include <glm/vec4.hpp>

#include "engine/formats/gltf_views.h"

namespace engine {

inline constexpr const char* kDracoExtension = "KHR_draco_mesh_compression";

struct DecodedPrimitive {
    // By glTF attribute name ("POSITION", ...): those the extension names, each element
    // padded like GltfAccessors::readVectors pads.
    std::map<std::string, std::vector<glm::vec4>> attributes;
    std::vector<std::uint32_t> indices;
};

bool isDracoCompressed(const tinygltf::Primitive& primitive);
// The counts of the primitive's POSITION and indices accessors bound what may be decoded; a
// broken stream or one that decodes to other counts throws FormatError naming what.
DecodedPrimitive decodeDracoPrimitive(const tinygltf::Primitive& primitive, std::size_t vertexCount,
                                      std::size_t indexCount, GltfViews& views,
                                      const std::string& what);

}  // namespace engine
