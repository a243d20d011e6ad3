#include "engine/scene/node_transform.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/trigonometric.hpp>

namespace engine {

glm::mat4 localMatrix(const NodeTransform& transform) {
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

}  // namespace engine
