#include "engine/scene/node_transform.h"

#include <cmath>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/matrix.hpp>
#include <glm/trigonometric.hpp>

#include "engine/formats/matrix_parts.h"

namespace engine {

glm::mat4 localMatrix(const NodeTransform& transform) {
    if (transform.matrix) {
        return *transform.matrix;
    }
    glm::mat4 translation = glm::translate(glm::mat4(1.0f), transform.translation);
    glm::mat4 scale = glm::scale(glm::mat4(1.0f), transform.scale);
    return translation * rotationMatrix(transform.rotation) * scale;
}

glm::mat4 rotationMatrix(const glm::vec3& degrees) {
    const glm::mat4 identity(1.0f);
    glm::mat4 yaw = glm::rotate(identity, glm::radians(degrees.y), glm::vec3(0.0f, 1.0f, 0.0f));
    glm::mat4 pitch = glm::rotate(identity, glm::radians(degrees.x), glm::vec3(1.0f, 0.0f, 0.0f));
    glm::mat4 roll = glm::rotate(identity, glm::radians(degrees.z), glm::vec3(0.0f, 0.0f, 1.0f));
    return yaw * pitch * roll;
}

NodeTransform transformFromMatrix(const glm::mat4& matrix) {
    NodeTransform transform;
    transform.matrix = matrix;
    const MatrixParts parts = partsOf(matrix);
    transform.translation = parts.translation;
    transform.scale = parts.scale;
    const glm::mat3& rotation = parts.rotation;
    // R = Ry * Rx * Rz: row 1 is (cos x sin z, cos x cos z, -sin x); column 2 holds
    // (sin y cos x, -sin x, cos y cos x). glm indexes [column][row].
    const float pitch = std::asin(glm::clamp(-rotation[2][1], -1.0f, 1.0f));
    const float yaw = std::atan2(rotation[2][0], rotation[2][2]);
    const float roll = std::atan2(rotation[0][1], rotation[1][1]);
    transform.rotation = glm::degrees(glm::vec3(pitch, yaw, roll));
    return transform;
}

}  // namespace engine
