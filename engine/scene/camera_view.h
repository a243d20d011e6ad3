// A camera's view: its projection and the integer and float parameters the interface exposes.
#pragma once

#include <optional>
#include <string>

#include <glm/mat4x4.hpp>

#include "engine/scene/scene_node.h"

namespace engine {

glm::mat4 projectionMatrix(const CameraSettings& camera);

// False with the reason in error when the values cannot make a projection.
bool setCameraView(CameraSettings& camera, float fieldOfView, float aspect, float nearDistance,
                   float farDistance, std::string& error);

// PipeResI is checked by the caller, who knows the resources.
bool setCameraParameter(CameraSettings& camera, int parameter, int value, std::string& error);
std::optional<int> cameraParameterI(const CameraSettings& camera, int parameter);
std::optional<float> cameraParameterF(const CameraSettings& camera, int parameter);

}  // namespace engine
