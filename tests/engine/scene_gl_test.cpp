#include <cmath>
#include <string>

#include "engine/h3d.h"
#include "gl_test_fixture.h"
#include "test_support.h"

using SceneNodes = EngineGlTest;

namespace {

constexpr float kDegrees = 0.017453292f;

H3DNode childNamed(H3DNode node, const std::string& name) {
    for (int index = 0; H3DNode child = h3dGetNodeChild(node, index); ++index) {
        if (name == h3dGetNodeName(child)) {
            return child;
        }
    }
    return 0;
}

std::string childNames(H3DNode node) {
    std::string names;
    for (int index = 0; H3DNode child = h3dGetNodeChild(node, index); ++index) {
        names += std::string(h3dGetNodeName(child)) + ";";
    }
    return names;
}

}  // namespace

TEST_F(SceneNodes, AddNodesBuildsTheSceneAndItsReferences) {
    loadViewerContent();
    H3DNode scene = h3dAddNodes(H3DRootNode, neuroScene);
    ASSERT_NE(scene, 0) << joined(takeMessages());
    EXPECT_STREQ(h3dGetNodeName(scene), "neuro2");
    EXPECT_EQ(h3dGetNodeParent(scene), H3DRootNode);
    EXPECT_NE(childNames(scene).find("statue;"), std::string::npos) << childNames(scene);

    H3DNode statue = childNamed(scene, "statue");
    EXPECT_EQ(h3dGetNodeType(statue), H3DNodeTypes::Reference);
    H3DNode hebeRoot = h3dGetNodeChild(statue, 0);
    EXPECT_STREQ(h3dGetNodeName(hebeRoot), "hebe");
    EXPECT_EQ(h3dGetNodeType(childNamed(hebeRoot, "statueLight")), H3DNodeTypes::Light);
    H3DNode statueModel = childNamed(hebeRoot, "statue");
    EXPECT_EQ(h3dGetNodeType(statueModel), H3DNodeTypes::Model);
    EXPECT_EQ(h3dGetNodeType(h3dGetNodeChild(h3dGetNodeChild(statueModel, 0), 0)),
              H3DNodeTypes::Mesh);
    EXPECT_TRUE(takeMessages().empty());

    // Each call makes a new instance.
    H3DNode second = h3dAddNodes(H3DRootNode, neuroScene);
    EXPECT_NE(second, scene);
    EXPECT_TRUE(h3dRemoveNode(second));
    EXPECT_EQ(h3dGetNodeType(second), H3DNodeTypes::Undefined);
    takeMessages();
}

TEST_F(SceneNodes, WorldMatricesComposeThroughTheTree) {
    loadViewerContent();
    H3DNode scene = h3dAddNodes(H3DRootNode, neuroScene);
    h3dSetNodeTransform(scene, 0, 0, 0, 0, 0, 0, 1, 1, 1);
    // The statue's light sits at (0, 6, 4) inside hebe, which is placed at (0, 0, -8).
    H3DNode hebeRoot = h3dGetNodeChild(childNamed(scene, "statue"), 0);
    H3DNode statueLight = childNamed(hebeRoot, "statueLight");
    float matrix[16];
    ASSERT_TRUE(h3dGetNodeWorldMatrix(statueLight, matrix));
    EXPECT_FLOAT_EQ(matrix[12], 0.0f);
    EXPECT_FLOAT_EQ(matrix[13], 6.0f);
    EXPECT_FLOAT_EQ(matrix[14], -4.0f);

    h3dSetNodeTransform(scene, 10, 0, 0, 0, 0, 0, 2, 2, 2);
    ASSERT_TRUE(h3dGetNodeWorldMatrix(statueLight, matrix));
    EXPECT_FLOAT_EQ(matrix[12], 10.0f);
    EXPECT_FLOAT_EQ(matrix[13], 12.0f);
    EXPECT_FLOAT_EQ(matrix[14], -8.0f);
}

