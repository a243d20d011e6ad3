// Choosing a simplified level of a mesh by the size it has on screen: the coarsest level whose
// error, seen from the camera, stays under kDetailPixelError pixels, so the switch cannot be
// seen.
#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "engine/formats/bounding_box.h"
#include "engine/resources/loaded_geometry.h"
#include "engine/scene/camera_view.h"

namespace engine {

inline constexpr float kDetailPixelError = 1.0f;

// Pixels that one unit spans, seen face on from one unit away.
float pixelsPerUnitAtUnitDistance(const CameraView& camera);

// The error, in the mesh's own units, that its levels may have at its distance: 0 (full
// detail) when the camera is inside its box.
float allowedDetailError(const BoundingBox& worldBox, const glm::mat4& world,
                         const glm::vec3& cameraPosition, float pixelsPerUnitAtUnitDistance);

// The coarsest level within the allowed error; nothing when only the full list will do.
const DetailLevelRange* chosenLevel(const PrimitiveRange& primitive, float allowedError);

}  // namespace engine
