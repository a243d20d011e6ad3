// Axis-aligned bounding boxes: of meshes in their own space, and of mesh nodes in the world.
#pragma once

#include <limits>

#include <glm/common.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace engine {

struct BoundingBox {
    // An empty box: adding the first point makes it that point.
    glm::vec3 minimum{std::numeric_limits<float>::max()};
    glm::vec3 maximum{-std::numeric_limits<float>::max()};

    bool empty() const {
        return minimum.x > maximum.x || minimum.y > maximum.y || minimum.z > maximum.z;
    }
    void add(const glm::vec3& point) {
        minimum = glm::min(minimum, point);
        maximum = glm::max(maximum, point);
    }
    void add(const BoundingBox& other) {
        if (!other.empty()) {
            add(other.minimum);
            add(other.maximum);
        }
    }
    glm::vec3 center() const { return (minimum + maximum) * 0.5f; }
    glm::vec3 extent() const { return (maximum - minimum) * 0.5f; }
};

// The box around the transformed box, from its centre and half extents: exact for the corners,
// and cheaper than transforming eight of them.
inline BoundingBox transformedBox(const BoundingBox& box, const glm::mat4& matrix) {
    if (box.empty()) {
        return box;
    }
    glm::vec3 center = glm::vec3(matrix * glm::vec4(box.center(), 1.0f));
    glm::vec3 extent = box.extent();
    glm::vec3 reach(0.0f);
    for (int column = 0; column < 3; ++column) {
        reach += glm::abs(glm::vec3(matrix[column])) * extent[column];
    }
    return BoundingBox{center - reach, center + reach};
}

}  // namespace engine
