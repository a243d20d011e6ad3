// Draws the scene's parts of a frame for the pipeline runner: the meshes for a context (after
// the shadow map they need) and full-screen passes. It keeps what lasts from frame to frame
// (lists, cached locations, the shadow map, the covering triangle) and counts what it draws.
#pragma once

#include <cstdint>
#include <unordered_map>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "engine/gpu/stand_in_textures.h"
#include "engine/render/frame_stats.h"
#include "engine/render/frustum.h"
#include "engine/render/light_set.h"
#include "engine/render/material_locations.h"
#include "engine/render/mesh_pass.h"
#include "engine/render/quad_pass.h"
#include "engine/render/scene_collector.h"
#include "engine/render/shadow_atlas.h"
#include "engine/render/visible_meshes.h"
#include "engine/resources/environment_light.h"
#include "engine/resources/loaded_pipeline.h"
#include "engine/scene/camera_view.h"
#include "engine/scene/scene_graph.h"

namespace engine {

// What one frame is painted from; it lives for the frame, on the renderer's stack.
struct PaintFrame {
    const SceneGraph& scene;
    const ResourceTable& resources;
    const StandInTextures& standIns;
    CameraView camera;
    // The side of each face of the shadow map.
    int shadowMapSize = 0;
    const EnvironmentLight* environment = nullptr;
};

class ScenePainter {
  public:
    // Needs the engine's context current.
    ScenePainter() = default;

    // Collects the frame's meshes and lights, before anything of the frame is drawn; world
    // matrices must be up to date.
    void collect(const PaintFrame& frame);
    // Draws the shadow map if the command asks for one and it is out of date. True when it
    // drew, which leaves another framebuffer bound.
    bool prepareShadows(const PaintFrame& frame, int shadowContextId);
    // Draws the meshes in view with the command's context onto the bound target of this size;
    // those the key light cannot reach with its fill-only context where their shader has it.
    void drawGeometry(const PaintFrame& frame, const ResolvedCommand& command, int targetWidth,
                      int targetHeight);
    // While the command's zero uniform is 0 the quad is drawn with its zero context.
    void drawQuad(const PaintFrame& frame, const ResolvedCommand& command,
                  const PipelineTargets& targets, int targetWidth, int targetHeight);

    FrameStats& stats() { return stats_; }

  private:
    FrameStats stats_;
    SceneCollector collector_;
    VisibleMeshes visibleMeshes_;
    LightSelector lightSelector_;
    MaterialLocations locations_;
    MeshPass meshPass_;
    QuadPass quadPass_;
    ShadowAtlas shadowAtlas_;
    SceneBehind sceneBehind_;
    std::uint64_t passStamp_ = 0;
    // Per quad command with a zero uniform: its index among the material's uniforms.
    std::unordered_map<const PipelineCommand*, int> zeroUniforms_;

    // The collected frame's, chosen by the light selector.
    const LightSet* lights_ = nullptr;

    PassUniforms passUniforms(const PaintFrame& frame, int targetWidth, int targetHeight);
    bool zeroUniformIsZero(const ResourceTable& resources, const PipelineCommand& command,
                           H3DRes materialHandle);
    MeshPassTools tools(const PaintFrame& frame);
};

}  // namespace engine
