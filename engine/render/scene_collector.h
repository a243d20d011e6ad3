// Gathers, once per rendered frame, what the scene holds for drawing: every mesh node that can
// be drawn (its geometry and material loaded) with its world box, and every light. Its lists
// keep their storage from frame to frame.
#pragma once

#include <cstdint>
#include <vector>

#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "engine/formats/bounding_box.h"
#include "engine/h3d.h"
#include "engine/render/bent_meshes.h"
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
    // How coarse a simplified level it may be drawn with (see detail_level.h); 0 for full detail.
    float allowedDetailError = 0.0f;
    // Where its vertices are read: the geometry's vertex buffer, or a buffer of the node's own
    // bent vertices, which holds the mesh's vertices from vertexBase on.
    GLuint vertexBuffer = 0;
    GLintptr vertexBase = 0;
    // Skinned on the GPU: three rows of each joint's matrix; null otherwise.
    const std::vector<glm::vec4>* jointRows = nullptr;
    bool eightInfluences = false;
    // Whether it bends or an animation moves it: never merged with others, never simplified,
    // and culled by its own box.
    bool moving = false;
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
    // World matrices and skin poses must be up to date, and the engine's context current (bent
    // meshes are uploaded here). Gathers anew only when the scene's objects or the
    // loaded resources changed since the last time, so a still scene costs nothing here.
    void collect(const SceneGraph& scene, const ResourceTable& resources, const Frustum& view,
                 const glm::vec3& cameraPosition);

    // Every drawable mesh; inView and cameraDistance are as of the last gathering.
    const std::vector<MeshDraw>& meshes() const { return meshes_; }
    const std::vector<SceneLight>& lights() const { return lights_; }
    // Grows with every gathering, for what is made from the meshes (see VisibleMeshes).
    std::uint64_t generation() const { return generation_; }

  private:
    std::vector<MeshDraw> meshes_;
    std::vector<SceneLight> lights_;
    std::uint64_t generation_ = 0;
    std::uint64_t objectsVersion_ = 0;
    std::uint64_t payloadsVersion_ = 0;
    BentMeshes bentMeshes_;

    void addMesh(H3DNode handle, const SceneNode& node, const MeshSettings& settings,
                 const ResourceTable& resources, const Frustum& view,
                 const glm::vec3& cameraPosition);
    void addLight(H3DNode handle, const SceneNode& node, const LightSettings& light);
};

}  // namespace engine
