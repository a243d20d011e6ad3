#include "engine/render/renderer.h"

#include <string>

#include "engine/render/pipeline_runner.h"

namespace engine {

Renderer::Renderer(GLuint screenFramebuffer, const GlCapabilities& capabilities)
    : screenFramebuffer_(screenFramebuffer), capabilities_(capabilities) {}

bool Renderer::resizePipeline(H3DRes handle, const LoadedPipeline& pipeline, int width, int height,
                              MessageLog& log) {
    PipelineTargets& targets = pipelineStates_[handle].targets;
    bool made = targets.resize(pipeline.desc, width, height, capabilities_, log);
    glBindFramebuffer(GL_FRAMEBUFFER, screenFramebuffer_);
    return made;
}

const PipelineTargets* Renderer::pipelineTargets(H3DRes handle) const {
    auto found = pipelineStates_.find(handle);
    return found != pipelineStates_.end() ? &found->second.targets : nullptr;
}

bool Renderer::render(SceneGraph& scene, const ResourceTable& resources, H3DNode camera,
                      int shadowMapSize, MessageLog& log) {
    const CameraSettings* settings = scene.settingsOf<CameraSettings>(camera);
    if (settings == nullptr) {
        return false;
    }
    const Resource* resource = resources.get(settings->pipeline, ResourceType::Pipeline);
    auto* pipeline = resource != nullptr ? resource->payloadAs<LoadedPipeline>() : nullptr;
    if (pipeline == nullptr) {
        if (reportedPipelines_.insert(settings->pipeline).second) {
            log.warning("camera " + std::to_string(camera) + " cannot render: pipeline " +
                        std::to_string(settings->pipeline) + " is not loaded");
        }
        return false;
    }
    // A pipeline never resized gets targets for the camera's viewport.
    PipelineState& state = pipelineStates_[settings->pipeline];
    if (!state.targets.sized()) {
        resizePipeline(settings->pipeline, *pipeline, settings->viewportWidth,
                       settings->viewportHeight, log);
    }
    ScreenViewport screen{screenFramebuffer_, settings->viewportX, settings->viewportY,
                          settings->viewportWidth, settings->viewportHeight};
    scene.refreshWorldMatrices();
    const PaintFrame frame{scene, resources, standIns_,
                           cameraViewOf(camera, *scene.find(camera), *settings), shadowMapSize};
    scenePainter_.collect(frame);
    FrameInputs inputs{capabilities_,    resources,     standIns_, overlays_,
                       overlayRenderer_, scenePainter_, frame};
    runPipeline(*pipeline, state, screen, inputs);
    leaveWriteMasksOpen();
    return true;
}

// Passes may close the depth mask or blend; the host's own clears between frames must still
// clear everything.
void Renderer::leaveWriteMasksOpen() {
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_BLEND);
    glUseProgram(0);
}

void Renderer::finalizeFrame() {
    glBindFramebuffer(GL_FRAMEBUFFER, screenFramebuffer_);
    scenePainter_.stats().finishFrame();
    ++finishedFrames_;
}

}  // namespace engine
