#include "engine/scene/scene_graph.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace engine {

SceneGraph::SceneGraph() {
    auto root = std::make_unique<SceneNode>();
    root->name = "RootNode";
    root->settings = GroupSettings{};
    nodes_.add(std::move(root));
}

H3DNode SceneGraph::addNode(H3DNode parent, std::string name, NodeSettings settings,
                            const NodeTransform& local) {
    SceneNode* parentNode = find(parent);
    if (parentNode == nullptr) {
        return 0;
    }
    auto node = std::make_unique<SceneNode>();
    node->name = std::move(name);
    node->settings = std::move(settings);
    node->local = local;
    node->parent = parent;
    const auto* mesh = std::get_if<MeshSettings>(&node->settings);
    const bool skinned = mesh != nullptr && mesh->skinned();
    H3DNode handle = nodes_.add(std::move(node));
    if (handle != 0) {
        if (skinned) {
            skinnedMeshes_.push_back(handle);
        }
        parentNode->children.push_back(handle);
        dirtyRoots_.push_back(handle);
        ++objectsVersion_;
    }
    return handle;
}

bool SceneGraph::removeNode(H3DNode node) {
    SceneNode* found = find(node);
    if (found == nullptr || node == H3DRootNode) {
        return false;
    }
    if (SceneNode* parent = find(found->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    // Iterative, so that a deep tree cannot exhaust the stack.
    std::vector<H3DNode> doomed{node};
    while (!doomed.empty()) {
        H3DNode current = doomed.back();
        doomed.pop_back();
        if (SceneNode* doomedNode = find(current)) {
            doomed.insert(doomed.end(), doomedNode->children.begin(), doomedNode->children.end());
            const auto* mesh = std::get_if<MeshSettings>(&doomedNode->settings);
            if (mesh != nullptr && mesh->skinned()) {
                skinnedMeshes_.erase(
                    std::remove(skinnedMeshes_.begin(), skinnedMeshes_.end(), current),
                    skinnedMeshes_.end());
            }
        }
        nodes_.remove(current);
    }
    ++objectsVersion_;
    return true;
}

void SceneGraph::setLocalTransform(H3DNode node, const NodeTransform& local) {
    SceneNode* found = find(node);
    if (found == nullptr) {
        return;
    }
    found->local = local;
    markWorldDirty(node);
}

void SceneGraph::setLocalMatrix(H3DNode node, const glm::mat4& matrix) {
    SceneNode* found = find(node);
    // A paused animation poses the same every frame: nothing moved, so nothing is redone.
    if (found == nullptr || found->local.matrix == matrix) {
        return;
    }
    found->local.matrix = matrix;
    markWorldDirty(node);
}

bool SceneGraph::setMorphWeights(H3DNode node, const std::vector<float>& weights) {
    auto* mesh = settingsOf<MeshSettings>(node);
    if (mesh == nullptr || mesh->morphWeights.size() != weights.size()) {
        return false;
    }
    if (mesh->morphWeights != weights) {
        mesh->morphWeights = weights;
        ++mesh->morphVersion;
        ++objectsVersion_;
    }
    return true;
}

glm::mat4 SceneGraph::worldMatrix(H3DNode node) {
    SceneNode* found = find(node);
    if (found == nullptr) {
        return glm::mat4(1.0f);
    }
    // Clean nodes have clean ancestors, so only the dirty chain above node needs work.
    std::vector<SceneNode*> dirtyChain;
    for (SceneNode* current = found; current != nullptr && current->worldDirty;
         current = find(current->parent)) {
        dirtyChain.push_back(current);
    }
    for (auto it = dirtyChain.rbegin(); it != dirtyChain.rend(); ++it) {
        refreshWorldMatrix(**it);
    }
    return found->world;
}

// Each marked subtree is walked whole, since worldMatrix() may have cleaned a node above dirty
// ones; a node walked once in a pass is not walked again from a root inside its subtree. In
// handle order parents come first, as a parent always has a smaller handle than its children.
void SceneGraph::refreshWorldMatrices() {
    if (dirtyRoots_.empty()) {
        return;
    }
    ++refreshPass_;
    walkedInPass_.resize(static_cast<std::size_t>(nodes_.endHandle()), 0);
    std::sort(dirtyRoots_.begin(), dirtyRoots_.end());
    for (H3DNode root : dirtyRoots_) {
        walk_.assign(1, root);
        while (!walk_.empty()) {
            const H3DNode handle = walk_.back();
            walk_.pop_back();
            SceneNode* node = find(handle);
            if (node == nullptr ||
                walkedInPass_[static_cast<std::size_t>(handle)] == refreshPass_) {
                continue;
            }
            walkedInPass_[static_cast<std::size_t>(handle)] = refreshPass_;
            if (node->worldDirty) {
                refreshWorldMatrix(*node);
            }
            walk_.insert(walk_.end(), node->children.begin(), node->children.end());
        }
    }
    dirtyRoots_.clear();
}

void SceneGraph::refreshWorldMatrix(SceneNode& node) {
    SceneNode* parent = find(node.parent);
    glm::mat4 parentWorld = parent != nullptr ? parent->world : glm::mat4(1.0f);
    node.world = node.local.matrix ? parentWorld * *node.local.matrix
                                   : parentWorld * localMatrix(node.local);
    node.worldDirty = false;
    if (!std::holds_alternative<CameraSettings>(node.settings)) {
        ++objectsVersion_;
    }
}

void SceneGraph::markWorldDirty(H3DNode node) {
    // A node dirty already lies below a root marked since the last refresh, which walks it.
    const SceneNode* marked = find(node);
    if (marked == nullptr || marked->worldDirty) {
        return;
    }
    dirtyRoots_.push_back(node);
    // A dirty node's descendants are dirty already (a clean node has clean ancestors), so the
    // walk stops there. Its stack keeps its storage, as animations mark thousands a frame.
    marking_.assign(1, node);
    while (!marking_.empty()) {
        SceneNode* current = find(marking_.back());
        marking_.pop_back();
        if (current == nullptr || current->worldDirty) {
            continue;
        }
        current->worldDirty = true;
        marking_.insert(marking_.end(), current->children.begin(), current->children.end());
    }
}

}  // namespace engine
