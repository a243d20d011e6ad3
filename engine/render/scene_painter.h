// Draws the scene's parts of a frame for the pipeline runner: the meshes for a context (after
// the shadow map they need) and full-screen passes. It keeps what lasts from frame to frame
// (lists, cached locations, the shadow map, the covering triangle) and counts what it draws.
#pragma once

#include <cstdint>
#include <unordered_map>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "engine/render/frame_stats.h"
#include "engine/render/frustum.h"
#include "engine/render/light_set.h"
#include "engine/render/material_locations.h"
#include "engine/render/mesh_pass.h"
#include "engine/render/quad_pass.h"
#include "engine/render/scene_collector.h"
#include "engine/render/shadow_atlas.h"
#include "engine/render/stand_in_textures.h"
#include "engine/render/view_key.h"
#include "engine/scene/scene_graph.h"

namespace engine {

// Where the camera looks from, for one frame.
struct CameraView {
    H3DNode camera = 0;
    glm::mat4 viewProjection{1.0f};
    // The projection times the view's rotation alone: how points at infinity land.
    glm::mat4 directionProjection{1.0f};
    glm::vec3 position{0.0f};
    int viewportWidth = 1;
    int viewportHeight = 1;
};

CameraView cameraViewOf(H3DNode cameraNode, const SceneNode& node, const CameraSettings& camera);

class ScenePainter {
  public:
    // Needs the engine's context current.
    ScenePainter() = default;

    // Collects the scene for the camera; world matrices must be up to date.
    void beginFrame(const SceneGraph& scene, const ResourceTable& resources,
                    const StandInTextures& standIns, const CameraView& camera, int shadowMapSize);
    // Draws the shadow map if the command asks for one and it is out of date. True when it
    // drew, which leaves another framebuffer bound.
    bool prepareShadows(int shadowContextId);
    // Draws the meshes in view with the context onto the bound target of this size; those the
    // key light cannot reach with the fill-only context where their shader has it (-1: none).
    void drawGeometry(const PipelineCommand& command, int contextId, int fillOnlyContextId,
                      int targetWidth, int targetHeight);
    // zeroContextId: the context drawn with while the command's zero uniform is 0 (-1: none).
    void drawQuad(const PipelineCommand& command, H3DRes material, int contextId, int zeroContextId,
                  const PipelineTargets& targets, int targetWidth, int targetHeight);
    // What this frame's view looks like to a stage reused until the view turns.
    ViewKey viewKey(const PipelineTargets& targets) const;

    FrameStats& stats() { return stats_; }

  private:
    FrameStats stats_;
    SceneCollector collector_;
    LightSelector lightSelector_;
    MaterialLocations locations_;
    MeshPass meshPass_;
    QuadPass quadPass_;
    ShadowAtlas shadowAtlas_;
    std::uint64_t passStamp_ = 0;
    // Per quad command with a zero uniform: its index among the material's uniforms.
    std::unordered_map<const PipelineCommand*, int> zeroUniforms_;

    // This frame's.
    const SceneGraph* scene_ = nullptr;
    const ResourceTable* resources_ = nullptr;
    const StandInTextures* standIns_ = nullptr;
    CameraView camera_;
    const LightSet* lights_ = nullptr;
    int shadowMapSize_ = 0;

    PassUniforms passUniforms(int targetWidth, int targetHeight);
    bool zeroUniformIsZero(const PipelineCommand& command, H3DRes materialHandle);
    MeshPassTools tools();
};

}  // namespace engine
