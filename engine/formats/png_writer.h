// Encoding pictures as PNG files: the reverse of the decoder, for screenshots.
#pragma once

#include <string>
#include <vector>

#include "engine/formats/parsed.h"

namespace engine {

// rgbRows: height rows of width 8-bit RGB pixels, the top row first. The file's bytes.
Parsed<std::string> encodePngRgb(int width, int height, const std::vector<unsigned char>& rgbRows);

}  // namespace engine
