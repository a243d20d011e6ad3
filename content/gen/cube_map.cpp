#include "cube_map.h"

#include <glm/geometric.hpp>

namespace content {

const std::array<const char*, kCubeFaces> kCubeFaceSuffixes{"px", "nx", "py", "ny", "pz", "nz"};

glm::vec3 cubeFaceDirectionAt(int face, float s, float t) {
    glm::vec3 direction;
    switch (face) {
        case 0:
            direction = {1.0f, -t, -s};
            break;
        case 1:
            direction = {-1.0f, -t, s};
            break;
        case 2:
            direction = {s, 1.0f, t};
            break;
        case 3:
            direction = {s, -1.0f, -t};
            break;
        case 4:
            direction = {s, -t, 1.0f};
            break;
        default:
            direction = {-s, -t, -1.0f};
            break;
    }
    return glm::normalize(direction);
}

glm::vec3 cubeFaceDirection(int face, int column, int row, int size) {
    const float s = 2.0f * (static_cast<float>(column) + 0.5f) / static_cast<float>(size) - 1.0f;
    const float t = 2.0f * (static_cast<float>(row) + 0.5f) / static_cast<float>(size) - 1.0f;
    return cubeFaceDirectionAt(face, s, t);
}

}  // namespace content
