#include "engine/formats/gltf_scene_nodes.h"

#include <string>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "engine/formats/format_error.h"
#include "engine/formats/gltf_lights.h"
#include "engine/formats/matrix_parts.h"

namespace engine {
namespace {

struct PendingNode {
    int node;
    // The parent's index among the scene's nodes; -1 for a root.
    int parent;
};

void checkNodeTree(const tinygltf::Model& model);
std::vector<int> sceneRoots(const tinygltf::Model& model);
GeometryNode sceneNode(const tinygltf::Model& model, int node, int parent);
glm::mat4 nodeMatrix(const tinygltf::Node& node);
NodePose restPose(const tinygltf::Node& node, const glm::mat4& matrix);
void checkNodeIndex(const tinygltf::Model& model, int node, const std::string& where);

}  // namespace

std::vector<GeometryNode> sceneNodes(const tinygltf::Model& model) {
    checkNodeTree(model);
    std::vector<GeometryNode> nodes;
    std::vector<bool> reached(model.nodes.size(), false);
    // An explicit stack: a deep node chain in a file must not exhaust the call stack.
    std::vector<PendingNode> pending;
    const std::vector<int> roots = sceneRoots(model);
    for (auto root = roots.rbegin(); root != roots.rend(); ++root) {
        pending.push_back({*root, -1});
    }
    while (!pending.empty()) {
        const PendingNode current = pending.back();
        pending.pop_back();
        const auto index = static_cast<std::size_t>(current.node);
        if (reached[index]) {
            throw FormatError("node " + std::to_string(current.node) +
                              " is reached twice from the scene");
        }
        reached[index] = true;
        if (nodes.size() == kMaxSceneNodes) {
            throw FormatError("the scene has more than " + std::to_string(kMaxSceneNodes) +
                              " nodes");
        }
        nodes.push_back(sceneNode(model, current.node, current.parent));
        const auto parent = static_cast<int>(nodes.size() - 1);
        const std::vector<int>& children = model.nodes[index].children;
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            pending.push_back({*child, parent});
        }
    }
    return nodes;
}

