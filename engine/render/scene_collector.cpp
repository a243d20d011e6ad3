#include "engine/render/scene_collector.h"

#include "engine/gpu/engine_uniforms.h"

#include <algorithm>

#include <glm/geometric.hpp>
#include <glm/matrix.hpp>

namespace engine {
namespace {

const glm::mat4 kIdentity(1.0f);

// The shader a material draws with and the build of it for the material's defines; false when
// either is not ready.
bool findShader(const ResourceTable& resources, const LoadedMaterial& material, MeshDraw& draw) {
    const Resource* shader = resources.get(material.shader, ResourceType::Shader);
    draw.shader = shader != nullptr ? shader->payloadAs<LoadedShader>() : nullptr;
    draw.shaderVariant = material.shaderVariant;
    return draw.shader != nullptr && draw.shaderVariant >= 0;
}

}  // namespace

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
    bentMeshes_.beginGathering();
    scene.forEachNode([&](int handle, const SceneNode& node) {
        if (const auto* mesh = std::get_if<MeshSettings>(&node.settings)) {
            addMesh(handle, node, *mesh, resources, view, cameraPosition);
        } else if (const auto* light = std::get_if<LightSettings>(&node.settings)) {
            addLight(handle, node, *light);
        }
    });
    bentMeshes_.endGathering();
}

// A mesh the scene gives a material is one draw; one without is drawn with its file's
// materials, a draw for each.
void SceneCollector::addMesh(H3DNode handle, const SceneNode& node, const MeshSettings& settings,
                             const ResourceTable& resources, const Frustum& view,
                             const glm::vec3& cameraPosition) {
    const Resource* geometryResource = resources.get(settings.geometry, ResourceType::Geometry);
    const auto* geometry =
        geometryResource != nullptr ? geometryResource->payloadAs<LoadedGeometry>() : nullptr;
    if (geometry == nullptr || settings.meshIndex >= static_cast<int>(geometry->meshes.size())) {
        return;
    }
    const MeshRange& mesh = geometry->meshes[static_cast<std::size_t>(settings.meshIndex)];
    MeshDraw draw;
    draw.geometry = geometry;
    draw.moving = settings.moves();
    draw.eightInfluences =
        std::any_of(mesh.primitives.begin(), mesh.primitives.end(),
                    [](const PrimitiveRange& each) { return each.eightInfluences; });
    // A skinned mesh's joints carry it into the world.
    const bool skinned = settings.skinned() && settings.pose.objectsVersion != 0;
    const glm::mat4& world = skinned ? kIdentity : node.world;
    draw.worldMatrix = &world;
    const glm::mat3 linear(world);
    const float determinant = glm::determinant(linear);
    draw.mirrored = determinant < 0.0f;
    draw.normalMatrix =
        determinant != 0.0f ? glm::transpose(glm::inverse(linear)) : glm::mat3(1.0f);
    auto add = [&](H3DRes materialHandle, const std::vector<PrimitiveRange>& primitives,
                   const BoundingBox& bounds) {
        const Resource* material = resources.get(materialHandle, ResourceType::Material);
        draw.material = material != nullptr ? material->payloadAs<LoadedMaterial>() : nullptr;
        if (draw.material == nullptr || !findShader(resources, *draw.material, draw)) {
            return;
        }
        bool skinOnCpu = false;
        if (skinned) {
            const int variant = draw.material->skinnedVariants[draw.eightInfluences ? 1 : 0];
            skinOnCpu = variant < 0 || settings.joints.size() > kMaximumGpuJoints;
            draw.shaderVariant = skinOnCpu ? draw.shaderVariant : variant;
            draw.jointRows = skinOnCpu ? nullptr : &settings.pose.jointRows;
        }
        const BentMeshes::Source source =
            bentMeshes_.vertices(handle, settings, *geometry, mesh, skinOnCpu);
        draw.vertexBuffer = source.buffer;
        draw.vertexBase = source.base;
        draw.materialHandle = materialHandle;
        draw.primitives = &primitives;
        draw.worldBox = skinned ? settings.pose.worldBox : transformedBox(bounds, node.world);
        draw.inView = !draw.material->desc.frustumCulled || view.mayContain(draw.worldBox);
        draw.cameraDistance = glm::distance(draw.worldBox.center(), cameraPosition);
        meshes_.push_back(draw);
    };
    if (settings.material != 0) {
        add(settings.material, mesh.primitives, mesh.bounds);
        return;
    }
    for (const MeshPart& part : mesh.parts) {
        if (part.material >= 0 && part.material < static_cast<int>(geometry->materials.size())) {
            add(geometry->materials[static_cast<std::size_t>(part.material)], part.primitives,
                part.bounds);
        }
    }
}

void SceneCollector::addLight(H3DNode handle, const SceneNode& node, const LightSettings& light) {
    SceneLight& added = lights_.emplace_back();
    added.node = handle;
    added.position = glm::vec3(node.world[3]);
    const glm::vec3 axis(node.world[2]);
    const float length = glm::length(axis);
    added.direction = length > 0.0f ? -axis / length : glm::vec3(0.0f, 0.0f, -1.0f);
    added.color = light.color;
    added.radius = light.radius;
    // A file's lights belong to its model: scaled with it, they keep lighting it as before, so
    // their reach grows with the scale and their inverse-square light with its square.
    if (light.inverseSquare) {
        const float scale = glm::length(glm::vec3(node.world[0]));
        added.radius *= scale;
        added.color *= scale * scale;
    }
    added.castsShadows = light.castsShadows;
    added.kind = light.kind;
    added.innerConeAngle = light.innerConeAngle;
    added.outerConeAngle = light.outerConeAngle;
    added.inverseSquare = light.inverseSquare;
}

}  // namespace engine
