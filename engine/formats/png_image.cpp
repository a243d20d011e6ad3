#include "engine/formats/png_image.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include <stb_image.h>

namespace engine {
namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr int kChannels = 4;

bool hasPngSignature(std::string_view bytes) {
    return bytes.size() >= sizeof(kPngSignature) &&
           std::memcmp(bytes.data(), kPngSignature, sizeof(kPngSignature)) == 0;
}

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

Parsed<ImageData> decodePng(std::string_view bytes) {
    if (!hasPngSignature(bytes)) {
        return Parsed<ImageData>::failure("not a PNG file");
    }
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return Parsed<ImageData>::failure("the file is too large");
    }
    int width = 0;
    int height = 0;
    int channelsInFile = 0;
    std::unique_ptr<stbi_uc, StbFree> pixels(stbi_load_from_memory(
        reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()), &width,
        &height, &channelsInFile, kChannels));
    if (!pixels) {
        return Parsed<ImageData>::failure(std::string("cannot decode the PNG: ") +
                                          stbi_failure_reason());
    }
    try {
        ImageData image;
        image.width = width;
        image.height = height;
        std::size_t size = static_cast<std::size_t>(width) * height * kChannels;
        image.rgba.assign(pixels.get(), pixels.get() + size);
        return Parsed<ImageData>::success(std::move(image));
    } catch (const std::bad_alloc&) {
        return Parsed<ImageData>::failure("out of memory");
    }
}

Parsed<CubeFaces> splitCubeFaces(const ImageData& strip) {
    if (strip.width <= 0 || strip.height != strip.width * 6) {
        return Parsed<CubeFaces>::failure(
            "a cube texture must be six square faces stacked vertically (width x 6*width), not " +
            std::to_string(strip.width) + "x" + std::to_string(strip.height));
    }
    CubeFaces faces;
    std::size_t faceSize = static_cast<std::size_t>(strip.width) * strip.width * kChannels;
    for (std::size_t face = 0; face < faces.size(); ++face) {
        faces[face].width = strip.width;
        faces[face].height = strip.width;
        auto begin = strip.rgba.begin() + static_cast<std::ptrdiff_t>(face * faceSize);
        faces[face].rgba.assign(begin, begin + static_cast<std::ptrdiff_t>(faceSize));
    }
    return Parsed<CubeFaces>::success(std::move(faces));
}

}  // namespace engine
