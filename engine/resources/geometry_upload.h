// Parsed geometry becomes the loaded geometry: one vertex buffer and one index buffer, and
// where each mesh's primitives lie in them, with the handles of the file's materials and images,
// which the loader declared before this upload.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/formats/gltf_geometry.h"
#include "engine/resources/loaded_geometry.h"
#include "engine/resources/resource_table.h"

namespace engine {

// The scene nodes one model of the geometry adds below itself (LoadedGeometry::nodesPerModel).
std::uint64_t modelNodeCount(const GeometryDesc& geometry);

std::unique_ptr<LoadedGeometry> uploadGeometry(const GeometryDesc& geometry,
                                               const ResourceTable& resources);

}  // namespace engine
