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
    // Binds the current target again, after something else was bound meanwhile.
    void rebind();
    // Copies the source's first colour buffer over the current target, stretched to fit.
    void copyFrom(const PipelineCommand& command, const PipelineTargets& targets);
    bool valid() const { return valid_; }
    int x() const { return target_ != nullptr ? 0 : screen_.x; }
    int y() const { return target_ != nullptr ? 0 : screen_.y; }
    int width() const { return target_ != nullptr ? target_->width() : screen_.width; }
    int height() const { return target_ != nullptr ? target_->height() : screen_.height; }

  private:
    const ScreenViewport& screen_;
    const RenderTarget* target_ = nullptr;
    bool valid_ = true;
    bool hasDepth_ = true;

    void bindScreen();
};

ViewKey viewKeyOf(const PaintFrame& frame, const PipelineTargets& targets);
bool stageRuns(const PipelineStage& stage, ViewKey& lastView, const ViewKey& view);

void runCommand(const ResolvedCommand& resolved, const PipelineTargets& targets,
                DrawTarget& drawTarget, FrameInputs& inputs);

}  // namespace

void runPipeline(const LoadedPipeline& pipeline, PipelineState& state, const ScreenViewport& screen,
                 FrameInputs& inputs) {
    DrawTarget drawTarget(screen);
    const ViewKey view = viewKeyOf(inputs.frame, state.targets);
    state.stageViews.resize(pipeline.stages.size());
    for (std::size_t stageIndex = 0; stageIndex < pipeline.stages.size(); ++stageIndex) {
        const ResolvedStage& stage = pipeline.stages[stageIndex];
        if (!stageRuns(*stage.stage, state.stageViews[stageIndex], view)) {
            continue;
        }
        for (const ResolvedCommand& command : stage.commands) {
            runCommand(command, state.targets, drawTarget, inputs);
        }
    }
}

namespace {

ViewKey viewKeyOf(const PaintFrame& frame, const PipelineTargets& targets) {
    ViewKey key;
    key.valid = true;
    key.camera = frame.camera.camera;
    key.directionProjection = frame.camera.directionProjection;
    key.objectsVersion = frame.scene.objectsVersion();
    key.targetsGeneration = targets.generation();
    return key;
}

bool stageRuns(const PipelineStage& stage, ViewKey& lastView, const ViewKey& view) {
    if (!stage.enabled) {
        return false;
    }
    if (!stage.reusedUntilViewTurns) {
        return true;
    }
    if (lastView.sameAs(view)) {
        return false;
    }
    lastView = view;
    return true;
}

void drawGeometry(const ResolvedCommand& resolved, DrawTarget& drawTarget, FrameInputs& inputs) {
    if (!drawTarget.valid()) {
        return;
    }
    if (inputs.scenePainter.prepareShadows(inputs.frame, resolved.shadowContextId)) {
        drawTarget.rebind();
    }
    inputs.scenePainter.drawGeometry(inputs.frame, resolved, drawTarget.width(),
                                     drawTarget.height());
}

void runCommand(const ResolvedCommand& resolved, const PipelineTargets& targets,
                DrawTarget& drawTarget, FrameInputs& inputs) {
    const PipelineCommand& command = *resolved.command;
    switch (command.kind) {
        case CommandKind::SwitchTarget:
            drawTarget.switchTo(command, targets);
            break;
        case CommandKind::Clear:
            drawTarget.clear(command);
            break;
        case CommandKind::CopyTarget:
            if (inputs.capabilities.framebufferBlit) {
                drawTarget.copyFrom(command, targets);
            }
            break;
        case CommandKind::DrawGeometry:
            drawGeometry(resolved, drawTarget, inputs);
            break;
        case CommandKind::DrawQuad:
            if (drawTarget.valid()) {
                inputs.scenePainter.drawQuad(inputs.frame, resolved, targets, drawTarget.width(),
                                             drawTarget.height());
            }
            break;
        case CommandKind::DrawOverlays:
            if (drawTarget.valid()) {
                inputs.overlayRenderer.draw({inputs.overlays, inputs.resources, inputs.standIns,
                                             inputs.scenePainter.stats()},
                                            command.context, command.blend);
            }
            break;
    }
}

void DrawTarget::switchTo(const PipelineCommand& command, const PipelineTargets& targets) {
    if (command.target == kScreenTarget) {
        bindScreen();
        return;
    }
    target_ = targets.find(command.target);
    valid_ = target_ != nullptr;
    if (target_ == nullptr) {
        return;
    }
    glDisable(GL_SCISSOR_TEST);
    target_->bind();
    hasDepth_ = target_->hasDepth();
}

void DrawTarget::rebind() {
    if (target_ == nullptr) {
        bindScreen();
        return;
    }
    glDisable(GL_SCISSOR_TEST);
    target_->bind();
}

void DrawTarget::copyFrom(const PipelineCommand& command, const PipelineTargets& targets) {
    const RenderTarget* source = targets.find(command.target);
    if (!valid_ || source == nullptr || source == target_) {
        return;
    }
    const GLuint destination = target_ != nullptr ? target_->framebuffer() : screen_.framebuffer;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source->framebuffer());
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, destination);
    const bool sameSize = source->width() == width() && source->height() == height();
    glBlitFramebuffer(0, 0, source->width(), source->height(), x(), y(), x() + width(),
                      y() + height(), GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, destination);
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
        // Depth and stencil often share one buffer; clearing both at once is a plain fill,
        // while depth alone must keep every stencil byte (several times slower in software).
        glStencilMask(0xFFFFFFFFu);
        glClearStencil(0);
        mask |= GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    }
    if (mask != 0) {
        glClear(mask);
    }
}

void DrawTarget::bindScreen() {
    target_ = nullptr;
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
