#include "engine/scene/skin_poses.h"

#include "engine/resources/loaded_geometry.h"

namespace engine {
namespace {

void poseSkin(const SceneGraph& scene, const GeometrySkin& skin, MeshSettings& mesh) {
    mesh.pose.jointRows.resize(skin.joints.size() * 3);
    mesh.pose.worldBox = BoundingBox();
    for (std::size_t joint = 0; joint < mesh.joints.size() && joint < skin.joints.size(); ++joint) {
        const SceneNode* node = scene.find(mesh.joints[joint]);
        const glm::mat4 jointWorld = node != nullptr ? node->world : glm::mat4(1.0f);
        const glm::mat4 skinning = jointWorld * skin.inverseBindMatrices[joint];
        // Rows, so that the vertex program needs three vectors a joint, not four.
        for (int row = 0; row < 3; ++row) {
            mesh.pose.jointRows[joint * 3 + static_cast<std::size_t>(row)] =
                glm::vec4(skinning[0][row], skinning[1][row], skinning[2][row], skinning[3][row]);
        }
        // The joint's box is in the joint's own space.
        mesh.pose.worldBox.add(transformedBox(skin.jointBoxes[joint], jointWorld));
    }
}

}  // namespace

void refreshSkinPoses(SceneGraph& scene, const ResourceTable& resources) {
    const std::uint64_t version = scene.objectsVersion();
    for (H3DNode handle : scene.skinnedMeshes()) {
        MeshSettings* mesh = scene.settingsOf<MeshSettings>(handle);
        if (mesh == nullptr || mesh->pose.objectsVersion == version) {
            continue;
        }
        mesh->pose.objectsVersion = version;
        const Resource* resource = resources.get(mesh->geometry, ResourceType::Geometry);
        const auto* geometry =
            resource != nullptr ? resource->payloadAs<LoadedGeometry>() : nullptr;
        if (geometry == nullptr || mesh->skin >= static_cast<int>(geometry->skins.size())) {
            continue;
        }
        poseSkin(scene, geometry->skins[static_cast<std::size_t>(mesh->skin)], *mesh);
    }
}

}  // namespace engine
