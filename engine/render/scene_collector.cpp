#include "engine/render/scene_collector.h"

#include <glm/geometric.hpp>
#include <glm/matrix.hpp>

namespace engine {

void SceneCollector::collect(const SceneGraph& scene, const ResourceTable& resources,
                             const Frustum& view, const glm::vec3& cameraPosition) {
    if (generation_ > 0 && scene.objectsVersion() == objectsVersion_ &&
        resources.payloadsVersion() == payloadsVersion_) {
        return;
    }
    ++generation_;
    objectsVersion_ = scene.objectsVersion();
    payloadsVersion_ = resources.payloadsVersion();
    meshes_.clear();
    lights_.clear();
    scene.forEachNode([&](int handle, const SceneNode& node) {
        if (const auto* mesh = std::get_if<MeshSettings>(&node.settings)) {
            addMesh(node, *mesh, resources, view, cameraPosition);
        } else if (const auto* light = std::get_if<LightSettings>(&node.settings)) {
            lights_.push_back({handle, glm::vec3(node.world[3]), light->color, light->radius,
                               light->castsShadows});
        }
    });
}

void SceneCollector::addMesh(const SceneNode& node, const MeshSettings& settings,
                             const ResourceTable& resources, const Frustum& view,
                             const glm::vec3& cameraPosition) {
    const Resource* geometry = resources.get(settings.geometry, ResourceType::Geometry);
    const Resource* material = resources.get(settings.material, ResourceType::Material);
    MeshDraw draw;
    draw.geometry = geometry != nullptr ? geometry->payloadAs<LoadedGeometry>() : nullptr;
    draw.material = material != nullptr ? material->payloadAs<LoadedMaterial>() : nullptr;
    if (draw.geometry == nullptr || draw.material == nullptr ||
        settings.meshIndex >= static_cast<int>(draw.geometry->meshes.size())) {
        return;
    }
    const Resource* shader = resources.get(draw.material->shader, ResourceType::Shader);
    draw.shader = shader != nullptr ? shader->payloadAs<LoadedShader>() : nullptr;
    if (draw.shader == nullptr) {
        return;
    }
    draw.mesh = &draw.geometry->meshes[static_cast<std::size_t>(settings.meshIndex)];
    draw.materialHandle = settings.material;
    draw.worldMatrix = &node.world;
    const glm::mat3 linear(node.world);
    const float determinant = glm::determinant(linear);
    draw.mirrored = determinant < 0.0f;
    draw.normalMatrix =
        determinant != 0.0f ? glm::transpose(glm::inverse(linear)) : glm::mat3(1.0f);
    draw.worldBox = transformedBox(draw.mesh->bounds, node.world);
    draw.inView = !draw.material->desc.frustumCulled || view.mayContain(draw.worldBox);
    draw.cameraDistance = glm::distance(draw.worldBox.center(), cameraPosition);
    meshes_.push_back(draw);
}

}  // namespace engine
