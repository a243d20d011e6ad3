#include <epoxy/gl.h>

#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "gl_test_fixture.h"
#include "test_support.h"

using EngineStart = EngineGlTest;

TEST_F(EngineStart, StartsQuietlyInAnOpenGlContext) {
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(h3dGetNodeType(H3DRootNode), H3DNodeTypes::Group);
    EXPECT_STREQ(h3dGetNodeName(H3DRootNode), "RootNode");
    EXPECT_EQ(h3dGetNodeParent(H3DRootNode), 0);
}

TEST_F(EngineStart, ASecondStartIsRefusedAndTheRunningEngineStays) {
    int pipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
    EXPECT_FALSE(h3dInit());
    EXPECT_TRUE(anyContains(takeMessages(), "already running"));
    EXPECT_EQ(h3dFindResource(H3DResTypes::Pipeline, "simple.pipeline.xml"), pipeline);
}

TEST_F(EngineStart, OptionsKeepTheirValues) {
    EXPECT_TRUE(h3dSetOption(H3DOptions::LoadTextures, 1.0f));
    EXPECT_TRUE(h3dSetOption(H3DOptions::TexCompression, 0.0f));
    EXPECT_TRUE(h3dSetOption(H3DOptions::FastAnimation, 0.0f));
    EXPECT_TRUE(h3dSetOption(H3DOptions::MaxAnisotropy, 16.0f));
    EXPECT_TRUE(h3dSetOption(H3DOptions::ShadowMapSize, 256.0f));
    EXPECT_EQ(h3dGetOption(H3DOptions::LoadTextures), 1.0f);
    EXPECT_EQ(h3dGetOption(H3DOptions::TexCompression), 0.0f);
    EXPECT_EQ(h3dGetOption(H3DOptions::FastAnimation), 0.0f);
    EXPECT_EQ(h3dGetOption(H3DOptions::MaxAnisotropy), 16.0f);
    EXPECT_EQ(h3dGetOption(H3DOptions::ShadowMapSize), 256.0f);
    EXPECT_TRUE(takeMessages().empty());

    EXPECT_FALSE(h3dSetOption(H3DOptions::ShadowMapSize, 100.0f));
    EXPECT_FALSE(h3dSetOption(static_cast<H3DOptions::List>(6), 1.0f));
    EXPECT_EQ(h3dGetOption(static_cast<H3DOptions::List>(6)), 0.0f);
    EXPECT_EQ(takeMessages().size(), 3u);
    EXPECT_EQ(h3dGetOption(H3DOptions::ShadowMapSize), 256.0f);
}

TEST_F(EngineStart, TheLogLevelOptionFiltersMessages) {
    ASSERT_TRUE(h3dSetOption(H3DOptions::MaxLogLevel, 1.0f));
    h3dGetNodeName(999);
    EXPECT_TRUE(takeMessages().empty());
    ASSERT_TRUE(h3dSetOption(H3DOptions::MaxLogLevel, 4.0f));
    h3dGetNodeName(999);
    EXPECT_EQ(takeMessages().size(), 1u);
}

TEST_F(EngineStart, StartsAgainInANewContextAfterRelease) {
    loadViewerContent();
    H3DNode camera = h3dAddCameraNode(H3DRootNode, "Camera", masterPipeline);
    ASSERT_NE(camera, 0);
    int oldPipeline = masterPipeline;

    reopenWindow();
    ASSERT_TRUE(h3dInit()) << joined(takeMessages());
    EXPECT_EQ(h3dGetNodeType(camera), H3DNodeTypes::Undefined);
    EXPECT_FALSE(h3dIsResLoaded(oldPipeline));
    takeMessages();

    loadViewerContent();
    EXPECT_TRUE(h3dIsResLoaded(masterPipeline));
    EXPECT_NE(h3dAddCameraNode(H3DRootNode, "Camera", masterPipeline), 0);
    EXPECT_TRUE(takeMessages().empty());
}

TEST_F(EngineStart, EveryCallAfterReleaseIsSafe) {
    loadViewerContent();
    H3DNode camera = h3dAddCameraNode(H3DRootNode, "Camera", masterPipeline);
    h3dRelease();
    takeMessages();

    float matrix[16];
    EXPECT_FALSE(h3dSetOption(H3DOptions::MaxAnisotropy, 2.0f));
    EXPECT_EQ(h3dAddResource(H3DResTypes::Material, "a.xml", 0), 0);
    EXPECT_FALSE(h3dutLoadResourcesFromDisk("/data"));
    EXPECT_EQ(h3dAddNodes(H3DRootNode, neuroScene), 0);
    EXPECT_FALSE(h3dGetNodeWorldMatrix(camera, matrix));
    h3dSetNodeTransform(camera, 1, 2, 3, 0, 0, 0, 1, 1, 1);
    h3dSetNodeParamI(camera, H3DCamera::ViewportWidthI, 100);
    h3dSetupCameraView(camera, 70.0f, 1.5f, 0.1f, 1000.0f);
    h3dResizePipelineBuffers(masterPipeline, 100, 100);
    EXPECT_FALSE(h3dSetMaterialUniform(postMaterial, "blurDir", 1, 0, 0, 0));
    h3dRender(camera);
    h3dFinalizeFrame();
    h3dClearOverlays();
    h3dRelease();
    EXPECT_TRUE(anyContains(takeMessages(), "h3dRender: the engine is not running"));
}

