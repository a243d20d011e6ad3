// Parsed geometry becomes the loaded geometry: one vertex buffer and one index buffer, and
// where each mesh's primitives lie in them.
#pragma once

#include <memory>

#include "engine/formats/gltf_geometry.h"
#include "engine/resources/loaded_geometry.h"

namespace engine {

std::unique_ptr<LoadedGeometry> uploadGeometry(const GeometryDesc& geometry);

}  // namespace engine
