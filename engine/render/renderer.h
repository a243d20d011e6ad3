// Renders frames: runs a camera's pipeline against the screen framebuffer the engine started
// with, keeps the overlay queue and counts finished frames.
#pragma once

#include <cstdint>
#include <set>

#include <epoxy/gl.h>

#include "engine/core/message_log.h"
#include "engine/h3d.h"
#include "engine/render/gl_capabilities.h"
#include "engine/render/overlay_queue.h"
#include "engine/resources/loaded_pipeline.h"
#include "engine/resources/resource_table.h"
#include "engine/scene/scene_graph.h"

namespace engine {

class Renderer {
  public:
    Renderer(GLuint screenFramebuffer, const GlCapabilities& capabilities);

    const GlCapabilities& capabilities() const { return capabilities_; }
    OverlayQueue& overlays() { return overlays_; }
    std::uint64_t finishedFrames() const { return finishedFrames_; }

    // False with a message when any target could not be made.
    bool resizePipeline(LoadedPipeline& pipeline, int width, int height, MessageLog& log);
    // False when the camera's pipeline is not loaded; said once per pipeline, not every frame.
    bool render(SceneGraph& scene, const ResourceTable& resources, H3DNode camera, MessageLog& log);
    void finalizeFrame();

  private:
    GLuint screenFramebuffer_;
    GlCapabilities capabilities_;
    OverlayQueue overlays_;
    std::uint64_t finishedFrames_ = 0;
    std::set<H3DRes> reportedPipelines_;
};

}  // namespace engine
