// High-dynamic-range images: Radiance RGBE (.hdr) and OpenEXR (.exr) files decoded to linear
// floating-point RGB, rows top first, within the same size limits as texture_image.h's images.
#pragma once

#include <string_view>
#include <vector>

#include "engine/formats/parsed.h"
#include "engine/formats/texture_image.h"

namespace engine {

struct HdrImage {
    int width = 0;
    int height = 0;
    // Three floats a pixel (red, green, blue: linear radiance, no gamma), rows top first.
    std::vector<float> rgb;
    // The mipmap levels below this one, largest first, when they were made ahead of the upload.
    std::vector<HdrImage> smallerLevels;
};

inline constexpr int kHdrChannels = 3;
// The largest finite half float: what a 16-bit floating-point texture can hold.
inline constexpr float kLargestHalfFloat = 65504.0f;

// True when the bytes start like a Radiance ("#?RADIANCE" or "#?RGBE") or an OpenEXR file.
bool isHdrImage(std::string_view bytes);

// The size the file's header declares, within the limits of texture_image.h; reads no pixels.
Parsed<ImageSize> readHdrImageSize(std::string_view bytes);

// Tells Radiance and OpenEXR files apart by their first bytes; anything else is refused.
Parsed<HdrImage> decodeHdrImage(std::string_view bytes);

// Values a 16-bit float texture can hold: not-a-number, negative values and negative infinity
// become 0, values above kLargestHalfFloat (and infinity) become it.
void clampToHalfFloats(HdrImage& image);

// The next mipmap level and the whole chain down to 1x1, as halfSizeImage and addMipmaps make
// them for 8-bit images.
HdrImage halfSizeHdrImage(const HdrImage& image);
void addHdrMipmaps(HdrImage& image);

}  // namespace engine
