// The six planes of a view volume, for leaving out what cannot be seen.
#pragma once

#include <array>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "engine/formats/bounding_box.h"

namespace engine {

class Frustum {
  public:
    Frustum() = default;
    // The volume that viewProjection maps into clip space.
    explicit Frustum(const glm::mat4& viewProjection);

    // False only when the box lies wholly outside one of the planes (so some boxes just
    // outside a corner still count as visible).
    bool mayContain(const BoundingBox& box) const;
    bool mayContain(const glm::vec3& center, float radius) const;
    // True only when the box lies wholly inside every plane, so that all it holds is inside too.
    bool containsWholly(const BoundingBox& box) const;

  private:
    // Inside is where dot(plane.xyz, point) + plane.w >= 0.
    std::array<glm::vec4, 6> planes_{};
};

}  // namespace engine
