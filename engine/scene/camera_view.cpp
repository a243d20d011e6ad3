#include "engine/scene/camera_view.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/matrix.hpp>
#include <glm/trigonometric.hpp>

namespace engine {

CameraView cameraViewOf(H3DNode cameraNode, const SceneNode& node, const CameraSettings& camera) {
    CameraView view;
    const glm::mat4 projection = projectionMatrix(camera);
    const glm::mat4 worldToView = glm::inverse(node.world);
    view.camera = cameraNode;
    view.viewProjection = projection * worldToView;
    view.directionProjection = projection * glm::mat4(glm::mat3(worldToView));
    view.position = glm::vec3(node.world[3]);
    view.viewportWidth = camera.viewportWidth;
    view.viewportHeight = camera.viewportHeight;
    return view;
}

glm::mat4 projectionMatrix(const CameraSettings& camera) {
    return glm::perspective(glm::radians(camera.fieldOfView), camera.aspect, camera.nearDistance,
                            camera.farDistance);
}

bool setCameraView(CameraSettings& camera, float fieldOfView, float aspect, float nearDistance,
                   float farDistance, std::string& error) {
    bool finite = std::isfinite(fieldOfView) && std::isfinite(aspect) &&
                  std::isfinite(nearDistance) && std::isfinite(farDistance);
    if (!finite || fieldOfView <= 0.0f || fieldOfView >= 180.0f) {
        error = "the field of view must lie between 0 and 180 degrees";
        return false;
    }
    if (aspect <= 0.0f) {
        error = "the aspect must be positive";
        return false;
    }
    if (nearDistance <= 0.0f || farDistance <= nearDistance) {
        error = "the clipping distances need 0 < near < far";
        return false;
    }
    camera.fieldOfView = fieldOfView;
    camera.aspect = aspect;
    camera.nearDistance = nearDistance;
    camera.farDistance = farDistance;
    return true;
}

bool setCameraParameter(CameraSettings& camera, int parameter, int value, std::string& error) {
    switch (parameter) {
        case H3DCamera::PipeResI:
            camera.pipeline = value;
            return true;
        case H3DCamera::ViewportXI:
            camera.viewportX = value;
            return true;
        case H3DCamera::ViewportYI:
            camera.viewportY = value;
            return true;
        case H3DCamera::ViewportWidthI:
        case H3DCamera::ViewportHeightI:
            if (value <= 0) {
                error =
                    "a viewport needs a positive width and height, not " + std::to_string(value);
                return false;
            }
            (parameter == H3DCamera::ViewportWidthI ? camera.viewportWidth
                                                    : camera.viewportHeight) = value;
            return true;
        case H3DCamera::OccCullingI:
            if (value != 0 && value != 1) {
                error = "occlusion culling is 0 (off) or 1 (on), not " + std::to_string(value);
                return false;
            }
            camera.occlusionCulling = value == 1;
            return true;
        default:
            error = "a camera has no integer parameter " + std::to_string(parameter);
            return false;
    }
}

std::optional<int> cameraParameterI(const CameraSettings& camera, int parameter) {
    switch (parameter) {
        case H3DCamera::PipeResI:
            return camera.pipeline;
        case H3DCamera::ViewportXI:
            return camera.viewportX;
        case H3DCamera::ViewportYI:
            return camera.viewportY;
        case H3DCamera::ViewportWidthI:
            return camera.viewportWidth;
        case H3DCamera::ViewportHeightI:
            return camera.viewportHeight;
        case H3DCamera::OccCullingI:
            return camera.occlusionCulling ? 1 : 0;
        default:
            return std::nullopt;
    }
}

std::optional<float> cameraParameterF(const CameraSettings& camera, int parameter) {
    switch (parameter) {
        case H3DCamera::NearPlaneF:
            return camera.nearDistance;
        case H3DCamera::FarPlaneF:
            return camera.farDistance;
        default:
            return std::nullopt;
    }
}

}  // namespace engine
