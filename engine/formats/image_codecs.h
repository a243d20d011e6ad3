// The maintained decoders behind decodeImage, one file each. Every decoder reads the size from
// the header first, so that decodeImage checks it before any pixel memory is allocated.
#pragma once

#include <string_view>

#include "engine/formats/hdr_image.h"
#include "engine/formats/parsed.h"
#include "engine/formats/texture_image.h"

namespace engine {

// Each fault is the decoder's reason alone; decodeImage names the kind of file.
Parsed<ImageSize> readPngSize(std::string_view bytes);
Parsed<ImageData> decodePng(std::string_view bytes);

Parsed<ImageSize> readJpegSize(std::string_view bytes);
Parsed<ImageData> decodeJpeg(std::string_view bytes);

Parsed<ImageSize> readWebpSize(std::string_view bytes);
Parsed<ImageData> decodeWebp(std::string_view bytes);

// Radiance RGBE files, decoded by hand (hdr_codec.cpp).
Parsed<ImageSize> readRadianceSize(std::string_view bytes);
Parsed<HdrImage> decodeRadiance(std::string_view bytes);

// OpenEXR files, decoded by the OpenEXR library from memory (exr_codec.cpp).
Parsed<ImageSize> readExrSize(std::string_view bytes);
Parsed<HdrImage> decodeExr(std::string_view bytes);

// The size a decoder read, checked against kMaximumImageSide and kMostImagePixels; a fault
// names the kind of file ("PNG", "Radiance HDR image") where the decoder's reason follows.
Parsed<ImageSize> checkedImageSize(const char* kind, Parsed<ImageSize> size);

}  // namespace engine
