#include "engine/render/detail_level.h"

#include <algorithm>

#include <glm/geometric.hpp>

namespace engine {

float pixelsPerUnitAtUnitDistance(const CameraView& camera) {
    // The projection's vertical scale survives the view's rotation as the length of its row.
    const glm::mat4& matrix = camera.directionProjection;
    const float verticalScale = glm::length(glm::vec3(matrix[0][1], matrix[1][1], matrix[2][1]));
    return verticalScale * 0.5f * static_cast<float>(camera.viewportHeight);
}

float allowedDetailError(const BoundingBox& worldBox, const glm::mat4& world,
                         const glm::vec3& cameraPosition, float pixelsPerUnitAtUnitDistance) {
    const glm::vec3 nearest = glm::clamp(cameraPosition, worldBox.minimum, worldBox.maximum);
    const float distance = glm::distance(nearest, cameraPosition);
    // The world matrix stretches the mesh's errors by at most its largest axis scale.
    const float scale =
        std::max({glm::length(glm::vec3(world[0])), glm::length(glm::vec3(world[1])),
                  glm::length(glm::vec3(world[2]))});
    if (distance <= 0.0f || scale <= 0.0f || pixelsPerUnitAtUnitDistance <= 0.0f) {
        return 0.0f;
    }
    return kDetailPixelError * distance / (pixelsPerUnitAtUnitDistance * scale);
}

const DetailLevelRange* chosenLevel(const PrimitiveRange& primitive, float allowedError) {
    for (auto level = primitive.levels.rbegin(); level != primitive.levels.rend(); ++level) {
        if (level->error <= allowedError) {
            return &*level;
        }
    }
    return nullptr;
}

}  // namespace engine
