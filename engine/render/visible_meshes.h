// The meshes the camera may see in a frame, found through a hierarchy of the scene's mesh
// boxes rather than by testing every mesh, with small meshes that share a material drawn from
// merged batches. Hierarchy and batches are made again only when the collected meshes change.
// A batch is drawn whole only when most of its meshes are in view and the key light reaches all
// of them or none; otherwise its visible meshes are drawn alone, as without batches.
#pragma once

#include <cstdint>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "engine/render/frustum.h"
#include "engine/render/light_set.h"
#include "engine/render/mesh_batches.h"
#include "engine/render/mesh_hierarchy.h"
#include "engine/render/scene_collector.h"
#include "engine/scene/camera_view.h"

namespace engine {

class VisibleMeshes {
  public:
    // Needs the engine's context current, to merge batches after the collector gathered anew.
    void select(const SceneCollector& collector, const Frustum& view, const CameraView& camera,
                const LightSet& lights);

    // This frame's visible meshes and batches, each with inView set, its camera distance and
    // the detail it needs.
    const std::vector<MeshDraw>& meshes() const { return visible_; }

  private:
    std::uint64_t builtGeneration_ = 0;
    MeshHierarchy hierarchy_;
    MeshBatches batches_;
    // Meshes the hierarchy does not hold: those never culled, and those without a box.
    std::vector<std::size_t> testedAlone_;
    struct BatchView {
        // The frame whose figures these are.
        std::uint64_t frame = 0;
        std::size_t visibleMeshes = 0;
        std::size_t keyLitMeshes = 0;
        bool drawnWhole = false;
        bool listed = false;
    };
    std::vector<BatchView> batchViews_;
    std::vector<std::size_t> meshCounts_;
    std::uint64_t frame_ = 0;
    // The frame's visible meshes that belong to batches.
    std::vector<std::size_t> batchedInView_;
    std::vector<MeshDraw> visible_;
    float pixelsPerUnit_ = 0.0f;
    // What each collected mesh was when the batches were last brought up to date.
    struct DrawnAs {
        const std::vector<PrimitiveRange>* primitives;
        H3DRes materialHandle;
        int shaderVariant;
        glm::mat4 world;
    };
    std::vector<DrawnAs> drawnAs_;

    void rebuild(const std::vector<MeshDraw>& meshes);
    // Whether the meshes are those last collected, in the same order, moved or not.
    bool sameDraws(const std::vector<MeshDraw>& meshes) const;
    void addBatched(const std::vector<MeshDraw>& meshes, const glm::vec3& cameraPosition,
                    const LightSet& lights);
    void add(const MeshDraw& mesh, const glm::vec3& cameraPosition);
};

}  // namespace engine
