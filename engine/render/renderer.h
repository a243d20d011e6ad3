// Renders frames: runs a camera's pipeline against the screen framebuffer the engine started
// with, keeps the overlay queue, and counts finished frames and what they drew.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <unordered_map>
#include <utility>

#include <epoxy/gl.h>

#include "engine/base/message_log.h"
#include "engine/gpu/gl_capabilities.h"
#include "engine/gpu/stand_in_textures.h"
#include "engine/h3d.h"
#include "engine/render/frame_stats.h"
#include "engine/render/overlay_queue.h"
#include "engine/render/overlay_renderer.h"
#include "engine/render/pipeline_state.h"
#include "engine/render/scene_painter.h"
#include "engine/resources/context_names.h"
#include "engine/resources/environment_light.h"
#include "engine/resources/loaded_pipeline.h"
#include "engine/resources/resource_table.h"
#include "engine/scene/scene_graph.h"

namespace engine {

class Renderer {
  public:
    Renderer(GLuint screenFramebuffer, const GlCapabilities& capabilities);

    const GlCapabilities& capabilities() const { return capabilities_; }
    OverlayQueue& overlays() { return overlays_; }
    const StandInTextures& standIns() const { return standIns_; }
    std::uint64_t finishedFrames() const { return finishedFrames_; }
    // The triangles and draw calls of the latest finished frame.
    const FrameFigures& finishedFigures() { return scenePainter_.stats().finished(); }
    ContextNames& contextNames() { return contextNames_; }

    // False with a message when any target could not be made.
    bool resizePipeline(H3DRes handle, const LoadedPipeline& pipeline, int width, int height,
                        MessageLog& log);
    // The targets made for the pipeline; nothing before it was sized or first rendered.
    const PipelineTargets* pipelineTargets(H3DRes handle) const;
    // A camera whose pipeline cannot draw is drawn with the built-in one, said once per
    // pipeline. False only for a node that is not a camera.
    // shadowMapSize: the side of each face of the shadow map.
    bool render(SceneGraph& scene, const ResourceTable& resources, H3DNode camera,
                int shadowMapSize, MessageLog& log);
    void finalizeFrame();

    // What glTF materials are lit by from now on.
    void setEnvironment(EnvironmentLight environment) { environment_ = std::move(environment); }
    // Puts back the light of no environment: the plain ambient light.
    void clearEnvironment();
    const EnvironmentLight& environment() const { return environment_; }

  private:
    GLuint screenFramebuffer_;
    GlCapabilities capabilities_;
    OverlayQueue overlays_;
    StandInTextures standIns_;
    OverlayRenderer overlayRenderer_;
    ContextNames contextNames_;
    ScenePainter scenePainter_;
    EnvironmentLight environment_;
    std::uint64_t finishedFrames_ = 0;
    std::set<H3DRes> reportedPipelines_;
    std::unordered_map<H3DRes, PipelineState> pipelineStates_;
    std::unique_ptr<LoadedPipeline> fallbackPipeline_;
    PipelineState fallbackState_;

    const LoadedPipeline& drawablePipeline(H3DRes handle, const ResourceTable& resources,
                                           MessageLog& log);
    void leaveWriteMasksOpen();
};

}  // namespace engine
