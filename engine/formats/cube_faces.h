// A cube texture's six faces, cut from one image that stacks them from top to bottom in the
// order +x, -x, +y, -y, +z, -z.
#pragma once

#include <array>

#include "engine/formats/parsed.h"
#include "engine/formats/texture_image.h"

namespace engine {

using CubeFaces = std::array<ImageData, 6>;

// Fails unless the image is exactly six times as tall as it is wide.
Parsed<CubeFaces> splitCubeFaces(const ImageData& strip);

}  // namespace engine
