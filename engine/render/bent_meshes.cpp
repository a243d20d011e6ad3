#include "engine/render/bent_meshes.h"

#include "engine/resources/vertex_upload.h"
#include "engine/scene/mesh_bending.h"

namespace engine {

void BentMeshes::beginGathering() {
    for (auto& entry : bent_) {
        entry.second.used = false;
    }
}

BentMeshes::Source BentMeshes::vertices(H3DNode node, const MeshSettings& settings,
                                        const LoadedGeometry& geometry, const MeshRange& mesh,
                                        bool skinOnCpu) {
    const Source own{geometry.vertexBuffer.get(), 0};
    const bool morphed = anyMorphWeight(settings.morphWeights);
    if (mesh.bendable == nullptr || (!morphed && !skinOnCpu)) {
        return own;
    }
    Bent& bent = bent_[node];
    bent.used = true;
    const std::uint64_t poseVersion = skinOnCpu ? settings.pose.objectsVersion : 0;
    const bool current = bent.buffer.get() != 0 && bent.source == mesh.bendable.get() &&
                         bent.morphVersion == settings.morphVersion &&
                         bent.poseVersion == poseVersion && bent.skinnedOnCpu == skinOnCpu;
    if (!current) {
        bent.source = mesh.bendable.get();
        bent.morphVersion = settings.morphVersion;
        bent.poseVersion = poseVersion;
        bent.skinnedOnCpu = skinOnCpu;
        if (morphed) {
            blendMorphTargets(*mesh.bendable, settings.morphWeights, scratch_);
        } else {
            scratch_ = mesh.bendable->vertices;
        }
        if (skinOnCpu) {
            skinVertices(*mesh.bendable, settings.pose.jointRows, scratch_);
        }
        refillVertices(bent.buffer, scratch_.data(), scratch_.size(), geometry.vertexLayout);
    }
    return Source{bent.buffer.get(), mesh.firstVertexOffset};
}

void BentMeshes::endGathering() {
    for (auto entry = bent_.begin(); entry != bent_.end();) {
        entry = entry->second.used ? std::next(entry) : bent_.erase(entry);
    }
}

}  // namespace engine
