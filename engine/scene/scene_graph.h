// The tree of scene nodes under the root node (handle 1). World matrices are cached and
// recomputed only for nodes whose own or an ancestor's transform changed.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include <glm/mat4x4.hpp>

#include "engine/base/handle_table.h"
#include "engine/h3d.h"
#include "engine/scene/scene_node.h"

namespace engine {

class SceneGraph {
  public:
    // Creates the root node.
    SceneGraph();

    // The new node's handle; 0 when parent is not a node.
    H3DNode addNode(H3DNode parent, std::string name, NodeSettings settings,
                    const NodeTransform& local = NodeTransform());
    // Removes node and everything below it; the root stays.
    bool removeNode(H3DNode node);
    SceneNode* find(H3DNode node) const { return nodes_.find(node); }
    // The node's settings when it is of that kind; nothing otherwise.
    template <typename Settings>
    Settings* settingsOf(H3DNode node) const {
        SceneNode* found = find(node);
        return found != nullptr ? std::get_if<Settings>(&found->settings) : nullptr;
    }

    void setLocalTransform(H3DNode node, const NodeTransform& local);
    // The node's local transform becomes exactly matrix (see NodeTransform::matrix).
    void setLocalMatrix(H3DNode node, const glm::mat4& matrix);
    // A mesh node's morph weights; false when it is not a mesh node with that many targets.
    bool setMorphWeights(H3DNode node, const std::vector<float>& weights);
    // Mesh nodes that bend with a skin, in no particular order.
    const std::vector<H3DNode>& skinnedMeshes() const { return skinnedMeshes_; }
    // The node's world matrix, brought up to date first; identity for a bad handle.
    glm::mat4 worldMatrix(H3DNode node);
    // Brings every dirty world matrix up to date, visiting only the subtrees marked dirty since
    // the last time, so a moving camera in a large scene costs only its own subtree.
    void refreshWorldMatrices();
    // Grows whenever a node other than a camera is added, removed or moves, so that what
    // depends only on the scene's objects (a shadow map) can tell when to be made anew.
    std::uint64_t objectsVersion() const { return objectsVersion_; }

    template <typename Visit>
    void forEachNode(Visit&& visit) const {
        nodes_.forEach(visit);
    }

  private:
    HandleTable<SceneNode> nodes_;
    std::uint64_t objectsVersion_ = 0;
    // The nodes made dirty (with all below them) since the last refresh; kept with their
    // storage, like the walk's stack, so that refreshing does not allocate.
    std::vector<H3DNode> dirtyRoots_;
    std::vector<H3DNode> walk_;
    std::vector<H3DNode> marking_;
    // Per handle, the refresh that last walked the node.
    std::vector<std::uint64_t> walkedInPass_;
    std::uint64_t refreshPass_ = 0;
    std::vector<H3DNode> skinnedMeshes_;

    void markWorldDirty(H3DNode node);
    // Its parent's world matrix must be up to date.
    void refreshWorldMatrix(SceneNode& node);
};

}  // namespace engine
