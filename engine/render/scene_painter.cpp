#include "engine/render/scene_painter.h"

#include "engine/gpu/blend_state.h"
#include "engine/gpu/engine_uniforms.h"

namespace engine {
namespace {

void bindEnvironment(const EnvironmentLight* environment, const ResourceTable& resources) {
    if (environment == nullptr) {
        return;
    }
    glActiveTexture(GL_TEXTURE0 + kEnvironmentMapUnit);
    glBindTexture(GL_TEXTURE_CUBE_MAP, environment->cube.get());
    // The source resource may have gone since; then skies see the prefiltered cube.
    const Resource* resource = resources.get(environment->source, ResourceType::Texture);
    const auto* source = resource != nullptr ? resource->payloadAs<LoadedTexture>() : nullptr;
    glActiveTexture(GL_TEXTURE0 + kEnvironmentBackgroundUnit);
    glBindTexture(GL_TEXTURE_CUBE_MAP, source != nullptr && source->target == GL_TEXTURE_CUBE_MAP
                                           ? source->texture.get()
                                           : environment->cube.get());
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace

void ScenePainter::collect(const PaintFrame& frame) {
    const Frustum view(frame.camera.viewProjection);
    collector_.collect(frame.scene, frame.resources, view, frame.camera.position);
    lights_ = &lightSelector_.select(collector_.lights(), view, frame.camera.position);
    visibleMeshes_.select(collector_, view, frame.camera, *lights_);
}

bool ScenePainter::prepareShadows(const PaintFrame& frame, int shadowContextId) {
    bool drew = shadowAtlas_.prepare(frame.shadowMapSize);
    if (shadowContextId < 0 || lights_->shadowLight == nullptr) {
        return drew;
    }
    const ShadowKey key{frame.scene.objectsVersion(), lights_->shadowLight->node, shadowContextId,
                        frame.shadowMapSize};
    MeshPassTools passTools = tools(frame);
    return shadowAtlas_.update(*lights_->shadowLight, key, collector_.meshes(), meshPass_,
                               passTools, passStamp_) ||
           drew;
}

void ScenePainter::drawGeometry(const PaintFrame& frame, const ResolvedCommand& command,
                                int targetWidth, int targetHeight) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    // Blended geometry lies over what is drawn; it must not hide what comes after it.
    const BlendMode blend = command.command->blend;
    glDepthMask(blend == BlendMode::Replace ? GL_TRUE : GL_FALSE);
    applyBlend(blend);
    shadowAtlas_.bind();
    bindEnvironment(frame.environment, frame.resources);
    PassUniforms pass = passUniforms(frame, targetWidth, targetHeight);
    MeshPassTools passTools = tools(frame);
    if (blend == BlendMode::Replace) {
        passTools.sceneBehind = &sceneBehind_;
    }
    meshPass_.draw(
        visibleMeshes_.meshes(),
        DrawContexts{command.contextId, command.fillOnlyContextId, blend == BlendMode::Replace},
        nullptr, FaceSide::Back, pass, passTools);
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
}

void ScenePainter::drawQuad(const PaintFrame& frame, const ResolvedCommand& command,
                            const PipelineTargets& targets, int targetWidth, int targetHeight) {
    int contextId = command.contextId;
    if (command.zeroContextId >= 0 &&
        zeroUniformIsZero(frame.resources, *command.command, command.material)) {
        contextId = command.zeroContextId;
    }
    PassUniforms pass = passUniforms(frame, targetWidth, targetHeight);
    MeshPassTools passTools = tools(frame);
    quadPass_.draw(*command.command, command.material, contextId, targets, pass, passTools);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

PassUniforms ScenePainter::passUniforms(const PaintFrame& frame, int targetWidth,
                                        int targetHeight) {
    const CameraView& camera = frame.camera;
    PassUniforms pass;
    pass.environment = frame.environment;
    pass.stamp = ++passStamp_;
    pass.viewProjection = camera.viewProjection;
    pass.cameraPosition = camera.position;
    pass.lights = lights_;
    pass.shadowMatrices = &shadowAtlas_.matrices();
    pass.shadowTexelSize = shadowAtlas_.texelSize();
    pass.targetSize = sizeUniform(targetWidth, targetHeight);
    pass.screenSize = sizeUniform(camera.viewportWidth, camera.viewportHeight);
    return pass;
}

// The uniform's place among the material's is looked up once per command, not every frame.
bool ScenePainter::zeroUniformIsZero(const ResourceTable& resources, const PipelineCommand& command,
                                     H3DRes materialHandle) {
    const Resource* resource = resources.get(materialHandle, ResourceType::Material);
    const auto* material = resource != nullptr ? resource->payloadAs<LoadedMaterial>() : nullptr;
    if (material == nullptr) {
        return false;
    }
    auto found = zeroUniforms_.find(&command);
    if (found == zeroUniforms_.end()) {
        const MaterialUniform* uniform = material->findUniform(command.zeroUniform);
        const int index =
            uniform != nullptr ? static_cast<int>(uniform - material->desc.uniforms.data()) : -1;
        found = zeroUniforms_.emplace(&command, index).first;
    }
    return found->second >= 0 &&
           material->desc.uniforms[static_cast<std::size_t>(found->second)].value.x == 0.0f;
}

MeshPassTools ScenePainter::tools(const PaintFrame& frame) {
    return MeshPassTools{locations_, frame.resources, frame.standIns, stats_};
}

}  // namespace engine
