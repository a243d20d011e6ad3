#include "engine/formats/cube_faces.h"

#include <string>

namespace engine {

Parsed<CubeFaces> splitCubeFaces(const ImageData& strip) {
    if (strip.width <= 0 || strip.height != strip.width * 6) {
        return Parsed<CubeFaces>::failure(
            "a cube texture must be six square faces stacked vertically (width x 6*width), not " +
            std::to_string(strip.width) + "x" + std::to_string(strip.height));
    }
    CubeFaces faces;
    constexpr std::size_t kChannels = 4;
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
