// Merged draws of small static meshes: within each leaf of the mesh hierarchy, the small meshes
// that share a shader and a material become one mesh in world space, drawn with one call
// instead of one each. Culling then works at the leaf's grain for them. Works on any context
// that has buffers (OpenGL 2.0), at the cost of a world-space copy of each merged mesh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/render/mesh_hierarchy.h"

namespace engine {

// Defined with the scene collector, which owns the batches.
struct MeshDraw;

class MeshBatches {
  public:
    // Meshes of more triangles are drawn alone: merging them would copy much for little gain.
    static constexpr std::uint32_t kMostMergedTriangles = 1024;

    MeshBatches();
    ~MeshBatches();
    MeshBatches(const MeshBatches&) = delete;
    MeshBatches& operator=(const MeshBatches&) = delete;

    // Merges anew; needs the engine's context current.
    void build(const std::vector<MeshDraw>& meshes, const MeshHierarchy& hierarchy);
    void clear();
    // The meshes of each batch marked true are drawn alone from now on (one of them moved);
    // its merged mesh goes.
    void dissolve(const std::vector<bool>& doomed);

    // The batch that draws the mesh, or -1 when it is drawn alone.
    int batchOf(std::size_t mesh) const { return batchOfMesh_[mesh]; }
    const MeshDraw& draw(int batch) const;
    std::size_t size() const { return batches_.size(); }

    // A merged mesh and its draw; defined where it is made.
    struct Batch;

  private:
    std::vector<std::unique_ptr<Batch>> batches_;
    std::vector<int> batchOfMesh_;
};

}  // namespace engine
