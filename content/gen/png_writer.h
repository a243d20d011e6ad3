// Encodes images as PNG files in memory.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace content {

std::vector<std::uint8_t> encodePng(const Image& image);

}  // namespace content
