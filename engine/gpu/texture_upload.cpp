#include "engine/gpu/texture_upload.h"

namespace engine {
namespace {

// How an image's texels are stored in the texture and handed to it.
struct PixelLayout {
    GLint internalFormat;
    GLenum format;
    GLenum type;
};

constexpr PixelLayout kColourLayout{GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE};

PixelLayout floatLayout(bool floatTextures) {
    return {floatTextures ? GL_RGB16F : GL_RGB8, GL_RGB, GL_FLOAT};
}

template <typename Image>
GlTexture uploadFlat(const Image& image, const TextureSampling& sampling,
                     const PixelLayout& layout);
template <typename Faces>
GlTexture uploadCube(const Faces& faces, const TextureSampling& sampling,
                     const PixelLayout& layout);

}  // namespace

GLint minificationFilter(const TextureSampling& sampling) {
    return !sampling.mipmaps    ? GL_LINEAR
           : sampling.trilinear ? GL_LINEAR_MIPMAP_LINEAR
                                : GL_LINEAR_MIPMAP_NEAREST;
}

GlTexture uploadFlatTexture(const ImageData& image, const TextureSampling& sampling) {
    return uploadFlat(image, sampling, kColourLayout);
}

GlTexture uploadCubeTexture(const CubeFaces& faces, const TextureSampling& sampling) {
    return uploadCube(faces, sampling, kColourLayout);
}

GlTexture uploadFlatTexture(const HdrImage& image, const TextureSampling& sampling,
                            bool floatTextures) {
    return uploadFlat(image, sampling, floatLayout(floatTextures));
}

GlTexture uploadCubeTexture(const HdrCubeFaces& faces, const TextureSampling& sampling,
                            bool floatTextures) {
    return uploadCube(faces, sampling, floatLayout(floatTextures));
}

namespace {

const void* texelsOf(const ImageData& image) {
    return image.rgba.data();
}

const void* texelsOf(const HdrImage& image) {
    return image.rgb.data();
}

void addLevels(ImageData& image) {
    addMipmaps(image);
}

void addLevels(HdrImage& image) {
    addHdrMipmaps(image);
}

void applySampling(GLenum target, const TextureSampling& sampling) {
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, minificationFilter(sampling));
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (sampling.anisotropy > 1.0f) {
        glTexParameterf(target, GL_TEXTURE_MAX_ANISOTROPY_EXT, sampling.anisotropy);
    }
}

// The levels are averaged on the CPU rather than by glGenerateMipmap: a software rasterizer
// makes mipmaps by drawing, and compiling the shaders for that costs it about 0.1 s per kind of
// texture at start-up, where averaging takes a millisecond or two (on the loading threads when
// the image comes with its levels).
template <typename Image>
void uploadImage(GLenum target, const Image& image, bool mipmaps, const PixelLayout& layout) {
    Image madeHere;
    const Image* withLevels = &image;
    if (mipmaps && image.smallerLevels.empty() && (image.width > 1 || image.height > 1)) {
        madeHere = image;
        addLevels(madeHere);
        withLevels = &madeHere;
    }
    // Rows of 4-byte RGBA texels and of 12-byte float RGB ones both start 4-byte aligned.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(target, 0, layout.internalFormat, image.width, image.height, 0, layout.format,
                 layout.type, texelsOf(image));
    if (!mipmaps) {
        return;
    }
    GLint index = 1;
    for (const Image& level : withLevels->smallerLevels) {
        glTexImage2D(target, index++, layout.internalFormat, level.width, level.height, 0,
                     layout.format, layout.type, texelsOf(level));
    }
}

template <typename Image>
GlTexture uploadFlat(const Image& image, const TextureSampling& sampling,
                     const PixelLayout& layout) {
    GlTexture texture = createTexture();
    glBindTexture(GL_TEXTURE_2D, texture.get());
    uploadImage(GL_TEXTURE_2D, image, sampling.mipmaps, layout);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    applySampling(GL_TEXTURE_2D, sampling);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

template <typename Faces>
GlTexture uploadCube(const Faces& faces, const TextureSampling& sampling,
                     const PixelLayout& layout) {
    GlTexture texture = createTexture();
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture.get());
    for (GLenum face = 0; face < faces.size(); ++face) {
        uploadImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, faces[face], sampling.mipmaps, layout);
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    applySampling(GL_TEXTURE_CUBE_MAP, sampling);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    return texture;
}

}  // namespace
}  // namespace engine
