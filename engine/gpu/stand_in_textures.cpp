#include "engine/gpu/stand_in_textures.h"

#include <cstdint>
#include <vector>

namespace engine {
namespace {

// 8x8 texels in squares of 2: four checks per texture repeat on a mesh.
constexpr int kSide = 8;
constexpr int kCheck = 2;

std::vector<std::uint8_t> checkerboard();
void setNearestSampling(GLenum target);

}  // namespace

StandInTextures::StandInTextures() : flat_(createTexture()), cube_(createTexture()) {
    const std::vector<std::uint8_t> pixels = checkerboard();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, flat_.get());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSide, kSide, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    setNearestSampling(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube_.get());
    for (GLenum face = 0; face < 6; ++face) {
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGBA8, kSide, kSide, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, pixels.data());
    }
    setNearestSampling(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

GLuint StandInTextures::forTarget(GLenum target) const {
    return target == GL_TEXTURE_CUBE_MAP ? cube_.get() : flat_.get();
}

namespace {

std::vector<std::uint8_t> checkerboard() {
    std::vector<std::uint8_t> pixels;
    pixels.reserve(kSide * kSide * 4);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            bool magenta = (x / kCheck + y / kCheck) % 2 == 0;
            std::uint8_t bright = magenta ? 255 : 0;
            pixels.insert(pixels.end(), {bright, 0, bright, 255});
        }
    }
    return pixels;
}

// Nearest texels and no mipmaps keep the checks crisp at any distance.
void setNearestSampling(GLenum target) {
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

}  // namespace
}  // namespace engine
