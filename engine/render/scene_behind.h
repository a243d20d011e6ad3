// What transmissive surfaces see through themselves: a copy of the opaque scene drawn so far in
// the bound target, with mipmaps, so that a rough surface can blur it by picking a level.
#pragma once

#include <epoxy/gl.h>

#include "engine/gpu/gl_object.h"

namespace engine {

class SceneBehind {
  public:
    // Copies the bound framebuffer's viewport into the texture and binds the copy to
    // kSceneBehindUnit; the active unit is left at 0.
    void capture();

  private:
    GlTexture texture_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace engine
