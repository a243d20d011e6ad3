#include "engine/render/scene_painter.h"

#include <glm/matrix.hpp>

#include "engine/render/blend_state.h"
#include "engine/scene/camera_view.h"

namespace engine {

CameraView cameraViewOf(H3DNode cameraNode, const SceneNode& node, const CameraSettings& camera) {
    CameraView view;
    const glm::mat4 projection = projectionMatrix(camera);
    const glm::mat4 worldToView = glm::inverse(node.world);
    view.camera = cameraNode;
    view.viewProjection = projection * worldToView;
    view.directionProjection = projection * glm::mat4(glm::mat3(worldToView));
    view.position = glm::vec3(node.world[3]);
    view.viewportWidth = camera.viewportWidth;
    view.viewportHeight = camera.viewportHeight;
    return view;
}

void ScenePainter::beginFrame(const SceneGraph& scene, const ResourceTable& resources,
                              const StandInTextures& standIns, const CameraView& camera,
                              int shadowMapSize) {
    scene_ = &scene;
    resources_ = &resources;
    standIns_ = &standIns;
    camera_ = camera;
    shadowMapSize_ = shadowMapSize;
    const Frustum view(camera.viewProjection);
    collector_.collect(scene, resources, view, camera.position);
    lights_ = &lightSelector_.select(collector_.lights(), view, camera.position);
}

bool ScenePainter::prepareShadows(int shadowContextId) {
    bool drew = shadowAtlas_.prepare(shadowMapSize_);
    if (shadowContextId < 0 || lights_->shadowLight == nullptr) {
        return drew;
    }
    const ShadowKey key{scene_->objectsVersion(), lights_->shadowLight->node, shadowContextId,
                        shadowMapSize_};
    MeshPassTools passTools = tools();
    return shadowAtlas_.update(*lights_->shadowLight, key, collector_.meshes(), meshPass_,
                               passTools, passStamp_) ||
           drew;
}

void ScenePainter::drawGeometry(const PipelineCommand& command, int contextId,
                                int fillOnlyContextId, int targetWidth, int targetHeight) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    // Blended geometry lies over what is drawn; it must not hide what comes after it.
    glDepthMask(command.blend == BlendMode::Replace ? GL_TRUE : GL_FALSE);
    applyBlend(command.blend);
    shadowAtlas_.bind();
    PassUniforms pass = passUniforms(targetWidth, targetHeight);
    MeshPassTools passTools = tools();
    meshPass_.draw(collector_.meshes(), DrawContexts{contextId, fillOnlyContextId}, nullptr,
                   FaceSide::Back, pass, passTools);
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
}

void ScenePainter::drawQuad(const PipelineCommand& command, H3DRes material, int contextId,
                            int zeroContextId, const PipelineTargets& targets, int targetWidth,
                            int targetHeight) {
    if (zeroContextId >= 0 && zeroUniformIsZero(command, material)) {
        contextId = zeroContextId;
    }
    PassUniforms pass = passUniforms(targetWidth, targetHeight);
    MeshPassTools passTools = tools();
    quadPass_.draw(command, material, contextId, targets, pass, passTools);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

ViewKey ScenePainter::viewKey(const PipelineTargets& targets) const {
    ViewKey key;
    key.valid = true;
    key.camera = camera_.camera;
    key.directionProjection = camera_.directionProjection;
    key.objectsVersion = scene_->objectsVersion();
    key.targetsGeneration = targets.generation();
    return key;
}

PassUniforms ScenePainter::passUniforms(int targetWidth, int targetHeight) {
    PassUniforms pass;
    pass.stamp = ++passStamp_;
    pass.viewProjection = camera_.viewProjection;
    pass.cameraPosition = camera_.position;
    pass.lights = lights_;
    pass.shadowMatrices = &shadowAtlas_.matrices();
    pass.shadowTexelSize = shadowAtlas_.texelSize();
    pass.targetSize = sizeUniform(targetWidth, targetHeight);
    pass.screenSize = sizeUniform(camera_.viewportWidth, camera_.viewportHeight);
    return pass;
}

// The uniform's place among the material's is looked up once per command, not every frame.
bool ScenePainter::zeroUniformIsZero(const PipelineCommand& command, H3DRes materialHandle) {
    const Resource* resource = resources_->get(materialHandle, ResourceType::Material);
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

MeshPassTools ScenePainter::tools() {
    return MeshPassTools{locations_, *resources_, *standIns_, stats_};
}

}  // namespace engine
