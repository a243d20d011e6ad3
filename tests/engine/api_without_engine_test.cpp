// Every interface call before h3dInit (here: no OpenGL context at all) answers with 0, false
// or a message and never crashes.
#include <gtest/gtest.h>

#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "test_support.h"

TEST(ApiWithoutEngine, InitFailsWithoutACurrentContextAndSaysWhy) {
    takeMessages();
    EXPECT_FALSE(h3dInit());
    std::vector<std::string> messages = takeMessages();
    EXPECT_TRUE(anyContains(messages, "no OpenGL context is current")) << joined(messages);
}

TEST(ApiWithoutEngine, EveryCallIsSafe) {
    takeMessages();
    float value = 1.0f;
    float matrix[16] = {};
    EXPECT_FALSE(h3dSetOption(H3DOptions::MaxAnisotropy, 4.0f));
    EXPECT_EQ(h3dGetOption(H3DOptions::MaxAnisotropy), 0.0f);
    EXPECT_EQ(h3dAddResource(H3DResTypes::Pipeline, "a.xml", 0), 0);
    EXPECT_EQ(h3dFindResource(H3DResTypes::Pipeline, "a.xml"), 0);
    EXPECT_FALSE(h3dIsResLoaded(1));
    EXPECT_FALSE(h3dutLoadResourcesFromDisk("/data"));
    EXPECT_EQ(h3dAddCameraNode(H3DRootNode, "Camera", 1), 0);
    EXPECT_EQ(h3dAddNodes(H3DRootNode, 1), 0);
    EXPECT_FALSE(h3dRemoveNode(2));
    EXPECT_EQ(h3dGetNodeType(H3DRootNode), 0);
    EXPECT_EQ(h3dGetNodeParent(2), 0);
    EXPECT_EQ(h3dGetNodeChild(H3DRootNode, 0), 0);
    EXPECT_STREQ(h3dGetNodeName(H3DRootNode), "");
    h3dSetNodeTransform(2, 0, 0, 0, 0, 0, 0, 1, 1, 1);
    h3dGetNodeTransform(2, &value, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr);
    EXPECT_EQ(value, 1.0f);
    EXPECT_FALSE(h3dGetNodeWorldMatrix(H3DRootNode, matrix));
    EXPECT_EQ(h3dAddModelNode(H3DRootNode, "model", 1), 0);
    EXPECT_EQ(h3dAddLightNode(H3DRootNode, "light", 1, 1, 1, 10, true), 0);
    EXPECT_EQ(h3dGetResParamI(1, H3DGeometry::MeshCountI), 0);
    float box[6] = {1, 1, 1, 1, 1, 1};
    EXPECT_FALSE(h3dGetNodeAABB(H3DRootNode, &box[0], &box[1], &box[2], &box[3], &box[4], &box[5]));
    EXPECT_EQ(box[0], 0.0f) << "the box is cleared even without an engine";
    h3dSetNodeParamI(2, H3DCamera::ViewportWidthI, 100);
    EXPECT_EQ(h3dGetNodeParamI(2, H3DCamera::ViewportWidthI), 0);
    EXPECT_EQ(h3dGetNodeParamF(2, H3DCamera::NearPlaneF), 0.0f);
    h3dSetupCameraView(2, 70.0f, 1.0f, 0.1f, 100.0f);
    h3dResizePipelineBuffers(1, 640, 480);
    EXPECT_FALSE(h3dSetMaterialUniform(1, "blurDir", 0, 0, 0, 0));
    h3dRender(2);
    EXPECT_EQ(h3dGetStat(H3DStats::TriangleCount), 0.0f);
    h3dFinalizeFrame();
    h3dClearOverlays();
    h3dRelease();
    h3dRelease();

    std::vector<std::string> messages = takeMessages();
    EXPECT_TRUE(anyContains(messages, "h3dRender: the engine is not running")) << joined(messages);
    EXPECT_TRUE(anyContains(messages, "h3dGetStat: the engine is not running"));
    EXPECT_TRUE(anyContains(messages, "h3dAddResource: the engine is not running"));
    EXPECT_TRUE(anyContains(messages, "h3dGetNodeAABB: the engine is not running"));
}

TEST(ApiWithoutEngine, MessagesCanBeReadAndDumped) {
    takeMessages();
    h3dFinalizeFrame();
    int level = -1;
    std::string text = h3dGetMessage(&level);
    EXPECT_EQ(level, 2);
    EXPECT_NE(text.find("h3dFinalizeFrame"), std::string::npos);
    EXPECT_STREQ(h3dGetMessage(&level), "");
    EXPECT_EQ(level, 0);
    EXPECT_STREQ(h3dGetMessage(nullptr), "");

    h3dClearOverlays();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(h3dutDumpMessages());
    std::string dumped = testing::internal::GetCapturedStderr();
    EXPECT_EQ(dumped,
              "[engine warning] h3dClearOverlays: the engine is not running (call h3dInit)\n");
    EXPECT_TRUE(takeMessages().empty());
}
