// A camera's view: its projection, where it looks from in one frame, and the integer and float
// parameters the interface exposes.
#pragma once

#include <optional>
#include <string>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "engine/h3d.h"
#include "engine/scene/scene_node.h"

namespace engine {

// Where the camera looks from, for one frame.
struct CameraView {
    H3DNode camera = 0;
    glm::mat4 viewProjection{1.0f};
    // The projection times the view's rotation alone: how points at infinity land.
    glm::mat4 directionProjection{1.0f};
    glm::vec3 position{0.0f};
    int viewportWidth = 1;
    int viewportHeight = 1;
};

// The node's world matrix must be up to date.
CameraView cameraViewOf(H3DNode cameraNode, const SceneNode& node, const CameraSettings& camera);

glm::mat4 projectionMatrix(const CameraSettings& camera);

// False with the reason in error when the values cannot make a projection.
bool setCameraView(CameraSettings& camera, float fieldOfView, float aspect, float nearDistance,
                   float farDistance, std::string& error);

// PipeResI is checked by the caller, who knows the resources.
bool setCameraParameter(CameraSettings& camera, int parameter, int value, std::string& error);
std::optional<int> cameraParameterI(const CameraSettings& camera, int parameter);
std::optional<float> cameraParameterF(const CameraSettings& camera, int parameter);

}  // namespace engine
