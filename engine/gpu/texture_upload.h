// Decoded images become OpenGL textures with mipmaps.
#pragma once

#include "engine/formats/cube_faces.h"
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

GlTexture uploadFlatTexture(const ImageData& image, const TextureSampling& sampling);
GlTexture uploadCubeTexture(const CubeFaces& faces, const TextureSampling& sampling);

}  // namespace engine
