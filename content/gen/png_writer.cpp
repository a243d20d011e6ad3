#include "png_writer.h"

#include <stdexcept>

#include <stb_image_write.h>

namespace content {
namespace {

void appendBytes(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* begin = static_cast<const std::uint8_t*>(data);
    bytes->insert(bytes->end(), begin, begin + size);
}

}  // namespace

std::vector<std::uint8_t> encodePng(const Image& image) {
    std::vector<std::uint8_t> bytes;
    const int stride = image.width * image.channels;
    if (stbi_write_png_to_func(appendBytes, &bytes, image.width, image.height, image.channels,
                               image.pixels.data(), stride) == 0) {
        throw std::runtime_error("PNG encoding failed");
    }
    return bytes;
}

}  // namespace content
