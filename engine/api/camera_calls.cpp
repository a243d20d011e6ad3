// Node parameters (the camera's pipeline, viewport and culling) and the camera's projection.
#include <string>

#include "engine/api/api_guard.h"
#include "engine/h3d.h"
#include "engine/scene/camera_view.h"

using namespace engine;

void h3dSetNodeParamI(H3DNode node, int parameter, int value) {
    withEngine("h3dSetNodeParamI", [&](Engine& engine) {
        CameraSettings* camera = cameraOrReport(engine, "h3dSetNodeParamI", node);
        if (camera == nullptr) {
            return;
        }
        if (parameter == H3DCamera::PipeResI &&
            resourceOrReport(engine, "h3dSetNodeParamI", value, ResourceType::Pipeline) ==
                nullptr) {
            return;
        }
        std::string error;
        if (!setCameraParameter(*camera, parameter, value, error)) {
            messageLog().warning("h3dSetNodeParamI: " + error);
        }
    });
}

int h3dGetNodeParamI(H3DNode node, int parameter) {
    return withEngine("h3dGetNodeParamI", 0, [&](Engine& engine) {
        CameraSettings* camera = cameraOrReport(engine, "h3dGetNodeParamI", node);
        if (camera == nullptr) {
            return 0;
        }
        std::optional<int> value = cameraParameterI(*camera, parameter);
        if (!value) {
            messageLog().warning("h3dGetNodeParamI: a camera has no integer parameter " +
                                 std::to_string(parameter));
            return 0;
        }
        return *value;
    });
}

float h3dGetNodeParamF(H3DNode node, int parameter) {
    return withEngine("h3dGetNodeParamF", 0.0f, [&](Engine& engine) {
        CameraSettings* camera = cameraOrReport(engine, "h3dGetNodeParamF", node);
        if (camera == nullptr) {
            return 0.0f;
        }
        std::optional<float> value = cameraParameterF(*camera, parameter);
        if (!value) {
            messageLog().warning("h3dGetNodeParamF: a camera has no float parameter " +
                                 std::to_string(parameter));
            return 0.0f;
        }
        return *value;
    });
}

void h3dSetupCameraView(H3DNode cameraNode, float fieldOfView, float aspect, float nearDistance,
                        float farDistance) {
    withEngine("h3dSetupCameraView", [&](Engine& engine) {
        CameraSettings* camera = cameraOrReport(engine, "h3dSetupCameraView", cameraNode);
        if (camera == nullptr) {
            return;
        }
        std::string error;
        if (!setCameraView(*camera, fieldOfView, aspect, nearDistance, farDistance, error)) {
            messageLog().warning("h3dSetupCameraView: " + error);
        }
    });
}
