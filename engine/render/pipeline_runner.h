// Runs a pipeline's stages for one camera. Target switches and clears draw today; the drawing
// commands are read and passed over until geometry, lights, quads and overlays are drawn.
#pragma once

#include <epoxy/gl.h>

#include "engine/formats/pipeline_format.h"
#include "engine/render/pipeline_targets.h"

namespace engine {

// Where "screen" is: the framebuffer the engine started with, and the camera's viewport on it.
struct ScreenViewport {
    GLuint framebuffer = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

void runPipeline(const PipelineDesc& pipeline, const PipelineTargets& targets,
                 const ScreenViewport& screen);

}  // namespace engine
