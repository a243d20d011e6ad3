// Texture files (PNG, JPEG or WebP) decoded to 8-bit RGBA pixels, rows top first (texture
// coordinate t = 0 is the image's top row, as glTF expects).
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

struct ImageSize {
    int width = 0;
    int height = 0;
};

// Larger images are refused from their headers, before decoding, so a hostile header cannot
// ask for gigabytes: a side may reach 16384 pixels, but all sides together at most 8192x8192
// pixels (256 MiB decoded).
inline constexpr int kMaximumImageSide = 16384;
inline constexpr std::int64_t kMostImagePixels = 8192LL * 8192;
inline constexpr int kImageChannels = 4;

// True when the bytes start like a PNG, JPEG or WebP file.
bool isImage(std::string_view bytes);

// Tells PNG, JPEG and WebP apart by their first bytes; anything else is refused.
Parsed<ImageData> decodeImage(std::string_view bytes);

// The size the file's header declares, within the limits above; reads no pixels.
Parsed<ImageSize> readImageSize(std::string_view bytes);

// The next mipmap level: each side halved (rounded down, at least 1 texel), each texel the
// average of the 2x2 it covers (an odd last row or column repeats its neighbour).
ImageData halfSizeImage(const ImageData& image);

// Fills smallerLevels down to 1x1, so that loading threads, not the upload, do the averaging.
void addMipmaps(ImageData& image);

}  // namespace engine
