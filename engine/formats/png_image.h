// PNG textures decoded to 8-bit RGBA pixels, rows top first (texture coordinate t = 0 is the
// image's top row, as glTF expects). A cube texture is one image holding its six square faces
// stacked from top to bottom in the order +x, -x, +y, -y, +z, -z.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/formats/parsed.h"

namespace engine {

struct ImageData {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

using CubeFaces = std::array<ImageData, 6>;

Parsed<ImageData> decodePng(std::string_view bytes);
// Fails unless the image is exactly six times as tall as it is wide.
Parsed<CubeFaces> splitCubeFaces(const ImageData& strip);

}  // namespace engine
