#include "engine/formats/cube_faces.h"

#include <cstdint>
#include <string>

namespace engine {

Parsed<CubeFaces> splitCubeFaces(const ImageData& strip) {
    // 64-bit, so that no width overflows six times itself; an int height then bounds the sizes.
    const std::int64_t width = strip.width;
    if (width <= 0 || strip.height != width * 6) {
        return Parsed<CubeFaces>::failure(
            "a cube texture must be six square faces stacked vertically (width x 6*width), not " +
            std::to_string(strip.width) + "x" + std::to_string(strip.height));
    }
    constexpr std::size_t kChannels = 4;
    const std::size_t faceSize = static_cast<std::size_t>(width * width) * kChannels;
    // The image's pixels are cut by its size, so they must be all there.
    if (strip.rgba.size() != faceSize * 6) {
        return Parsed<CubeFaces>::failure("a " + std::to_string(strip.width) + "x" +
                                          std::to_string(strip.height) + " image needs " +
                                          std::to_string(faceSize * 6) + " bytes of RGBA, not " +
                                          std::to_string(strip.rgba.size()));
    }
    CubeFaces faces;
    for (std::size_t face = 0; face < faces.size(); ++face) {
        faces[face].width = strip.width;
        faces[face].height = strip.width;
        auto begin = strip.rgba.begin() + static_cast<std::ptrdiff_t>(face * faceSize);
        faces[face].rgba.assign(begin, begin + static_cast<std::ptrdiff_t>(faceSize));
    }
    return Parsed<CubeFaces>::success(std::move(faces));
}

}  // namespace engine
