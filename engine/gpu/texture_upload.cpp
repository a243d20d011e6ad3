#include "engine/gpu/texture_upload.h"

namespace engine {
namespace {

void applySampling(GLenum target, const TextureSampling& sampling);
void uploadImage(GLenum target, const ImageData& image, bool mipmaps);

}  // namespace

GLint minificationFilter(const TextureSampling& sampling) {
    return !sampling.mipmaps    ? GL_LINEAR
           : sampling.trilinear ? GL_LINEAR_MIPMAP_LINEAR
                                : GL_LINEAR_MIPMAP_NEAREST;
}

GlTexture uploadFlatTexture(const ImageData& image, const TextureSampling& sampling) {
    GlTexture texture = createTexture();
    glBindTexture(GL_TEXTURE_2D, texture.get());
    uploadImage(GL_TEXTURE_2D, image, sampling.mipmaps);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    applySampling(GL_TEXTURE_2D, sampling);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

GlTexture uploadCubeTexture(const CubeFaces& faces, const TextureSampling& sampling) {
    GlTexture texture = createTexture();
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture.get());
    for (GLenum face = 0; face < faces.size(); ++face) {
        uploadImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, faces[face], sampling.mipmaps);
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    applySampling(GL_TEXTURE_CUBE_MAP, sampling);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    return texture;
}

namespace {

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
void uploadImage(GLenum target, const ImageData& image, bool mipmaps) {
    ImageData madeHere;
    const ImageData* withLevels = &image;
    if (mipmaps && image.smallerLevels.empty() && (image.width > 1 || image.height > 1)) {
        madeHere = image;
        addMipmaps(madeHere);
        withLevels = &madeHere;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(target, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.rgba.data());
    if (!mipmaps) {
        return;
    }
    GLint index = 1;
    for (const ImageData& level : withLevels->smallerLevels) {
        glTexImage2D(target, index++, GL_RGBA8, level.width, level.height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, level.rgba.data());
    }
}

}  // namespace
}  // namespace engine
