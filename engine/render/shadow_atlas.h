// The shadow map of the one shadow-casting point light: six square depth images, one per cube
// face around the light, side by side in one depth texture (three across, two down) that the
// lighting shaders sample with depth comparison. It is drawn again only when the light, the
// scene's objects, the caster context or the size change; a camera that moves costs nothing.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>

#include "engine/gpu/gl_object.h"
#include "engine/h3d.h"
#include "engine/render/mesh_pass.h"
#include "engine/render/scene_collector.h"

namespace engine {

// What the atlas was drawn for.
struct ShadowKey {
    std::uint64_t objectsVersion = 0;
    H3DNode light = 0;
    int contextId = -1;
    int faceSize = 0;
    bool operator==(const ShadowKey& other) const {
        return objectsVersion == other.objectsVersion && light == other.light &&
               contextId == other.contextId && faceSize == other.faceSize;
    }
};

class ShadowAtlas {
  public:
    // Draws the atlas for the light unless it holds it already. True when it drew, which
    // leaves its own framebuffer bound.
    bool update(const SceneLight& light, const ShadowKey& key, const std::vector<MeshDraw>& meshes,
                MeshPass& pass, MeshPassTools& tools, std::uint64_t& passStamp);
    // Makes the depth texture for this face size unless it has it; a new one reads as lit
    // everywhere. True when it made one, which leaves its own framebuffer bound.
    bool prepare(int faceSize);
    // Binds the depth texture to the shadow map unit.
    void bind() const;

    // World to atlas coordinates (x, y in 0..1 of the whole texture, z the stored depth).
    const std::array<glm::mat4, 6>& matrices() const { return atlasMatrices_; }
    // The size of one texel in texture coordinates.
    glm::vec2 texelSize() const;
    GLuint texture() const { return depth_.get(); }

  private:
    GlTexture depth_;
    GlFramebuffer framebuffer_;
    int faceSize_ = 0;
    bool drawn_ = false;
    ShadowKey drawnFor_;
    std::array<glm::mat4, 6> atlasMatrices_{};
};

}  // namespace engine
