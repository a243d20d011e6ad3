// A cube of linear radiance: what environment light is made from and kept as.
#pragma once

#include <array>
#include <vector>

#include <glm/vec3.hpp>

namespace engine {

// Six square faces in OpenGL's order (+x, -x, +y, -y, +z, -z), rows as the upload takes them.
struct RadianceCube {
    int size = 0;
    std::array<std::vector<glm::vec3>, 6> faces;
};

}  // namespace engine
