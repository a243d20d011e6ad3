// The maintained decoders behind decodeImage, one file each. Every decoder reads the size from
// the header first, so that decodeImage checks it before any pixel memory is allocated.
#pragma once

#include <string_view>

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

}  // namespace engine
