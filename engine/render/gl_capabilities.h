// What the current OpenGL context offers, checked once when the engine starts.
#pragma once

#include <optional>
#include <string>

namespace engine {

struct GlCapabilities {
    int version = 0;  // 10 * major + minor
    bool halfFloatTargets = false;
    bool packedFloatTargets = false;
    // glBlitFramebuffer, for copying one target into another.
    bool framebufferBlit = false;
    bool anisotropicFiltering = false;
    float maxAnisotropy = 1.0f;
};

// The reason the current context cannot run the engine: none current, older than OpenGL 2.0,
// OpenGL ES, or no framebuffer objects. Nothing when it can.
std::optional<std::string> unsupportedContextReason();
// Valid only when unsupportedContextReason() found nothing.
GlCapabilities queryCapabilities();

}  // namespace engine
