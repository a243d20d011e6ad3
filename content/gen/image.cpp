#include "image.h"

#include <algorithm>
#include <cmath>

namespace content {

void Image::setColor(int x, int y, glm::vec3 color) {
    std::uint8_t* pixel = at(x, y);
    for (int channel = 0; channel < 3; ++channel) {
        const float clamped = std::clamp(color[channel], 0.0f, 1.0f);
        pixel[channel] = static_cast<std::uint8_t>(std::lround(clamped * 255.0f));
    }
}

Image stackVertically(const std::vector<Image>& images) {
    const Image& first = images.front();
    Image stacked(first.width, first.height * static_cast<int>(images.size()), first.channels);
    auto destination = stacked.pixels.begin();
    for (const Image& image : images) {
        destination = std::copy(image.pixels.begin(), image.pixels.end(), destination);
    }
    return stacked;
}

}  // namespace content
