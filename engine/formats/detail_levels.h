// Simplified versions of large triangle lists, made when a geometry is parsed (on the loading
// threads) so that far-away nodes draw fewer triangles. Each level's error is in the mesh's own
// units, for choosing by the size it has on screen.
#pragma once

#include <cstdint>

#include "engine/formats/gltf_geometry.h"

namespace engine {

// Lists with fewer triangles are drawn in full at any distance.
inline constexpr std::uint32_t kLeastSimplifiedTriangles = 2048;
inline constexpr std::size_t kMostDetailLevels = 6;

// Adds to each large primitive of a mesh without skin or morph targets levels of about half the
// triangles of the level before, the coarsest last, their indices appended to the geometry's index
// lists.
void addDetailLevels(GeometryDesc& geometry);

}  // namespace engine
