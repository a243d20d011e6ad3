// Runs a pipeline's stages for one camera: target switches and clears here, geometry and
// full-screen passes through the scene painter, overlays through the overlay renderer.
#pragma once

#include <epoxy/gl.h>

#include "engine/formats/pipeline_format.h"
#include "engine/gpu/gl_capabilities.h"
#include "engine/gpu/stand_in_textures.h"
#include "engine/render/overlay_queue.h"
#include "engine/render/overlay_renderer.h"
#include "engine/render/pipeline_state.h"
#include "engine/render/scene_painter.h"
#include "engine/resources/loaded_pipeline.h"
#include "engine/resources/resource_table.h"

namespace engine {

// Where "screen" is: the framebuffer the engine started with, and the camera's viewport on it.
struct ScreenViewport {
    GLuint framebuffer = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// What the drawing commands draw with, besides the targets.
struct FrameInputs {
    const GlCapabilities& capabilities;
    const ResourceTable& resources;
    const StandInTextures& standIns;
    const OverlayQueue& overlays;
    OverlayRenderer& overlayRenderer;
    ScenePainter& scenePainter;
    const PaintFrame& frame;
};

// Stages reused until the view turns are passed over while the view looks as when they last ran.
void runPipeline(const LoadedPipeline& pipeline, PipelineState& state, const ScreenViewport& screen,
                 FrameInputs& inputs);

}  // namespace engine
