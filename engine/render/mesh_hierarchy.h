// A bounding-volume hierarchy over the world boxes of the scene's mesh draws, so that culling
// visits only the branches the view may contain: meshes out of view cost next to nothing. It is
// built once the scene's objects stop changing (O(n log n)) and used every frame after.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/formats/bounding_box.h"
#include "engine/render/frustum.h"

namespace engine {

class MeshHierarchy {
  public:
    // The most items a leaf holds; a leaf is also the grain at which small meshes are merged.
    static constexpr std::size_t kLeafSize = 32;

    // Builds the tree over the boxes anew; items with empty boxes are left out.
    void build(const std::vector<BoundingBox>& boxes);

    // Calls visit(item) for each item whose box the frustum may contain: exactly the items
    // that testing every box against the frustum would find.
    template <typename Visit>
    void cull(const Frustum& frustum, Visit&& visit) const;

    // Calls visit(items, count) for each leaf, with its items' indices.
    template <typename Visit>
    void forEachLeaf(Visit&& visit) const {
        for (const Node& node : nodes_) {
            if (node.isLeaf()) {
                visit(&items_[node.firstItem], node.itemCount);
            }
        }
    }

  private:
    struct Node {
        BoundingBox box;
        // The items below the node are items_[firstItem, firstItem + itemCount).
        std::size_t firstItem = 0;
        std::size_t itemCount = 0;
        // An inner node's children are nodes_[children] and nodes_[children + 1]; 0 for a leaf.
        std::size_t children = 0;
        bool isLeaf() const { return children == 0; }
    };

    std::vector<Node> nodes_;
    std::vector<std::size_t> items_;
    std::vector<BoundingBox> boxes_;
    // Kept between culls so that its storage is reused.
    mutable std::vector<std::size_t> pending_;

    void split(std::size_t nodeIndex);
};

template <typename Visit>
void MeshHierarchy::cull(const Frustum& frustum, Visit&& visit) const {
    if (nodes_.empty()) {
        return;
    }
    pending_.clear();
    pending_.push_back(0);
    while (!pending_.empty()) {
        const Node& node = nodes_[pending_.back()];
        pending_.pop_back();
        if (!frustum.mayContain(node.box)) {
            continue;
        }
        // A branch wholly inside needs no more tests: every box in it is inside too.
        const bool whollyInside = frustum.containsWholly(node.box);
        if (!node.isLeaf() && !whollyInside) {
            pending_.push_back(node.children);
            pending_.push_back(node.children + 1);
            continue;
        }
        for (std::size_t index = node.firstItem; index < node.firstItem + node.itemCount; ++index) {
            const std::size_t item = items_[index];
            if (whollyInside || frustum.mayContain(boxes_[item])) {
                visit(item);
            }
        }
    }
}

}  // namespace engine
