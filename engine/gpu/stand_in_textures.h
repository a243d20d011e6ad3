// The textures drawn in place of a material's texture that did not load: a magenta and black
// checkerboard, loud enough that a missing file is seen, for both 2D and cube samplers.
#pragma once

#include <epoxy/gl.h>

#include "engine/gpu/gl_object.h"

namespace engine {

class StandInTextures {
  public:
    // Needs the engine's context current.
    StandInTextures();

    // target: GL_TEXTURE_2D or GL_TEXTURE_CUBE_MAP.
    GLuint forTarget(GLenum target) const;

  private:
    GlTexture flat_;
    GlTexture cube_;
};

}  // namespace engine
