#include "engine/formats/matrix_parts.h"

#include <glm/geometric.hpp>
#include <glm/matrix.hpp>

namespace engine {

MatrixParts partsOf(const glm::mat4& matrix) {
    MatrixParts parts;
    parts.translation = glm::vec3(matrix[3]);
    parts.rotation = glm::mat3(matrix);
    for (int axis = 0; axis < 3; ++axis) {
        parts.scale[axis] = glm::length(parts.rotation[axis]);
        if (parts.scale[axis] > 0.0f) {
            parts.rotation[axis] /= parts.scale[axis];
        }
    }
    if (glm::determinant(parts.rotation) < 0.0f) {
        parts.scale.x = -parts.scale.x;
        parts.rotation[0] = -parts.rotation[0];
    }
    return parts;
}

}  // namespace engine
