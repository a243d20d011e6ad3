#include "engine/render/pipeline_runner.h"

namespace engine {
namespace {

// What the commands draw into: the screen viewport, a render target, or nothing when a named
// target could not be made (its commands are dropped rather than drawn elsewhere).
class DrawTarget {
  public:
    explicit DrawTarget(const ScreenViewport& screen) : screen_(screen) { bindScreen(); }
    ~DrawTarget() {
        glDisable(GL_SCISSOR_TEST);
        glBindFramebuffer(GL_FRAMEBUFFER, screen_.framebuffer);
    }
    DrawTarget(const DrawTarget&) = delete;
    DrawTarget& operator=(const DrawTarget&) = delete;

    void switchTo(const PipelineCommand& command, const PipelineTargets& targets);
    void clear(const PipelineCommand& command) const;

  private:
    const ScreenViewport& screen_;
    bool valid_ = true;
    bool hasDepth_ = true;

    void bindScreen();
};

void runCommand(const PipelineCommand& command, const PipelineTargets& targets,
                DrawTarget& drawTarget);

}  // namespace

void runPipeline(const PipelineDesc& pipeline, const PipelineTargets& targets,
                 const ScreenViewport& screen) {
    DrawTarget drawTarget(screen);
    for (const PipelineStage& stage : pipeline.stages) {
        if (!stage.enabled) {
            continue;
        }
        for (const PipelineCommand& command : stage.commands) {
            runCommand(command, targets, drawTarget);
        }
    }
}

namespace {

void runCommand(const PipelineCommand& command, const PipelineTargets& targets,
                DrawTarget& drawTarget) {
    switch (command.kind) {
        case CommandKind::SwitchTarget:
            drawTarget.switchTo(command, targets);
            break;
        case CommandKind::Clear:
            drawTarget.clear(command);
            break;
        case CommandKind::DrawGeometry:
        case CommandKind::DrawLights:
        case CommandKind::DrawQuad:
        case CommandKind::DrawOverlays:
            // Read and passed over until the renderer draws meshes, lights, quads and overlays.
            break;
    }
}

void DrawTarget::switchTo(const PipelineCommand& command, const PipelineTargets& targets) {
    if (command.target == kScreenTarget) {
        bindScreen();
        return;
    }
    const RenderTarget* target = targets.find(command.target);
    valid_ = target != nullptr;
    if (target == nullptr) {
        return;
    }
    glDisable(GL_SCISSOR_TEST);
    target->bind();
    hasDepth_ = target->hasDepth();
}

void DrawTarget::clear(const PipelineCommand& command) const {
    if (!valid_) {
        return;
    }
    GLbitfield mask = 0;
    if (command.clearsColor) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(command.clearColor.r, command.clearColor.g, command.clearColor.b,
                     command.clearColor.a);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (command.clearsDepth && hasDepth_) {
        glDepthMask(GL_TRUE);
        glClearDepth(command.clearDepth);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (mask != 0) {
        glClear(mask);
    }
}

void DrawTarget::bindScreen() {
    glBindFramebuffer(GL_FRAMEBUFFER, screen_.framebuffer);
    glViewport(screen_.x, screen_.y, screen_.width, screen_.height);
    // glClear ignores the viewport; the scissor keeps clears inside the camera's part.
    glScissor(screen_.x, screen_.y, screen_.width, screen_.height);
    glEnable(GL_SCISSOR_TEST);
    valid_ = true;
    hasDepth_ = true;
}

}  // namespace
}  // namespace engine
