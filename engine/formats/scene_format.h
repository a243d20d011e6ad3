// Scene files: a tree of groups, models, lights, cameras and references to other scene files,
// each placed by translation, rotation (degrees) and scale relative to its parent.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <glm/vec3.hpp>

#include "engine/formats/parsed.h"

namespace engine {

enum class SceneNodeKind { Group, Model, Light, Camera, Reference };

// Which material a named mesh of a model's geometry is drawn with.
struct MeshMaterial {
    std::string mesh;
    std::string material;
};

// One node; only the fields of its kind are meaningful.
struct SceneNodeDesc {
    SceneNodeKind kind = SceneNodeKind::Group;
    std::string name;
    int line = 0;
    glm::vec3 translation{0.0f};
    glm::vec3 rotation{0.0f};
    glm::vec3 scale{1.0f};
    // Model: the glTF file, the material of meshes not listed, the listed meshes.
    std::string geometry;
    std::string material;
    std::vector<MeshMaterial> meshMaterials;
    // Light.
    glm::vec3 color{1.0f};
    float radius = 10.0f;
    bool castsShadows = false;
    // Camera.
    std::string pipeline;
    float fieldOfView = 45.0f;
    float nearDistance = 0.1f;
    float farDistance = 1000.0f;
    // Reference: the scene file instantiated below this node.
    std::string scene;
    std::vector<SceneNodeDesc> children;
};

// The file's <scene> element is itself a group: the root of every instance.
struct SceneDesc {
    SceneNodeDesc root;
};

Parsed<SceneDesc> parseScene(std::string_view bytes);

// Calls visit for node and every node below it, parents first.
template <typename Visit>
void forEachSceneNode(const SceneNodeDesc& node, Visit&& visit) {
    visit(node);
    for (const SceneNodeDesc& child : node.children) {
        forEachSceneNode(child, visit);
    }
}

}  // namespace engine
