// The figures of a loaded geometry that h3dGetResParamI reports: what the engine made of a file.
#pragma once

#include <optional>

#include "engine/resources/loaded_geometry.h"
#include "engine/resources/resource_table.h"

namespace engine {

// The figure (an H3DGeometry value) of the loaded geometry resource; nothing for a parameter
// that is not one, or a resource that is not a loaded geometry.
std::optional<int> geometryFigure(const Resource& geometry, const ResourceTable& resources,
                                  int parameter);

}  // namespace engine
