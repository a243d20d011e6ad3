// The sky box: an inward-facing cube and the six faces of a nebula with stars. Every pixel is
// a function of its view direction alone, so the faces join without seams.
#pragma once

#include <array>

#include "cube_map.h"
#include "image.h"
#include "mesh.h"

namespace content {

constexpr int kSkyFaceSize = 512;

// A cube from -1 to 1 whose triangles and normals face its centre.
Mesh buildSkyMesh();

// RGB faces in cube map order (see cube_map.h).
std::array<Image, kCubeFaces> renderSkyFaces();

}  // namespace content
