#include "engine/core/node_bounds.h"

#include <vector>

#include "engine/resources/loaded_geometry.h"
#include "engine/scene/skin_poses.h"

namespace engine {
namespace {

// The mesh's own box, empty when its geometry is not loaded or has no such mesh.
BoundingBox meshBounds(const MeshSettings& mesh, const ResourceTable& resources) {
    const Resource* geometry = resources.get(mesh.geometry, ResourceType::Geometry);
    const auto* loaded = geometry != nullptr ? geometry->payloadAs<LoadedGeometry>() : nullptr;
    if (loaded == nullptr || mesh.meshIndex < 0 ||
        mesh.meshIndex >= static_cast<int>(loaded->meshes.size())) {
        return BoundingBox();
    }
    return loaded->meshes[static_cast<std::size_t>(mesh.meshIndex)].bounds;
}

}  // namespace

BoundingBox subtreeWorldBounds(SceneGraph& scene, const ResourceTable& resources, H3DNode node) {
    BoundingBox bounds;
    if (scene.find(node) == nullptr) {
        return bounds;
    }
    scene.refreshWorldMatrices();
    refreshSkinPoses(scene, resources);
    // A stack rather than recursion: a glTF file may nest its nodes thousands deep.
    std::vector<H3DNode> pending{node};
    while (!pending.empty()) {
        const SceneNode* current = scene.find(pending.back());
        pending.pop_back();
        if (const auto* mesh = std::get_if<MeshSettings>(&current->settings)) {
            // A skinned mesh stands where its joints put it.
            bounds.add(mesh->skinned() && !mesh->pose.worldBox.empty()
                           ? mesh->pose.worldBox
                           : transformedBox(meshBounds(*mesh, resources), current->world));
        }
        pending.insert(pending.end(), current->children.begin(), current->children.end());
    }
    return bounds;
}

}  // namespace engine
