// 8-bit images, rows top first, channels interleaved.
#pragma once

#include <cstdint>
#include <vector>

#include <glm/vec3.hpp>

namespace content {

struct Image {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<std::uint8_t> pixels;

    Image() = default;
    Image(int imageWidth, int imageHeight, int imageChannels)
        : width(imageWidth),
          height(imageHeight),
          channels(imageChannels),
          pixels(static_cast<std::size_t>(imageWidth * imageHeight * imageChannels), 0) {}

    std::uint8_t* at(int x, int y) {
        return pixels.data() + static_cast<std::size_t>((y * width + x) * channels);
    }
    // Writes a colour in [0, 1] to the first three channels, clamped and rounded.
    void setColor(int x, int y, glm::vec3 color);
};

// Stacks equally sized images vertically, the first on top.
Image stackVertically(const std::vector<Image>& images);

}  // namespace content
