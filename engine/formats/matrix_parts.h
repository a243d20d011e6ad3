// An affine matrix taken apart into translation, rotation and scale: exact for matrices without
// shear, a mirror read as a negative x scale.
#pragma once

#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace engine {

struct MatrixParts {
    glm::vec3 translation{0.0f};
    // A pure rotation (determinant 1).
    glm::mat3 rotation{1.0f};
    glm::vec3 scale{1.0f};
};

MatrixParts partsOf(const glm::mat4& matrix);

}  // namespace engine
