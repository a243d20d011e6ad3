#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "engine/h3d.h"
#include "engine/scene/camera_view.h"

using namespace engine;

TEST(CameraView, StoresAValidView) {
    CameraSettings camera;
    std::string error;
    ASSERT_TRUE(setCameraView(camera, 70.0f, 1366.0f / 768.0f, 0.1f, 1000.0f, error));
    EXPECT_FLOAT_EQ(camera.fieldOfView, 70.0f);
    EXPECT_FLOAT_EQ(camera.aspect, 1.7786459f);
    EXPECT_EQ(projectionMatrix(camera),
              glm::perspective(glm::radians(70.0f), 1366.0f / 768.0f, 0.1f, 1000.0f));
}

TEST(CameraView, RejectsViewsThatCannotProject) {
    CameraSettings camera;
    std::string error;
    EXPECT_FALSE(setCameraView(camera, 0.0f, 1.0f, 0.1f, 10.0f, error));
    EXPECT_FALSE(setCameraView(camera, 180.0f, 1.0f, 0.1f, 10.0f, error));
    EXPECT_FALSE(setCameraView(camera, 60.0f, 0.0f, 0.1f, 10.0f, error));
    EXPECT_FALSE(setCameraView(camera, 60.0f, 1.0f, 0.0f, 10.0f, error));
    EXPECT_FALSE(setCameraView(camera, 60.0f, 1.0f, 10.0f, 10.0f, error));
    EXPECT_FALSE(
        setCameraView(camera, 60.0f, std::numeric_limits<float>::infinity(), 0.1f, 10.0f, error));
    EXPECT_FLOAT_EQ(camera.fieldOfView, 45.0f);
}

TEST(CameraView, IntegerParametersRoundTrip) {
    CameraSettings camera;
    std::string error;
    for (auto [parameter, value] :
         {std::pair{H3DCamera::PipeResI, 3}, std::pair{H3DCamera::ViewportXI, 10},
          std::pair{H3DCamera::ViewportYI, -4}, std::pair{H3DCamera::ViewportWidthI, 1366},
          std::pair{H3DCamera::ViewportHeightI, 768}, std::pair{H3DCamera::OccCullingI, 1}}) {
        ASSERT_TRUE(setCameraParameter(camera, parameter, value, error)) << error;
        EXPECT_EQ(cameraParameterI(camera, parameter), value);
    }
}

TEST(CameraView, RejectsBadParameters) {
    CameraSettings camera;
    std::string error;
    EXPECT_FALSE(setCameraParameter(camera, H3DCamera::ViewportWidthI, 0, error));
    EXPECT_FALSE(setCameraParameter(camera, H3DCamera::OccCullingI, 2, error));
    EXPECT_FALSE(setCameraParameter(camera, 999, 1, error));
    EXPECT_NE(error.find("999"), std::string::npos);
    EXPECT_FALSE(cameraParameterI(camera, 999).has_value());
    EXPECT_EQ(camera.viewportWidth, 320);
}

TEST(CameraView, FloatParametersAreTheClippingDistances) {
    CameraSettings camera;
    std::string error;
    setCameraView(camera, 70.0f, 1.0f, 0.25f, 500.0f, error);
    EXPECT_EQ(cameraParameterF(camera, H3DCamera::NearPlaneF), 0.25f);
    EXPECT_EQ(cameraParameterF(camera, H3DCamera::FarPlaneF), 500.0f);
    EXPECT_FALSE(cameraParameterF(camera, H3DCamera::PipeResI).has_value());
}
