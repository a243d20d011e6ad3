#include "engine/render/renderer.h"

#include <chrono>
#include <string>

#include "engine/render/fallback_pipeline.h"
#include "engine/render/pipeline_runner.h"
#include "engine/scene/skin_poses.h"

namespace engine {

Renderer::Renderer(GLuint screenFramebuffer, const GlCapabilities& capabilities)
    : screenFramebuffer_(screenFramebuffer), capabilities_(capabilities) {
    clearEnvironment();
}

void Renderer::clearEnvironment() {
    environment_ =
        uploadEnvironment(uniformEnvironment(kPlainAmbientLight), capabilities_.halfFloatTargets);
}

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
    const LoadedPipeline& pipeline = drawablePipeline(settings->pipeline, resources, log);
    PipelineState& state =
        &pipeline == fallbackPipeline_.get() ? fallbackState_ : pipelineStates_[settings->pipeline];
    // A pipeline never resized gets targets for the camera's viewport.
    if (!state.targets.sized()) {
        state.targets.resize(pipeline.desc, settings->viewportWidth, settings->viewportHeight,
                             capabilities_, log);
    }
    ScreenViewport screen{screenFramebuffer_, settings->viewportX, settings->viewportY,
                          settings->viewportWidth, settings->viewportHeight};
    const auto posingStart = std::chrono::steady_clock::now();
    scene.refreshWorldMatrices();
    refreshSkinPoses(scene, resources);
    scenePainter_.stats().countPosing(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - posingStart)
            .count());
    const PaintFrame frame{scene,         resources,
                           standIns_,     cameraViewOf(camera, *scene.find(camera), *settings),
                           shadowMapSize, &environment_};
    scenePainter_.collect(frame);
    FrameInputs inputs{capabilities_,    resources,     standIns_, overlays_,
                       overlayRenderer_, scenePainter_, frame};
    runPipeline(pipeline, state, screen, inputs);
    leaveWriteMasksOpen();
    return true;
}

// The camera's pipeline, or the built-in one when it cannot draw; said once per pipeline.
const LoadedPipeline& Renderer::drawablePipeline(H3DRes handle, const ResourceTable& resources,
                                                 MessageLog& log) {
    const Resource* resource = resources.get(handle, ResourceType::Pipeline);
    const auto* pipeline = resource != nullptr ? resource->payloadAs<LoadedPipeline>() : nullptr;
    std::string fault;
    if (pipeline == nullptr) {
        fault = "pipeline " +
                (resource != nullptr ? "'" + resource->name + "'" : std::to_string(handle)) +
                " is not loaded";
    } else if (const Resource* broken = brokenQuadResourceOf(*pipeline, resources)) {
        fault = "pipeline '" + resource->name + "' draws with " + resourceTypeName(broken->type) +
                " '" + broken->name + "', which is not loaded";
    } else {
        return *pipeline;
    }
    if (reportedPipelines_.insert(handle).second) {
        log.warning(fault +
                    "; its cameras are drawn with the built-in pipeline (clear, lit "
                    "geometry, overlays)");
    }
    if (!fallbackPipeline_) {
        fallbackPipeline_ = makeFallbackPipeline(contextNames_);
    }
    return *fallbackPipeline_;
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
