#include "engine/render/visible_meshes.h"

#include <glm/geometric.hpp>

#include "engine/render/detail_level.h"

namespace engine {

void VisibleMeshes::select(const SceneCollector& collector, const Frustum& view,
                           const CameraView& camera, const LightSet& lights) {
    const std::vector<MeshDraw>& meshes = collector.meshes();
    const glm::vec3& cameraPosition = camera.position;
    pixelsPerUnit_ = pixelsPerUnitAtUnitDistance(camera);
    if (collector.generation() != builtGeneration_) {
        builtGeneration_ = collector.generation();
        rebuild(meshes);
    }
    visible_.clear();
    batchedInView_.clear();
    ++frame_;
    for (std::size_t index : testedAlone_) {
        const MeshDraw& mesh = meshes[index];
        if (!mesh.material->desc.frustumCulled || view.mayContain(mesh.worldBox)) {
            add(mesh, cameraPosition);
        }
    }
    hierarchy_.cull(view, [&](std::size_t index) {
        if (batches_.batchOf(index) < 0) {
            add(meshes[index], cameraPosition);
        } else {
            batchedInView_.push_back(index);
        }
    });
    addBatched(meshes, cameraPosition, lights);
}

// Counts per batch first, then decides: whole, or its visible meshes alone. Keeps culling as
// fine as without batches where a batch is mostly out of view, and keeps the fill-only
// program for the meshes the key light cannot reach.
void VisibleMeshes::addBatched(const std::vector<MeshDraw>& meshes, const glm::vec3& cameraPosition,
                               const LightSet& lights) {
    for (std::size_t index : batchedInView_) {
        BatchView& batch = batchViews_[static_cast<std::size_t>(batches_.batchOf(index))];
        if (batch.frame != frame_) {
            batch = BatchView{frame_, 0, 0, false, false};
        }
        ++batch.visibleMeshes;
        batch.keyLitMeshes += keyLightMayReach(lights, meshes[index].worldBox) ? 1 : 0;
    }
    for (std::size_t index : batchedInView_) {
        const int number = batches_.batchOf(index);
        BatchView& batch = batchViews_[static_cast<std::size_t>(number)];
        if (!batch.listed) {
            batch.listed = true;
            const bool mostlyInView =
                2 * batch.visibleMeshes >= meshCounts_[static_cast<std::size_t>(number)];
            const bool litAlike =
                batch.keyLitMeshes == 0 || batch.keyLitMeshes == batch.visibleMeshes;
            batch.drawnWhole = mostlyInView && litAlike;
            if (batch.drawnWhole) {
                add(batches_.draw(number), cameraPosition);
            }
        }
        if (!batch.drawnWhole) {
            add(meshes[index], cameraPosition);
        }
    }
}

void VisibleMeshes::rebuild(const std::vector<MeshDraw>& meshes) {
    // When only nodes moved, the batches stay but for those of the moved meshes, which come
    // apart for good: merging anew every time something moves would cost far more than it saves.
    const bool sameMeshes = sameDraws(meshes);
    bool anyMoved = !sameMeshes;
    if (sameMeshes) {
        std::vector<bool> moved(batches_.size(), false);
        for (std::size_t index = 0; index < meshes.size(); ++index) {
            if (*meshes[index].worldMatrix != drawnAs_[index].world) {
                anyMoved = true;
                if (batches_.batchOf(index) >= 0) {
                    moved[static_cast<std::size_t>(batches_.batchOf(index))] = true;
                }
            }
        }
        batches_.dissolve(moved);
    }
    // A light or a camera's child moving changes no mesh box: the hierarchy stays as it is.
    // Moving meshes, tested alone, take their boxes from this gathering.
    if (!anyMoved) {
        return;
    }
    drawnAs_.clear();
    for (const MeshDraw& mesh : meshes) {
        drawnAs_.push_back(
            {mesh.primitives, mesh.materialHandle, mesh.shaderVariant, *mesh.worldMatrix});
    }
    testedAlone_.clear();
    std::vector<BoundingBox> boxes(meshes.size());
    for (std::size_t index = 0; index < meshes.size(); ++index) {
        const MeshDraw& mesh = meshes[index];
        // A moving mesh's box changes while the hierarchy stays, so it is tested on its own.
        if (mesh.material->desc.frustumCulled && !mesh.worldBox.empty() && !mesh.moving) {
            boxes[index] = mesh.worldBox;
        } else {
            testedAlone_.push_back(index);
        }
    }
    hierarchy_.build(boxes);
    if (!sameMeshes) {
        batches_.build(meshes, hierarchy_);
    }
    batchViews_.assign(batches_.size(), BatchView{});
    meshCounts_.assign(batches_.size(), 0);
    for (std::size_t index = 0; index < meshes.size(); ++index) {
        if (batches_.batchOf(index) >= 0) {
            ++meshCounts_[static_cast<std::size_t>(batches_.batchOf(index))];
        }
    }
}

bool VisibleMeshes::sameDraws(const std::vector<MeshDraw>& meshes) const {
    if (meshes.size() != drawnAs_.size()) {
        return false;
    }
    for (std::size_t index = 0; index < meshes.size(); ++index) {
        const DrawnAs& before = drawnAs_[index];
        if (meshes[index].primitives != before.primitives ||
            meshes[index].materialHandle != before.materialHandle ||
            meshes[index].shaderVariant != before.shaderVariant) {
            return false;
        }
    }
    return true;
}

void VisibleMeshes::add(const MeshDraw& mesh, const glm::vec3& cameraPosition) {
    visible_.push_back(mesh);
    visible_.back().inView = true;
    visible_.back().cameraDistance = glm::distance(mesh.worldBox.center(), cameraPosition);
    visible_.back().allowedDetailError =
        allowedDetailError(mesh.worldBox, *mesh.worldMatrix, cameraPosition, pixelsPerUnit_);
}

}  // namespace engine
