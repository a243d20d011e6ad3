// A node of the scene graph: its place in the tree, its transform and what its kind adds.
#pragma once

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <cstdint>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "engine/formats/bounding_box.h"
#include "engine/h3d.h"
#include "engine/scene/node_transform.h"

namespace engine {

enum class NodeKind {
    Group = H3DNodeTypes::Group,
    Model = H3DNodeTypes::Model,
    Mesh = H3DNodeTypes::Mesh,
    Light = H3DNodeTypes::Light,
    Camera = H3DNodeTypes::Camera,
    Reference = H3DNodeTypes::Reference,
};

struct GroupSettings {};

struct ModelSettings {
    H3DRes geometry = 0;
    // For meshes without an entry of their own.
    H3DRes defaultMaterial = 0;
    std::vector<std::pair<std::string, H3DRes>> meshMaterials;
    // Per node of the geometry's tree: the group node made for it, and the mesh node below it
    // (0 for none), which its animations move and morph.
    std::vector<H3DNode> fileNodes;
    std::vector<H3DNode> fileMeshNodes;
};

// How a skinned mesh node stands, made anew from its joints whenever the scene's objects move.
struct SkinPose {
    // Three rows per joint of the matrix from the mesh's bind space into the world.
    std::vector<glm::vec4> jointRows;
    BoundingBox worldBox;
    // The scene's objects version it was made for.
    std::uint64_t objectsVersion = 0;
};

// One glTF mesh of a model's geometry, drawn with one material.
struct MeshSettings {
    H3DRes geometry = 0;
    // The mesh's index in the geometry's meshes.
    int meshIndex = 0;
    H3DRes material = 0;
    // Its skin's index in the geometry's skins, with the joints' nodes; -1 when it does not
    // bend with joints.
    int skin = -1;
    std::vector<H3DNode> joints;
    SkinPose pose;
    // The weights of the mesh's morph targets; empty without targets.
    std::vector<float> morphWeights;
    // Grows whenever morphWeights change.
    std::uint64_t morphVersion = 0;
    // Whether an animation moves its node or one above it.
    bool animated = false;

    bool skinned() const { return skin >= 0; }
    // Whether it ever draws other than as loaded: never merged with still meshes, never
    // simplified, and culled by its own box.
    bool moves() const { return animated || skinned() || !morphWeights.empty(); }
};

enum class LightKind { Point, Spot, Directional };

// Spot and directional lights shine along the node's -z axis.
struct LightSettings {
    glm::vec3 color{1.0f};
    // Where the light ends; directional lights reach everywhere.
    float radius = 10.0f;
    bool castsShadows = false;
    LightKind kind = LightKind::Point;
    // Spot lights: half-angles in radians, full light inside the inner one, none outside the
    // outer one.
    float innerConeAngle = 0.0f;
    float outerConeAngle = 0.7853982f;
    // Physical lights (those of glTF files) also fade with the square of the distance.
    bool inverseSquare = false;
};

struct CameraSettings {
    H3DRes pipeline = 0;
    int viewportX = 0;
    int viewportY = 0;
    int viewportWidth = 320;
    int viewportHeight = 240;
    bool occlusionCulling = false;
    float fieldOfView = 45.0f;
    float aspect = 4.0f / 3.0f;
    float nearDistance = 0.1f;
    float farDistance = 1000.0f;
};

struct ReferenceSettings {
    H3DRes scene = 0;
};

using NodeSettings = std::variant<GroupSettings, ModelSettings, MeshSettings, LightSettings,
                                  CameraSettings, ReferenceSettings>;

struct SceneNode {
    std::string name;
    NodeSettings settings;
    NodeTransform local;
    H3DNode parent = 0;
    std::vector<H3DNode> children;
    glm::mat4 world{1.0f};
    bool worldDirty = true;

    NodeKind kind() const;
};

inline NodeKind SceneNode::kind() const {
    struct KindOf {
        NodeKind operator()(const GroupSettings&) const { return NodeKind::Group; }
        NodeKind operator()(const ModelSettings&) const { return NodeKind::Model; }
        NodeKind operator()(const MeshSettings&) const { return NodeKind::Mesh; }
        NodeKind operator()(const LightSettings&) const { return NodeKind::Light; }
        NodeKind operator()(const CameraSettings&) const { return NodeKind::Camera; }
        NodeKind operator()(const ReferenceSettings&) const { return NodeKind::Reference; }
    };
    return std::visit(KindOf{}, settings);
}

}  // namespace engine
