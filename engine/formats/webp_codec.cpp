#include <webp/decode.h>

#include "engine/formats/image_codecs.h"

namespace engine {

Parsed<ImageSize> readWebpSize(std::string_view bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    WebPBitstreamFeatures features{};
    if (WebPGetFeatures(data, bytes.size(), &features) != VP8_STATUS_OK) {
        return Parsed<ImageSize>::failure("not a readable WebP header");
    }
    if (features.has_animation != 0) {
        return Parsed<ImageSize>::failure("animated WebP files are not supported");
    }
    return Parsed<ImageSize>::success({features.width, features.height});
}

Parsed<ImageData> decodeWebp(std::string_view bytes) {
    Parsed<ImageSize> size = readWebpSize(bytes);
    if (!size.ok()) {
        return Parsed<ImageData>::failure(size.error());
    }
    ImageData image;
    image.width = size.value().width;
    image.height = size.value().height;
    image.rgba.resize(static_cast<std::size_t>(image.width) * image.height * kImageChannels);
    const int stride = image.width * kImageChannels;
    if (WebPDecodeRGBAInto(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                           image.rgba.data(), image.rgba.size(), stride) == nullptr) {
        return Parsed<ImageData>::failure("the WebP data is corrupt or cut short");
    }
    return Parsed<ImageData>::success(std::move(image));
}

}  // namespace engine