namespace {

// Every node has at most one parent and no node is its own ancestor, checked for all nodes, in
// time linear in their number.
void checkNodeTree(const tinygltf::Model& model) {
    std::vector<int> parentOf(model.nodes.size(), -1);
    for (std::size_t node = 0; node < model.nodes.size(); ++node) {
        for (int child : model.nodes[node].children) {
            checkNodeIndex(model, child, "node " + std::to_string(node));
            const auto index = static_cast<std::size_t>(child);
            if (index == node) {
                throw FormatError("node " + std::to_string(child) + " is its own child");
            }
            if (parentOf[index] >= 0) {
                throw FormatError("node " + std::to_string(child) +
                                  " is listed as a child more than once");
            }
            parentOf[index] = static_cast<int>(node);
        }
    }
    // Int-sized states: with byte-sized ones GCC 12 at -O3 warns falsely about freeing the
    // vector (-Wfree-nonheap-object).
    enum class Walk : int { Unknown, OnPath, Rooted };
    std::vector<Walk> state(model.nodes.size(), Walk::Unknown);
    std::vector<std::size_t> path;
    for (std::size_t start = 0; start < model.nodes.size(); ++start) {
        int at = static_cast<int>(start);
        while (at >= 0 && state[static_cast<std::size_t>(at)] == Walk::Unknown) {
            state[static_cast<std::size_t>(at)] = Walk::OnPath;
            path.push_back(static_cast<std::size_t>(at));
            at = parentOf[static_cast<std::size_t>(at)];
        }
        if (at >= 0 && state[static_cast<std::size_t>(at)] == Walk::OnPath) {
            throw FormatError("node " + std::to_string(at) + " is its own ancestor");
        }
        for (std::size_t node : path) {
            state[node] = Walk::Rooted;
        }
        path.clear();
    }
}

std::vector<int> sceneRoots(const tinygltf::Model& model) {
    if (!model.scenes.empty()) {
        const int scene = model.defaultScene >= 0 ? model.defaultScene : 0;
        if (static_cast<std::size_t>(scene) >= model.scenes.size()) {
            throw FormatError("scene " + std::to_string(scene) + " does not exist");
        }
        const std::vector<int>& roots = model.scenes[static_cast<std::size_t>(scene)].nodes;
        for (int root : roots) {
            checkNodeIndex(model, root, "scene " + std::to_string(scene));
        }
        return roots;
    }
    std::vector<bool> isChild(model.nodes.size(), false);
    for (const tinygltf::Node& node : model.nodes) {
        for (int child : node.children) {
            isChild[static_cast<std::size_t>(child)] = true;
        }
    }
    std::vector<int> roots;
    for (std::size_t node = 0; node < model.nodes.size(); ++node) {
        if (!isChild[node]) {
            roots.push_back(static_cast<int>(node));
        }
    }
    return roots;
}

GeometryNode sceneNode(const tinygltf::Model& model, int node, int parent) {
    const tinygltf::Node& source = model.nodes[static_cast<std::size_t>(node)];
    if (source.mesh >= 0 && static_cast<std::size_t>(source.mesh) >= model.meshes.size()) {
        throw FormatError("node " + std::to_string(node) + " names mesh " +
                          std::to_string(source.mesh) + ", which does not exist");
    }
    GeometryNode built;
    built.name = source.name.empty() ? "node" + std::to_string(node) : source.name;
    built.parent = parent;
    built.local = nodeMatrix(source);
    built.mesh = source.mesh;
    built.light = nodeLight(source);
    built.skin = source.skin;
    built.fileIndex = node;
    built.rest = restPose(source, built.local);
    built.weights.assign(source.weights.begin(), source.weights.end());
    return built;
}

glm::mat4 nodeMatrix(const tinygltf::Node& node) {
    if (node.matrix.size() == 16) {
        glm::dmat4 matrix = glm::make_mat4(node.matrix.data());
        return glm::mat4(matrix);
    }
    glm::mat4 matrix(1.0f);
    if (node.translation.size() == 3) {
        matrix = glm::translate(
            matrix, glm::vec3(node.translation[0], node.translation[1], node.translation[2]));
    }
    if (node.rotation.size() == 4) {
        // glTF writes quaternions x, y, z, w; glm's constructor takes w first.
        glm::quat rotation(
            static_cast<float>(node.rotation[3]), static_cast<float>(node.rotation[0]),
            static_cast<float>(node.rotation[1]), static_cast<float>(node.rotation[2]));
        if (glm::length(rotation) > 0.0f) {
            matrix *= glm::mat4_cast(glm::normalize(rotation));
        }
    }
    if (node.scale.size() == 3) {
        matrix = glm::scale(matrix, glm::vec3(node.scale[0], node.scale[1], node.scale[2]));
    }
    return matrix;
}

// A node given by a matrix is taken apart (exact without shear); animations name only nodes given
// by their parts.
NodePose restPose(const tinygltf::Node& node, const glm::mat4& matrix) {
    NodePose pose;
    if (node.matrix.size() != 16) {
        if (node.translation.size() == 3) {
            pose.translation =
                glm::vec3(node.translation[0], node.translation[1], node.translation[2]);
        }
        if (node.rotation.size() == 4) {
            const glm::quat rotation(
                static_cast<float>(node.rotation[3]), static_cast<float>(node.rotation[0]),
                static_cast<float>(node.rotation[1]), static_cast<float>(node.rotation[2]));
            if (glm::length(rotation) > 0.0f) {
                pose.rotation = glm::normalize(rotation);
            }
        }
        if (node.scale.size() == 3) {
            pose.scale = glm::vec3(node.scale[0], node.scale[1], node.scale[2]);
        }
        return pose;
    }
    const MatrixParts parts = partsOf(matrix);
    pose.translation = parts.translation;
    pose.scale = parts.scale;
    pose.rotation = glm::normalize(glm::quat_cast(parts.rotation));
    return pose;
}

void checkNodeIndex(const tinygltf::Model& model, int node, const std::string& where) {
    if (node < 0 || static_cast<std::size_t>(node) >= model.nodes.size()) {
        throw FormatError(where + " names node " + std::to_string(node) + ", which does not exist");
    }
}

}  // namespace
}  // namespace engine
