#include "engine/render/mesh_hierarchy.h"

#include <algorithm>

namespace engine {

void MeshHierarchy::build(const std::vector<BoundingBox>& boxes) {
    boxes_ = boxes;
    items_.clear();
    nodes_.clear();
    for (std::size_t item = 0; item < boxes.size(); ++item) {
        if (!boxes[item].empty()) {
            items_.push_back(item);
        }
    }
    if (items_.empty()) {
        return;
    }
    // A binary tree with leaves of at least half kLeafSize has fewer than this many nodes.
    nodes_.reserve(2 * (items_.size() / (kLeafSize / 2) + 1));
    Node root;
    root.itemCount = items_.size();
    nodes_.push_back(root);
    split(0);
}

// Median split along the longest axis of the items' centres: balanced whatever the scene, so
// the tree's depth stays log2 of the item count.
void MeshHierarchy::split(std::size_t rootIndex) {
    std::vector<std::size_t> pending{rootIndex};
    while (!pending.empty()) {
        const std::size_t current = pending.back();
        pending.pop_back();
        const std::size_t first = nodes_[current].firstItem;
        const std::size_t count = nodes_[current].itemCount;
        BoundingBox centres;
        for (std::size_t index = first; index < first + count; ++index) {
            nodes_[current].box.add(boxes_[items_[index]]);
            centres.add(boxes_[items_[index]].center());
        }
        if (count <= kLeafSize) {
            continue;
        }
        const glm::vec3 spread = centres.maximum - centres.minimum;
        const int axis = spread.x >= spread.y && spread.x >= spread.z ? 0
                         : spread.y >= spread.z                       ? 1
                                                                      : 2;
        const auto begin = items_.begin() + static_cast<std::ptrdiff_t>(first);
        const auto middle = begin + static_cast<std::ptrdiff_t>(count / 2);
        std::nth_element(begin, middle, begin + static_cast<std::ptrdiff_t>(count),
                         [this, axis](std::size_t a, std::size_t b) {
                             return boxes_[a].center()[axis] < boxes_[b].center()[axis];
                         });
        Node left;
        left.firstItem = first;
        left.itemCount = count / 2;
        Node right;
        right.firstItem = first + left.itemCount;
        right.itemCount = count - left.itemCount;
        nodes_[current].children = nodes_.size();
        nodes_.push_back(left);
        nodes_.push_back(right);
        pending.push_back(nodes_[current].children);
        pending.push_back(nodes_[current].children + 1);
    }
}

}  // namespace engine
