#include "engine/render/frustum.h"

#include <glm/geometric.hpp>
#include <glm/matrix.hpp>

namespace engine {

Frustum::Frustum(const glm::mat4& viewProjection) {
    // Each plane is a sum or difference of the matrix's last row and another row.
    const glm::mat4 rows = glm::transpose(viewProjection);
    planes_ = {rows[3] + rows[0], rows[3] - rows[0], rows[3] + rows[1],
               rows[3] - rows[1], rows[3] + rows[2], rows[3] - rows[2]};
    for (glm::vec4& plane : planes_) {
        const float length = glm::length(glm::vec3(plane));
        if (length > 0.0f) {
            plane /= length;
        }
    }
}

bool Frustum::mayContain(const BoundingBox& box) const {
    const glm::vec3 center = box.center();
    const glm::vec3 extent = box.extent();
    for (const glm::vec4& plane : planes_) {
        const glm::vec3 normal(plane);
        const float reach = glm::dot(glm::abs(normal), extent);
        if (glm::dot(normal, center) + plane.w < -reach) {
            return false;
        }
    }
    return true;
}

bool Frustum::containsWholly(const BoundingBox& box) const {
    const glm::vec3 center = box.center();
    const glm::vec3 extent = box.extent();
    for (const glm::vec4& plane : planes_) {
        const glm::vec3 normal(plane);
        if (glm::dot(normal, center) + plane.w < glm::dot(glm::abs(normal), extent)) {
            return false;
        }
    }
    return true;
}

bool Frustum::mayContain(const glm::vec3& center, float radius) const {
    for (const glm::vec4& plane : planes_) {
        if (glm::dot(glm::vec3(plane), center) + plane.w < -radius) {
            return false;
        }
    }
    return true;
}

}  // namespace engine
