#include "engine/formats/gltf_placement.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace engine {
namespace {

glm::mat4 nodeMatrix(const tinygltf::Node& node);
std::vector<bool> rootNodes(const tinygltf::Model& model);

struct PendingNode {
    int node;
    glm::mat4 parentWorld;
};

}  // namespace

std::vector<glm::mat4> meshPlacements(const tinygltf::Model& model) {
    std::vector<glm::mat4> placements(model.meshes.size(), glm::mat4(1.0f));
    std::vector<bool> placed(model.meshes.size(), false);
    std::vector<bool> visited(model.nodes.size(), false);
    std::vector<bool> isRoot = rootNodes(model);
    // An explicit stack: a deep node chain in a file must not exhaust the call stack.
    std::vector<PendingNode> pending;
    for (std::size_t root = model.nodes.size(); root-- > 0;) {
        if (isRoot[root]) {
            pending.push_back({static_cast<int>(root), glm::mat4(1.0f)});
        }
    }
    while (!pending.empty()) {
        PendingNode current = pending.back();
        pending.pop_back();
        const auto index = static_cast<std::size_t>(current.node);
        if (visited[index]) {
            continue;
        }
        visited[index] = true;
        const tinygltf::Node& node = model.nodes[index];
        const glm::mat4 world = current.parentWorld * nodeMatrix(node);
        if (node.mesh >= 0 && static_cast<std::size_t>(node.mesh) < placements.size() &&
            !placed[static_cast<std::size_t>(node.mesh)]) {
            placements[static_cast<std::size_t>(node.mesh)] = world;
            placed[static_cast<std::size_t>(node.mesh)] = true;
        }
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child) {
            if (*child >= 0 && static_cast<std::size_t>(*child) < model.nodes.size()) {
                pending.push_back({*child, world});
            }
        }
    }
    return placements;
}

namespace {

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

// Nodes that are no other node's child.
std::vector<bool> rootNodes(const tinygltf::Model& model) {
    std::vector<bool> isRoot(model.nodes.size(), true);
    for (const tinygltf::Node& node : model.nodes) {
        for (int child : node.children) {
            if (child >= 0 && static_cast<std::size_t>(child) < isRoot.size()) {
                isRoot[static_cast<std::size_t>(child)] = false;
            }
        }
    }
    return isRoot;
}

}  // namespace
}  // namespace engine
