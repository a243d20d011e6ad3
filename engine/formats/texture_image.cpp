#include "engine/formats/texture_image.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include <stb_image.h>

namespace engine {
namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr unsigned char kJpegSignature[3] = {0xff, 0xd8, 0xff};
constexpr int kChannels = 4;

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

const char* fileKind(std::string_view bytes);
Parsed<ImageData> decodeKnownImage(std::string_view bytes, const std::string& kind);

}  // namespace

Parsed<ImageData> decodeImage(std::string_view bytes) {
    const char* kind = fileKind(bytes);
    if (kind == nullptr) {
        return Parsed<ImageData>::failure("not a PNG or JPEG file");
    }
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return Parsed<ImageData>::failure("the file is too large");
    }
    try {
        return decodeKnownImage(bytes, kind);
    } catch (const std::bad_alloc&) {
        return Parsed<ImageData>::failure("out of memory");
    }
}

ImageData halfSizeImage(const ImageData& image) {
    ImageData half;
    half.width = std::max(1, image.width / 2);
    half.height = std::max(1, image.height / 2);
    half.rgba.resize(static_cast<std::size_t>(half.width) * half.height * kChannels);
    auto texel = [&image](int x, int y, int channel) {
        const std::size_t at =
            (static_cast<std::size_t>(std::min(y, image.height - 1)) * image.width +
             static_cast<std::size_t>(std::min(x, image.width - 1))) *
                kChannels +
            channel;
        return static_cast<unsigned>(image.rgba[at]);
    };
    std::uint8_t* out = half.rgba.data();
    for (int y = 0; y < half.height; ++y) {
        for (int x = 0; x < half.width; ++x) {
            for (int channel = 0; channel < kChannels; ++channel) {
                const unsigned sum =
                    texel(2 * x, 2 * y, channel) + texel(2 * x + 1, 2 * y, channel) +
                    texel(2 * x, 2 * y + 1, channel) + texel(2 * x + 1, 2 * y + 1, channel);
                *out++ = static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    }
    return half;
}

void addMipmaps(ImageData& image) {
    image.smallerLevels.clear();
    const ImageData* larger = &image;
    while (larger->width > 1 || larger->height > 1) {
        image.smallerLevels.push_back(halfSizeImage(*larger));
        larger = &image.smallerLevels.back();
    }
}

namespace {

bool startsWith(std::string_view bytes, const unsigned char* signature, std::size_t size) {
    return bytes.size() >= size && std::memcmp(bytes.data(), signature, size) == 0;
}

const char* fileKind(std::string_view bytes) {
    if (startsWith(bytes, kPngSignature, sizeof(kPngSignature))) {
        return "PNG";
    }
    if (startsWith(bytes, kJpegSignature, sizeof(kJpegSignature))) {
        return "JPEG";
    }
    return nullptr;
}

Parsed<ImageData> decodeKnownImage(std::string_view bytes, const std::string& kind) {
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    int width = 0;
    int height = 0;
    int channelsInFile = 0;
    if (stbi_info_from_memory(data, size, &width, &height, &channelsInFile) == 0) {
        return Parsed<ImageData>::failure("cannot decode the " + kind + ": " +
                                          stbi_failure_reason());
    }
    if (width > kMaximumImageSide || height > kMaximumImageSide) {
        return Parsed<ImageData>::failure(std::to_string(width) + "x" + std::to_string(height) +
                                          " is larger than " + std::to_string(kMaximumImageSide) +
                                          " pixels a side");
    }
    std::unique_ptr<stbi_uc, StbFree> pixels(
        stbi_load_from_memory(data, size, &width, &height, &channelsInFile, kChannels));
    if (!pixels) {
        return Parsed<ImageData>::failure("cannot decode the " + kind + ": " +
                                          stbi_failure_reason());
    }
    ImageData image;
    image.width = width;
    image.height = height;
    std::size_t byteCount = static_cast<std::size_t>(width) * height * kChannels;
    image.rgba.assign(pixels.get(), pixels.get() + byteCount);
    return Parsed<ImageData>::success(std::move(image));
}

}  // namespace
}  // namespace engine
