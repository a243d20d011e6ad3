// Parsed geometry becomes one vertex buffer and one index buffer, uploaded once.
#pragma once

#include <memory>

#include "engine/formats/gltf_geometry.h"
#include "engine/resources/loaded_geometry.h"

namespace engine {

std::unique_ptr<LoadedGeometry> uploadGeometry(const GeometryDesc& geometry);

}  // namespace engine
