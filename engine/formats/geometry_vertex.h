// The vertex every mesh is read into.
#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace engine {

// The vertex layout every mesh is drawn with: 72 bytes, interleaved.
struct GeometryVertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f, 0.0f, 1.0f};
    glm::vec2 texCoord{0.0f};
    glm::vec2 texCoord1{0.0f};
    // xyz along the texture's u direction; w (+1 or -1) says which way its v runs.
    glm::vec4 tangent{1.0f, 0.0f, 0.0f, 1.0f};
    glm::vec4 color{1.0f};
};

}  // namespace engine
