#include "engine/gpu/blend_state.h"

#include <epoxy/gl.h>

namespace engine {

void applyBlend(BlendMode blend) {
    switch (blend) {
        case BlendMode::Replace:
            glDisable(GL_BLEND);
            return;
        case BlendMode::Add:
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            return;
        case BlendMode::Alpha:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            return;
    }
}

}  // namespace engine
