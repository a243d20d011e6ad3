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
    // Mesa's llvmpipe or softpipe, SwiftShader and the like: pixels are shaded on the CPU.
    bool softwareRasterizer = false;
    std::string rendererName;
};

// True for the renderer names of rasterizers that run on the CPU.
bool isSoftwareRasterizer(const std::string& rendererName);

// The anisotropy textures get for the MaxAnisotropy option: the option, capped by the driver,
// and 1 on software rasterizers, where any anisotropic filtering halves the frame rate.
float usableAnisotropy(const GlCapabilities& capabilities, int maxAnisotropyOption);

// The reason the current context cannot run the engine: none current, older than OpenGL 2.0,
// OpenGL ES, or no framebuffer objects. Nothing when it can.
std::optional<std::string> unsupportedContextReason();
// Valid only when unsupportedContextReason() found nothing.
GlCapabilities queryCapabilities();

}  // namespace engine
