// Gathers, once per rendered frame, what the scene holds for drawing: every mesh node that can
// be drawn (its geometry and material loaded) with its world box, and every light. Its lists
// keep their storage from frame to frame.
#pragma once

#include <vector>

#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "engine/formats/bounding_box.h"
#include "engine/h3d.h"
#include "engine/render/frustum.h"
#include "engine/resources/loaded_geometry.h"
#include "engine/resources/loaded_material.h"
#include "engine/resources/loaded_shader.h"
#include "engine/resources/resource_table.h"
#include "engine/scene/scene_graph.h"

namespace engine {

// One draw of a mesh node: all its primitives with the material the scene gives it, or those
// of them that share one of the file's own materials.
struct MeshDraw {
    const glm::mat4* worldMatrix = nullptr;
    glm::mat3 normalMatrix{1.0f};
    // A mirroring world matrix turns the mesh inside out, so its front faces wind clockwise.
    bool mirrored = false;
    const LoadedGeometry* geometry = nullptr;
    const std::vector<PrimitiveRange>* primitives = nullptr;
    H3DRes materialHandle = 0;
    const LoadedMaterial* material = nullptr;
    LoadedShader* shader = nullptr;
    // The shader's build for the material's defines.
    int shaderVariant = 0;
    BoundingBox worldBox;
    // Whether the camera may see it.
    bool inView = false;
    float cameraDistance = 0.0f;
};

struct SceneLight {
    H3DNode node = 0;
    glm::vec3 position{0.0f};
    // The way spot and directional lights shine, in world space.
    glm::vec3 direction{0.0f, 0.0f, -1.0f};
    glm::vec3 color{1.0f};
    float radius = 10.0f;
    bool castsShadows = false;
    LightKind kind = LightKind::Point;
    float innerConeAngle = 0.0f;
    float outerConeAngle = 0.7853982f;
    bool inverseSquare = false;
};

class SceneCollector {
  public:
    // World matrices must be up to date.
    void collect(const SceneGraph& scene, const ResourceTable& resources, const Frustum& view,
                 const glm::vec3& cameraPosition);

    const std::vector<MeshDraw>& meshes() const { return meshes_; }
    const std::vector<SceneLight>& lights() const { return lights_; }

  private:
    std::vector<MeshDraw> meshes_;
    std::vector<SceneLight> lights_;

    void addMesh(const SceneNode& node, const MeshSettings& settings,
                 const ResourceTable& resources, const Frustum& view,
                 const glm::vec3& cameraPosition);
    void addLight(H3DNode handle, const SceneNode& node, const LightSettings& light);
};

}  // namespace engine