TEST_F(SceneNodes, TheCameraLooksWhereTheFlightControlsExpect) {
    loadViewerContent();
    H3DNode camera = h3dAddCameraNode(H3DRootNode, "Camera", masterPipeline);
    ASSERT_NE(camera, 0);
    EXPECT_EQ(h3dGetNodeType(camera), H3DNodeTypes::Camera);
    EXPECT_STREQ(h3dGetNodeName(camera), "Camera");

    const float pitch = 20.0f;
    const float yaw = 135.0f;
    h3dSetNodeTransform(camera, 1, 2, 3, pitch, yaw, 5.0f, 1, 1, 1);
    float t[3], r[3], s[3];
    h3dGetNodeTransform(camera, &t[0], &t[1], &t[2], &r[0], &r[1], &r[2], &s[0], &s[1], &s[2]);
    EXPECT_EQ(t[2], 3.0f);
    EXPECT_EQ(r[0], pitch);
    EXPECT_EQ(r[1], yaw);
    EXPECT_EQ(r[2], 5.0f);
    EXPECT_EQ(s[1], 1.0f);

    float matrix[16];
    ASSERT_TRUE(h3dGetNodeWorldMatrix(camera, matrix));
    // The view direction is the camera's -z axis: minus the matrix's third column.
    float p = pitch * kDegrees;
    float y = yaw * kDegrees;
    EXPECT_NEAR(-matrix[8], -std::sin(y) * std::cos(p), 1e-5f);
    EXPECT_NEAR(-matrix[9], std::sin(p), 1e-5f);
    EXPECT_NEAR(-matrix[10], -std::cos(y) * std::cos(p), 1e-5f);
    EXPECT_FLOAT_EQ(matrix[12], 1.0f);
    EXPECT_FLOAT_EQ(matrix[13], 2.0f);
}

TEST_F(SceneNodes, CameraParametersAndView) {
    loadViewerContent();
    H3DNode camera = h3dAddCameraNode(H3DRootNode, "Camera", masterPipeline);
    EXPECT_EQ(h3dGetNodeParamI(camera, H3DCamera::PipeResI), masterPipeline);
    h3dSetNodeParamI(camera, H3DCamera::ViewportXI, 0);
    h3dSetNodeParamI(camera, H3DCamera::ViewportYI, 0);
    h3dSetNodeParamI(camera, H3DCamera::ViewportWidthI, 1366);
    h3dSetNodeParamI(camera, H3DCamera::ViewportHeightI, 768);
    h3dSetNodeParamI(camera, H3DCamera::OccCullingI, 0);
    h3dSetupCameraView(camera, 70.0f, 1366.0f / 768.0f, 0.1f, 1000.0f);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(h3dGetNodeParamI(camera, H3DCamera::ViewportWidthI), 1366);
    EXPECT_EQ(h3dGetNodeParamI(camera, H3DCamera::ViewportHeightI), 768);
    EXPECT_EQ(h3dGetNodeParamI(camera, H3DCamera::OccCullingI), 0);
    EXPECT_FLOAT_EQ(h3dGetNodeParamF(camera, H3DCamera::NearPlaneF), 0.1f);
    EXPECT_FLOAT_EQ(h3dGetNodeParamF(camera, H3DCamera::FarPlaneF), 1000.0f);

    h3dSetNodeParamI(camera, H3DCamera::PipeResI, simplePipeline);
    EXPECT_EQ(h3dGetNodeParamI(camera, H3DCamera::PipeResI), simplePipeline);
    h3dSetNodeParamI(camera, H3DCamera::PipeResI, postMaterial);
    h3dSetNodeParamI(camera, H3DCamera::ViewportWidthI, -5);
    h3dSetupCameraView(camera, 70.0f, 1.0f, 10.0f, 1.0f);
    EXPECT_EQ(h3dGetNodeParamI(camera, H3DCamera::PipeResI), simplePipeline);
    EXPECT_EQ(h3dGetNodeParamI(camera, H3DCamera::ViewportWidthI), 1366);
    EXPECT_FLOAT_EQ(h3dGetNodeParamF(camera, H3DCamera::FarPlaneF), 1000.0f);
    EXPECT_EQ(takeMessages().size(), 3u);
}
