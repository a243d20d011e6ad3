#include "engine/formats/equirect_cube.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <glm/geometric.hpp>

namespace engine {
namespace {

constexpr float kPi = 3.14159265358979f;
// Enough to average a 16384-texel-wide panorama into 1024-texel faces without aliasing.
constexpr int kMostSamplesASide = 4;

glm::vec3 texel(const HdrImage& image, int x, int y) {
    const float* rgb =
        &image.rgb[(static_cast<std::size_t>(y) * image.width + static_cast<std::size_t>(x)) *
                   kHdrChannels];
    return {rgb[0], rgb[1], rgb[2]};
}

// Samples along each side of a face's texel: the panorama's texels across it, rounded up.
int samplesASide(const HdrImage& panorama, int faceSize) {
    // A face spans a quarter of the panorama's width and half its height.
    const int across = (panorama.width + 4 * faceSize - 1) / (4 * faceSize);
    const int down = (panorama.height + 2 * faceSize - 1) / (2 * faceSize);
    return std::clamp(std::max(across, down), 1, kMostSamplesASide);
}

}  // namespace

int cubeFaceSizeFor(int panoramaWidth) {
    // Doubles while a quarter of the width is more than sqrt(2) times the size.
    const std::int64_t width = panoramaWidth;
    std::int64_t size = kSmallestCubeFace;
    while (size < kLargestCubeFace && width * width > 32 * size * size) {
        size *= 2;
    }
    return static_cast<int>(size);
}

glm::vec3 panoramaDirection(float u, float v) {
    const float longitude = (u - 0.5f) * 2.0f * kPi;
    const float polar = v * kPi;
    return {std::sin(polar) * std::sin(longitude), std::cos(polar),
            -std::sin(polar) * std::cos(longitude)};
}

glm::vec3 cubeFaceDirection(int face, float s, float t) {
    const float sc = 2.0f * s - 1.0f;
    const float tc = 2.0f * t - 1.0f;
    switch (face) {
        case 0:
            return {1.0f, -tc, -sc};
        case 1:
            return {-1.0f, -tc, sc};
        case 2:
            return {sc, 1.0f, tc};
        case 3:
            return {sc, -1.0f, -tc};
        case 4:
            return {sc, -tc, 1.0f};
        default:
            return {-sc, -tc, -1.0f};
    }
}

glm::vec3 samplePanorama(const HdrImage& panorama, const glm::vec3& direction) {
    const float length = glm::length(direction);
    const float y = length > 0.0f ? std::clamp(direction.y / length, -1.0f, 1.0f) : 1.0f;
    const float u = 0.5f + std::atan2(direction.x, -direction.z) / (2.0f * kPi);
    const float v = std::acos(y) / kPi;
    const float x = u * static_cast<float>(panorama.width) - 0.5f;
    const float row = v * static_cast<float>(panorama.height) - 0.5f;
    const float left = std::floor(x);
    const float top = std::floor(row);
    const float across = x - left;
    const float down = row - top;
    auto wrapped = [&panorama](float column) {
        const int width = panorama.width;
        const int index = static_cast<int>(column) % width;
        return index < 0 ? index + width : index;
    };
    auto clamped = [&panorama](float line) {
        return static_cast<int>(std::clamp(line, 0.0f, static_cast<float>(panorama.height - 1)));
    };
    const int x0 = wrapped(left);
    const int x1 = wrapped(left + 1.0f);
    const int y0 = clamped(top);
    const int y1 = clamped(top + 1.0f);
    const glm::vec3 upper = glm::mix(texel(panorama, x0, y0), texel(panorama, x1, y0), across);
    const glm::vec3 lower = glm::mix(texel(panorama, x0, y1), texel(panorama, x1, y1), across);
    return glm::mix(upper, lower, down);
}

HdrCubeFaces equirectangularToCube(const HdrImage& panorama, int faceSize) {
    const int samples = samplesASide(panorama, faceSize);
    const float weight = 1.0f / static_cast<float>(samples * samples);
    const float texelSide = 1.0f / static_cast<float>(faceSize);
    HdrCubeFaces faces;
    for (int face = 0; face < 6; ++face) {
        HdrImage& image = faces[static_cast<std::size_t>(face)];
        image.width = faceSize;
        image.height = faceSize;
        image.rgb.resize(static_cast<std::size_t>(faceSize) * faceSize * kHdrChannels);
        float* out = image.rgb.data();
        for (int row = 0; row < faceSize; ++row) {
            for (int column = 0; column < faceSize; ++column) {
                glm::vec3 sum(0.0f);
                for (int down = 0; down < samples; ++down) {
                    for (int across = 0; across < samples; ++across) {
                        const float s = (static_cast<float>(column) +
                                         (static_cast<float>(across) + 0.5f) / samples) *
                                        texelSide;
                        const float t = (static_cast<float>(row) +
                                         (static_cast<float>(down) + 0.5f) / samples) *
                                        texelSide;
                        sum += samplePanorama(panorama, cubeFaceDirection(face, s, t));
                    }
                }
                sum *= weight;
                *out++ = sum.r;
                *out++ = sum.g;
                *out++ = sum.b;
            }
        }
    }
    return faces;
}

}  // namespace engine