TEST_F(EngineStart, BadHandlesAreAnsweredWithMessages) {
    loadViewerContent();
    takeMessages();
    float value = 0.0f;
    float matrix[16];
    for (int handle : {0, -1, 9999}) {
        EXPECT_FALSE(h3dIsResLoaded(handle));
        EXPECT_EQ(h3dAddCameraNode(handle, "c", masterPipeline), 0);
        EXPECT_EQ(h3dAddCameraNode(H3DRootNode, "c", handle), 0);
        EXPECT_EQ(h3dAddNodes(H3DRootNode, handle), 0);
        EXPECT_EQ(h3dAddNodes(handle, neuroScene), 0);
        EXPECT_FALSE(h3dRemoveNode(handle));
        EXPECT_EQ(h3dGetNodeType(handle), 0);
        EXPECT_EQ(h3dGetNodeParent(handle), 0);
        EXPECT_EQ(h3dGetNodeChild(handle, 0), 0);
        EXPECT_STREQ(h3dGetNodeName(handle), "");
        h3dSetNodeTransform(handle, 0, 0, 0, 0, 0, 0, 1, 1, 1);
        h3dGetNodeTransform(handle, &value, &value, &value, &value, &value, &value, &value, &value,
                            &value);
        EXPECT_FALSE(h3dGetNodeWorldMatrix(handle, matrix));
        h3dSetNodeParamI(handle, H3DCamera::ViewportWidthI, 10);
        EXPECT_EQ(h3dGetNodeParamI(handle, H3DCamera::ViewportWidthI), 0);
        EXPECT_EQ(h3dGetNodeParamF(handle, H3DCamera::FarPlaneF), 0.0f);
        h3dSetupCameraView(handle, 70.0f, 1.0f, 0.1f, 10.0f);
        h3dResizePipelineBuffers(handle, 64, 64);
        EXPECT_FALSE(h3dSetMaterialUniform(handle, "blurDir", 0, 0, 0, 0));
        h3dRender(handle);
    }
    // Handles of the wrong kind.
    EXPECT_EQ(h3dAddCameraNode(H3DRootNode, "c", postMaterial), 0);
    EXPECT_EQ(h3dAddNodes(H3DRootNode, masterPipeline), 0);
    h3dResizePipelineBuffers(postMaterial, 64, 64);
    EXPECT_FALSE(h3dSetMaterialUniform(masterPipeline, "blurDir", 0, 0, 0, 0));
    h3dRender(H3DRootNode);
    h3dSetNodeParamI(H3DRootNode, H3DCamera::PipeResI, masterPipeline);
    EXPECT_FALSE(h3dRemoveNode(H3DRootNode));
    // Null pointers.
    EXPECT_EQ(h3dAddResource(H3DResTypes::Material, nullptr, 0), 0);
    EXPECT_EQ(h3dAddResource(H3DResTypes::Material, "", 0), 0);
    EXPECT_EQ(h3dAddResource(3, "x.xml", 0), 0);
    EXPECT_EQ(h3dAddCameraNode(H3DRootNode, nullptr, masterPipeline), 0);
    EXPECT_FALSE(h3dSetMaterialUniform(postMaterial, nullptr, 0, 0, 0, 0));
    EXPECT_FALSE(h3dGetNodeWorldMatrix(H3DRootNode, nullptr));
    EXPECT_FALSE(h3dutLoadResourcesFromDisk(nullptr));
    EXPECT_EQ(h3dFindResource(H3DResTypes::Material, nullptr), 0);
    h3dGetNodeTransform(H3DRootNode, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr);

    std::vector<std::string> messages = takeMessages();
    EXPECT_TRUE(anyContains(messages, "h3dSetNodeTransform: 9999 is not a node"))
        << joined(messages);
    EXPECT_TRUE(anyContains(messages, "is not a camera"));
    EXPECT_TRUE(anyContains(messages, "is not a pipeline"));
    EXPECT_TRUE(anyContains(messages, "unknown resource type 3"));
    EXPECT_TRUE(anyContains(messages, "root node cannot be removed"));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
