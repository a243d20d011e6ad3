// A node's placement relative to its parent, and the matrix it stands for.
#pragma once

#include <optional>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace engine {

struct NodeTransform {
    glm::vec3 translation{0.0f};
    // Degrees about x (pitch), y (yaw) and z (roll).
    glm::vec3 rotation{0.0f};
    glm::vec3 scale{1.0f};
    // A file's exact local matrix (a glTF node's, or an animation's pose of it), which Euler
    // angles cannot always hold; when present it is the transform, and the three above are not
    // used (transformFromMatrix reads it back for callers).
    std::optional<glm::mat4> matrix{};
};

// T * R * S with R = Ry * Rx * Rz: yaw outermost and roll innermost, so a camera at pitch P
// and yaw Y looks along (-sin Y cos P, sin P, -cos Y cos P).
glm::mat4 localMatrix(const NodeTransform& transform);
glm::mat4 rotationMatrix(const glm::vec3& degrees);
// The transform that is exactly matrix, read back as translation, rotation and scale too
// (exact for matrices without shear).
NodeTransform transformFromMatrix(const glm::mat4& matrix);

}  // namespace engine
