// Texture files (PNG or JPEG) decoded to 8-bit RGBA pixels, rows top first (texture coordinate
// t = 0 is the image's top row, as glTF expects).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/formats/parsed.h"

namespace engine {

struct ImageData {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    // The mipmap levels below this one, largest first, when they were made ahead of the upload.
    std::vector<ImageData> smallerLevels;
};

// Larger sides are refused before decoding, so a hostile header cannot ask for gigabytes.
inline constexpr int kMaximumImageSide = 16384;

// Tells PNG and JPEG apart by their first bytes; anything else is refused.
Parsed<ImageData> decodeImage(std::string_view bytes);

// The next mipmap level: each side halved (rounded down, at least 1 texel), each texel the
// average of the 2x2 it covers (an odd last row or column repeats its neighbour).
ImageData halfSizeImage(const ImageData& image);

// Fills smallerLevels down to 1x1, so that loading threads, not the upload, do the averaging.
void addMipmaps(ImageData& image);

}  // namespace engine
