#include <vector>

#include <epoxy/gl.h>

#include "engine/core/engine_instance.h"
#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "engine/render/pipeline_targets.h"
#include "engine/resources/loaded_shader.h"
#include "gl_test_fixture.h"
#include "test_support.h"

using Rendering = EngineGlTest;

namespace {

const engine::PipelineTargets* targetsOf(H3DRes pipeline) {
    return engine::runningEngine()->renderer.pipelineTargets(pipeline);
}

// The camera the viewer makes, sized to the whole test window.
H3DNode viewerCamera(H3DRes pipeline, int width, int height) {
    H3DNode camera = h3dAddCameraNode(H3DRootNode, "Camera", pipeline);
    h3dSetNodeParamI(camera, H3DCamera::ViewportXI, 0);
    h3dSetNodeParamI(camera, H3DCamera::ViewportYI, 0);
    h3dSetNodeParamI(camera, H3DCamera::ViewportWidthI, width);
    h3dSetNodeParamI(camera, H3DCamera::ViewportHeightI, height);
    h3dSetupCameraView(camera, 70.0f, static_cast<float>(width) / height, 0.1f, 1000.0f);
    return camera;
}

void renderFrame(H3DNode camera) {
    h3dRender(camera);
    h3dFinalizeFrame();
    h3dClearOverlays();
}

// The colours the content's pipelines clear the screen to.
std::array<int, 4> screenColorOf(const std::string& pipelineFile) {
    glm::vec4 color = clearColorOf(pipelineFile, "screen");
    return storedColor(color.r, color.g, color.b, color.a);
}

}  // namespace

TEST_F(Rendering, ResizingMakesTheTargetsAtTheirScale) {
    ScratchDirectory directory;
    directory.write("p.pipeline.xml",
                    "<pipeline><target name=\"full\" format=\"rgba16f\" depth=\"true\"/>"
                    "<target name=\"half\" scale=\"0.5\" buffers=\"2\"/>"
                    "<stage><clear color=\"0 0 0\"/></stage></pipeline>");
    H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "p.pipeline.xml", 0);
    ASSERT_TRUE(h3dutLoadResourcesFromDisk(directory.path().c_str())) << joined(takeMessages());

    h3dResizePipelineBuffers(pipeline, 301, 200);
    const engine::PipelineTargets* targets = targetsOf(pipeline);
    ASSERT_NE(targets, nullptr);
    const engine::RenderTarget* full = targets->find("full");
    const engine::RenderTarget* half = targets->find("half");
    ASSERT_NE(full, nullptr);
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(full->width(), 301);
    EXPECT_EQ(full->height(), 200);
    EXPECT_TRUE(full->hasDepth());
    EXPECT_EQ(half->width(), 151);
    EXPECT_EQ(half->height(), 100);
    EXPECT_NE(half->colorTexture(1), 0u);
    EXPECT_EQ(half->colorTexture(2), 0u);

    GLuint oldFramebuffer = full->framebuffer();
    h3dResizePipelineBuffers(pipeline, 64, 48);
    EXPECT_EQ(targets->find("full")->width(), 64);
    EXPECT_EQ(glIsFramebuffer(oldFramebuffer), GL_FALSE);
    EXPECT_TRUE(takeMessages().empty());

    h3dResizePipelineBuffers(pipeline, 0, 48);
    EXPECT_TRUE(anyContains(takeMessages(), "0x48 is not a usable size"));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// With nothing in the scene, simple shows its clear colour and master its black sky target
