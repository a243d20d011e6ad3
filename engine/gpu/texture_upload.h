// Decoded images become OpenGL textures with mipmaps.
#pragma once

#include "engine/formats/cube_faces.h"
#include "engine/formats/equirect_cube.h"
#include "engine/formats/hdr_image.h"
#include "engine/formats/texture_image.h"
#include "engine/gpu/gl_object.h"

namespace engine {

struct TextureSampling {
    // Without mipmaps only the full size is uploaded and sampled, bilinearly.
    bool mipmaps = true;
    bool trilinear = true;
    // 1 means no anisotropic filtering.
    float anisotropy = 1.0f;
};

// The minification filter a texture uploaded with this sampling has.
GLint minificationFilter(const TextureSampling& sampling);

// 8-bit images become GL_RGBA8 textures.
GlTexture uploadFlatTexture(const ImageData& image, const TextureSampling& sampling);
GlTexture uploadCubeTexture(const CubeFaces& faces, const TextureSampling& sampling);

// Floating-point images become GL_RGB16F textures (filled from 32-bit floats) where the context
// has them (floatTextures: OpenGL 3.0 or GL_ARB_texture_float); elsewhere GL_RGB8 ones, which
// hold the values clamped to 0..1.
GlTexture uploadFlatTexture(const HdrImage& image, const TextureSampling& sampling,
                            bool floatTextures);
GlTexture uploadCubeTexture(const HdrCubeFaces& faces, const TextureSampling& sampling,
                            bool floatTextures);

}  // namespace engine
