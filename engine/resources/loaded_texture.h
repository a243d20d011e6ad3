// A loaded texture: the OpenGL texture and what kind it is.
#pragma once

#include "engine/gpu/gl_object.h"
#include "engine/gpu/texture_parameters.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct LoadedTexture : ResourcePayload {
    GlTexture texture;
    // GL_TEXTURE_2D or GL_TEXTURE_CUBE_MAP.
    GLenum target = GL_TEXTURE_2D;
    int width = 0;
    int height = 0;
    // 2D textures: what they have now, and the smooth minification filter of their upload.
    TextureParameters parameters;
    GLint smoothMinify = GL_LINEAR_MIPMAP_LINEAR;
    // True for textures from high-dynamic-range images: floating-point texels holding linear
    // radiance (no gamma, values above 1 kept). False for 8-bit images, whose texels are the
    // display colours the file stores.
    bool linearValues = false;
};

}  // namespace engine