// after tone mapping.
TEST_F(Rendering, EachPipelinePaintsAnEmptySceneInItsOwnWay) {
    loadViewerContent();
    H3DNode camera = viewerCamera(masterPipeline, kWidth, kHeight);
    h3dResizePipelineBuffers(simplePipeline, kWidth, kHeight);
    h3dResizePipelineBuffers(masterPipeline, kWidth, kHeight);
    const std::array<int, 4> simpleColor = screenColorOf("simple.pipeline.xml");
    ASSERT_FALSE(sameColor(simpleColor, storedColor(0, 0, 0)));

    renderFrame(camera);
    glReadBuffer(GL_BACK);
    std::array<int, 4> master = pixelAt(kWidth / 2, kHeight / 2);
    EXPECT_TRUE(sameColor(master, storedColor(0, 0, 0))) << describe(master);

    h3dSetNodeParamI(camera, H3DCamera::PipeResI, simplePipeline);
    renderFrame(camera);
    std::array<int, 4> simple = pixelAt(kWidth / 2, kHeight / 2);
    EXPECT_TRUE(sameColor(simple, simpleColor))
        << describe(simple) << " instead of " << describe(simpleColor);
    EXPECT_EQ(joined(takeMessages()), "");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Rendering, ScreenClearsStayInsideTheCamerasViewport) {
    loadViewerContent();
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    H3DNode camera = viewerCamera(simplePipeline, kWidth / 2, kHeight);

    renderFrame(camera);
    glReadBuffer(GL_BACK);
    std::array<int, 4> inside = pixelAt(kWidth / 4, kHeight / 2);
    std::array<int, 4> outside = pixelAt(3 * kWidth / 4, kHeight / 2);
    EXPECT_TRUE(sameColor(inside, screenColorOf("simple.pipeline.xml"))) << describe(inside);
    EXPECT_TRUE(sameColor(outside, storedColor(1, 1, 1))) << describe(outside);
}

TEST_F(Rendering, WithoutAResizeTheMasterTargetsFollowTheViewport) {
    loadViewerContent();
    H3DNode camera = viewerCamera(masterPipeline, kWidth, kHeight);
    renderFrame(camera);
    const engine::RenderTarget* hdr = targetsOf(masterPipeline)->find("hdr");
    const engine::RenderTarget* bloom = targetsOf(masterPipeline)->find("bloomA");
    ASSERT_NE(hdr, nullptr);
    ASSERT_NE(bloom, nullptr);
    EXPECT_EQ(hdr->width(), kWidth);
    EXPECT_EQ(hdr->height(), kHeight);
    EXPECT_EQ(bloom->width(), kWidth / 4);
    EXPECT_TRUE(hdr->hasDepth());
}

TEST_F(Rendering, ACameraWhosePipelineDidNotLoadSaysSoOnce) {
    H3DRes missing = h3dAddResource(H3DResTypes::Pipeline, "missing.pipeline.xml", 0);
    H3DNode camera = viewerCamera(missing, kWidth, kHeight);
    takeMessages();
    renderFrame(camera);
    renderFrame(camera);
    std::vector<std::string> messages = takeMessages();
    ASSERT_EQ(messages.size(), 1u) << joined(messages);
    EXPECT_NE(messages[0].find("is not loaded"), std::string::npos);
}

TEST_F(Rendering, ReleaseFreesEveryOpenGlObject) {
    loadViewerContent();
    H3DNode camera = viewerCamera(masterPipeline, kWidth, kHeight);
    h3dResizePipelineBuffers(masterPipeline, kWidth, kHeight);
    renderFrame(camera);
    const engine::RenderTarget* hdr = targetsOf(masterPipeline)->find("hdr");
    ASSERT_NE(hdr, nullptr);
    GLuint framebuffer = hdr->framebuffer();
    GLuint texture = hdr->colorTexture(0);
    engine::Resource* shaderResource = engine::runningEngine()->resources.get(
        h3dFindResource(H3DResTypes::Shader, "postprocess.shader"));
    ASSERT_NE(shaderResource, nullptr);
    GLuint program = shaderResource->payloadAs<engine::LoadedShader>()->program("final");
    ASSERT_EQ(glIsFramebuffer(framebuffer), GL_TRUE);
    ASSERT_EQ(glIsTexture(texture), GL_TRUE);
    ASSERT_EQ(glIsProgram(program), GL_TRUE);

    h3dRelease();
    EXPECT_EQ(glIsFramebuffer(framebuffer), GL_FALSE);
    EXPECT_EQ(glIsTexture(texture), GL_FALSE);
    EXPECT_EQ(glIsProgram(program), GL_FALSE);
}
