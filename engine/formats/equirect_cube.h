// An equirectangular panorama (longitude across, latitude down) resampled into the six faces of
// an OpenGL cube map, so that sampling the cube map in a direction gives the panorama's value
// there.
#pragma once

#include <array>

#include <glm/vec3.hpp>

#include "engine/formats/hdr_image.h"

namespace engine {

// +X, -X, +Y, -Y, +Z, -Z: the order of GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, each face's rows
// as glTexImage2D takes them (row 0 at t = 0).
using HdrCubeFaces = std::array<HdrImage, 6>;

inline constexpr int kSmallestCubeFace = 16;
inline constexpr int kLargestCubeFace = 1024;

// The face size for a panorama this wide: the power of two nearest a quarter of its width (a
// face spans a quarter of the horizon), within kSmallestCubeFace..kLargestCubeFace.
int cubeFaceSizeFor(int panoramaWidth);

// The direction (y up) a panorama shows at (u, v), each 0..1: u = 0.5 + atan2(x, -z) / 2pi,
// v = acos(y) / pi. The image's centre lies along -Z, its left and right edges along +Z, its
// top row straight up.
glm::vec3 panoramaDirection(float u, float v);

// The direction OpenGL's cube map sampling reads from (s, t), each 0..1, of the face.
glm::vec3 cubeFaceDirection(int face, float s, float t);

// The panorama's value in a direction (need not be of unit length), sampled bilinearly,
// wrapping across the left and right edges.
glm::vec3 samplePanorama(const HdrImage& panorama, const glm::vec3& direction);

// Each face faceSize x faceSize; each texel averages a grid of samples when the panorama has
// several texels for each of it, so that shrinking it does not alias.
HdrCubeFaces equirectangularToCube(const HdrImage& panorama, int faceSize);

}  // namespace engine
