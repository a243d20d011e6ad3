// An off-screen render target: a framebuffer object with colour textures and an optional depth
// texture, so that later passes can sample both.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/formats/pipeline_format.h"
#include "engine/gpu/gl_capabilities.h"
#include "engine/gpu/gl_object.h"

namespace engine {

class RenderTarget {
  public:
    // Nothing, with the reason in error, when the driver cannot complete the framebuffer.
    // Float formats the context lacks fall back to the next one it has (down to rgba8).
    static std::optional<RenderTarget> create(const RenderTargetDesc& desc, int width, int height,
                                              const GlCapabilities& capabilities,
                                              std::string& error);

    // Binds the framebuffer, its colour buffers for drawing, and the whole target as viewport.
    void bind() const;
    int width() const { return width_; }
    int height() const { return height_; }
    bool hasDepth() const { return static_cast<bool>(depthTexture_); }
    GLuint framebuffer() const { return framebuffer_.get(); }
    GLuint colorTexture(int index) const;
    // Sets how the colour texture, which must be bound, is filtered when sampled; passes ask
    // for either, so it is changed only when it differs.
    void useFiltering(int index, bool nearest) const;

  private:
    GlFramebuffer framebuffer_;
    std::vector<GlTexture> colorTextures_;
    // Per colour texture: whether it samples the nearest texel now.
    mutable std::vector<bool> nearestFiltering_;
    GlTexture depthTexture_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace engine
